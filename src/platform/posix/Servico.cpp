// The service manager's protocol through libsystemd; sd_notify does nothing when NOTIFY_SOCKET is
// not set, and the environment is kept so that every later call still reaches the manager.
#include "platform/Servico.h"

#include <errno.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#include <systemd/sd-daemon.h>
// A record carries the service's fields, not this file's name and line.
#define SD_JOURNAL_SUPPRESS_LOCATION
#include <systemd/sd-journal.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace plataforma::servico {

void Pronto() { sd_notify(0, "READY=1"); }

void Parando() { sd_notify(0, "STOPPING=1"); }

void Estado(const char* texto) {
  const std::string linha = std::string("STATUS=") + (texto != nullptr ? texto : "");
  sd_notify(0, linha.c_str());
}

void AlimentaVigia() { sd_notify(0, "WATCHDOG=1"); }

// systemd reads the exit status, and the journal has the fatal error's line already.
void Encerrado(int, const char*) {}

std::uint32_t PrazoVigia() {
  std::uint64_t micro = 0;
  if (sd_watchdog_enabled(0, &micro) <= 0) return 0;
  const std::uint64_t ms = micro / 1000;
  if (ms == 0) return 1;
  return ms > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(ms);
}

bool SaidaNoDiario(FluxoPadrao qual) {
  const int descritor = qual == FluxoPadrao::Saida ? STDOUT_FILENO : STDERR_FILENO;
  const char* fluxo = std::getenv("JOURNAL_STREAM");
  if (fluxo == nullptr) return false;
  std::uintmax_t dispositivo = 0;
  std::uintmax_t inode = 0;
  if (std::sscanf(fluxo, "%" SCNuMAX ":%" SCNuMAX, &dispositivo, &inode) != 2) return false;
  // A descriptor redirected elsewhere by a script under the service no longer is the journal.
  struct stat st {};
  if (::fstat(descritor, &st) != 0) return false;
  return static_cast<std::uintmax_t>(st.st_dev) == dispositivo && static_cast<std::uintmax_t>(st.st_ino) == inode;
}

bool RegistraNoDiario(const char* mensagem, int prioridade, const std::vector<std::string>& campos) {
  if (std::getenv("JOURNAL_STREAM") == nullptr) return false;
  std::vector<std::string> textos;
  textos.reserve(campos.size() + 3);
  textos.push_back(std::string("MESSAGE=") + (mensagem != nullptr ? mensagem : ""));
  textos.push_back("PRIORITY=" + std::to_string(prioridade));
  // As the lines of its standard output are named, so that both show under one name.
  textos.push_back(std::string("SYSLOG_IDENTIFIER=") + program_invocation_short_name);
  textos.insert(textos.end(), campos.begin(), campos.end());
  std::vector<iovec> partes;
  partes.reserve(textos.size());
  for (std::string& t : textos) partes.push_back(iovec{t.data(), t.size()});
  return sd_journal_sendv(partes.data(), static_cast<int>(partes.size())) == 0;
}

}  // namespace plataforma::servico
