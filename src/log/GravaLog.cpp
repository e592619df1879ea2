// GravaLog: formats the message, stamps it with the local time, appends it to the day's file and
// mirrors it to the window.
#include "log/GravaLog.h"

#include <cstdarg>
#include <cstdio>

#include "comum/Limites.h"
#include "log/GravaLinha.h"
#include "platform/Arquivos.h"

namespace zelp_log {

bool GravaMensagem(const plataforma::HoraLocal& hora, const char* mensagem) {
  if (mensagem == nullptr) mensagem = "";
  char dir[TAM_CAMINHO];
  CopiaDirLog(dir, sizeof dir);

  // The limits hold for the message as written, its control characters escaped.
  std::size_t tamanho = 0;
  if (dir[0] == '\0') {
    char texto[TAM_MAX_MENSAGEM_JANELA + 1];
    if (!EscapaControles(mensagem, texto, sizeof texto, tamanho)) {
      MostraJanela(ESTOURO_GRAVALOG);
      return false;
    }
    MostraJanela(texto);
    return true;
  }

  char nome[32];
  std::snprintf(nome, sizeof nome, "LT%02d%02d%02d.txt", hora.dia, hora.mes, (hora.ano % 100 + 100) % 100);

  // The path is held in 200 characters; a directory too long for it is refused like an overlong
  // line rather than writing past the buffer or into a cut path.
  char caminho[TAM_MAX_CAMINHO_LOG + 1];
  int tamCaminho = std::snprintf(caminho, sizeof caminho, "%s/%s", dir, nome);
  if (tamCaminho < 0 || static_cast<std::size_t>(tamCaminho) > TAM_MAX_CAMINHO_LOG) {
    MostraJanela(ESTOURO_GRAVALOG);
    return false;
  }

  // Room for the longest accepted line and CR LF; anything longer is refused before it is written.
  char linha[TAM_MAX_LINHA + 3];
  int tamPrefixo = std::snprintf(linha, sizeof linha, "%02d:%02d:%02d.%03d ", hora.hora, hora.minuto, hora.segundo,
                                 hora.milissegundo);
  if (tamPrefixo <= 0 || static_cast<std::size_t>(tamPrefixo) > TAM_MAX_LINHA ||
      !EscapaControles(mensagem, linha + tamPrefixo, TAM_MAX_LINHA - static_cast<std::size_t>(tamPrefixo) + 1,
                       tamanho)) {
    MostraJanela(ESTOURO_GRAVALOG);
    return false;
  }
  std::size_t tamLinha = static_cast<std::size_t>(tamPrefixo) + tamanho;

  // The window shows one space and the message: the line without its time stamp.
  MostraJanela(linha + tamPrefixo - 1);

  linha[tamLinha++] = '\r';
  linha[tamLinha++] = '\n';

  MutexLocker travado(TravaLog());
  bool abriu = false;
  if (plataforma::AcrescentaArquivo(caminho, linha, tamLinha, abriu)) return true;
  if (!abriu) {
    MostraJanelaFormatado("Erro ao abrir arquivo %s", nome);
  } else {
    MostraJanelaFormatado("Erro ao escrever arquivo %s", caminho);
  }
  return false;
}

}  // namespace zelp_log

bool GravaLog(const char* formato, ...) {
  char mensagem[TAM_MENSAGEM];
  va_list args;
  va_start(args, formato);
  int n = std::vsnprintf(mensagem, sizeof mensagem, formato, args);
  va_end(args);
  // A format that cannot be rendered is lost like an overlong one, with the same notice.
  if (n < 0) {
    zelp_log::MostraJanela(zelp_log::ESTOURO_GRAVALOG);
    return false;
  }
  return zelp_log::GravaMensagem(plataforma::AgoraLocal(), mensagem);
}
