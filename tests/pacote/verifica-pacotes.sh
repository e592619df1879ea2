#!/usr/bin/env bash
# Checks the Debian packages that `make deb` left in build/pacotes: lintian finds no error, each
# package holds what it should, the unit passes systemd-analyze verify, the log retention removes
# only old logs, and the packaged zelpd, run from its extracted package with a configuration of the
# package's shape, gets one sale approved by the host simulator of its own package on 127.0.0.1,
# which prints no whole card number.
set -euo pipefail

raiz=$(cd "$(dirname "$0")/../.." && pwd)
pacotes=${1:-$raiz/build/pacotes}
deb_zelpd=$(ls "$pacotes"/zelpd_*.deb)
deb_zelp=$(ls "$pacotes"/zelp_*.deb)
deb_host=$(ls "$pacotes"/zelp-host_*.deb)

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
lintian "$deb_zelpd" "$deb_zelp" "$deb_host" 2>&1 | grep -v 'running with root privileges' > "$T/lintian.txt" || true
cat "$T/lintian.txt"
confere "lintian reports no error" bash -c "! grep -q '^E:' '$T/lintian.txt'"

# --- contents
dpkg-deb -c "$deb_zelpd" | awk '{print $6}' > "$T/zelpd.lista"
dpkg-deb -c "$deb_zelp" | awk '{print $6}' > "$T/zelp.lista"
dpkg-deb -c "$deb_host" | awk '{print $6}' > "$T/host.lista"
tem() { grep -qx "$2" "$1"; }
for f in ./usr/sbin/zelpd ./usr/bin/zelp-pdv ./usr/bin/zelp-estab \
         ./lib/systemd/system/zelpd.service ./usr/lib/tmpfiles.d/zelpd.conf ./etc/zelp/zelp.ini \
         ./usr/share/man/man8/zelpd.8.gz ./usr/share/man/man5/zelp.ini.5.gz ./usr/share/man/man1/zelp-pdv.1.gz \
         ./usr/share/man/man1/zelp-estab.1.gz \
         ./usr/share/doc/zelpd/copyright ./usr/share/doc/zelpd/changelog.Debian.gz; do
  confere "zelpd holds $f" tem "$T/zelpd.lista" "$f"
done
for f in ./usr/bin/zelp-host ./usr/share/man/man1/zelp-host.1.gz ./usr/share/doc/zelp-host/copyright \
         ./usr/share/doc/zelp-host/changelog.Debian.gz; do
  confere "zelp-host holds $f" tem "$T/host.lista" "$f"
done
confere "zelpd holds no host simulator, and only suggests its package" bash -c "
  ! grep -q zelp-host '$T/zelpd.lista' &&
  dpkg-deb -f '$deb_zelpd' Suggests | grep -qx zelp-host &&
  ! dpkg-deb -f '$deb_zelpd' Depends Pre-Depends Recommends | grep -q zelp-host"
confere "zelp-host depends on no gateway and has no maintainer scripts" bash -c "
  ! dpkg-deb -f '$deb_host' Depends Pre-Depends | grep -q zelp && ! dpkg-deb -I '$deb_host' | grep -Eq 'postinst|prerm|postrm'"
for f in ./usr/bin/zelp ./usr/share/man/man1/zelp.1.gz ./usr/share/doc/zelp/copyright ./usr/share/doc/zelp/changelog.Debian.gz; do
  confere "zelp holds $f" tem "$T/zelp.lista" "$f"
