#include "lastora/vb_error.h"
#include "platform/win32/win32_adapters.h"

namespace lastora {

std::unique_ptr<OfficeDocument> UnavailableOffice::Open(const std::string&, DocumentKind) {
  throw VbError(429);
}

}  // namespace lastora
