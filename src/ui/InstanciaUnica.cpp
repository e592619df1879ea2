// The single-instance rule: a lock file held for the whole life of the process.
#include "ui/InstanciaUnica.h"

#include <QDir>
#include <QFileInfo>

TInstanciaUnica::TInstanciaUnica() : TInstanciaUnica(CaminhoPadrao()) {}

TInstanciaUnica::TInstanciaUnica(const QString& caminho) : trava_(caminho) {
  // The lock stays valid for as long as its process lives, however long that is; only a lock whose
  // process has gone counts as stale (the default would give it away after 30 seconds).
  trava_.setStaleLockTime(0);
  if (!trava_.tryLock(0)) podeIniciar_ = trava_.error() != QLockFile::LockFailedError;
}

QString TInstanciaUnica::CaminhoPadrao() {
  QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!dir.isEmpty() && QFileInfo(dir).isDir()) return dir + QStringLiteral("/zelp.lock");
  QString usuario = qEnvironmentVariable("USER", qEnvironmentVariable("LOGNAME"));
  // A user name only ever becomes a plain file name.
  usuario.remove(QLatin1Char('/'));
  if (usuario.isEmpty() || usuario == QLatin1String(".") || usuario == QLatin1String(".."))
    return QStringLiteral("/tmp/zelp.lock");
  return QStringLiteral("/tmp/zelp-") + usuario + QStringLiteral(".lock");
}
