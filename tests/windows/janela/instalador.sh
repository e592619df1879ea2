#!/usr/bin/env bash
# The installer under wine: msiexec /i puts programs, zelp.ini, folders, Start-menu entry and service
# in place; once zelp.ini names a host the service starts and serves a sale, through which it is
# stopped: stop pending until the answer is out, then stopped; the next version's installer replaces
# it in place; msiexec /x takes programs, entry and service away and keeps zelp.ini, the
# establishment file and the logs.
# Usage: instalador.sh WINE BIN MSI NEXT_VERSION_MSI
WINE=$1 BIN=$2 MSI=$3 SEGUINTE=$4
. "$(dirname "$0")/comum.sh"

c="$ZELP_WINEPREFIX/drive_c"
programas="$c/Program Files/ZELP"
dados="$c/ProgramData/ZELP"
w msiexec /x "$MSI" /qn >/dev/null 2>&1 || true  # left by an interrupted run
w msiexec /x "$SEGUINTE" /qn >/dev/null 2>&1 || true
rm -rf "$dados"
chave_fonte='HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\zelpd'

t=$(ms)
w msiexec /i "$MSI" /qn || falha "msiexec /i ended with $?"
echo "installed in $(( $(ms) - t )) ms"
for p in zelpd zelp zelp-pdv zelp-estab zelp-host; do [ -f "$programas/$p.exe" ] || falha "no $p.exe"; done
for d in entrada saida estab log; do [ -d "$dados/$d" ] || falha "no folder $d"; done
ini=$(cat "$dados/zelp.ini")
confere "$ini" $'^Log=1\r$' "zelp.ini has no Log=1 (or no CR LF)"
confere "$ini" $'^Entrada=entrada\r$' "zelp.ini's input folder is not the installed one"
# wine's msiexec puts an all-users entry into the user's Start menu.
atalho=$(find "$c/ProgramData/Microsoft/Windows/Start Menu" "$c/users" -name ZELP.lnk 2>/dev/null | head -n1)
[ -n "$atalho" ] || falha "no Start-menu entry"
registro=$(w reg query 'HKLM\SYSTEM\CurrentControlSet\Services\zelpd' | tr -d '\r')
confere "$registro" 'ImagePath .*zelpd\.exe"? --servico -C "C:\\ProgramData\\ZELP\\\."$' "the service does not run in ProgramData\\ZELP"
confere "$registro" 'Start +REG_DWORD +0x2$' "the service does not start with the system"
w reg query "$chave_fonte" >/dev/null || falha "no event-log source"
servico_em STOPPED || falha "the installer started the service: $(estado_servico)"

inicia_host --atraso 3000
w "$programas/zelp-estab.exe" cria 'C:\ProgramData\ZELP\estab\loja.dat' 12345678 CHAVE123 "LOJA CENTRO" >/dev/null
sed -i "s/^\[End2\]\r\$/[End2]\r\nurl=127.0.0.1\r\nPort=$PORTA\r/; s/^\[PEstab\]\r\$/[PEstab]\r\npar2=estab\\\\loja.dat\r/" "$dados/zelp.ini"
w net start zelpd >/dev/null || falha "net start zelpd failed"
servico_em RUNNING || falha "the service is not running: $(estado_servico)"
t=$(ms)
w "$programas/zelp-pdv.exe" --entrada 'C:\ProgramData\ZELP\entrada' --saida 'C:\ProgramData\ZELP\saida' \
  000-000=CRT 011-000=31 003-000=1500 098-000=4111111111111111=2812 >"$trabalho/venda.out" 2>&1 &
venda=$!
# The host answers 3 s after the claim: the stop comes while the transaction is in flight.
reivindicado() { cat "$dados"/log/LT*.txt 2>/dev/null | grep -q 'encontrado'; }
espera 20 reivindicado || falha "the service claimed no request"
w net stop zelpd >/dev/null || falha "net stop zelpd failed"
servico_em STOP_PENDING || falha "not stop pending while a transaction is in flight: $(estado_servico)"
wait "$venda" || falha "the sale: $(cat "$trabalho/venda.out")"
confere "$(tr -d '\r' <"$trabalho/venda.out")" '^approved$' "the sale was not approved"
echo "sale approved through the stopping service in $(( $(ms) - t )) ms"
espera 40 servico_em STOPPED || falha "the service did not stop: $(estado_servico)"
confere "$(w sc query zelpd | tr -d '\r')" 'SERVICE_EXIT_CODE +: +0 ' "the stopped service's exit code is not 0"
confere "$(cat "$dados"/log/LT*.txt)" 'aguardando 1 transac' "the stop did not wait for the transaction"
confere "$(cat "$dados"/log/LT*.txt)" '\*\*\* Servico parado' "the orderly stop is not in the day's log"

# The next version over this one: one product, the new one, with the operator's zelp.ini as it was.
codigo() { msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'; }
produto() { w reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\'"$1" >/dev/null 2>&1; }
t=$(ms)
w msiexec /i "$SEGUINTE" /qn || falha "the next version's msiexec /i ended with $?"
echo "upgraded in $(( $(ms) - t )) ms"
produto "$(codigo "$SEGUINTE")" || falha "the next version is not installed"
produto "$(codigo "$MSI")" && falha "the earlier version is still installed beside the next"
for p in zelpd zelp zelp-pdv zelp-estab zelp-host; do [ -f "$programas/$p.exe" ] || falha "no $p.exe after the upgrade"; done
grep -q "^Port=$PORTA" "$dados/zelp.ini" || falha "the upgrade replaced the operator's zelp.ini"
servico_em STOPPED || falha "the service is not registered after the upgrade: $(estado_servico)"

t=$(ms)
w msiexec /x "$SEGUINTE" /qn || falha "msiexec /x ended with $?"
echo "removed in $(( $(ms) - t )) ms"
for p in zelpd zelp zelp-pdv zelp-estab zelp-host; do [ ! -e "$programas/$p.exe" ] || falha "$p.exe left behind"; done
[ ! -e "$atalho" ] || falha "the Start-menu entry was left behind"
[ -z "$(estado_servico)" ] || falha "the service is still registered"
w reg query "$chave_fonte" >/dev/null 2>&1 && falha "the event-log source was left behind"
grep -q "^Port=$PORTA" "$dados/zelp.ini" || falha "the operator's zelp.ini was not kept"
[ -f "$dados/estab/loja.dat" ] || falha "the establishment file was not kept"
ls "$dados"/log/LT*.txt >/dev/null || falha "the logs were not kept"
rm -rf "$dados"
echo "instalador: passed in $(ms) ms"
