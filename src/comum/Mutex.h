// The locks of the service: a plain mutex and its scope guard.
#pragma once

#include <mutex>

class Mutex {
 public:
  void Trava() { m_.lock(); }
  void Libera() { m_.unlock(); }
  std::mutex& Nativo() { return m_; }

 private:
  std::mutex m_;
};

class MutexLocker {
 public:
  explicit MutexLocker(Mutex& m) : m_(m) { m_.Trava(); }
  ~MutexLocker() { m_.Libera(); }
  MutexLocker(const MutexLocker&) = delete;
  MutexLocker& operator=(const MutexLocker&) = delete;

 private:
  Mutex& m_;
};
