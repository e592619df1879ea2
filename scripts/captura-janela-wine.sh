#!/usr/bin/env bash
# Takes the picture of zelp.exe under wine for the documentation: the window in a wine desktop of
# 800 x 600 on a virtual X display, with a host simulator and a few sample transactions in its list,
# brought back from the tray by a click on its icon.
# Usage: scripts/captura-janela-wine.sh [Windows build folder] [PNG file to write]
set -euo pipefail
. "$(dirname "$0")/xvfb-captura.sh"

raiz="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$raiz/build/windows}" && pwd)"
saida_png="${2:-$raiz/docs/janela-zelp-wine.png}"
saida_png="$(cd "$(dirname "$saida_png")" && pwd)/$(basename "$saida_png")"
bin="$build/bin"
wine="$build/wine/roda-wine.sh"

for p in zelp zelp-host zelp-pdv zelp-estab; do
  [ -f "$bin/$p.exe" ] || { echo "missing $bin/$p.exe: run make windows first" >&2; exit 1; }
done
[ -x "$wine" ] || { echo "missing $wine: configure the Windows build on a machine with wine" >&2; exit 1; }
for p in Xvfb xdotool python3; do
  command -v "$p" >/dev/null || { echo "missing $p: run scripts/instala-dependencias.sh" >&2; exit 1; }
done
# A prefix of its own: the wineserver is ended at the end, and no test's programs with it.
export ZELP_WINEPREFIX="$build/wine/prefixo-captura"

trabalho="$(mktemp -d "${TMPDIR:-/tmp}/zelp-captura-XXXXXX")"
pids=()
encerra() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  "$wine" para
  wait 2>/dev/null || true
  rm -rf "$trabalho"
}
trap encerra EXIT

inicia_xvfb
"$wine" para
"$wine" servidor

cd "$trabalho/demo"
"$wine" "$bin/zelp-host.exe" --porta 0 >host.out 2>&1 &
pids+=($!)
porta=""
for _ in $(seq 1 100); do
  porta=$(sed -n 's/^port \([0-9][0-9]*\).*/\1/p' host.out | head -n1)
  [ -n "$porta" ] && break
  sleep 0.1
done
[ -n "$porta" ] || { echo "the host simulator did not start" >&2; exit 1; }
for i in 0 1 2; do
  "$wine" "$bin/zelp-estab.exe" cria "estab\\loja$i.dat" "${i}2345678" "CHAVE00$i" "LOJA-DEMO-0000$i" >/dev/null
done
{
  printf '[Tempos]\r\nTOutIni=5\r\nTOutCnf=10\r\nTOutCnx=3\r\n'
  printf '[Diretorios]\r\nEntrada=entrada\r\nSaida=saida\r\nErrlog=log\r\nTamNomeArq=8\r\n'
  for i in 0 1 2; do printf '[End%d]\r\nurl=127.0.0.1\r\nPort=%s\r\n' "$i" "$porta"; done
  printf '[PEstab]\r\npar0=estab\\loja0.dat\r\npar1=estab\\loja1.dat\r\npar2=estab\\loja2.dat\r\n'
} >zelp.ini

# A wine desktop of the screen's size, with a task bar and its tray, as on a till.
"$wine" explorer /desktop=ZELP,800x600 "$bin/zelp.exe" >zelp.out 2>&1 &
pids+=($!)
sleep 4
for pedido in "1 1500" "2 2599" "3 4200"; do
  set -- $pedido
  "$wine" "$bin/zelp-pdv.exe" --entrada entrada --saida saida --tempo-status 15 --tempo-resposta 30 \
    000-000=CRT 001-000="$1" 011-000=31 003-000="$2" 098-000=4111111111111111=2812 >/dev/null || true
done
# The window went to the tray a second after its start: a click on the icon, at the tray's end of
# the task bar, brings it back; then the pointer goes out of the way.
xdotool mousemove 790 590 click 1
sleep 1.5
xdotool mousemove 799 0
sleep 0.5

python3 "$raiz/scripts/xwd-para-png.py" "$trabalho/fb/Xvfb_screen0" "$saida_png"
echo "written: $saida_png"
