// A fresh directory for one test, removed with everything in it when the test ends.
#pragma once

#include <string>
#include <vector>

class DiretorioTemporario {
 public:
  DiretorioTemporario();
  ~DiretorioTemporario();
  DiretorioTemporario(const DiretorioTemporario&) = delete;
  DiretorioTemporario& operator=(const DiretorioTemporario&) = delete;

  const std::string& Caminho() const { return caminho_; }
  // Path of a name inside the directory.
  std::string operator/(const std::string& nome) const { return caminho_ + "/" + nome; }

  void Escreve(const std::string& nome, const std::string& conteudo) const;
  std::string Le(const std::string& nome) const;
  bool Existe(const std::string& nome) const;
  void CriaSubdiretorio(const std::string& nome) const;
  // The names in the directory (or in its subdirectory sub), sorted; none when it is missing.
  std::vector<std::string> Nomes(const std::string& sub = "") const;

 private:
  std::string caminho_;
};
