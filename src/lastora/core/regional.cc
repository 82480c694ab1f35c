#include "lastora/variant.h"

namespace lastora {

namespace {

// One object per thread, like the rest of the component's state: conversions read it per cell, so
// it is a plain variable rather than a locale lookup, and a thread that changes it cannot change
// the numbers another thread is writing.
Regional& Settings() {
  thread_local Regional regional;
  return regional;
}

}  // namespace

const Regional& CurrentRegional() { return Settings(); }

void SetRegional(const Regional& regional) { Settings() = regional; }

}  // namespace lastora
