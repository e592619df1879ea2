// Collects the lines the log writer hands to the window, so a test can check what was logged.
#pragma once

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "log/GravaLog.h"

class CapturaLinhas {
 public:
  CapturaLinhas() {
    zelp_log::CriaTravaLog();
    zelp_log::DefineDirLog("");
    Limpa();
    zelp_log::DefineSaidaJanela(&Recebe);
  }
  ~CapturaLinhas() { zelp_log::DefineSaidaJanela(nullptr); }
  CapturaLinhas(const CapturaLinhas&) = delete;
  CapturaLinhas& operator=(const CapturaLinhas&) = delete;

  static std::vector<std::string> Linhas() {
    std::lock_guard<std::mutex> l(Trava());
    return Guardadas();
  }
  static void Limpa() {
    std::lock_guard<std::mutex> l(Trava());
    Guardadas().clear();
  }
  // How many lines equal texto exactly.
  static long Conta(const std::string& texto) {
    auto v = Linhas();
    return std::count(v.begin(), v.end(), texto);
  }
  // How many lines contain pedaco.
  static long ContaCom(const std::string& pedaco) {
    auto v = Linhas();
    return std::count_if(v.begin(), v.end(), [&](const std::string& l) { return l.find(pedaco) != std::string::npos; });
  }
  // Index of the first line equal to texto, or -1.
  static long Posicao(const std::string& texto) {
    auto v = Linhas();
    auto it = std::find(v.begin(), v.end(), texto);
    return it == v.end() ? -1 : static_cast<long>(it - v.begin());
  }

 private:
  static void Recebe(const char* linha) {
    std::lock_guard<std::mutex> l(Trava());
    Guardadas().emplace_back(linha != nullptr ? linha : "");
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
