#!/usr/bin/env bash
# Checks the Debian packages that `make deb` left in build/pacotes: lintian finds no error, each
# package holds what it should, the unit passes systemd-analyze verify, the log retention removes
# only old logs, and the packaged zelpd, run from its extracted package with a configuration of the
# package's shape, gets one sale approved by the packaged host simulator on 127.0.0.1.
set -euo pipefail

raiz=$(cd "$(dirname "$0")/../.." && pwd)
pacotes=${1:-$raiz/build/pacotes}
deb_zelpd=$(ls "$pacotes"/zelpd_*.deb)
deb_zelp=$(ls "$pacotes"/zelp_*.deb)

T=$(mktemp -d)
pids=()
limpa() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$T"
}
trap limpa EXIT

passaram=0
falharam=0
confere() {  # confere DESCRIPTION COMMAND...
  local descricao=$1
  shift
  if "$@"; then
    echo "ok: $descricao"
    passaram=$((passaram + 1))
  else
    echo "FAILED: $descricao"
    falharam=$((falharam + 1))
  fi
}

# Waits up to $1 tenths of a second for the command that follows to succeed.
espera() {
  local n=$1
  shift
  for _ in $(seq "$n"); do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}

# --- lintian
lintian "$deb_zelpd" "$deb_zelp" 2>&1 | grep -v 'running with root privileges' > "$T/lintian.txt" || true
cat "$T/lintian.txt"
confere "lintian reports no error" bash -c "! grep -q '^E:' '$T/lintian.txt'"

# --- contents
dpkg-deb -c "$deb_zelpd" | awk '{print $6}' > "$T/zelpd.lista"
dpkg-deb -c "$deb_zelp" | awk '{print $6}' > "$T/zelp.lista"
tem() { grep -qx "$2" "$1"; }
for f in ./usr/sbin/zelpd ./usr/bin/zelp-pdv ./usr/bin/zelp-estab ./usr/bin/zelp-host \
         ./lib/systemd/system/zelpd.service ./usr/lib/tmpfiles.d/zelpd.conf ./etc/zelp/zelp.ini \
         ./usr/share/man/man8/zelpd.8.gz ./usr/share/man/man5/zelp.ini.5.gz ./usr/share/man/man1/zelp-pdv.1.gz \
         ./usr/share/man/man1/zelp-estab.1.gz ./usr/share/man/man1/zelp-host.1.gz \
         ./usr/share/doc/zelpd/copyright ./usr/share/doc/zelpd/changelog.Debian.gz; do
  confere "zelpd holds $f" tem "$T/zelpd.lista" "$f"
done
for f in ./usr/bin/zelp ./usr/share/man/man1/zelp.1.gz ./usr/share/doc/zelp/copyright ./usr/share/doc/zelp/changelog.Debian.gz; do
  confere "zelp holds $f" tem "$T/zelp.lista" "$f"
done
confere "zelp holds no service, no tool and no configuration" \
  bash -c "! grep -Eq 'systemd|tmpfiles|sbin|zelp-|/etc/' '$T/zelp.lista'"
confere "zelp neither depends on zelpd nor has maintainer scripts, and suggests it" bash -c "
  ! dpkg-deb -f '$deb_zelp' Depends Pre-Depends Recommends | grep -q zelpd &&
  dpkg-deb -f '$deb_zelp' Suggests | grep -qx zelpd &&
  ! dpkg-deb -I '$deb_zelp' | grep -Eq 'postinst|prerm|postrm|preinst'"
confere "zelpd's libraries were found by dpkg-shlibdeps" bash -c "dpkg-deb -f '$deb_zelpd' Depends | grep -q 'libsystemd0' && dpkg-deb -f '$deb_zelp' Depends | grep -q 'libqt6widgets6'"
confere "/etc/zelp/zelp.ini is a conffile" bash -c "dpkg-deb --ctrl-tarfile '$deb_zelpd' | tar -xOf - ./conffiles | grep -qx /etc/zelp/zelp.ini"

