#include "processing/fixed_width.h"

#include "core/text.h"

namespace lastora::processing {

std::string FixedWidth(std::string_view text, size_t width) {
  const size_t length = text::Length(text);
  if (length >= width) return text::Left(text, width);
  std::string fitted;
  fitted.reserve(text.size() + width - length);
  fitted.append(text);
  fitted.append(width - length, ' ');
  return fitted;
}

}  // namespace lastora::processing
