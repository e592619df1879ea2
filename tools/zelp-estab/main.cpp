// zelp-estab: creates establishment files with the right check value and verifies existing ones.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

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

// Exit status: 0 done / valid, 1 file invalid, 2 usage or I/O error.
constexpr int SAIDA_OK = 0;
constexpr int SAIDA_INVALIDO = 1;
constexpr int SAIDA_ERRO = 2;

void MostraAjuda(std::FILE* f) {
  std::fputs(
      "Uso:\n"
      "  zelp-estab cria ARQUIVO CODIGO CHAVE [NOME] [--bloco XXXXXXXX]\n"
      "  zelp-estab verifica ARQUIVO\n"
      "  zelp-estab --help\n"
      "\n"
      "cria      grava um arquivo de estabelecimento de 206 bytes com o verificador correto:\n"
      "            CODIGO  codigo do estabelecimento, 1 a 9 digitos, completado com zeros a\n"
      "                    esquerda ate 9 (posicoes 193-201; vai ao host nos campos 901 e 902)\n"
      "            CHAVE   texto da chave, 1 a 8 caracteres, completado com espacos (posicoes 90-97)\n"
      "            NOME    texto livre de ate 90 caracteres guardado no inicio do arquivo\n"
      "                    (posicoes 0-89; coberto pelo verificador, sem outro uso)\n"
      "            --bloco os 8 caracteres cifrados junto com o CRC (posicoes 153-160);\n"
      "                    padrao \"00000000\"\n"
      "          O arquivo e gravado com outro nome e renomeado no fim: nunca fica pela metade.\n"
      "          Um arquivo existente com o mesmo nome e substituido.\n"
      "verifica  diz se o arquivo e valido e mostra o verificador gravado e o calculado.\n"
      "\n"
      "Saida: 0 criado / valido; 1 invalido (adulterado ou curto); 2 erro de uso ou de acesso.\n",
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
      if (i + 1 >= argc) {
        std::fprintf(stderr, "zelp-estab: --bloco pede um valor\n");
        return SAIDA_ERRO;
      }
      bloco = argv[++i];
      continue;
    }
    switch (posicionais++) {
      case 0: arquivo = argv[i]; break;
      case 1: codigo = argv[i]; break;
      case 2: chave = argv[i]; break;
      case 3: nome = argv[i]; break;
      default:
        std::fprintf(stderr, "zelp-estab: argumento a mais: %s\n", argv[i]);
        return SAIDA_ERRO;
    }
  }
  if (chave == nullptr) {
    std::fprintf(stderr, "zelp-estab: cria pede ARQUIVO CODIGO CHAVE (veja --help)\n");
    return SAIDA_ERRO;
  }
  const std::size_t tamCodigo = std::strlen(codigo);
  if (!SoDigitos(codigo) || tamCodigo > TAM_CODIGO) {
    std::fprintf(stderr, "zelp-estab: o codigo deve ter de 1 a %d digitos\n", TAM_CODIGO);
    return SAIDA_ERRO;
  }
  const std::size_t tamChave = std::strlen(chave);
  if (tamChave == 0 || tamChave > TAM_CHAVE) {
    std::fprintf(stderr, "zelp-estab: a chave deve ter de 1 a %d caracteres\n", TAM_CHAVE);
    return SAIDA_ERRO;
  }
  if (std::strlen(nome) > TAM_NOME) {
    std::fprintf(stderr, "zelp-estab: o nome deve ter no maximo %d caracteres\n", TAM_NOME);
    return SAIDA_ERRO;
  }
  if (std::strlen(bloco) != TAM_BLOCO) {
    std::fprintf(stderr, "zelp-estab: --bloco deve ter exatamente %d caracteres\n", TAM_BLOCO);
    return SAIDA_ERRO;
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
  if (!plataforma::GravaArquivoInteiro(temporario.c_str(), imagem, sizeof imagem, true)) {
    std::fprintf(stderr, "zelp-estab: nao foi possivel gravar %s\n", temporario.c_str());
    plataforma::Apaga(temporario.c_str());
    return SAIDA_ERRO;
  }
  if (!plataforma::Renomeia(temporario.c_str(), arquivo)) {
    std::fprintf(stderr, "zelp-estab: nao foi possivel renomear %s para %s\n", temporario.c_str(), arquivo);
    plataforma::Apaga(temporario.c_str());
    return SAIDA_ERRO;
  }
  std::printf("criado %s: codigo %s, verificador %s\n", arquivo,
              Visivel(imagem + POS_CODIGO, TAM_CODIGO).c_str(), verificador);
  return SAIDA_OK;
}

int Verifica(int argc, char** argv) {
  if (argc != 1) {
    std::fprintf(stderr, "zelp-estab: verifica pede ARQUIVO (veja --help)\n");
    return SAIDA_ERRO;
  }
  const char* arquivo = argv[0];
  std::string conteudo;
  // One byte more than needed tells "longer than 206" apart; only the first 206 count.
  if (!plataforma::LeArquivoInteiro(arquivo, conteudo, TAM_ESTABELECIMENTO + 1)) {
    std::fprintf(stderr, "zelp-estab: nao foi possivel ler %s\n", arquivo);
    return SAIDA_ERRO;
  }
  if (conteudo.size() < static_cast<std::size_t>(TAM_ESTABELECIMENTO)) {
    std::printf("invalido: %s tem %zu bytes, o arquivo de estabelecimento tem %d\n", arquivo, conteudo.size(),
                TAM_ESTABELECIMENTO);
    return SAIDA_INVALIDO;
  }
  std::uint8_t imagem[TAM_ESTABELECIMENTO];
  std::memcpy(imagem, conteudo.data(), sizeof imagem);
  char calculado[5];
  CalculaVerificador(imagem, calculado);
  const std::string gravado = Visivel(imagem + POS_VERIFICADOR, 4);
  const bool valido = std::memcmp(imagem + POS_VERIFICADOR, calculado, 4) == 0;
  std::printf("%s: %s\n", valido ? "valido" : "invalido", arquivo);
  std::printf("  verificador gravado:  %s\n", gravado.c_str());
  std::printf("  verificador calculado: %s\n", calculado);
  std::printf("  codigo (901): %s\n", Visivel(imagem + POS_CODIGO, TAM_CODIGO).c_str());
  std::printf("  texto 2 (902): %s000000000\n", Visivel(imagem + POS_CODIGO, 6).c_str());
  if (conteudo.size() > static_cast<std::size_t>(TAM_ESTABELECIMENTO)) {
    std::printf("  (o arquivo tem mais de %d bytes; o resto nao e usado)\n", TAM_ESTABELECIMENTO);
  }
  return valido ? SAIDA_OK : SAIDA_INVALIDO;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    MostraAjuda(stderr);
    return SAIDA_ERRO;
  }
  const std::string comando = argv[1];
  if (comando == "--help" || comando == "-h" || comando == "ajuda") {
    MostraAjuda(stdout);
    return SAIDA_OK;
  }
  if (comando == "cria") return Cria(argc - 2, argv + 2);
  if (comando == "verifica") return Verifica(argc - 2, argv + 2);
  std::fprintf(stderr, "zelp-estab: comando desconhecido: %s (veja --help)\n", comando.c_str());
  return SAIDA_ERRO;
}
