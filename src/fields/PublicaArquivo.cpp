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
  const std::string nomeTemporario = nome + ".tmp";
  const std::string nomeFinal = nome + "." + extensao;
  const std::string temporario = dirSaida + nomeTemporario;
  const std::string final = dirSaida + nomeFinal;

  // The point of sale's paths hold 259 characters; a longer one would name a file it never reads.
  // The line names the file and the length, not the whole path, so that it always fits a log line.
  if (temporario.size() > TAM_MAX_CAMINHO || final.size() > TAM_MAX_CAMINHO) {
    GravaLog("*** Caminho muito longo (%zu caracteres) para %s.%s", final.size(), nome.c_str(), extensao);
    return false;
  }

  // Every step in the one directory opened here: the folder is shared with the points of sale, and
  // a name in it is never followed. The .tmp is made afresh, so a link put there is replaced, not
  // written through, and is flushed before the rename: a power cut must not leave an empty or torn
  // file under the final name.
  plataforma::Pasta pasta;
  plataforma::Pasta::Anterior anterior = plataforma::Pasta::Anterior::Nada;
  int erro = 0;
  const bool gravado = pasta.Abre(dirSaida.c_str(), erro) &&
                       pasta.GravaNovo(nomeTemporario.c_str(), conteudo.data(), conteudo.size(), duravel, erro, anterior);
  if (anterior == plataforma::Pasta::Anterior::Outro) {
    GravaLog("*** Arquivo %s recusado: nao e um arquivo comum", temporario.c_str());
  }
  if (!gravado) {
    // The system's reason first, then the line the operator knows for a file that was not published.
    GravaLog("*** Erro ao gravar %s (%s)", temporario.c_str(), plataforma::TextoErro(erro).c_str());
    GravaLog("*** Erro ao renomear para %s", final.c_str());
    pasta.Apaga(nomeTemporario.c_str());
    return false;
  }
  if (!RenomeiaNaPasta(pasta, dirSaida, nomeTemporario, nomeFinal)) {
    pasta.Apaga(nomeTemporario.c_str());
    return false;
  }
  if (duravel) pasta.Sincroniza();
  return true;
}