# --- the unit, with its program where the package was extracted
dpkg-deb -x "$deb_zelpd" "$T"
mkdir -p "$T/unidade"
sed "s|/usr/sbin/zelpd|$T/usr/sbin/zelpd|" "$T/lib/systemd/system/zelpd.service" > "$T/unidade/zelpd.service"
verifica_unidade() {
  local saida
  saida=$(MANPATH="$T/usr/share/man" systemd-analyze verify "$T/unidade/zelpd.service" 2>&1) || { echo "$saida"; return 1; }
  [ -z "$saida" ] || { echo "$saida"; return 1; }
}
confere "systemd-analyze verify zelpd.service is clean" verifica_unidade

# --- log retention: only daily logs 90 days and more past their last write go
mkdir -p "$T/var/log/zelp"
touch -d '91 days ago' "$T/var/log/zelp/LT010926.txt"
touch -d '89 days ago' "$T/var/log/zelp/LT111026.txt"
touch "$T/var/log/zelp/LT091226.txt"
systemd-tmpfiles --clean --root="$T" zelpd.conf
confere "tmpfiles removes the log of 91 days and keeps those of 89 and of today" bash -c "
  [ ! -e '$T/var/log/zelp/LT010926.txt' ] && [ -e '$T/var/log/zelp/LT111026.txt' ] && [ -e '$T/var/log/zelp/LT091226.txt' ]"
rm -f "$T"/var/log/zelp/*

# --- one sale through the packaged programs, with the packaged configuration moved into $T
mkdir -p "$T/var/lib/zelp/entrada" "$T/var/lib/zelp/saida" "$T/var/lib/zelp/estab"
"$T/usr/bin/zelp-host" --resumo > "$T/host.out" 2>&1 &
pids+=($!)
espera 50 grep -q '^port ' "$T/host.out"
porta=$(awk '/^port /{print $2; exit}' "$T/host.out")
"$T/usr/bin/zelp-estab" cria "$T/var/lib/zelp/estab/loja.dat" 12345678 CHAVE123 > /dev/null
sed -i -e "s|/var/lib/zelp|$T/var/lib/zelp|g" -e "s|/var/log/zelp|$T/var/log/zelp|g" \
  -e "s|^;url=.*|url=127.0.0.1|" -e "s|^;Port=.*|Port=$porta|" -e "s|^;par2=|par2=|" "$T/etc/zelp/zelp.ini"
confere "zelpd --verifica --conecta passes on the package's configuration" \
  "$T/usr/sbin/zelpd" --verifica --conecta -C "$T/etc/zelp"

"$T/usr/sbin/zelpd" -C "$T/etc/zelp" > "$T/zelpd.out" 2>&1 &
zelpd_pid=$!
pids+=("$zelpd_pid")
confere "a sale is approved end to end" \
  "$T/usr/bin/zelp-pdv" --entrada "$T/var/lib/zelp/entrada" --saida "$T/var/lib/zelp/saida" --tempo-status 20 \
  000-000=CRT 011-000=31 003-000=1500 098-000=4111111111111111=2812
confere "the daily log is written in the log folder" bash -c "grep -qs 'renomeado como' '$T'/var/log/zelp/LT*.txt"
confere "the transaction journal holds the sale, without its card number" bash -c "
  grep -qs ',approved' '$T'/var/log/zelp/transacoes-*.csv && ! grep -qs 4111111111111111 '$T'/var/log/zelp/transacoes-*.csv"
confere "zelpd --resumo counts the sale" bash -c "'$T/usr/sbin/zelpd' --resumo -C '$T/etc/zelp' | grep -q '^  approved  *1\$'"
touch -d '400 days ago' "$T/var/log/zelp/transacoes-2025-11-04.csv"
systemd-tmpfiles --clean --root="$T" zelpd.conf
confere "tmpfiles removes an old transaction journal and keeps today's" bash -c "
  [ ! -e '$T/var/log/zelp/transacoes-2025-11-04.csv' ] && grep -qs ',approved' '$T'/var/log/zelp/transacoes-*.csv"
kill -TERM "$zelpd_pid"
status=0
espera 200 bash -c "! kill -0 $zelpd_pid 2>/dev/null" || true
wait "$zelpd_pid" || status=$?
confere "zelpd stops in order with status 0" test "$status" -eq 0
if [ "$falharam" -ne 0 ]; then
  echo "--- zelpd output"; cat "$T/zelpd.out"; echo "--- host output"; cat "$T/host.out"
fi

echo "package tests: $passaram passed, $falharam failed"
[ "$falharam" -eq 0 ]
