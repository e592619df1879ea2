// zelp-estab: creates establishment files with the right check value and verifies existing ones.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "comum/Texto.h"
#include "ferramentas/LinhaComando.h"
#include "hostlink/Estabelecimento.h"
#include "platform/Arquivos.h"

namespace {

// Where the gateway reads each part of the 206-byte file.
constexpr int POS_NOME = 0;      // free text, covered by the check value only
constexpr int TAM_NOME = 90;
constexpr int POS_CHAVE = 90;    // key text: source of the cipher key
constexpr int TAM_CHAVE = 8;
constexpr int POS_BLOCO = 153;   // 8 characters enciphered together with the CRC
constexpr int TAM_BLOCO = 8;
constexpr int POS_CODIGO = 193;  // establishment code (field 901; its first 6 digits start 902)
constexpr int TAM_CODIGO = 9;

// The request layouts give field 901 eight characters, and a longer code would reach the host
// without its first digits: the code has at most eight digits, leading zeros aside.
constexpr int DIGITOS_NO_HOST = 8;

// Exit status: 0 done / valid, 1 file invalid, 2 usage error, 3 the file could not be read or written.
constexpr int SAIDA_OK = 0;
constexpr int SAIDA_INVALIDO = 1;
constexpr int SAIDA_USO = ferramentas::SAIDA_USO;
constexpr int SAIDA_ACESSO = 3;

constexpr const char* PROGRAMA = "zelp-estab";

void MostraAjuda(std::FILE* f) {
  std::fputs(
      "Usage:\n"
      "  zelp-estab cria FILE CODE KEY [NAME] [--bloco XXXXXXXX]\n"
      "  zelp-estab verifica FILE\n"
      "  zelp-estab -h | --help | --version\n"
      "\n"
      "cria      writes a 206-byte establishment file with the right check value:\n"
      "            CODE    establishment code, 1 to 8 digits (leading zeros aside), filled with\n"
      "                    zeros on the left to 9 (positions 193-201; sent to the host in fields\n"
      "                    901, which carries 8 digits, and 902)\n"
      "            KEY     key text, 1 to 8 characters, filled with spaces (positions 90-97)\n"
      "            NAME    free text of up to 90 characters kept at the start of the file\n"
      "                    (positions 0-89; covered by the check value, no other use)\n"
      "            --bloco the 8 characters enciphered together with the CRC (positions\n"
      "                    153-160); default \"00000000\"\n"
      "          The file is written under another name and renamed at the end: it is never left\n"
      "          half written. An existing file of the same name is replaced.\n"
      "verifica  says whether the file is valid and shows the stored and the computed check value.\n"
      "\n"
      "Exit status: 0 created / valid (and for --help and --version); 1 invalid (tampered with\n"
      "or short); 2 usage error (unknown command or option, wrong or missing argument); 3 the\n"
      "file could not be read or written.\n",
      f);
}

bool SoDigitos(const char* s) {
  if (*s == 0) return false;
  for (; *s; ++s) {
    if (*s < '0' || *s > '9') return false;
  }
  return true;
}

// A text of the file for display: control bytes shown as '.', so a tampered file cannot drive the terminal.
std::string Visivel(const std::uint8_t* p, std::size_t n) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s.push_back(p[i] >= 0x20 && p[i] < 0x7F ? static_cast<char>(p[i]) : '.');
  return s;
}

int Cria(int argc, char** argv) {
  const char* arquivo = nullptr;
  const char* codigo = nullptr;
  const char* chave = nullptr;
  const char* nome = "";
  const char* bloco = "00000000";
  int posicionais = 0;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--bloco") == 0) {
      if (i + 1 >= argc) return ferramentas::ErroDeUso(PROGRAMA, "option '--bloco' needs a value");
      bloco = argv[++i];
      continue;
    }
    // A key or a name may start with one dash; two make an option, and this one is unknown.
    if (std::strncmp(argv[i], "--", 2) == 0 && argv[i][2] != 0) {
      return ferramentas::ErroDeUso(PROGRAMA, ferramentas::OpcaoDesconhecida(argv[i]));
    }
    switch (posicionais++) {
      case 0: arquivo = argv[i]; break;
      case 1: codigo = argv[i]; break;
      case 2: chave = argv[i]; break;
      case 3: nome = argv[i]; break;
      default: return ferramentas::ErroDeUso(PROGRAMA, std::string("unexpected argument '") + argv[i] + "'");
    }
  }
  if (chave == nullptr) return ferramentas::ErroDeUso(PROGRAMA, "cria takes FILE CODE KEY");
  const std::size_t tamCodigo = std::strlen(codigo);
  std::size_t significativos = tamCodigo;
  for (const char* c = codigo; *c == '0' && significativos > 1; ++c) --significativos;
  if (!SoDigitos(codigo) || tamCodigo > TAM_CODIGO || significativos > DIGITOS_NO_HOST) {
    return ferramentas::ErroDeUso(
        PROGRAMA, Formata("the code must have 1 to %d digits, as the host message carries %d: '%s'", DIGITOS_NO_HOST,
                          DIGITOS_NO_HOST, codigo));
  }
  const std::size_t tamChave = std::strlen(chave);
  if (tamChave == 0 || tamChave > TAM_CHAVE) {
    return ferramentas::ErroDeUso(PROGRAMA, Formata("the key must have 1 to %d characters", TAM_CHAVE));
  }
  if (std::strlen(nome) > TAM_NOME) {
    return ferramentas::ErroDeUso(PROGRAMA, Formata("the name must have at most %d characters", TAM_NOME));
  }
  if (std::strlen(bloco) != TAM_BLOCO) {
    return ferramentas::ErroDeUso(PROGRAMA, Formata("--bloco must have exactly %d characters", TAM_BLOCO));
  }

  std::uint8_t imagem[TAM_ESTABELECIMENTO];
  std::memset(imagem, ' ', sizeof imagem);
  std::memcpy(imagem + POS_NOME, nome, std::strlen(nome));
  std::memcpy(imagem + POS_CHAVE, chave, tamChave);
  std::memcpy(imagem + POS_BLOCO, bloco, TAM_BLOCO);
  std::memset(imagem + POS_CODIGO, '0', TAM_CODIGO);
  std::memcpy(imagem + POS_CODIGO + (TAM_CODIGO - tamCodigo), codigo, tamCodigo);
  char verificador[5];
  CalculaVerificador(imagem, verificador);
  std::memcpy(imagem + POS_VERIFICADOR, verificador, 4);

  // Written beside the target and renamed over it, so a reader never sees half a file.
  const std::string temporario = std::string(arquivo) + ".tmp";
  // It holds the merchant's key: the gateway's group reads it, nobody else.
  if (!plataforma::GravaArquivoInteiro(temporario.c_str(), imagem, sizeof imagem, true, nullptr,
                                       plataforma::Leitores::Grupo)) {
    std::fprintf(stderr, "zelp-estab: could not write %s\n", temporario.c_str());
    plataforma::Apaga(temporario.c_str());
    return SAIDA_ACESSO;
  }
  if (!plataforma::Renomeia(temporario.c_str(), arquivo)) {
    std::fprintf(stderr, "zelp-estab: could not rename %s to %s\n", temporario.c_str(), arquivo);
    plataforma::Apaga(temporario.c_str());
    return SAIDA_ACESSO;
  }
  std::printf("created %s: code %s, check value %s\n", arquivo,
              Visivel(imagem + POS_CODIGO, TAM_CODIGO).c_str(), verificador);
  return SAIDA_OK;
}

