# Sourced by the screenshot scripts: a virtual X display of 800 x 600 for the picture, its frame
# buffer kept as an XWD file in $trabalho/fb (what gets converted), the demo's folders beside it.
# Needs trabalho and the array pids set; adds the server's pid to pids and exports DISPLAY.
inicia_xvfb() {
  mkdir -p "$trabalho"/{fb,demo/entrada,demo/saida,demo/log,demo/estab}
  Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset -fbdir "$trabalho/fb" 3>"$trabalho/display" \
    2>"$trabalho/xvfb.log" &
  pids+=($!)
  for _ in $(seq 1 100); do
    [ -s "$trabalho/display" ] && break
    sleep 0.1
  done
  [ -s "$trabalho/display" ] || { echo "Xvfb did not start:" >&2; cat "$trabalho/xvfb.log" >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$trabalho/display")"
}
