// Collects the lines the log writer shows in the window (no log directory is set in these tests).
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "log/GravaLog.h"

class CapturaLog {
 public:
  CapturaLog() {
    Limpa();
    zelp_log::DefineDirLog("");
    zelp_log::DefineSaidaJanela(&Recebe);
  }
  ~CapturaLog() { zelp_log::DefineSaidaJanela(nullptr); }
  CapturaLog(const CapturaLog&) = delete;
  CapturaLog& operator=(const CapturaLog&) = delete;

  // True when some line contains the text.
  static bool Contem(const std::string& trecho) {
    std::lock_guard<std::mutex> l(Trava());
    for (const auto& linha : Linhas()) {
      if (linha.find(trecho) != std::string::npos) return true;
    }
    return false;
  }
  static std::string Todas() {
    std::lock_guard<std::mutex> l(Trava());
    std::string s;
    for (const auto& linha : Linhas()) s += linha + "\n";
    return s;
  }

 private:
  static void Limpa() {
    std::lock_guard<std::mutex> l(Trava());
    Linhas().clear();
  }
  static void Recebe(const char* linha) {
    std::lock_guard<std::mutex> l(Trava());
    Linhas().emplace_back(linha);
  }
  static std::mutex& Trava() {
    static std::mutex m;
    return m;
  }
  static std::vector<std::string>& Linhas() {
    static std::vector<std::string> v;
    return v;
  }
};
