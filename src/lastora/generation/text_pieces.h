// Generated files leave in pieces: a collection of 100,000 payments would otherwise be one text
// of 100 MB that is built, copied and written in one go.
#ifndef LASTORA_GENERATION_TEXT_PIECES_H_
#define LASTORA_GENERATION_TEXT_PIECES_H_

#include <functional>
#include <string>
#include <string_view>

namespace lastora::generation {

// Receives a file's text piece by piece, in order: a FileWriter, or a string for callers that
// want the whole text.
using TextSink = std::function<void(std::string_view)>;

// Collects many small appends and hands them to the sink in pieces of a size that stays in the
// processor's cache.
class PieceBuffer {
 public:
  explicit PieceBuffer(const TextSink& sink);

  std::string& text() { return text_; }
  // Hands the collected text on once it has grown past the piece size.
  void HandOnIfFull();
  // Hands on whatever is left; call once at the end.
  void HandOn();

 private:
  const TextSink& sink_;
  std::string text_;
};

// A sink that appends to `text`.
TextSink AppendTo(std::string& text);

}  // namespace lastora::generation

#endif  // LASTORA_GENERATION_TEXT_PIECES_H_
