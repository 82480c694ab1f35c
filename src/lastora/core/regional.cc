#include "lastora/variant.h"

namespace lastora {

namespace {

// One object for the process: conversions read it per cell, so it is a plain static rather than a
// locale lookup.
Regional& Settings() {
  static Regional regional;
  return regional;
}

}  // namespace

const Regional& CurrentRegional() { return Settings(); }

void SetRegional(const Regional& regional) { Settings() = regional; }

}  // namespace lastora
