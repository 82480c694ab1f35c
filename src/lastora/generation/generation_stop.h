// A check of the generation run that ends it at once with a message, leaving the caller's
// settings array as it was passed.
#ifndef LASTORA_GENERATION_GENERATION_STOP_H_
#define LASTORA_GENERATION_GENERATION_STOP_H_

#include <stdexcept>
#include <string>

namespace lastora::generation {

class GenerationStop : public std::runtime_error {
 public:
  explicit GenerationStop(const std::string& result) : std::runtime_error(result) {}
};

}  // namespace lastora::generation

#endif  // LASTORA_GENERATION_GENERATION_STOP_H_