done
# Several tills (the template unit), and the window program's launcher and example configuration.
confere "zelpd holds the template unit zelpd@.service" tem "$T/zelpd.lista" ./lib/systemd/system/zelpd@.service
for f in ./usr/share/applications/zelp.desktop ./usr/share/icons/hicolor/scalable/apps/zelp.svg \
         ./usr/share/doc/zelp/examples/zelp.ini; do
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
verifica_unidade() {  # verifica_unidade [UNIT], zelpd.service by default
  local saida
  saida=$(MANPATH="$T/usr/share/man" systemd-analyze verify "${1:-$T/unidade/zelpd.service}" 2>&1) || { echo "$saida"; return 1; }
  [ -z "$saida" ] || { echo "$saida"; return 1; }
}
confere "systemd-analyze verify zelpd.service is clean" verifica_unidade
confere "the unit writes no core file" grep -qx 'LimitCORE=0' "$T/unidade/zelpd.service"
# The template, verified as an instance of it; it keeps every line of zelpd.service but its own folders.
sed "s|/usr/sbin/zelpd|$T/usr/sbin/zelpd|" "$T/lib/systemd/system/zelpd@.service" > "$T/unidade/zelpd@.service"
confere "systemd-analyze verify zelpd@caixa2.service is clean" verifica_unidade "$T/unidade/zelpd@caixa2.service"
confere "zelpd@.service keeps every setting of zelpd.service" bash -c "
  ! grep -Ev '^(#|$|Description=|ExecStart=|ReadWritePaths=)' '$T/lib/systemd/system/zelpd.service' |
    grep -vxFf '$T/lib/systemd/system/zelpd@.service' &&
  grep -qx 'ExecStart=/usr/sbin/zelpd -C /etc/zelp/%i' '$T/lib/systemd/system/zelpd@.service' &&
  grep -qx 'ReadWritePaths=/var/lib/zelp/%i /var/log/zelp/%i' '$T/lib/systemd/system/zelpd@.service'"

# --- the window program's launcher and example configuration
mkdir -p "$T/janela"
dpkg-deb -x "$deb_zelp" "$T/janela"
confere "zelp.desktop passes desktop-file-validate" desktop-file-validate "$T/janela/usr/share/applications/zelp.desktop"
mkdir -p "$T/casa/zelp/entrada" "$T/casa/zelp/saida" "$T/casa/zelp/log"
cp "$T/janela/usr/share/doc/zelp/examples/zelp.ini" "$T/casa/zelp/"
"$T/usr/sbin/zelpd" --verifica -C "$T/casa/zelp" > "$T/exemplo.txt" 2>&1 || true
confere "the example zelp.ini has no key the service ignores, and waits only for a host" bash -c "
  ! grep -q 'warning: line' '$T/exemplo.txt' && grep -q 'Not ready: 1 error' '$T/exemplo.txt' &&
  grep -q \"Nenhuma 'url' especificada\" '$T/exemplo.txt' || { cat '$T/exemplo.txt'; false; }"

# --- log retention: only daily logs 13 months (of 30.44 days) and more past their last write go
mkdir -p "$T/var/log/zelp"
touch -d '397 days ago' "$T/var/log/zelp/LT010926.txt"
touch -d '394 days ago' "$T/var/log/zelp/LT111026.txt"
touch "$T/var/log/zelp/LT091226.txt"
systemd-tmpfiles --clean --root="$T" zelpd.conf
confere "tmpfiles removes the log of 397 days and keeps those of 394 and of today" bash -c "
  [ ! -e '$T/var/log/zelp/LT010926.txt' ] && [ -e '$T/var/log/zelp/LT111026.txt' ] && [ -e '$T/var/log/zelp/LT091226.txt' ]"
rm -f "$T"/var/log/zelp/*

# --- one sale through the packaged programs, with the packaged configuration moved into $T
dpkg-deb -x "$deb_host" "$T"
mkdir -p "$T/var/lib/zelp/entrada" "$T/var/lib/zelp/saida" "$T/var/lib/zelp/estab"
"$T/usr/bin/zelp-host" > "$T/host.out" 2>&1 &
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
confere "the host simulator printed the sale's card number masked, never whole" bash -c "
  grep -q '411111\*\*\*\*\*\*1111=' '$T/host.out' && ! grep -q 4111111111111111 '$T/host.out'"
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
