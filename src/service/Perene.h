// Storage for a process-wide object that is never destroyed, so detached threads may still use it
// while the process runs its static destructors on the way out.
#pragma once

#include <new>
#include <utility>

template <typename T>
class Perene {
 public:
  template <typename... Args>
  explicit Perene(Args&&... args) {
    ::new (static_cast<void*>(area_)) T(std::forward<Args>(args)...);
  }
  Perene(const Perene&) = delete;
  Perene& operator=(const Perene&) = delete;

  T& operator*() { return *std::launder(reinterpret_cast<T*>(area_)); }
  T* operator->() { return &**this; }

 private:
  alignas(T) unsigned char area_[sizeof(T)];
};
