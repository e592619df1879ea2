// The service thread's exception: a fatal condition that ends the service.
#pragma once

struct Err {
  // Always a constant text with static lifetime; logged unchanged.
  const char* mensagem;
  explicit constexpr Err(const char* texto) : mensagem(texto) {}
};
