// Collects the lines the log writer hands to the window, so a test can check what was logged. It
// starts with no log directory (nothing goes to disk); a test may set one afterwards.
#pragma once

#include <algorithm>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "log/GravaLog.h"

class CapturaLog {
 public:
  CapturaLog() {
    zelp_log::CriaTravaLog();
    zelp_log::DefineDirLog("");
    Limpa();
    zelp_log::DefineSaidaJanela(&Recebe);
  }
  ~CapturaLog() {
    zelp_log::DefineSaidaJanela(nullptr);
    Gancho() = nullptr;
  }
  CapturaLog(const CapturaLog&) = delete;
  CapturaLog& operator=(const CapturaLog&) = delete;

  static std::vector<std::string> Linhas() {
    std::lock_guard<std::mutex> l(Trava());
    return Guardadas();
  }
  static void Limpa() {
    std::lock_guard<std::mutex> l(Trava());
    Guardadas().clear();
  }
  // Every line, each followed by a line feed: for failure messages.
  static std::string Todas() {
    std::string s;
    for (const auto& linha : Linhas()) s += linha + "\n";
    return s;
  }
  // How many lines equal texto exactly.
  static int Conta(const std::string& texto) {
    auto v = Linhas();
    return static_cast<int>(std::count(v.begin(), v.end(), texto));
  }
  // How many lines contain pedaco.
  static int ContaCom(const std::string& pedaco) {
    auto v = Linhas();
    return static_cast<int>(
        std::count_if(v.begin(), v.end(), [&](const std::string& l) { return l.find(pedaco) != std::string::npos; }));
  }
  static bool Contem(const std::string& pedaco) { return ContaCom(pedaco) > 0; }
  // Index of the first line equal to texto, or -1.
  static long Posicao(const std::string& texto) {
    auto v = Linhas();
    auto it = std::find(v.begin(), v.end(), texto);
    return it == v.end() ? -1 : static_cast<long>(it - v.begin());
  }
  // Runs on the logging thread for every line, right when it is logged: lets a test change a peer or
  // a group between two steps of the code under test. Set it before starting threads that log.
  static void DefineGancho(std::function<void(const std::string&)> gancho) { Gancho() = std::move(gancho); }

 private:
  static void Recebe(const char* linha) {
    {
      std::lock_guard<std::mutex> l(Trava());
      Guardadas().emplace_back(linha != nullptr ? linha : "");
    }
    if (Gancho()) Gancho()(linha != nullptr ? linha : "");
  }
  static std::function<void(const std::string&)>& Gancho() {
    static std::function<void(const std::string&)> g;
    return g;
  }
  static std::mutex& Trava() {
    static std::mutex m;
    return m;
  }
  static std::vector<std::string>& Guardadas() {
    static std::vector<std::string> v;
    return v;
  }
};
