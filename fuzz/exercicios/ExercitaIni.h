// Any bytes as a configuration file: the INI reader's lookups, then a whole load of zelp.ini.
// The load resolves host names; so that no input ever makes a name query, host lines are kept only
// when their value is a plain dotted IPv4 address, and the log directory is never taken from input.
#pragma once

#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "comum/Err.h"
#include "config/LeitorIni.h"
#include "config/TX.h"
#include "platform/Rede.h"
#include "Verifica.h"

namespace fuzz {

// Four decimal parts of one to three digits, each at most 255, without leading zeros (the address
// parser reads "096" as a bad octal number and hands the text to the name lookup), and not the
// broadcast address (the parser's no-address value, which would go to the lookup as well).
inline bool EhIPv4Pontuado(std::string_view s) {
  if (s == "255.255.255.255") return false;
  int partes = 0;
  std::size_t i = 0;
  while (true) {
    std::size_t digitos = 0;
    int valor = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9' && digitos < 4) {
      valor = valor * 10 + (s[i] - '0');
      ++i;
      ++digitos;
    }
    if (digitos == 0 || digitos > 3 || valor > 255) return false;
    if (digitos > 1 && s[i - digitos] == '0') return false;
    ++partes;
    if (i == s.size()) return partes == 4;
    if (s[i] != '.' || partes == 4) return false;
    ++i;
  }
}

inline bool ContemSemCaixa(std::string_view texto, std::string_view procurado) {
  if (procurado.size() > texto.size()) return false;
  for (std::size_t i = 0; i + procurado.size() <= texto.size(); ++i) {
    bool igual = true;
    for (std::size_t k = 0; k < procurado.size() && igual; ++k)
      igual = std::tolower(static_cast<unsigned char>(texto[i + k])) == procurado[k];
    if (igual) return true;
  }
  return false;
}

// The value of a line as the reader would take it: after the first '=', blanks cut, up to a NUL.
inline std::string_view ValorDaLinha(std::string_view linha) {
  std::string_view v = linha.substr(linha.find('=') + 1);
  auto branco = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; };
  while (!v.empty() && branco(v.front())) v.remove_prefix(1);
  while (!v.empty() && branco(v.back())) v.remove_suffix(1);
  return v.substr(0, v.find('\0'));
}

// The input with every line that could name a host by name, or a log directory, left out. The
// test is wider than the reader's own key rule (any key text that contains "url" or "errlog"), so
// that no spelling of those keys can slip through.
inline std::string SemNomesDeHost(std::string_view conteudo) {
  std::string saida;
  saida.reserve(conteudo.size());
  while (!conteudo.empty()) {
    const std::size_t fim = conteudo.find('\n');
    const std::string_view linha = conteudo.substr(0, fim);
    conteudo.remove_prefix(fim == std::string_view::npos ? conteudo.size() : fim + 1);
    const std::size_t igual = linha.find('=');
    if (igual != std::string_view::npos) {
      const std::string_view chave = linha.substr(0, igual);
      if (ContemSemCaixa(chave, "errlog")) continue;
      if (ContemSemCaixa(chave, "url") && !EhIPv4Pontuado(ValorDaLinha(linha))) continue;
    }
    saida.append(linha);
    saida.push_back('\n');
  }
  return saida;
}

struct NomeIni {
  std::string secao, chave;
};

// Every key the load reads, and the section and key names of the first lines of the input.
inline std::vector<NomeIni> NomesParaConsultar(std::string_view conteudo) {
  std::vector<NomeIni> nomes = {{"Tempos", "TOutIni"},       {"Tempos", "TOutCnf"},      {"Tempos", "TOutCnx"},
                                {"Diretorios", "Entrada"},   {"Diretorios", "Saida"},    {"Diretorios", "Errlog"},
                                {"Diretorios", "TamNomeArq"}, {"Deleta", "Log"},          {"PEstab", "par0"},
                                {"PEstab", "par1"},          {"PEstab", "par2"}};
  for (const char* s : {"End0", "End1", "End2"})
    for (const char* k : {"url", "url1", "url2", "url3", "Port"}) nomes.push_back({s, k});
  for (const char* s : {"par0", "par1", "par2"})
    for (int k = 0; k < 10; ++k) nomes.push_back({s, "arq" + std::to_string(k)});

  std::string secao;
  int vistas = 0;
  while (!conteudo.empty() && vistas < 16) {
    const std::size_t fim = conteudo.find('\n');
    std::string_view linha = conteudo.substr(0, fim);
    conteudo.remove_prefix(fim == std::string_view::npos ? conteudo.size() : fim + 1);
    ++vistas;
    const std::size_t abre = linha.find('['), fecha = linha.rfind(']');
    if (abre != std::string_view::npos && fecha != std::string_view::npos && fecha > abre) {
      secao = std::string(linha.substr(abre + 1, fecha - abre - 1));
      continue;
    }
    const std::size_t igual = linha.find('=');
    if (igual != std::string_view::npos) nomes.push_back({secao, std::string(linha.substr(0, igual))});
  }
  return nomes;
}

