#!/usr/bin/env bash
# zelpd.exe --instala-servico and --remove-servico under wine, and a service that ends on a fatal error
# (zelp.ini without a host): stopped, with 78 as its exit code and the error in the day's log.
# Usage: servico.sh WINE BIN
WINE=$1 BIN=$2
. "$(dirname "$0")/comum.sh"

w "$BIN/zelpd.exe" --remove-servico >/dev/null 2>&1 || true  # left by an interrupted run
saida=$(w "$BIN/zelpd.exe" --instala-servico -C "$trabalho" 2>&1 | tr -d '\r') || falha "install: $saida"
echo "$saida"
confere "$saida" 'no zelp.ini' "the install does not say that zelp.ini is missing"
registro=$(w reg query 'HKLM\SYSTEM\CurrentControlSet\Services\zelpd' | tr -d '\r')
confere "$registro" "ImagePath +REG_[A-Z_]+ +\"[^\"]*zelpd\\.exe\" --servico -C \"[^\"]*$(basename "$trabalho")\"$" \
  "the service's command line is not zelpd.exe --servico -C with the folder"
confere "$registro" 'Start +REG_DWORD +0x2$' "the service does not start with the system"
w "$BIN/zelpd.exe" --instala-servico -C "$trabalho" >/dev/null 2>&1 && falha "a second install succeeded"

mkdir -p "$trabalho/log"
printf '[Diretorios]\r\nErrlog=log\r\n' >"$trabalho/zelp.ini"
w net start zelpd >/dev/null || falha "net start zelpd failed"
espera 40 servico_em STOPPED || falha "the service did not end on its fatal error: $(estado_servico)"
estado=$(w sc query zelpd | tr -d '\r')
confere "$estado" 'SERVICE_EXIT_CODE +: +78 ' "the service's exit code is not 78"
confere "$estado" 'WIN32_EXIT_CODE +: +1066 ' "the exit code is not a service-specific one"
confere "$(cat "$trabalho"/log/LT*.txt)" "^\*\*\* Nenhuma 'url' especificada!!!" "the fatal error is not in the day's log"
echo "service ended with 78 $(ms) ms after the start of the test"

w "$BIN/zelpd.exe" --remove-servico >/dev/null || falha "--remove-servico failed"
[ -z "$(estado_servico)" ] || falha "the service is still registered"
w "$BIN/zelpd.exe" --remove-servico >/dev/null 2>&1 && falha "removing a missing service succeeded"
echo "servico: passed in $(ms) ms"
