// Collects the lines the log writer hands to the window (no log directory: nothing goes to disk).
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
  // Runs on the logging thread for every line, right when it is logged: lets a test change a peer or
  // a group between two steps of the code under test. Set it before starting threads that log.
  static void DefineGancho(std::function<void(const std::string&)> gancho) { Gancho() = std::move(gancho); }
  static int Conta(const std::string& linha) {
    auto v = Linhas();
    return static_cast<int>(std::count(v.begin(), v.end(), linha));
  }

 private:
  static void Recebe(const char* linha) {
    {
      std::lock_guard<std::mutex> l(Trava());
      Guardadas().emplace_back(linha);
    }
    if (Gancho()) Gancho()(linha);
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
