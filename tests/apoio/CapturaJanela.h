// Collects the texts the log writer hands to the window, for tests that check what was shown.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "log/GravaLog.h"

class CapturaJanela {
 public:
  CapturaJanela() {
    Limpa();
    zelp_log::DefineSaidaJanela(&Recebe);
  }
  ~CapturaJanela() { zelp_log::DefineSaidaJanela(nullptr); }
  CapturaJanela(const CapturaJanela&) = delete;
  CapturaJanela& operator=(const CapturaJanela&) = delete;

  static std::vector<std::string> Linhas() {
    std::lock_guard<std::mutex> l(Trava());
    return Guardadas();
  }
  static void Limpa() {
    std::lock_guard<std::mutex> l(Trava());
    Guardadas().clear();
  }

 private:
  static void Recebe(const char* linha) {
    std::lock_guard<std::mutex> l(Trava());
    Guardadas().emplace_back(linha);
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
