// The journal of transactions: one CSV line per finished transaction in the day's file
// transacoes-AAAA-MM-DD.csv of the log directory, what an operator reads to learn what became of a
// sale. It names only the fields below: never card data.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Relogio.h"

namespace zelp_log {

enum class Desfecho { Aprovada, Recusada, Erro, TipoDesconhecido, SoStatus, NaoPublicada };
inline constexpr int NUM_DESFECHOS = 6;

// The outcome as the journal names it: approved (009 = 00 from the host), refused (another 009 from
// the host), error (an error response of the gateway), unknown-type, status-only (ATV), not-published.
const char* NomeDesfecho(Desfecho d);
// The outcome of a journal name; false when it names none.
bool DesfechoDeNome(std::string_view nome, Desfecho& d);

struct RegistroTransacao {
  plataforma::HoraLocal inicio{};  // the claim of the request
  plataforma::HoraLocal fim{};     // its publication (when nothing was published, the end)
  std::string numero;              // 001-000 at the width of the file names
  std::string cabecalho;           // 000-000 of the request
  std::string codigo;              // the transaction code (011-000)
  std::string valor;               // 003-000 of the request, as received
  std::string resposta;            // 009-000 of the answer
  std::string texto;               // 030-000 of the answer, without the blanks that pad it
  std::string host;                // address:port of the host the transaction was connected to
  std::uint32_t ms = 0;            // from the claim to the publication
  Desfecho desfecho = Desfecho::NaoPublicada;
};

// The columns in order: the name in the header line, and the field of the service manager's journal.
struct ColunaDiario {
  const char* csv;
  const char* diario;
};
inline constexpr int NUM_COLUNAS_DIARIO = 11;
extern const ColunaDiario colunasDiario[NUM_COLUNAS_DIARIO];
inline constexpr int COLUNA_CODIGO = 4;
inline constexpr int COLUNA_DESFECHO = 10;

// "start,end,number,header,code,amount,response,text,host,ms,outcome"
std::string CabecalhoDiario();
// The name of a day's journal: "transacoes-2026-12-09.csv".
std::string NomeDiario(int ano, int mes, int dia);

// A value with every control character written as \xNN, so that no value can break a line.
std::string EscapaControles(std::string_view valor);
// The record's values column by column, control characters escaped.
std::vector<std::string> ValoresRegistro(const RegistroTransacao& r);
// One CSV field: quoted (inner quotes doubled) when it holds a comma or a quote or begins or ends
// with a blank, as it stands otherwise.
std::string CampoCsv(std::string_view valor);
// The record's line, without its line end.
std::string LinhaCsv(const RegistroTransacao& r);
// The fields of one CSV line (its line end already cut), quotes undone; false when a quoted field
// is not closed or a closing quote is followed by anything but a comma.
bool SeparaCsv(std::string_view linha, std::vector<std::string>& campos);

// Appends the record's line to the journal of the day of its end in the log directory, the header
// line first in a new or empty file, in one write; nothing without a log directory. False when it
// could not be written (logged as "*** Erro ao gravar o diario de transacoes <path>").
bool GravaDiarioTransacoes(const RegistroTransacao& r);

}  // namespace zelp_log
