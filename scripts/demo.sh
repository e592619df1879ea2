#!/usr/bin/env bash
# Runs the gateway on a demo folder: a host simulator, establishment files, one sample sale.
# The folder lives outside the source tree; Ctrl-C stops the gateway and the host.
set -euo pipefail

raiz="$(cd "$(dirname "$0")/.." && pwd)"
bin="$raiz/build/release/bin"
demo="${ZELP_DEMO_DIR:-${XDG_RUNTIME_DIR:-/tmp}/zelp-demo}"

for p in zelpd zelp-host zelp-pdv zelp-estab; do
  [ -x "$bin/$p" ] || { echo "missing $bin/$p: run 'make build' first" >&2; exit 1; }
done

mkdir -p "$demo"/{entrada,saida,log,estab}
cd "$demo"
rm -f entrada/* saida/*

pids=()
encerra() {
  trap - INT TERM EXIT
  echo
  echo "Stopping the gateway and the host simulator..."
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap 'encerra; exit 0' INT TERM
trap encerra EXIT

# The host simulator prints the port it listens on as its first line ("port N").
"$bin/zelp-host" --porta 0 > host.out 2>&1 &
pids+=($!)
porta=""
for _ in $(seq 1 50); do
  porta=$(sed -n 's/^port \([0-9][0-9]*\).*/\1/p' host.out | head -n1)
  [ -n "$porta" ] && break
  sleep 0.1
done
[ -n "$porta" ] || { echo "the host simulator did not start; see $demo/host.out" >&2; exit 1; }

"$bin/zelp-estab" cria estab/loja0.dat 12345678 CHAVE001 LOJA-DEMO-00001 >/dev/null
"$bin/zelp-estab" cria estab/loja1.dat 22345678 CHAVE002 LOJA-DEMO-00002 >/dev/null
"$bin/zelp-estab" cria estab/loja2.dat 32345678 CHAVE003 LOJA-DEMO-00003 >/dev/null

cat > zelp.ini <<INI
; Demo configuration: every endpoint group points at the local host simulator.
[Tempos]
TOutIni=5
TOutCnf=10
TOutCnx=3

[Diretorios]
Entrada=entrada
Saida=saida
Errlog=log
TamNomeArq=8

[Deleta]
Log=1

[End0]
url=127.0.0.1
Port=$porta

[End1]
url=127.0.0.1
Port=$porta

[End2]
url=127.0.0.1
Port=$porta

[PEstab]
par0=estab/loja0.dat
par1=estab/loja1.dat
par2=estab/loja2.dat
INI

if [ -n "${DISPLAY:-}" ] && [ -x "$bin/zelp" ]; then
  "$bin/zelp" > gateway.out 2>&1 &
  pids+=($!)
  echo "Gateway window started (zelp)."
  tail -n +1 -f gateway.out &
  pids+=($!)
else
  "$bin/zelpd" > gateway.out 2>&1 &
  pids+=($!)
  tail -n +1 -f gateway.out &
  pids+=($!)
fi

echo "Demo folder: $demo (host simulator on 127.0.0.1:$porta)"
echo "Sending a sample card sale of 15.00 (code 31)..."
set +e
"$bin/zelp-pdv" --entrada entrada --saida saida --tempo-status 15 --tempo-resposta 30 \
  000-000=CRT 001-000=1 011-000=31 003-000=1500 098-000=4111111111111111=2812
rc=$?
set -e
case $rc in
  0) echo "Sale approved." ;;
  1) echo "Sale refused (see the response above)." ;;
  3) echo "The gateway took the sale but gave no response in time; see $demo/gateway.out" ;;
  5) echo "The gateway did not pick the sale up; see $demo/gateway.out" ;;
  *) echo "zelp-pdv ended with $rc; see $demo/gateway.out" ;;
esac
# The command as typed in the source folder, where make run was started.
pdv="${bin#"$raiz"/}/zelp-pdv"
cat <<TXT

The gateway keeps running. Send more transactions from another terminal, in the source folder $raiz:
  $pdv --entrada $demo/entrada --saida $demo/saida 000-000=CRT 011-000=31 003-000=2599 098-000=4111111111111111=2812
(an amount ending in two digits other than 00 is refused by the simulator with that code).
Press Ctrl-C to stop.
TXT
wait "${pids[0]}"