int Verifica(int argc, char** argv) {
  if (argc != 1) return ferramentas::ErroDeUso(PROGRAMA, "verifica takes one FILE");
  if (std::strncmp(argv[0], "--", 2) == 0 && argv[0][2] != 0) {
    return ferramentas::ErroDeUso(PROGRAMA, ferramentas::OpcaoDesconhecida(argv[0]));
  }
  const char* arquivo = argv[0];
  std::string conteudo;
  // One byte more than needed tells "longer than 206" apart; only the first 206 count.
  if (!plataforma::LeArquivoInteiro(arquivo, conteudo, TAM_ESTABELECIMENTO + 1)) {
    std::fprintf(stderr, "zelp-estab: could not read %s\n", arquivo);
    return SAIDA_ACESSO;
  }
  if (conteudo.size() < static_cast<std::size_t>(TAM_ESTABELECIMENTO)) {
    std::printf("invalid: %s has %zu bytes, an establishment file has %d\n", arquivo, conteudo.size(),
                TAM_ESTABELECIMENTO);
    return SAIDA_INVALIDO;
  }
  std::uint8_t imagem[TAM_ESTABELECIMENTO];
  std::memcpy(imagem, conteudo.data(), sizeof imagem);
  char calculado[5];
  CalculaVerificador(imagem, calculado);
  const std::string gravado = Visivel(imagem + POS_VERIFICADOR, 4);
  const bool valido = std::memcmp(imagem + POS_VERIFICADOR, calculado, 4) == 0;
  std::printf("%s: %s\n", valido ? "valid" : "invalid", arquivo);
  std::printf("  stored check value:   %s\n", gravado.c_str());
  std::printf("  computed check value: %s\n", calculado);
  std::printf("  code (901): %s\n", Visivel(imagem + POS_CODIGO, TAM_CODIGO).c_str());
  std::printf("  text 2 (902): %s000000000\n", Visivel(imagem + POS_CODIGO, 6).c_str());
  if (conteudo.size() > static_cast<std::size_t>(TAM_ESTABELECIMENTO)) {
    std::printf("  (the file has more than %d bytes; the rest is not used)\n", TAM_ESTABELECIMENTO);
  }
  return valido ? SAIDA_OK : SAIDA_INVALIDO;
}

}  // namespace

int main(int argc, char** argv) {
  switch (ferramentas::ProcuraOpcaoComum(argc, argv)) {
    case ferramentas::OpcaoComum::Ajuda: MostraAjuda(stdout); return SAIDA_OK;
    case ferramentas::OpcaoComum::Versao: ferramentas::MostraVersao(PROGRAMA); return SAIDA_OK;
    case ferramentas::OpcaoComum::Nenhuma: break;
  }
  if (argc < 2) {
    MostraAjuda(stderr);
    return SAIDA_USO;
  }
  const std::string comando = argv[1];
  if (comando == "ajuda") {
    MostraAjuda(stdout);
    return SAIDA_OK;
  }
  if (comando == "cria") return Cria(argc - 2, argv + 2);
  if (comando == "verifica") return Verifica(argc - 2, argv + 2);
  if (ferramentas::PareceOpcao(comando)) return ferramentas::ErroDeUso(PROGRAMA, ferramentas::OpcaoDesconhecida(comando));
  return ferramentas::ErroDeUso(PROGRAMA, "unknown command '" + comando + "'");
}
