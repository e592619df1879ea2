// Files and directories on Linux.
#include "platform/Arquivos.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace plataforma {

namespace {

bool TerminaComSemCaixa(const std::string& nome, const std::string& sufixo) {
  if (nome.size() < sufixo.size()) return false;
  for (std::size_t i = 0; i < sufixo.size(); ++i) {
    unsigned char a = static_cast<unsigned char>(nome[nome.size() - sufixo.size() + i]);
    unsigned char b = static_cast<unsigned char>(sufixo[i]);
    if (a >= 'A' && a <= 'Z') a = static_cast<unsigned char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<unsigned char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

// Writes all of a block, retrying short writes and interruptions.
bool EscreveTudo(int fd, const void* dados, std::size_t tamanho) {
  const char* p = static_cast<const char*>(dados);
  while (tamanho > 0) {
    ssize_t n = ::write(fd, p, tamanho);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    p += n;
    tamanho -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::vector<std::string> ListaArquivos(const char* mascara) {
  std::vector<std::string> nomes;
  std::string m(mascara ? mascara : "");
  std::string dir, padrao;
  auto barra = m.rfind('/');
  if (barra == std::string::npos) {
    dir = ".";
    padrao = m;
  } else {
    dir = barra == 0 ? "/" : m.substr(0, barra);
    padrao = m.substr(barra + 1);
  }
  // Masks are "*" followed by a suffix such as ".ENV"; a bare "*" takes every name.
  if (padrao.empty() || padrao[0] != '*') return nomes;
  std::string sufixo = padrao.substr(1);

  DIR* d = ::opendir(dir.c_str());
  if (d == nullptr) return nomes;
  int dfd = ::dirfd(d);
  while (dirent* e = ::readdir(d)) {
    std::string nome = e->d_name;
    if (nome.empty() || nome[0] == '.') continue;
    if (!TerminaComSemCaixa(nome, sufixo)) continue;
    struct stat st;
    if (::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(st.st_mode)) continue;
    nomes.push_back(std::move(nome));
  }
  ::closedir(d);
  return nomes;
}

ResultadoApaga Apaga(const char* caminho) {
  if (::unlink(caminho) == 0) return ResultadoApaga::Apagado;
  return errno == ENOENT ? ResultadoApaga::NaoExiste : ResultadoApaga::Falhou;
}

bool TornaGravavel(const char* caminho) {
  struct stat st;
  if (::stat(caminho, &st) != 0) return false;
  if (::chmod(caminho, (st.st_mode & 07777) | S_IWUSR) != 0) return false;
  // On Linux the right to delete is the directory's; make that writable for the owner as well.
  std::string dir(caminho);
  auto barra = dir.rfind('/');
  dir = barra == std::string::npos ? "." : (barra == 0 ? "/" : dir.substr(0, barra));
  struct stat sd;
  if (::stat(dir.c_str(), &sd) == 0 && !(sd.st_mode & S_IWUSR)) {
    ::chmod(dir.c_str(), (sd.st_mode & 07777) | S_IWUSR);
  }
  return true;
}

bool Renomeia(const char* de, const char* para) { return ::rename(de, para) == 0; }

bool HoraEscrita(const char* caminho, HoraArquivo& hora) {
  struct stat st;
  if (::stat(caminho, &st) != 0) return false;
  int fd = ::open(caminho, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;  // the file must be readable, as at a load
  ::close(fd);
  hora.baixa = static_cast<std::uint32_t>(st.st_mtim.tv_nsec);
  hora.alta = static_cast<std::uint32_t>(st.st_mtim.tv_sec);
  return true;
}

bool ExisteDiretorio(const char* caminho) {
  struct stat st;
  return ::stat(caminho, &st) == 0 && S_ISDIR(st.st_mode);
}

bool DiretorioGravavel(const char* caminho) {
  return ExisteDiretorio(caminho) && ::access(caminho, W_OK | X_OK | R_OK) == 0;
}

std::string DiretorioAtual() {
  char buffer[4096];
  if (::getcwd(buffer, sizeof buffer) == nullptr) return std::string();
  return buffer;
}

bool MudaDiretorio(const char* caminho, int& erro) {
  erro = 0;
  if (::chdir(caminho) == 0) return true;
  erro = errno;
  return false;
}

std::string TextoErro(int erro) {
  char buffer[256];
  // The GNU strerror_r: returns the text, which may or may not be in the buffer.
  return ::strerror_r(erro, buffer, sizeof buffer);
}

bool SincronizaDiretorio(const char* diretorio) {
  int fd = ::open(diretorio && *diretorio ? diretorio : ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

bool GravaArquivoInteiro(const char* caminho, const void* dados, std::size_t tamanho, bool duravel) {
  int fd = ::open(caminho, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = EscreveTudo(fd, dados, tamanho);
  if (ok && duravel) ok = ::fsync(fd) == 0;
  if (::close(fd) != 0) ok = false;
  return ok;
}

bool AcrescentaArquivo(const char* caminho, const void* dados, std::size_t tamanho, bool& abriu) {
  int fd = ::open(caminho, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  abriu = fd >= 0;
  if (!abriu) return false;
  bool ok = EscreveTudo(fd, dados, tamanho);
  if (::close(fd) != 0) ok = false;
  return ok;
}

bool LeArquivoInteiro(const char* caminho, std::string& conteudo, std::size_t limite) {
  conteudo.clear();
  int fd = ::open(caminho, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char bloco[4096];
  bool ok = true;
  while (conteudo.size() < limite) {
    std::size_t quer = std::min(sizeof bloco, limite - conteudo.size());
    ssize_t n = ::read(fd, bloco, quer);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    if (n == 0) break;
    conteudo.append(bloco, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return ok;
}

}  // namespace plataforma
