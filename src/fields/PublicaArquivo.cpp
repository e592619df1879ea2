// Status and response files reach the point of sale only whole: written, flushed, then renamed.
#include "fields/PublicaArquivo.h"

#include "arquivos/OperacoesArquivo.h"
#include "comum/Limites.h"
#include "comum/Texto.h"
#include "log/GravaLog.h"
#include "platform/Arquivos.h"

bool PublicaArquivo(const std::string& dirSaida, int largura, std::int64_t identificador, const char* extensao,
                    const std::string& conteudo, bool duravel) {
  const std::string nome = Formata("%0*lld", largura, static_cast<long long>(identificador));
  const std::string temporario = dirSaida + nome + ".tmp";
  const std::string final = dirSaida + nome + "." + extensao;

  // The point of sale's paths hold 259 characters; a longer one would name a file it never reads.
  // The line names the file and the length, not the whole path, so that it always fits a log line.
  if (temporario.size() > TAM_MAX_CAMINHO || final.size() > TAM_MAX_CAMINHO) {
    GravaLog("*** Caminho muito longo (%zu caracteres) para %s.%s", final.size(), nome.c_str(), extensao);
    return false;
  }

  // Flushed before the rename: a power cut must not leave an empty or torn file under the final name.
  int erro = 0;
  if (!plataforma::GravaArquivoInteiro(temporario.c_str(), conteudo.data(), conteudo.size(), duravel, &erro)) {
    // The system's reason first, then the line the operator knows for a file that was not published.
    GravaLog("*** Erro ao gravar %s (%s)", temporario.c_str(), plataforma::TextoErro(erro).c_str());
    GravaLog("*** Erro ao renomear para %s", final.c_str());
    plataforma::Apaga(temporario.c_str());
    return false;
  }
  if (!RenomeiaArquivo(temporario.c_str(), final.c_str(), -1)) {
    plataforma::Apaga(temporario.c_str());
    return false;
  }
  if (duravel) plataforma::SincronizaDiretorio(dirSaida.empty() ? "." : dirSaida.c_str());
  return true;
}
