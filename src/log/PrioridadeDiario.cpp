// The journal priority of a window line: the fatal text, then a table of texts, first match wins.
#include "log/PrioridadeDiario.h"

#include <cstring>

namespace {

enum class Onde { Inicio, Dentro };

struct Regra {
  const char* texto;
  Onde onde;  // the line begins with the text, or holds it anywhere (after a host's address)
  int prioridade;
};

// Order matters: the specific texts come before the "***" that catches every other alarm.
constexpr Regra REGRAS[] = {
    // An orderly stop is no alarm: "journalctl -p warning" must not list every restart.
    {"*** Servico parado", Onde::Inicio, PRIORIDADE_NOTA},
    {"*** Parada: aguardando ", Onde::Inicio, PRIORIDADE_NOTA},
    // The host cannot be reached or does not answer: each address that fails ("<url>, <step>
    // Error"), the texts of the transaction's answer, and the receive's own lines.
    {", socket Error", Onde::Dentro, PRIORIDADE_AVISO},
    {", ioctl(1) Error", Onde::Dentro, PRIORIDADE_AVISO},
    {", connect Error", Onde::Dentro, PRIORIDADE_AVISO},
    {", Timeout connect Error", Onde::Dentro, PRIORIDADE_AVISO},
    {"gethostbyname Error = ", Onde::Inicio, PRIORIDADE_AVISO},
    {"*ZELP* Sem endereco IP valido", Onde::Inicio, PRIORIDADE_AVISO},
    {"00 *ZELP* ", Onde::Inicio, PRIORIDADE_AVISO},
    {"01 *ZELP* ", Onde::Inicio, PRIORIDADE_AVISO},
    {"02 *ZELP* ", Onde::Inicio, PRIORIDADE_AVISO},
    {"recv TimeOut = ", Onde::Inicio, PRIORIDADE_AVISO},
    {"TAM_MAX_DADOS ErrNo", Onde::Inicio, PRIORIDADE_AVISO},
    {"***", Onde::Inicio, PRIORIDADE_AVISO},
};

const char* SemBrancosIniciais(const char* texto) {
  while (*texto == ' ' || *texto == '\n' || *texto == '\r' || *texto == '\t') ++texto;
  return texto;
}

bool Casa(const Regra& r, const char* texto) {
  return r.onde == Onde::Inicio ? std::strncmp(texto, r.texto, std::strlen(r.texto)) == 0
                                : std::strstr(texto, r.texto) != nullptr;
}

// The service thread's fatal texts begin with a line break before their "***" (the load's, the
// catalogue's): a reload refused for one of them logs it while the service goes on.
bool TextoFatal(const char* linha) {
  while (*linha == ' ') ++linha;
  return (*linha == '\n' || *linha == '\r') && std::strncmp(SemBrancosIniciais(linha), "***", 3) == 0;
}

}  // namespace

int PrioridadeDiario(const char* linha, const char* textoFatal) {
  if (linha == nullptr) return PRIORIDADE_INFORMACAO;
  const char* texto = SemBrancosIniciais(linha);
  if (textoFatal != nullptr && std::strcmp(texto, SemBrancosIniciais(textoFatal)) == 0) return PRIORIDADE_ERRO;
  if (TextoFatal(linha)) return PRIORIDADE_ERRO;
  for (const Regra& r : REGRAS) {
    if (Casa(r, texto)) return r.prioridade;
  }
  return PRIORIDADE_INFORMACAO;
}
