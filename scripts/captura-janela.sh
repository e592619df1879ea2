#!/usr/bin/env bash
# Takes the picture of the running window for the documentation: zelp on a virtual X display, with a
# host simulator and a few sample transactions in its list, and the tray icon in a tint2 panel.
# Usage: scripts/captura-janela.sh [directory of the built programs] [PNG file to write]
set -euo pipefail
. "$(dirname "$0")/xvfb-captura.sh"

raiz="$(cd "$(dirname "$0")/.." && pwd)"
bin="${1:-$raiz/build/release/bin}"
saida_png="${2:-$raiz/docs/janela-zelp.png}"
bin="$(cd "$bin" && pwd)"
saida_png="$(cd "$(dirname "$saida_png")" && pwd)/$(basename "$saida_png")"

for p in zelp zelp-host zelp-pdv zelp-estab; do
  [ -x "$bin/$p" ] || { echo "missing $bin/$p: build the programs first" >&2; exit 1; }
done
for p in Xvfb tint2 xprop python3; do
  command -v "$p" >/dev/null || { echo "missing $p: run scripts/instala-dependencias.sh" >&2; exit 1; }
done

trabalho="$(mktemp -d "${TMPDIR:-/tmp}/zelp-captura-XXXXXX")"
chmod 700 "$trabalho"
pids=()
encerra() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$trabalho"
}
trap encerra EXIT

inicia_xvfb
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$trabalho"

cd "$trabalho/demo"
"$bin/zelp-host" --porta 0 > host.out 2>&1 &
pids+=($!)
porta=""
for _ in $(seq 1 50); do
  porta=$(sed -n 's/^port \([0-9][0-9]*\).*/\1/p' host.out | head -n1)
  [ -n "$porta" ] && break
  sleep 0.1
done
[ -n "$porta" ] || { echo "the host simulator did not start" >&2; exit 1; }
for i in 0 1 2; do
  "$bin/zelp-estab" cria "estab/loja$i.dat" "${i}2345678" "CHAVE00$i" "LOJA-DEMO-0000$i" >/dev/null
done
{
  printf '[Tempos]\nTOutIni=5\nTOutCnf=10\nTOutCnx=3\n'
  printf '[Diretorios]\nEntrada=entrada\nSaida=saida\nErrlog=log\nTamNomeArq=8\n'
  for i in 0 1 2; do printf '[End%d]\nurl=127.0.0.1\nPort=%s\n' "$i" "$porta"; done
  printf '[PEstab]\npar0=estab/loja0.dat\npar1=estab/loja1.dat\npar2=estab/loja2.dat\n'
} > zelp.ini

# Started before any tray exists, the window stays on the screen; the panel comes afterwards and the
# icon joins it.
"$bin/zelp" > zelp.out 2>&1 &
pids+=($!)
sleep 3
for pedido in "1 1500" "2 2599" "3 4200"; do
  set -- $pedido
  "$bin/zelp-pdv" --entrada entrada --saida saida --tempo-status 15 --tempo-resposta 30 \
    000-000=CRT 001-000="$1" 011-000=31 003-000="$2" 098-000=4111111111111111=2812 >/dev/null || true
done

xprop -root -f _NET_NUMBER_OF_DESKTOPS 32c -set _NET_NUMBER_OF_DESKTOPS 1
xprop -root -f _NET_CURRENT_DESKTOP 32c -set _NET_CURRENT_DESKTOP 0
xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "0, 0, 800, 600"
cat > "$trabalho/tint2rc" <<'RC'
rounded = 0
border_width = 0
background_color = #d4d0c8 100
border_color = #808080 100
panel_items = S
panel_size = 100% 30
panel_position = bottom center horizontal
panel_background_id = 1
systray_padding = 4 3 4
systray_icon_size = 24
RC
tint2 -c "$trabalho/tint2rc" > "$trabalho/tint2.log" 2>&1 &
pids+=($!)
sleep 3
# The pointer out of the way, in the corner away from the icon.
command -v xdotool >/dev/null && xdotool mousemove 799 0 || true
sleep 0.5

python3 "$raiz/scripts/xwd-para-png.py" "$trabalho/fb/Xvfb_screen0" "$saida_png"
echo "written: $saida_png"
