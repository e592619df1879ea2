// Test programs run as POSIX processes.
#include "apoio/Processo.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

Processo::Processo(const std::string& programa, const std::vector<std::string>& args, const std::string& diretorio,
                   const std::string& saida)
    : saida_(saida) {
  std::vector<std::string> copia;
  copia.push_back(programa);
  copia.insert(copia.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : copia) argv.push_back(a.data());
  argv.push_back(nullptr);

  pid_t pid = fork();
  if (pid == 0) {
    int fd = open(saida.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0644);
    if (fd >= 0) {
      dup2(fd, 1);
      dup2(fd, 2);
      close(fd);
    }
    int nulo = open("/dev/null", O_RDONLY);
    if (nulo >= 0) dup2(nulo, 0);
    if (chdir(diretorio.c_str()) != 0) _exit(126);
    execv(programa.c_str(), argv.data());
    _exit(127);
  }
  pid_ = pid;
}

Processo::~Processo() {
  if (pid_ > 0 && !terminou_) {
    kill(pid_, SIGKILL);
    int st;
    waitpid(pid_, &st, 0);
  }
}

void Processo::Sinaliza(int sinal) {
  if (pid_ > 0 && !terminou_) kill(pid_, sinal);
}

bool Processo::Rodando() {
  if (pid_ <= 0 || terminou_) return false;
  int st;
  pid_t r = waitpid(pid_, &st, WNOHANG);
  if (r == pid_) {
    terminou_ = true;
    status_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    return false;
  }
  return true;
}

std::string CaminhoPrograma(const std::string& nome) { return std::string(ZELP_DIR_BINARIOS) + "/" + nome; }