inline std::string Maiusculas(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The integer rule: an optional sign and the digits after it, anything else ignored, held at the
// 32-bit ends.
inline std::int32_t InteiroEsperado(std::string_view s) {
  bool negativo = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negativo = s.front() == '-';
    s.remove_prefix(1);
  }
  std::int64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') break;
    v = v * 10 + (c - '0');
    if (v > 4000000000) v = 4000000000;
  }
  if (negativo) v = -v;
  if (v < INT32_MIN) return INT32_MIN;
  if (v > INT32_MAX) return INT32_MAX;
  return static_cast<std::int32_t>(v);
}

// Lookups: bounded texts without NUL, integers that follow the texts, names found in any case.
inline void ChecaLeitor(const LeitorIni& ini, const std::vector<NomeIni>& nomes) {
  for (const NomeIni& n : nomes) {
    const char* s = n.secao.c_str();
    const char* k = n.chave.c_str();
    const std::string texto = ini.LeTexto(s, k, "");
    ZELP_VERIFICA(texto.size() <= LeitorIni::TAM_MAX_VALOR, "valor de %zu caracteres", texto.size());
    ZELP_VERIFICA(texto.find('\0') == std::string::npos, "valor com NUL");
    if (texto.empty()) {
      ZELP_VERIFICA(ini.LeInteiro(s, k, -7) == -7, "chave vazia ou ausente sem o valor padrao");
    } else {
      ZELP_VERIFICA(ini.LeInteiro(s, k, -7) == InteiroEsperado(texto), "'%s' lido como %d", texto.c_str(),
                    ini.LeInteiro(s, k, -7));
      ZELP_VERIFICA(ini.LeTexto(s, k, "padrao") == texto, "texto presente trocado pelo padrao");
    }
    ZELP_VERIFICA(ini.LeTexto(Maiusculas(n.secao).c_str(), Maiusculas(n.chave).c_str(), "") == texto,
                  "nomes comparados com caixa");
  }
}

// The configuration in force after a load, against the same file read by the reader on its own;
// `fatal` is the text of the Err the load threw, or null.
inline void ChecaConfiguracao(TX& tx, const LeitorIni& ini, const char* fatal) {
  const std::string entrada = tx.DirEntrada(), saida = tx.DirSaida();
  ZELP_VERIFICA(entrada == ini.LeTexto("Diretorios", "Entrada", ".") + "/", "Entrada difere do arquivo");
  ZELP_VERIFICA(saida == ini.LeTexto("Diretorios", "Saida", ".") + "/", "Saida difere do arquivo");
  ZELP_VERIFICA(tx.MascaraEntrada() == entrada + "*.ENV", "mascara de entrada");
  const std::string limpeza = ini.LeInteiro("Deleta", "Log", 0) != 0 ? entrada + "*.log" : std::string();
  ZELP_VERIFICA(tx.MascaraLog() == limpeza, "mascara de limpeza '%s'", tx.MascaraLog().c_str());
  std::int32_t largura = ini.LeInteiro("Diretorios", "TamNomeArq", LARGURA_NOME_MIN);
  largura = largura < LARGURA_NOME_MIN ? LARGURA_NOME_MIN : largura > LARGURA_NOME_MAX ? LARGURA_NOME_MAX : largura;
  ZELP_VERIFICA(tx.LarguraNome() == largura, "largura %d, esperada %d", tx.LarguraNome(), largura);
  ZELP_VERIFICA(tx.TempoConexao() == ini.LeInteiro("Tempos", "TOutCnx", 3), "TOutCnx difere do arquivo");
  ZELP_VERIFICA(tx.TempoResposta() == ini.LeInteiro("Tempos", "TOutCnf", 30), "TOutCnf difere do arquivo");
  const std::int32_t segundos = ini.LeInteiro("Tempos", "TOutIni", 10);
  // A negative value wraps as an unsigned product, but never to 0 (no pause at all).
  const std::uint32_t negativo = static_cast<std::uint32_t>(segundos) * 1000u;
  const std::uint32_t intervalo = segundos == 0 ? 0u
                                  : segundos < 0 ? (negativo == 0 ? 0xFFFFFFFFu : negativo)
                                  : segundos > 4294967 ? 0xFFFFFFFFu
                                                       : static_cast<std::uint32_t>(segundos) * 1000u;
  ZELP_VERIFICA(tx.IntervaloIni() == intervalo, "TOutIni %d deu %u ms", segundos, tx.IntervaloIni());

  bool algumEndereco = false, algumArquivo = false;
  for (int g = 0; g < 3; ++g) {
    const std::string secao = "End" + std::to_string(g);
    std::vector<std::string> urls;
    for (const char* k : {"url", "url1", "url2", "url3"}) {
      std::string url = ini.LeTexto(secao.c_str(), k, "");
      if (url.size() >= 2) urls.push_back(std::move(url));
    }
    algumEndereco = algumEndereco || !urls.empty();
    TU& u = tx.Servidor(g);
    {
      MutexLocker travado(u.trava);
      // Every address that passed the filter is dotted, so each one is kept, in reading order.
      ZELP_VERIFICA(u.quantidade == static_cast<std::int32_t>(urls.size()), "grupo %d com %d enderecos de %zu", g,
                    u.quantidade, urls.size());
      for (int i = 0; i < TU::MAX_ENDERECOS; ++i) {
        const std::string esperado = i < u.quantidade ? urls[static_cast<std::size_t>(i)] : std::string();
        ZELP_VERIFICA(u.url[i] == esperado, "endereco %d do grupo %d", i, g);
      }
      ZELP_VERIFICA(u.porta == ini.LeInteiro(secao.c_str(), "Port", 0), "porta do grupo %d", g);
    }
    const std::string par = "par" + std::to_string(g);
    for (int k = 0; k < TP::NUM_ARQUIVOS; ++k) {
      std::string esperado = ini.LeTexto(par.c_str(), ("arq" + std::to_string(k)).c_str(), "");
      if (esperado.size() < 4 && k == 0) esperado = ini.LeTexto("PEstab", par.c_str(), "");
      if (esperado.size() < 4) esperado.clear();
      algumArquivo = algumArquivo || !esperado.empty();
      ZELP_VERIFICA(tx.ArquivoEstabelecimento(g, k) == esperado, "arquivo %d do grupo %d", k, g);
    }
  }
  ZELP_VERIFICA(tx.ArquivoEstabelecimento(-1, 0).empty() && tx.ArquivoEstabelecimento(3, 0).empty() &&
                    tx.ArquivoEstabelecimento(0, 10).empty(),
                "grupo ou posicao fora dos limites deu um arquivo");

  const char* esperado = !algumEndereco ? "Nenhuma 'url'" : !algumArquivo ? "Nenhum 'Par'" : nullptr;
  if (esperado == nullptr) ZELP_VERIFICA(fatal == nullptr, "Err inesperado: %s", fatal);
  else ZELP_VERIFICA(fatal != nullptr && std::strstr(fatal, esperado) != nullptr, "esperado Err com %s", esperado);
}

