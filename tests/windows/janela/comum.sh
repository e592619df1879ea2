# What the wine tests of the window, the service and the installer share. Sourced with the build's
# wine runner in WINE (roda-wine.sh), the built programs in BIN; the tests run in a wine prefix of
# their own (ZELP_WINEPREFIX), whose wineserver each test starts and ends itself.
set -euo pipefail

inicio_teste=$(date +%s%N)
ms() { echo $(( ($(date +%s%N) - inicio_teste) / 1000000 )); }
falha() { echo "FALHOU ($(ms) ms): $*" >&2; exit 1; }
# confere TEXT REGEX WHAT: TEXT must hold a line matching REGEX.
confere() { grep -qE -- "$2" <<<"$1" || { echo "$1" >&2; falha "$3"; }; }
# espera SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds; false after SECONDS.
espera() {
  local fim=$(( $(date +%s) + $1 )); shift
  until "$@"; do [ "$(date +%s)" -lt "$fim" ] || return 1; sleep 0.1; done
}
w() { "$WINE" "$@"; }

# Never the build's shared prefix: this test ends its wineserver, which would end others' programs.
[ -n "${ZELP_WINEPREFIX:-}" ] || falha "ZELP_WINEPREFIX must name this test's own wine prefix"
trabalho=$(mktemp -d "${TMPDIR:-/tmp}/zelp-wine-XXXXXX")
pids=()
encerra() {
  local status=$?
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  "$WINE" para
  if [ "$status" -eq 0 ]; then rm -rf "$trabalho"; else echo "kept for inspection: $trabalho" >&2; fi
}
trap encerra EXIT
# A wineserver of this test's own, so that the desktop it makes has this test's display.
"$WINE" para
"$WINE" servidor

# The state of the service zelpd, as sc query prints it ("STOPPED", "RUNNING"...); empty when none.
estado_servico() { w sc query zelpd 2>/dev/null | sed -n 's/.*STATE *: *[0-9]* *\([A-Z_]*\).*/\1/p' | tr -d '\r'; }
servico_em() { [ "$(estado_servico)" = "$1" ]; }

# Starts zelp-host.exe on an ephemeral port of 127.0.0.1, with the options given; sets PORTA.
inicia_host() {
  w "$BIN/zelp-host.exe" --porta 0 "$@" >"$trabalho/host.out" 2>&1 &
  pids+=($!)
  espera 30 grep -q '^port ' "$trabalho/host.out" || falha "zelp-host did not start: $(cat "$trabalho/host.out")"
  PORTA=$(sed -n 's/^port \([0-9]*\).*/\1/p' "$trabalho/host.out" | head -n1)
}
