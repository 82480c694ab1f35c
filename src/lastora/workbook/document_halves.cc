#include "workbook/document_halves.h"

#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "core/files.h"
#include "core/text.h"
#include "lastora/vb_error.h"

namespace lastora::document_halves {
namespace {

constexpr size_t kPiece = size_t{1} << 20;
constexpr size_t kDeepestNesting = 100;
constexpr size_t kLongestName = 1000;

bool EndsName(char c) { return text::IsXmlSpace(c) || c == '/' || c == '>'; }

bool IsTransaction(std::string_view name) {
  const size_t colon = name.find(':');
  const std::string_view local = colon == std::string_view::npos ? name : name.substr(colon + 1);
  return local == "DrctDbtTxInf" || local == "CdtTrfTxInf";
}

// Follows the markup of a document fed to it piece by piece, as far as the cut. On a well-formed
// document it sees the elements exactly as an XML parser does; that is what makes the cut safe,
// because the halves are then validated by the parser itself, which finds anything else.
class CutFinder {
 public:
  explicit CutFinder(uint64_t middle) : middle_(middle) {}

  // The bytes that follow those fed before; false once the scan is over (cut found or given up).
  bool Feed(std::string_view bytes) {
    for (size_t at = 0; at < bytes.size() && !over_;) at = Step(bytes, at);
    fed_ += bytes.size();
    return !over_;
  }

  std::optional<Cut> cut() const { return cut_; }

 private:
  enum class State {
    kText,
    kMarkup,
    kStartName,
    kInTag,
    kQuoted,
    kEndTag,
    kBang,
    kComment,
    kInstruction
  };
  struct Open {
    std::string name;
    std::string last_child;  // the latest child element's name
    uint64_t run_start = 0;  // where the children of that name, one after another, began
  };

  // Consumes one byte or a stretch of bytes from `at`; returns where to go on.
  size_t Step(std::string_view bytes, size_t at) {
    const char c = bytes[at];
    switch (state_) {
      case State::kText:
        return Until(bytes, at, '<', State::kMarkup,
                     [&](size_t found) { tag_start_ = fed_ + found; });
      case State::kMarkup:
        if (c == '/') {
          state_ = State::kEndTag;
        } else if (c == '!') {
          state_ = State::kBang;
          bang_.clear();
        } else if (c == '?') {
          state_ = State::kInstruction;
          previous_ = '\0';
        } else {
          name_.assign(1, c);
          state_ = State::kStartName;
        }
        return at + 1;
      case State::kStartName: {
        // The name's bytes are taken in one go, up to its end or the end of the piece.
        size_t end = at;
        while (end < bytes.size() && !EndsName(bytes[end])) ++end;
        name_.append(bytes, at, end - at);
        if (name_.size() > kLongestName) over_ = true;
        if (end < bytes.size()) {
          state_ = State::kInTag;
          slash_ = false;
        }
        return end;
      }
      case State::kInTag:
        if (c == '"' || c == '\'') {
          quote_ = c;
          state_ = State::kQuoted;
        } else if (c == '>') {
          StartTagEnded(slash_);
          state_ = State::kText;
        } else if (!text::IsXmlSpace(c)) {
          slash_ = c == '/';
        }
        return at + 1;
      case State::kQuoted:
        return Until(bytes, at, quote_, State::kInTag, [&](size_t) { slash_ = false; });
      case State::kEndTag:
        return Until(bytes, at, '>', State::kText, [&](size_t) {
          if (depth_ == 0) {
            over_ = true;
          } else {
            --depth_;
          }
        });
      case State::kBang:
        // A comment; a DOCTYPE or a CDATA section is not followed (a payment file has none).
        bang_ += c;
        if (bang_.size() == 2) {
          if (bang_ == "--") {
            state_ = State::kComment;
            dashes_ = 0;
          } else {
            over_ = true;
          }
        }
        return at + 1;
      case State::kComment:
        if (c == '>' && dashes_ >= 2) state_ = State::kText;
        dashes_ = c == '-' ? dashes_ + 1 : 0;
        return at + 1;
      case State::kInstruction:
        if (c == '>' && previous_ == '?') state_ = State::kText;
        previous_ = c;
        return at + 1;
    }
    return at + 1;
  }

  // Skips to the byte `stop`; past it, calls `found` with its place and moves on to `next`.
  template <typename Found>
  size_t Until(std::string_view bytes, size_t at, char stop, State next, Found found) {
    const void* hit = std::memchr(bytes.data() + at, stop, bytes.size() - at);
    if (hit == nullptr) return bytes.size();
    const size_t place = static_cast<const char*>(hit) - bytes.data();
    state_ = next;
    found(place);
    return place + 1;
  }

  void StartTagEnded(bool empty) {
    if (depth_ == 0) {
      if (empty) over_ = true;  // a root without content has nothing to cut
      Enter();
      return;
    }
    Open& parent = open_[depth_ - 1];
    const bool continues_run = name_ == parent.last_child;
    if (!continues_run) {
      parent.last_child = name_;
      parent.run_start = tag_start_;
    }
    if (continues_run && tag_start_ >= middle_ && IsTransaction(name_)) {
      Cut cut{parent.run_start, tag_start_, ""};
      for (size_t level = depth_; level-- > 0;) cut.closing += "</" + open_[level].name + ">";
      cut_ = std::move(cut);
      over_ = true;
      return;
    }
    if (empty) return;
    Enter();
    if (depth_ > kDeepestNesting) over_ = true;
  }

  // The element just started is open now. Its level's slot is reused from an earlier element
  // where there was one, so that the texts keep their memory: a document opens millions.
  void Enter() {
    if (depth_ == open_.size()) open_.emplace_back();
    Open& open = open_[depth_++];
    open.name = name_;
    open.last_child.clear();
    open.run_start = 0;
  }

  const uint64_t middle_;
  uint64_t fed_ = 0;
  State state_ = State::kText;
  bool over_ = false;
  std::optional<Cut> cut_;
  uint64_t tag_start_ = 0;  // of the markup being read
  std::string name_;        // of the start tag being read
  bool slash_ = false;      // whether the start tag's last byte so far outside quotes was "/"
  char quote_ = '"';
  std::string bang_;
  int dashes_ = 0;
  char previous_ = '\0';
  std::vector<Open> open_;  // the elements open are the first depth_
  size_t depth_ = 0;
};

}  // namespace

std::optional<Cut> FindCut(const std::string& path, uint64_t smallest) {
  try {
    files::FileReader reader(path);
    if (reader.size() < smallest) return std::nullopt;
    CutFinder finder(reader.size() / 2);
    const auto piece = std::make_unique_for_overwrite<char[]>(kPiece);
    for (;;) {
      const size_t got = reader.Read(piece.get(), kPiece);
      if (got == 0 || !finder.Feed(std::string_view(piece.get(), got))) break;
    }
    return finder.cut();
  } catch (const VbError&) {
    return std::nullopt;  // the whole document's validation says what is wrong with the file
  }
}

}  // namespace lastora::document_halves
