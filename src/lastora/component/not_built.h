// Marks work that this build does not provide yet: it fails the way any run failure does, so a
// caller gets the "Fehler: " form instead of a result that pretends success.
#ifndef LASTORA_COMPONENT_NOT_BUILT_H_
#define LASTORA_COMPONENT_NOT_BUILT_H_

#include "lastora/vb_error.h"

namespace lastora {

[[noreturn]] inline void ThrowNotBuilt() { throw VbError(5); }

}  // namespace lastora

#endif  // LASTORA_COMPONENT_NOT_BUILT_H_
