#!/usr/bin/env bash
# zelp.exe under wine on a virtual display: the window shows before its first second is over and
# then goes to the tray, its icon is in the tray, the log's lines reach its list, a second start
# ends at once with 0 and leaves one window, Timer1 ends it with 1 after a fatal service error, and
# the menu's "&Sair", reached by its access keys, ends it with 0.
# Usage (under xvfb-run): janela.sh WINE BIN SONDA
WINE=$1 BIN=$2 SONDA=$3
. "$(dirname "$0")/comum.sh"
[ -n "${DISPLAY:-}" ] || falha "no display: run it under xvfb-run"

# No host in zelp.ini: the service logs its banner, then its fatal error, and ends 10 s later.
mkdir -p "$trabalho/log"
printf '[Diretorios]\r\nErrlog=log\r\n' >"$trabalho/zelp.ini"
cd "$trabalho"
sonda() { w "$SONDA" "$@" 2>&1 | tr -d '\r'; }
saida=$(sonda) && falha "a window before the start: $saida"

t=$(ms)
w "$BIN/zelp.exe" >zelp.out 2>&1 &
zelp=$!
pids+=($zelp)
visivel() { xdotool search --onlyvisible --name '^Servidor ZELP V00\.68$' >/dev/null 2>&1; }
espera 30 visivel || falha "no window shown by its caption"
echo "window shown $(( $(ms) - t )) ms after the start"
# It was found shown, so before its icon's first tick (a second after its creation) hid it.

saida=$(sonda --espera 15000 --linha 'Servidor ZELP V00.68' --clique) || falha "banner not in the list: $saida"
echo "$saida"
confere "$saida" '^linha=Servidor ZELP V00\.68$' "the banner is not a line of the list"
confere "$saida" '^visivel=0$' "the window did not go to the tray"
confere "$saida" '^icone=1$' "the icon is not in the tray (Shell_NotifyIcon)"
confere "$saida" '^lista=649x465$' "the list does not fill a client area of 649 x 465"
confere "$saida" '^altura_linha=13$' "rows are not 13 pixels high"
confere "$saida" '^clique_visivel=1$' "a click on the icon did not show the window"
confere "$saida" '^clique_iconica=0$' "a click on the icon left the window minimised"
confere "$saida" '^clique_cliente=649x465$' "the client area is not 649 x 465"

t=$(ms)
timeout 30 "$WINE" "$BIN/zelp.exe" || falha "a second start ended with $?"
echo "second start ended with 0 after $(( $(ms) - t )) ms"
saida=$(sonda)
confere "$saida" '^janelas=1$' "not one window after the second start"

saida=$(sonda --espera 15000 --linha "Nenhuma 'url' especificada") || falha "no fatal error in the list: $saida"
t=$(ms)
espera 25 sh -c "! kill -0 $zelp 2>/dev/null" || falha "zelp.exe still runs 25 s after its fatal error"
status=0
wait "$zelp" || status=$?
[ "$status" -eq 1 ] || falha "zelp.exe ended with $status after the service's end, not 1"
echo "ended with 1 $(( $(ms) - t )) ms after its fatal error was shown"
saida=$(sonda) && falha "a window after the end: $saida"

# Again, ended from its menu before the service's end: Alt+A opens "&Arquivo", S is "&Sair".
w "$BIN/zelp.exe" >zelp.out 2>&1 &
zelp=$!
pids+=($zelp)
sonda --espera 15000 --linha 'Servidor ZELP V00.68' --clique >/dev/null || falha "no window the second time"
janela=$(xdotool search --onlyvisible --name '^Servidor ZELP V00\.68$' | head -n1)
xdotool windowfocus --sync "$janela" key alt+a
sleep 0.5
xdotool key s
espera 10 sh -c "! kill -0 $zelp 2>/dev/null" || falha "zelp.exe still runs after Arquivo, Sair"
status=0
wait "$zelp" || status=$?
[ "$status" -eq 0 ] || falha "zelp.exe ended with $status after Arquivo, Sair, not 0"
echo "janela: passed in $(ms) ms"
