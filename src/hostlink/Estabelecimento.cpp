// Reading of an establishment file and the computation of its check value.
#include "hostlink/Estabelecimento.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "comum/Erro.h"
#include "hostlink/Crc16.h"
#include "hostlink/Des.h"
#include "hostlink/Ebcdic.h"
#include "log/GravaLog.h"

namespace {

constexpr int POS_CHAVE = 90;
constexpr int POS_BLOCO = 153;
constexpr int POS_CODIGO = 193;
constexpr int TAM_CODIGO = 9;

// "0".."9" are their values; any other character c is c - 55, so "A".."F" give 10..15.
std::uint8_t MeioByte(char c) {
  const auto u = static_cast<std::uint8_t>(c);
  if (u >= '0' && u <= '9') return static_cast<std::uint8_t>(u - '0');
  return static_cast<std::uint8_t>(u - 55);
}

struct FechaArquivo {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// A text taken from a fixed field: up to its first zero byte, at most tamanho characters.
std::string TextoDeCampo(const char* campo, std::size_t tamanho) {
  const void* zero = std::memchr(campo, 0, tamanho);
  return std::string(campo, zero ? static_cast<const char*>(zero) - campo : tamanho);
}

}  // namespace

void CalculaVerificador(const std::uint8_t imagem[TAM_ESTABELECIMENTO], char verificador[5]) {
  const std::uint16_t crc = Crc16Xmodem(imagem, POS_VERIFICADOR);

  // 7 digits of the CRC, the 8 block characters of the file and a closing zero.
  char bloco[16];
  char digitos[8];
  std::snprintf(digitos, sizeof digitos, "%07d", static_cast<int>(crc));
  std::memcpy(bloco, digitos, 7);
  std::memcpy(bloco + 7, imagem + POS_BLOCO, 8);
  bloco[15] = 0;

  std::uint8_t empacotado[8];
  for (int i = 0; i < 8; ++i) {
    empacotado[i] = static_cast<std::uint8_t>((MeioByte(bloco[2 * i]) << 4) | MeioByte(bloco[2 * i + 1]));
  }

  std::uint8_t chave[8];
  for (int i = 0; i < 8; ++i) chave[i] = ConverteEbcdic(imagem[POS_CHAVE + i]);

  std::uint8_t cifrado[8];
  CifraBlocoDes(chave, empacotado, cifrado);

  verificador[0] = static_cast<char>('0' + (cifrado[0] >> 4));
  verificador[1] = static_cast<char>('0' + (cifrado[0] & 0x0F));
  verificador[2] = static_cast<char>('0' + (cifrado[1] >> 4));
  verificador[3] = static_cast<char>('0' + (cifrado[1] & 0x0F));
  verificador[4] = 0;
}

std::string CodigoEstabelecimento(const std::uint8_t imagem[TAM_ESTABELECIMENTO]) {
  return TextoDeCampo(reinterpret_cast<const char*>(imagem + POS_CODIGO), TAM_CODIGO);
}

bool LeEstabelecimento(const char* caminho, TEstabelecimento& estab) {
  if (caminho == nullptr) caminho = "";
  std::unique_ptr<std::FILE, FechaArquivo> arquivo(std::fopen(caminho, "rb"));
  if (!arquivo) {
    GravaLog("*** Confira a disponibilidade do arquivo no diretorio");
    throw Erro::Formata("*ZELP* Erro ao acessar \"%s\"", caminho);
  }
  std::uint8_t imagem[TAM_ESTABELECIMENTO];
  const std::size_t lidos = std::fread(imagem, 1, sizeof imagem, arquivo.get());
  arquivo.reset();
  if (lidos < sizeof imagem) {
    GravaLog("*** Confira a disponibilidade do arquivo no diretorio");
    throw Erro::Formata("*ZELP* Erro ao ler \"%s\"", caminho);
  }

  char verificador[5];
  CalculaVerificador(imagem, verificador);
  if (std::memcmp(verificador, imagem + POS_VERIFICADOR, 4) != 0) {
    GravaLog("*** Contactar Suporte Tecnico.");
    throw Erro("*ZELP* Arquivo de Estabelecimento Adulterado");
  }

  // Both texts are used as C text downstream, so each ends at its first zero byte.
  const char* codigo = reinterpret_cast<const char*>(imagem + POS_CODIGO);
  char texto2[16];
  std::memcpy(texto2, codigo, 6);
  std::memcpy(texto2 + 6, "000000000", 9);
  texto2[15] = 0;
  std::string texto1 = CodigoEstabelecimento(imagem);
  std::string segundo = TextoDeCampo(texto2, 15);
  estab.texto1 = std::move(texto1);
  estab.texto2 = std::move(segundo);
  return true;
}

ExameEstabelecimento ExaminaEstabelecimento(const char* caminho) {
  ExameEstabelecimento exame;
  errno = 0;
  std::unique_ptr<std::FILE, FechaArquivo> arquivo(std::fopen(caminho != nullptr ? caminho : "", "rb"));
  if (!arquivo) {
    exame.erro = errno != 0 ? errno : EIO;
    exame.estado = (errno == ENOENT || errno == ENOTDIR) ? EstadoEstabelecimento::Inexistente
                                                         : EstadoEstabelecimento::Ilegivel;
    return exame;
  }
  std::uint8_t imagem[TAM_ESTABELECIMENTO];
  errno = 0;
  exame.tamanho = std::fread(imagem, 1, sizeof imagem, arquivo.get());
  if (exame.tamanho < sizeof imagem) {
    // A directory opens but cannot be read: the system says why; a short file is just short.
    const bool falhou = std::ferror(arquivo.get()) != 0;
    exame.erro = falhou ? (errno != 0 ? errno : EIO) : 0;
    exame.estado = falhou ? EstadoEstabelecimento::Ilegivel : EstadoEstabelecimento::Curto;
    return exame;
  }
  char verificador[5];
  CalculaVerificador(imagem, verificador);
  if (std::memcmp(verificador, imagem + POS_VERIFICADOR, 4) != 0) {
    exame.estado = EstadoEstabelecimento::Adulterado;
    return exame;
  }
  exame.codigo = CodigoEstabelecimento(imagem);
  return exame;
}
