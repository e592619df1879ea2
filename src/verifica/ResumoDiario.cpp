// zelpd --resumo: one day's transaction journal read back and counted.
#include "verifica/ResumoDiario.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "config/LeitorIni.h"
#include "config/ValoresConfig.h"
#include "log/DiarioTransacoes.h"
#include "platform/Arquivos.h"
#include "platform/Relogio.h"

namespace {

using zelp_log::NUM_DESFECHOS;
using Contagem = std::array<long long, NUM_DESFECHOS>;

// A journal line is far shorter; a longer one is not a journal line, and is skipped in pieces.
constexpr std::size_t TAM_MAX_LINHA = 16 * 1024;
// Lines that are not journal lines named one by one before the rest are only counted.
constexpr int MAX_LINHAS_NOMEADAS = 5;

struct FechaArquivo {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

struct Resumo {
  long long total = 0;
  Contagem porDesfecho{};
  std::map<std::string, Contagem> porCodigo;
  std::vector<long long> ruins;  // line numbers of lines that are not journal lines
  long long numRuins = 0;
};

// Codes in numeric order, then any that is not a number, then the requests that named none.
bool AntesNaOrdem(const std::string& a, const std::string& b) {
  const auto numero = [](const std::string& s) {
    return !s.empty() && s.size() < 10 && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (numero(a) != numero(b)) return numero(a);
  if (numero(a)) return std::stol(a) < std::stol(b);
  if (a.empty() != b.empty()) return b.empty();
  return a < b;
}

// Reads the journal line by line; false when reading failed midway.
bool Conta(std::FILE* f, Resumo& r) {
  const std::string cabecalho = zelp_log::CabecalhoDiario();
  std::vector<char> bloco(TAM_MAX_LINHA + 2);
  std::vector<std::string> campos;
  long long numero = 0;
  while (std::fgets(bloco.data(), static_cast<int>(bloco.size()), f) != nullptr) {
    ++numero;
    std::string linha(bloco.data());
    bool longa = false;
    // The rest of an over-long line goes with it.
    while (!linha.empty() && linha.back() != '\n' && !std::feof(f)) {
      longa = true;
      if (std::fgets(bloco.data(), static_cast<int>(bloco.size()), f) == nullptr) break;
      linha.assign(bloco.data());
    }
    while (!linha.empty() && (linha.back() == '\n' || linha.back() == '\r')) linha.pop_back();
    if (!longa && (linha.empty() || linha == cabecalho)) continue;

    zelp_log::Desfecho desfecho;
    if (longa || !zelp_log::SeparaCsv(linha, campos) || campos.size() != zelp_log::NUM_COLUNAS_DIARIO ||
        !zelp_log::DesfechoDeNome(campos[zelp_log::COLUNA_DESFECHO], desfecho)) {
      if (static_cast<int>(r.ruins.size()) < MAX_LINHAS_NOMEADAS) r.ruins.push_back(numero);
      ++r.numRuins;
      continue;
    }
    ++r.total;
    ++r.porDesfecho[static_cast<std::size_t>(desfecho)];
    auto [it, novo] = r.porCodigo.try_emplace(campos[zelp_log::COLUNA_CODIGO], Contagem{});
    ++it->second[static_cast<std::size_t>(desfecho)];
  }
  return std::ferror(f) == 0;
}

void Imprime(const Resumo& r, const std::string& data, const std::string& caminho, std::FILE* saida) {
  std::fprintf(saida, "Transaction journal of %s: %s\n", data.c_str(), caminho.c_str());
  std::fprintf(saida, "Transactions: %lld\n\nBy outcome:\n", r.total);
  for (int d = 0; d < NUM_DESFECHOS; ++d) {
    std::fprintf(saida, "  %-14s %8lld\n", zelp_log::NomeDesfecho(static_cast<zelp_log::Desfecho>(d)),
                 r.porDesfecho[static_cast<std::size_t>(d)]);
  }

  std::vector<std::string> codigos;
  for (const auto& [codigo, contagem] : r.porCodigo) codigos.push_back(codigo);
  std::sort(codigos.begin(), codigos.end(), AntesNaOrdem);
  std::size_t largura = 6;
  for (const std::string& c : codigos) largura = std::max(largura, c.size());
  std::fprintf(saida, "\nBy transaction code:\n  %-*s %8s", static_cast<int>(largura), "code", "total");
  for (int d = 0; d < NUM_DESFECHOS; ++d) {
    std::fprintf(saida, "  %s", zelp_log::NomeDesfecho(static_cast<zelp_log::Desfecho>(d)));
  }
  std::fputc('\n', saida);
  for (const std::string& c : codigos) {
    const Contagem& contagem = r.porCodigo.at(c);
    long long total = 0;
    for (long long n : contagem) total += n;
    std::fprintf(saida, "  %-*s %8lld", static_cast<int>(largura), c.empty() ? "(none)" : c.c_str(), total);
    for (int d = 0; d < NUM_DESFECHOS; ++d) {
      const int coluna = static_cast<int>(std::strlen(zelp_log::NomeDesfecho(static_cast<zelp_log::Desfecho>(d))));
      std::fprintf(saida, "  %*lld", coluna, contagem[static_cast<std::size_t>(d)]);
    }
    std::fputc('\n', saida);
  }
}

}  // namespace

bool LeData(const char* texto, int& ano, int& mes, int& dia) {
  if (texto == nullptr || std::strlen(texto) != 10 || texto[4] != '-' || texto[7] != '-') return false;
  for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (texto[i] < '0' || texto[i] > '9') return false;
  }
  ano = std::atoi(texto);
  mes = std::atoi(texto + 5);
  dia = std::atoi(texto + 8);
  static constexpr int DIAS[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (mes < 1 || mes > 12 || dia < 1 || dia > DIAS[mes - 1]) return false;
  const bool bissexto = (ano % 4 == 0 && ano % 100 != 0) || ano % 400 == 0;
  return !(mes == 2 && dia == 29 && !bissexto);
}

int ResumoDiario(const char* caminhoIni, const char* data, std::FILE* saida, std::FILE* erros) {
  int ano = 0, mes = 0, dia = 0;
  if (data == nullptr) {
    const plataforma::HoraLocal agora = plataforma::AgoraLocal();
    ano = agora.ano;
    mes = agora.mes;
    dia = agora.dia;
  } else if (!LeData(data, ano, mes, dia)) {
    std::fprintf(erros, "zelpd: invalid date '%s': expected YYYY-MM-DD\n", data);
    return 1;
  }
  char textoData[16];
  std::snprintf(textoData, sizeof textoData, "%04d-%02d-%02d", ano, mes, dia);

  LeitorIni ini;
  if (!ini.Carrega(caminhoIni)) {
    std::fprintf(erros,
                 "zelpd: cannot read %s (working directory %s): it names the log folder that holds the journal\n",
                 caminhoIni, plataforma::DiretorioAtual().c_str());
    return 1;
  }
  const std::string dirLog = LeValores(ini).dirLog;
  if (dirLog.empty()) {
    std::fprintf(erros, "zelpd: %s sets no log folder ([Diretorios] Errlog is empty): no transaction journal is kept\n",
                 caminhoIni);
    return 1;
  }
  const std::string caminho = dirLog + "/" + zelp_log::NomeDiario(ano, mes, dia);
  errno = 0;
  const std::unique_ptr<std::FILE, FechaArquivo> arquivo(std::fopen(caminho.c_str(), "rb"));
  if (!arquivo) {
    const int erro = errno;
    std::fprintf(erros, "zelpd: no transaction journal of %s: %s: %s\n", textoData, caminho.c_str(),
                 plataforma::TextoErro(erro).c_str());
    return 1;
  }
  Resumo r;
  if (!Conta(arquivo.get(), r)) {
    std::fprintf(erros, "zelpd: cannot read %s: %s\n", caminho.c_str(), plataforma::TextoErro(errno).c_str());
    return 1;
  }
  Imprime(r, textoData, caminho, saida);
  if (r.numRuins > 0) {
    std::string linhas;
    for (long long n : r.ruins) linhas += (linhas.empty() ? "" : ", ") + std::to_string(n);
    if (r.numRuins > static_cast<long long>(r.ruins.size())) linhas += ", ...";
    std::fprintf(erros, "zelpd: warning: %lld line(s) of %s are not journal lines and were not counted (line %s)\n",
                 r.numRuins, caminho.c_str(), linhas.c_str());
  }
  std::fflush(saida);
  return 0;
}
