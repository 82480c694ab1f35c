#include "generation/text_pieces.h"

namespace lastora::generation {
namespace {

constexpr size_t kPieceSize = 1 << 18;
// Room for the piece and the one block that pushes it over the size.
constexpr size_t kBufferSize = kPieceSize + (1 << 14);

}  // namespace

PieceBuffer::PieceBuffer(const TextSink& sink) : sink_(sink) { text_.reserve(kBufferSize); }

void PieceBuffer::HandOnIfFull() {
  if (text_.size() >= kPieceSize) HandOn();
}

void PieceBuffer::HandOn() {
  if (!text_.empty()) sink_(text_);
  text_.clear();
}

TextSink AppendTo(std::string& text) {
  return [&text](std::string_view piece) { text.append(piece); };
}

}  // namespace lastora::generation
