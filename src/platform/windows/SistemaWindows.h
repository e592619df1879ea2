// The platform layer's one door to the Windows API: <winsock2.h> and <windows.h> with the lean
// settings, a handle that closes itself on every path, and the SOCKET behind a plataforma::Socket.
// No file outside src/platform/windows (and the Windows halves of other modules) includes it.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
// Winsock 2 must come before <windows.h>, which would otherwise bring the old winsock.h.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include "platform/Socket.h"

namespace plataforma::windows {

// A handle owned by one holder and closed by the call that matches its kind (CloseHandle for
// kernel objects, FindClose for a listing). A failed call's INVALID_HANDLE_VALUE and the null
// handle both mean none, as the API returns one or the other.
template <BOOL(WINAPI* Fechar)(HANDLE)>
class AlcaDe {
 public:
  AlcaDe() = default;
  explicit AlcaDe(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  ~AlcaDe() { Fecha(); }
  AlcaDe(AlcaDe&& outra) noexcept : h_(outra.h_) { outra.h_ = nullptr; }
  AlcaDe& operator=(AlcaDe&& outra) noexcept {
    if (this != &outra) {
      Fecha();
      h_ = outra.h_;
      outra.h_ = nullptr;
    }
    return *this;
  }
  AlcaDe(const AlcaDe&) = delete;
  AlcaDe& operator=(const AlcaDe&) = delete;

  bool Valida() const { return h_ != nullptr; }
  HANDLE Get() const { return h_; }
  // Hands the handle to another owner, who closes it.
  HANDLE Solta() {
    HANDLE h = h_;
    h_ = nullptr;
    return h;
  }
  void Fecha() {
    if (h_ != nullptr) Fechar(h_);
    h_ = nullptr;
  }

 private:
  HANDLE h_ = nullptr;
};

using Alca = AlcaDe<::CloseHandle>;
using AlcaBusca = AlcaDe<::FindClose>;

// Every socket holds a start of Winsock for its own life: taken here before it is made (or accepted)
// and given back when plataforma::Socket closes it. The service thread's cleanup at its end then only
// gives back its own, and never tears the layer down under a worker still exchanging a transaction.
// 0, or WSAStartup's code.
inline int TomaWinsock() {
  WSADATA dados;
  return ::WSAStartup(MAKEWORD(2, 2), &dados);
}

// The SOCKET a plataforma::Socket holds (its closing is plataforma::Socket's own).
inline SOCKET SocketDe(const Socket& socket) { return static_cast<SOCKET>(socket.Fd()); }

// Error codes travel as int through the platform headers; Windows' codes all fit.
inline int Codigo(DWORD erro) { return static_cast<int>(erro); }

}  // namespace plataforma::windows
