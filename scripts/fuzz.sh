#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz": clang, ASan + UBSan) and runs each one for a bounded
# time on a copy of its seed corpus. Exits non-zero when any target crashed, leaked, hung, tripped a
# sanitizer or broke one of its properties; prints one summary line per target.
#
#   FUZZ_SEGUNDOS   seconds per target (default 60)
#   FUZZ_ALVOS      targets to run, separated by blanks (default: all)
#   ZELP_DIR_FUZZ   build directory (default: the preset's, build/fuzz)
set -uo pipefail

raiz="$(cd "$(dirname "$0")/.." && pwd)"
segundos="${FUZZ_SEGUNDOS:-60}"
alvos="${FUZZ_ALVOS:-lepedido ini resposta pedido estabelecimento}"
build="${ZELP_DIR_FUZZ:-$raiz/build/fuzz}"

# Longest input worth trying per target: a request of 255 fields, a configuration file, the largest
# response data, an establishment file with some bytes to spare.
declare -A maximo=([lepedido]=8192 [ini]=4096 [resposta]=2048 [pedido]=8192 [estabelecimento]=512)

if ! [[ "$segundos" =~ ^[0-9]+$ ]] || [ "$segundos" -lt 1 ]; then
  echo "FUZZ_SEGUNDOS must be a positive number of seconds, not '$segundos'" >&2
  exit 2
fi
command -v clang++ >/dev/null || { echo "clang++ is needed for the fuzz targets" >&2; exit 2; }

cd "$raiz"
# Optimised a little, as fuzzers usually are: at -O0 the instrumented code runs a few hundred
# inputs a second; debug information stays for the reports.
cmake --preset fuzz -B "$build" -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" >/dev/null \
  || { echo "configure of the fuzz build failed" >&2; exit 2; }
cmake --build "$build" -j2 --target $(for a in $alvos; do printf 'fuzz_%s ' "$a"; done) \
  || { echo "build of the fuzz targets failed" >&2; exit 2; }

# Crash inputs and full logs stay here for a look after a failure.
artefatos="$build/fuzz-artefatos"
mkdir -p "$artefatos"
trabalho="$(mktemp -d "${TMPDIR:-/tmp}/zelp-fuzz-corpus.XXXXXX")"
trap 'rm -rf "$trabalho"' EXIT

export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=0:symbolize=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:${UBSAN_OPTIONS:-}"

falhas=0
resumo=()
for alvo in $alvos; do
  programa="$build/fuzz/fuzz_$alvo"
  sementes="$raiz/fuzz/corpus/$alvo"
  if [ ! -x "$programa" ] || [ ! -d "$sementes" ]; then
    resumo+=("fuzz_$alvo: FAILED (program or seed corpus missing)")
    falhas=$((falhas + 1))
    continue
  fi
  # The committed seeds are never written to: the run grows a copy.
  corpus="$trabalho/$alvo"
  mkdir -p "$corpus"
  cp -R "$sementes/." "$corpus/"
  sementesN=$(find "$corpus" -type f | wc -l)
  log="$artefatos/fuzz_$alvo.log"
  rm -f "$artefatos/fuzz_$alvo-"*

  # A dictionary of the format's own words, where the target has one.
  dicionario=()
  [ -f "$raiz/fuzz/dicionarios/$alvo.dict" ] && dicionario=(-dict="$raiz/fuzz/dicionarios/$alvo.dict")

  echo "== fuzz_$alvo: ${segundos}s, max_len ${maximo[$alvo]:-4096}, $sementesN seeds"
  "$programa" "$corpus" "${dicionario[@]}" \
    -max_total_time="$segundos" -max_len="${maximo[$alvo]:-4096}" -timeout=25 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artefatos/fuzz_$alvo-" >"$log" 2>&1
  estado=$?

  execucoes=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  final=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n1)
  cobertura=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$final")
  tamanhoCorpus=$(find "$corpus" -type f | wc -l)
  # libFuzzer already fails on a crash; the sanitizer texts are checked too, so that a report that
  # did not stop the run is not missed either.
  if [ "$estado" -ne 0 ] || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|==ZELP== propriedade' "$log"; then
    achado=$(grep -m1 -E 'ERROR: |runtime error:|==ZELP==|SUMMARY:' "$log")
    artefato=$(ls "$artefatos/fuzz_$alvo-"* 2>/dev/null | head -n1)
    resumo+=("fuzz_$alvo: FAILED (exit $estado) ${achado:-see log}; input ${artefato:-none}; log $log")
    falhas=$((falhas + 1))
    tail -n 40 "$log" >&2
  else
    resumo+=("fuzz_$alvo: ok, ${execucoes:-?} runs in ${segundos}s, coverage ${cobertura:-?}, corpus $sementesN -> $tamanhoCorpus")
  fi
done

echo
printf '%s\n' "${resumo[@]}"
if [ "$falhas" -ne 0 ]; then
  echo "$falhas fuzz target(s) failed" >&2
  exit 1
fi
