// The system's texts on Windows: converted from UTF-8 to the ANSI code page once, and kept.
#include "platform/TextoSistema.h"

#include <map>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/windows/SistemaWindows.h"

namespace plataforma {

namespace {

std::string ParaPaginaAnsi(const char* utf8) {
  const int largos = ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  if (largos <= 0) return utf8;
  std::wstring meio(static_cast<std::size_t>(largos), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, meio.data(), largos);
  const int bytes = ::WideCharToMultiByte(CP_ACP, 0, meio.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return utf8;
  std::string texto(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, meio.c_str(), -1, texto.data(), bytes, nullptr, nullptr);
  texto.resize(static_cast<std::size_t>(bytes - 1));  // the terminator counted by -1
  return texto;
}

}  // namespace

const char* TextoDoSistema(const char* utf8) {
  if (utf8 == nullptr) return "";
  // Nodes of a map never move: a text handed out stays where it is while others are added. Neither
  // is ever destroyed, as a detached worker may still hold a text while the process ends.
  static auto* const trava = new std::mutex;
  static auto* const convertidos = new std::map<std::string, std::string, std::less<>>;
  std::lock_guard<std::mutex> guarda(*trava);
  auto it = convertidos->find(std::string_view(utf8));
  if (it == convertidos->end()) it = convertidos->emplace(utf8, ParaPaginaAnsi(utf8)).first;
  return it->second.c_str();
}

}  // namespace plataforma
