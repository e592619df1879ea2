// Detached threads with a chosen stack size.
#pragma once

#include <cstddef>
#include <functional>

namespace plataforma {

// Stack of a worker thread; sanitizer builds need more room for their shadow frames.
#if defined(ZELP_SANITIZER)
inline constexpr std::size_t PILHA_WORKER = 1024 * 1024;
#else
inline constexpr std::size_t PILHA_WORKER = 0x10000;
#endif

// Starts corpo on a new detached thread with at least the given stack; false when it could not start.
bool IniciaThread(std::function<void()> corpo, std::size_t pilha);

}  // namespace plataforma
