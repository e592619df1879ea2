// The configuration file reader: parsing once, then lookups by section and key.
#include "config/LeitorIni.h"

#include <cstring>
#include <limits>

#include "comum/Texto.h"
#include "platform/Arquivos.h"

namespace {

bool EhBranco(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Apara(std::string_view s) {
  while (!s.empty() && EhBranco(s.front())) s.remove_prefix(1);
  while (!s.empty() && EhBranco(s.back())) s.remove_suffix(1);
  return s;
}

// A NUL ends a value, as it ends the text a profile lookup returns.
std::string Texto(std::string_view s) { return std::string(s.substr(0, s.find('\0'))); }

// The profile functions return a value enclosed in one pair of quotes, double or single, without them.
std::string_view SemAspas(std::string_view s) {
  if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front()) {
    s.remove_prefix(1);
    s.remove_suffix(1);
  }
  return s;
}

}  // namespace

bool LeitorIni::Carrega(const char* caminho) {
  secoes_.clear();
  std::string conteudo;
  if (caminho == nullptr || !plataforma::LeArquivoInteiro(caminho, conteudo, TAM_MAX_ARQUIVO)) return false;
  Interpreta(conteudo);
  return true;
}

void LeitorIni::Interpreta(std::string_view conteudo) {
  secoes_.clear();
  linhas_.clear();
  // A byte-order mark left by an editor is not part of the first line.
  if (conteudo.substr(0, 3) == "\xEF\xBB\xBF") conteudo.remove_prefix(3);

  Secao* atual = nullptr;  // null: keys here belong to no section or to a repeated one
  std::string nomeAtual;
  const char* motivo = "it comes before any section";  // why keys are ignored while atual is null
  int numero = 0;
  while (!conteudo.empty()) {
    ++numero;
    std::size_t fim = conteudo.find('\n');
    std::string_view linha = Apara(conteudo.substr(0, fim));
    conteudo.remove_prefix(fim == std::string_view::npos ? conteudo.size() : fim + 1);

    if (linha.empty() || linha.front() == ';') continue;
    if (linha.front() == '[') {
      std::size_t fecha = linha.rfind(']');
      // A broken header ends the section before it, so its keys cannot land there.
      if (fecha == std::string_view::npos) {
        atual = nullptr;
        nomeAtual = Texto(Apara(linha.substr(1)));
        motivo = "its section header lacks the closing ']'";
        continue;
      }
      std::string nome = Texto(Apara(linha.substr(1, fecha - 1)));
      nomeAtual = nome;
      atual = nullptr;
      bool repetida = false;
      for (const auto& s : secoes_) repetida = repetida || IguaisSemCaixa(s.nome.c_str(), nome.c_str());
      if (!repetida) {
        secoes_.push_back(Secao{std::move(nome), {}});
        atual = &secoes_.back();
      } else {
        motivo = "a section of this name came before (the first one wins)";
      }
      continue;
    }
    std::size_t igual = linha.find('=');
    if (igual == std::string_view::npos) continue;
    std::string chave = Texto(Apara(linha.substr(0, igual)));
    if (chave.empty()) continue;
    if (atual == nullptr) {
      linhas_.push_back({nomeAtual, std::move(chave), numero, motivo});
      continue;
    }
    bool repetida = false;
    for (const auto& c : atual->chaves) repetida = repetida || IguaisSemCaixa(c.first.c_str(), chave.c_str());
    linhas_.push_back({atual->nome, chave, numero, repetida ? "a key of this name came before in its section" : nullptr});
    if (repetida) continue;
    std::string valor(SemAspas(Texto(Apara(linha.substr(igual + 1)))));
    if (valor.size() > TAM_MAX_VALOR) valor.resize(TAM_MAX_VALOR);
    atual->chaves.emplace_back(std::move(chave), std::move(valor));
  }
}

const std::string* LeitorIni::Procura(const char* secao, const char* chave) const {
  for (const auto& s : secoes_) {
    if (!IguaisSemCaixa(s.nome.c_str(), secao)) continue;
    for (const auto& c : s.chaves) {
      if (IguaisSemCaixa(c.first.c_str(), chave)) return &c.second;
    }
    return nullptr;
  }
  return nullptr;
}

std::string LeitorIni::LeTexto(const char* secao, const char* chave, const char* padrao) const {
  const std::string* valor = Procura(secao, chave);
  std::string texto = valor != nullptr ? *valor : std::string(padrao ? padrao : "");
  if (texto.size() > TAM_MAX_VALOR) texto.resize(TAM_MAX_VALOR);
  return texto;
}

std::int32_t LeitorIni::LeInteiro(const char* secao, const char* chave, std::int32_t padrao) const {
  const std::string* valor = Procura(secao, chave);
  if (valor == nullptr || valor->empty()) return padrao;
  return ConverteInteiro(*valor);
}

std::int32_t LeitorIni::ConverteInteiro(std::string_view texto) {
  texto = Apara(texto);
  bool negativo = false;
  if (!texto.empty() && (texto.front() == '-' || texto.front() == '+')) {
    negativo = texto.front() == '-';
    texto.remove_prefix(1);
  }
  // Accumulated in 64 bits and held at the 32-bit ends, so a long run of digits cannot wrap.
  constexpr std::int64_t LIMITE = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t valor = 0;
  for (char c : texto) {
    if (c < '0' || c > '9') break;
    valor = valor * 10 + (c - '0');
    if (valor > LIMITE) valor = LIMITE;
  }
  if (negativo) return static_cast<std::int32_t>(-valor);
  return static_cast<std::int32_t>(valor > LIMITE - 1 ? LIMITE - 1 : valor);
}
