#include "apoio/DiretorioTemporario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

DiretorioTemporario::DiretorioTemporario() {
  // A new name of its own, as mkdtemp gives, on every platform; only its owner may enter it.
  std::random_device aleatorio;
  std::error_code ec;
  const fs::path base = fs::temp_directory_path(ec);
  for (int tentativa = 0; tentativa < 100 && !ec; ++tentativa) {
    char nome[32];
    std::snprintf(nome, sizeof nome, "zelp-teste-%08x", static_cast<unsigned>(aleatorio()));
    const fs::path candidato = base / nome;
    if (!fs::create_directory(candidato, ec) || ec) continue;
    fs::permissions(candidato, fs::perms::owner_all, fs::perm_options::replace, ec);
    caminho_ = candidato.string();
    return;
  }
  ADD_FAILURE() << "no temporary directory could be made: " << ec.message();
}

DiretorioTemporario::~DiretorioTemporario() {
  std::error_code ec;
  if (!caminho_.empty()) {
    // Restore write rights a test may have removed, so everything can go.
    for (auto it = fs::recursive_directory_iterator(caminho_, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(caminho_, ec);
  }
}

void DiretorioTemporario::Escreve(const std::string& nome, const std::string& conteudo) const {
  std::ofstream f(*this / nome, std::ios::binary | std::ios::trunc);
  f << conteudo;
  ASSERT_TRUE(f.good()) << "writing " << nome;
}

std::string DiretorioTemporario::Le(const std::string& nome) const {
  std::ifstream f(*this / nome, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

bool DiretorioTemporario::Existe(const std::string& nome) const {
  std::error_code ec;
  return fs::exists(*this / nome, ec);
}

void DiretorioTemporario::CriaSubdiretorio(const std::string& nome) const {
  fs::create_directories(*this / nome);
}

std::vector<std::string> DiretorioTemporario::Nomes(const std::string& sub) const {
  std::vector<std::string> v;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(sub.empty() ? caminho_ : *this / sub, ec)) v.push_back(e.path().filename().string());
  std::sort(v.begin(), v.end());
  return v;
}
