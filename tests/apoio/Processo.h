// Runs one of the project's programs from a test: own working directory, output to a file, bounded
// waits. posix/ starts it with fork and exec, windows/ with CreateProcess in a process group of its own.
#pragma once

#include <chrono>
#include <string>
#include <thread>
#include <vector>

class Processo {
 public:
  // Starts programa (a path) with args in diretorio; stdout and stderr go to saida (a file path).
  Processo(const std::string& programa, const std::vector<std::string>& args, const std::string& diretorio,
           const std::string& saida);
  ~Processo();  // kills the process (SIGKILL, TerminateProcess) if it still runs
  Processo(const Processo&) = delete;
  Processo& operator=(const Processo&) = delete;

  bool Iniciou() const { return pid_ > 0; }
  int Pid() const { return pid_; }
  // Sends a signal. On Windows SIGTERM and SIGINT are a Ctrl-Break to the process's group (a
  // console program's stop request), any other ends it at once (TerminateProcess).
  void Sinaliza(int sinal);
  // Waits up to limite for the end; true with the exit status (128 + signal when killed).
  bool Espera(std::chrono::milliseconds limite, int& status);
  // True while the process has not ended.
  bool Rodando();
  // The output written so far.
  std::string Saida() const;

 private:
  int pid_ = -1;
  void* alca_ = nullptr;  // Windows: the process's handle
  bool terminou_ = false;
  int status_ = 0;
  std::string saida_;
};

// Path of a program built by the project (zelpd, zelp-host, zelp-pdv, zelp-estab).
std::string CaminhoPrograma(const std::string& nome);

// Polls cond every 20 ms until it holds or limite passes; the result of the last poll.
template <typename F>
bool EsperaAte(F cond, std::chrono::milliseconds limite) {
  auto fim = std::chrono::steady_clock::now() + limite;
  for (;;) {
    if (cond()) return true;
    if (std::chrono::steady_clock::now() >= fim) return cond();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}
