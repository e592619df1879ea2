// Helpers of the codec tests: field tables written as lists, expected frames read as hex.
#include "ApoioCodec.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "catalogo/Catalogo.h"

void PreencheTransacao(TG& transacao, const std::vector<CampoTeste>& campos, const std::string& estab1,
                       const std::string& estab2) {
  transacao.LimpaCampos();
  for (const CampoTeste& c : campos) {
    if (c.numero == 0 && transacao.quantidade == 0)
      std::snprintf(transacao.cabecalho, sizeof transacao.cabecalho, "%s", c.valor.c_str());
    if (c.numero == 1) transacao.identificador = std::strtoll(c.valor.c_str(), nullptr, 10);
    if (c.numero == 11) {
      transacao.codigo = std::atoi(c.valor.c_str());
      transacao.tipo = IndiceDoCodigo(transacao.codigo);
    }
    if (c.numero == 383) transacao.indiceArquivo = std::atoi(c.valor.c_str());
    transacao.Acrescenta(std::make_unique<TA>(c.numero, c.ocorrencia, c.valor));
  }
  transacao.estabelecimento.texto1 = estab1;
  transacao.estabelecimento.texto2 = estab2;
}

std::vector<std::uint8_t> BytesDeHex(const std::string& texto, std::uint8_t sequencia) {
  std::vector<std::uint8_t> bytes;
  std::istringstream linhas(texto);
  std::string linha;
  while (std::getline(linhas, linha)) {
    std::size_t comentario = linha.find('#');
    if (comentario != std::string::npos) linha.resize(comentario);
    std::istringstream palavras(linha);
    std::string par;
    while (palavras >> par) {
      if (par == "SS") {
        bytes.push_back(sequencia);
        continue;
      }
      if (par.size() != 2) throw std::runtime_error("hex pair expected: " + par);
      bytes.push_back(static_cast<std::uint8_t>(std::stoul(par, nullptr, 16)));
    }
  }
  return bytes;
}

std::vector<std::uint8_t> VetorDeArquivo(const std::string& nome, std::uint8_t sequencia) {
  std::ifstream arquivo(std::string(ZELP_DIR_DADOS_TESTE) + "/codec/" + nome);
  if (!arquivo) throw std::runtime_error("cannot open " + nome);
  std::stringstream conteudo;
  conteudo << arquivo.rdbuf();
  return BytesDeHex(conteudo.str(), sequencia);
}

std::string Hex(const std::uint8_t* dados, std::size_t n) {
  std::string s;
  char par[4];
  for (std::size_t i = 0; i < n; ++i) {
    std::snprintf(par, sizeof par, "%02x", dados[i]);
    if (i) s += (i % 16 == 0) ? '\n' : ' ';
    s += par;
  }
  return s;
}

std::vector<std::string> Linhas(const TG& transacao) {
  std::vector<std::string> linhas;
  for (int i = 0; i < transacao.quantidade; ++i) {
    const TA& c = *transacao.campos[static_cast<std::size_t>(i)];
    char chave[32];
    std::snprintf(chave, sizeof chave, "%03d-%03d=", c.numero, c.ocorrencia);
    linhas.push_back(chave + c.valor);
  }
  return linhas;
}

std::string Valor(const TG& transacao, int numero, int ocorrencia) {
  const TA* c = transacao.Procura(numero, ocorrencia);
  return c ? c->valor : "<absent>";
}