// One load; the text of the Err it threw, or null.
inline const char* Carrega(TX& tx) {
  try {
    tx.CarregaConfig();
  } catch (const Err& e) {
    ZELP_VERIFICA(e.mensagem != nullptr, "Err sem texto");
    return e.mensagem;
  }
  return nullptr;
}

inline void ExercitaIni(const std::uint8_t* dados, std::size_t tamanho) {
  const std::string_view bruto(reinterpret_cast<const char*>(dados), tamanho);

  LeitorIni leitor;
  leitor.Interpreta(bruto);
  ChecaLeitor(leitor, NomesParaConsultar(bruto));

  const std::string conteudo = SemNomesDeHost(bruto);
  LeitorIni filtrado;
  filtrado.Interpreta(conteudo);
  // The filter is the only guard against a name query: every host value the load will read must
  // be one the address parser takes, since only a value it refuses goes on to the name lookup. A
  // strict dotted address other than the broadcast one is taken by any parser.
  for (const char* s : {"End0", "End1", "End2"}) {
    for (const char* k : {"url", "url1", "url2", "url3"}) {
      const std::string url = filtrado.LeTexto(s, k, "");
      std::uint32_t ip = 0;
      ZELP_VERIFICA(url.size() < 2 || (plataforma::LeIPv4(url.c_str(), ip) && ip != 0xFFFFFFFFu),
                    "nome de host passou pelo filtro: %s", url.c_str());
    }
  }
  ZELP_VERIFICA(filtrado.LeTexto("Diretorios", "Errlog", "").empty(), "Errlog passou pelo filtro");

  const DiretorioFuzz& dir = DiretorioDoProcesso();
  dir.Esvazia();
  const std::string caminho = dir / "zelp.ini";
  EscreveArquivo(caminho, reinterpret_cast<const std::uint8_t*>(conteudo.data()), conteudo.size());

  TX tx(caminho);
  const char* fatal = Carrega(tx);
  ChecaConfiguracao(tx, filtrado, fatal);
  // A reload never throws: the same file gives the same values (a fatal one is refused, and those
  // the first load put in force stay); once the file is gone they stay in force too.
  ZELP_VERIFICA(Carrega(tx) == nullptr, "recarga deu Err");
  ChecaConfiguracao(tx, filtrado, fatal);
  dir.Esvazia();
  ZELP_VERIFICA(Carrega(tx) == nullptr, "arquivo ilegivel depois da carga deu Err");
  ChecaConfiguracao(tx, filtrado, fatal);
  // The name width is process-wide: leave it as the other exercises expect it.
  DefineLarguraNome(LARGURA_NOME_MIN);
}

}  // namespace fuzz
