// The log lock: one for the process, there from the first line on.
#include "log/GravaLinha.h"
#include "log/GravaLog.h"

namespace zelp_log {

Mutex& TravaLog() {
  // Built on first use (thread-safe), so no thread can log before the lock exists; std::mutex has
  // nothing to release, so a late line from a worker while the process ends is harmless.
  static Mutex trava;
  return trava;
}

void CriaTravaLog() { (void)TravaLog(); }

}  // namespace zelp_log
