// The single-instance rule: a lock file held for the whole life of the process.
#include "ui/qt/InstanciaUnica.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <chrono>
#include <thread>

namespace {

// A starting instance writes its lock file's contents right after creating it; a file still
// unreadable this long after its last change was left half-written by a process that died.
constexpr qint64 IDADE_LOCK_ABANDONADO_MS = 1000;

qint64 IdadeMs(const QString& caminho) {
  return QFileInfo(caminho).lastModified().msecsTo(QDateTime::currentDateTime());
}

}  // namespace

TInstanciaUnica::TInstanciaUnica() : TInstanciaUnica(CaminhoPadrao()) {}

TInstanciaUnica::TInstanciaUnica(const QString& caminho) : trava_(caminho), caminho_(caminho) {
  // The lock stays valid for as long as its process lives, however long that is; only a lock whose
  // process has gone counts as stale (the default would give it away after 30 seconds).
  trava_.setStaleLockTime(0);
  if (trava_.tryLock(0)) return;
  if (trava_.error() == QLockFile::LockFailedError && !Legivel()) {
    // Qt cannot tell whose lock an empty or damaged file is, and would refuse every start from now on.
    qint64 idade = IdadeMs(caminho_);
    if (idade >= 0 && idade < IDADE_LOCK_ABANDONADO_MS)
      std::this_thread::sleep_for(std::chrono::milliseconds(IDADE_LOCK_ABANDONADO_MS - idade));
    RemoveSeAbandonado();
    if (trava_.tryLock(0)) return;
  }
  podeIniciar_ = trava_.error() != QLockFile::LockFailedError;
}

bool TInstanciaUnica::Legivel() {
  qint64 pid = 0;
  QString maquina, programa;
  return trava_.getLockInfo(&pid, &maquina, &programa);
}

void TInstanciaUnica::RemoveSeAbandonado() {
  // Two instances that found the same damaged file must not both remove it: the second would remove
  // the first one's new lock. The check is repeated under a lock of its own, and a file changed
  // recently (a new lock being written) is never taken for an abandoned one.
  QLockFile remocao(caminho_ + QStringLiteral(".rmlock"));
  if (!remocao.tryLock(0)) return;
  if (!Legivel() && IdadeMs(caminho_) >= IDADE_LOCK_ABANDONADO_MS) trava_.removeStaleLockFile();
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
