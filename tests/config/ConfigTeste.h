// What the configuration tests share: a zelp.ini in a fresh directory and a context on it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "apoio/CapturaLog.h"
#include "apoio/DiretorioTemporario.h"
#include "comum/Err.h"
#include "config/TX.h"
#include "log/GravaLog.h"
#include "platform/Rede.h"

// A group and a parameter that every load needs not to fail.
inline const std::string INI_MINIMO = "[End0]\r\nurl=127.0.0.1\r\n[PEstab]\r\npar0=estab0.dat\r\n";

class ConfigTeste : public ::testing::Test {
 protected:
  void SetUp() override {
    zelp_log::DefineDirLog("");
    DefineLarguraNome(8);
  }
  void TearDown() override {
    zelp_log::DefineDirLog("");
    DefineLarguraNome(8);
  }

  std::string Caminho() const { return dir / "zelp.ini"; }
  void EscreveIni(const std::string& conteudo) const { dir.Escreve("zelp.ini", conteudo); }

  // The text of the Err a load raised, or "" when it raised none.
  static std::string ErroDaCarga(TX& tx) {
    try {
      tx.CarregaConfig();
    } catch (const Err& e) {
      return e.mensagem;
    }
    return "";
  }

  static std::string DirLog() {
    char texto[300];
    zelp_log::CopiaDirLog(texto, sizeof texto);
    return texto;
  }

  static std::uint32_t Ip(const char* pontos) {
    std::uint32_t ip = 0;
    plataforma::LeIPv4(pontos, ip);
    return ip;
  }

  static int Contagem(const std::string& prefixo) {
    int n = 0;
    for (const auto& l : CapturaLog::Linhas()) n += l.rfind(prefixo, 0) == 0 ? 1 : 0;
    return n;
  }

  DiretorioTemporario dir;
  CapturaLog janela;
};
