// The transaction journal's format and its writer.
#include "log/DiarioTransacoes.h"

#include <algorithm>
#include <utility>

#include "comum/Limites.h"
#include "comum/Mutex.h"
#include "comum/Texto.h"
#include "log/GravaLog.h"
#include "platform/Arquivos.h"

namespace zelp_log {

const ColunaDiario colunasDiario[NUM_COLUNAS_DIARIO] = {
    {"start", "ZELP_START"},       {"end", "ZELP_END"},   {"number", "ZELP_NUMBER"},     {"header", "ZELP_HEADER"},
    {"code", "ZELP_CODE"},         {"amount", "ZELP_AMOUNT"}, {"response", "ZELP_RESPONSE"}, {"text", "ZELP_TEXT"},
    {"host", "ZELP_HOST"},         {"ms", "ZELP_MS"},     {"outcome", "ZELP_OUTCOME"},
};

namespace {

constexpr const char* nomesDesfecho[NUM_DESFECHOS] = {"approved",     "refused",     "error",
                                                      "unknown-type", "status-only", "not-published"};

// Lines of all the workers go to one file: each is appended whole, and the header goes only into a
// file that has nothing yet.
Mutex& TravaDiario() {
  static Mutex trava;
  return trava;
}

std::string Hora(const plataforma::HoraLocal& h) {
  return Formata("%04d-%02d-%02d %02d:%02d:%02d.%03d", h.ano, h.mes, h.dia, h.hora, h.minuto, h.segundo,
                 h.milissegundo);
}

}  // namespace

const char* NomeDesfecho(Desfecho d) {
  const int i = static_cast<int>(d);
  return i >= 0 && i < NUM_DESFECHOS ? nomesDesfecho[i] : "";
}

bool DesfechoDeNome(std::string_view nome, Desfecho& d) {
  for (int i = 0; i < NUM_DESFECHOS; ++i) {
    if (nome == nomesDesfecho[i]) {
      d = static_cast<Desfecho>(i);
      return true;
    }
  }
  return false;
}

std::string CabecalhoDiario() {
  std::string linha;
  for (const ColunaDiario& c : colunasDiario) linha += (linha.empty() ? "" : ",") + std::string(c.csv);
  return linha;
}

std::string NomeDiario(int ano, int mes, int dia) { return Formata("transacoes-%04d-%02d-%02d.csv", ano, mes, dia); }

std::string EscapaControles(std::string_view valor) {
  std::string s;
  s.reserve(valor.size());
  for (char c : valor) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) {
      s += Formata("\\x%02X", u);
    } else {
      s += c;
    }
  }
  return s;
}

std::vector<std::string> ValoresRegistro(const RegistroTransacao& r) {
  std::vector<std::string> v{Hora(r.inicio), Hora(r.fim), r.numero, r.cabecalho, r.codigo, r.valor, r.resposta,
                             r.texto,        r.host,      std::to_string(r.ms), NomeDesfecho(r.desfecho)};
  for (std::string& s : v) s = EscapaControles(s);
  return v;
}

std::string CampoCsv(std::string_view valor) {
  const bool aspas = valor.find_first_of(",\"") != std::string_view::npos ||
                     (!valor.empty() && (valor.front() == ' ' || valor.back() == ' '));
  if (!aspas) return std::string(valor);
  std::string s = "\"";
  for (char c : valor) {
    if (c == '"') s += '"';
    s += c;
  }
  return s + "\"";
}

std::string LinhaCsv(const RegistroTransacao& r) {
  std::string linha;
  for (const std::string& v : ValoresRegistro(r)) linha += (linha.empty() ? "" : ",") + CampoCsv(v);
  return linha;
}

bool SeparaCsv(std::string_view linha, std::vector<std::string>& campos) {
  campos.clear();
  std::size_t i = 0;
  for (;;) {
    std::string campo;
    if (i < linha.size() && linha[i] == '"') {
      for (++i;; ++i) {
        if (i >= linha.size()) return false;
        if (linha[i] != '"') {
          campo += linha[i];
        } else if (i + 1 < linha.size() && linha[i + 1] == '"') {
          campo += '"';
          ++i;
        } else {
          ++i;
          break;
        }
      }
      if (i < linha.size() && linha[i] != ',') return false;
    } else {
      const std::size_t virgula = std::min(linha.find(',', i), linha.size());
      campo.assign(linha.substr(i, virgula - i));
      i = virgula;
    }
    campos.push_back(std::move(campo));
    if (i >= linha.size()) return true;
    ++i;  // the comma
  }
}

bool GravaDiarioTransacoes(const RegistroTransacao& r) {
  char dir[TAM_CAMINHO];
  CopiaDirLog(dir, sizeof dir);
  if (dir[0] == '\0') return true;
  const std::string caminho = std::string(dir) + "/" + NomeDiario(r.fim.ano, r.fim.mes, r.fim.dia);
  std::string linha = LinhaCsv(r) + "\r\n";
  bool gravou = false;
  if (caminho.size() <= TAM_MAX_CAMINHO) {
    MutexLocker travado(TravaDiario());
    // Through the log's own append: the same opening rules, one write for the whole line.
    std::string inicio;
    if (!plataforma::LeArquivoInteiro(caminho.c_str(), inicio, 1) || inicio.empty()) {
      linha = CabecalhoDiario() + "\r\n" + linha;
    }
    bool abriu = false;
    gravou = plataforma::AcrescentaArquivo(caminho.c_str(), linha.data(), linha.size(), abriu);
  }
  if (!gravou) GravaLog("*** Erro ao gravar o diario de transacoes %s", caminho.c_str());
  return gravou;
}

}  // namespace zelp_log
