// The platform's run-time error: a number and its German description.
#ifndef LASTORA_VB_ERROR_H_
#define LASTORA_VB_ERROR_H_

#include <cstdint>
#include <stdexcept>
#include <string>

#include "lastora/export.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

class VbError : public std::runtime_error {
 public:
  // Uses the platform's German description for the well-known numbers (5, 6, 7, 9, 11, 13, 52,
  // 53, 70, 75, 76, 94, 429, 51); other numbers get "Anwendungs- oder objektdefinierter Fehler".
  explicit VbError(int32_t number);
  VbError(int32_t number, std::string description);

  int32_t number() const { return number_; }
  const std::string& description() const { return description_; }

 private:
  int32_t number_;
  std::string description_;
};

// A trapped failure as a run method reports it: "Fehler: " + description + " (" + number + ")",
// with every CR LF replaced by " / ".
std::string FailureText(int32_t number, const std::string& description);

// The German description the platform gives for an error number.
std::string VbErrorDescription(int32_t number);

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_VB_ERROR_H_
