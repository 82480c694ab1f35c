#include "platform/libxml2/xml_prescreen.h"

#include <libxml/uri.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/byte_words.h"
#include "core/text.h"

namespace lastora::xml_prescreen {
namespace {

// Far below libxml2's own limits (10 MB of input waiting for the end of one token, 50,000
// characters in a name, 256 levels of nesting), so that nothing passing here meets them.
constexpr size_t kLongestToken = size_t{1} << 20;
constexpr size_t kLongestName = 1000;
constexpr size_t kDeepestNesting = 100;
constexpr size_t kMostAttributes = 32;
// "&#x10FFFF;" and "&quot;" fit; a longer reference is left to the parser.
constexpr size_t kLongestReference = 10;
// A streamed scan moves its window between a text and the tag after it, both of which can pass.
static_assert(kStreamLookahead > 2 * kLongestToken + kLongestName);

// libxml2 refuses to bind these, or to bind anything to them.
constexpr std::string_view kXmlNamespace = "http://www.w3.org/XML/1998/namespace";
constexpr std::string_view kXmlnsNamespace = "http://www.w3.org/2000/xmlns/";

constexpr bool IsNameStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

constexpr std::array<bool, 256> kNameChars = [] {
  std::array<bool, 256> name{};
  for (int c = 0; c < 0x80; ++c) {
    name[c] = IsNameStart(static_cast<char>(c)) || (c >= '0' && c <= '9') || c == '-' || c == '.';
  }
  return name;
}();

bool IsXmlChar(char32_t c) {
  return c == '\t' || c == '\n' || c == '\r' || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// Bytes that stand for themselves in character data and attribute values; the rest are looked at
// one by one.
constexpr std::array<bool, 256> kOrdinaryBytes = [] {
  std::array<bool, 256> ordinary{};
  for (int c = 0x20; c < 0x80; ++c) ordinary[c] = true;
  for (char c : {'\t', '\r'}) ordinary[static_cast<unsigned char>(c)] = true;
  // A line feed is ordinary too, but indentation follows it.
  for (char c : {'\n', '<', '&', ']', '"', '\''}) ordinary[static_cast<unsigned char>(c)] = false;
  return ordinary;
}();

// A name as written, with where its prefix ends.
struct QName {
  std::string_view text;
  size_t colon = std::string_view::npos;

  std::string_view Prefix() const {
    return colon == std::string_view::npos ? "" : text.substr(0, colon);
  }
  std::string_view Local() const { return text.substr(colon + 1); }
};

// A namespace name libxml2 binds without complaint: it parses URIs itself and reports those it
// cannot parse as errors. A reference would be resolved before that, so none is taken here.
bool UsableNamespace(std::string_view uri) {
  if (uri.empty() || uri.size() > kLongestName) return false;
  for (char c : uri) {
    if (c <= ' ' || c >= 0x7F || c == '&') return false;
  }
  if (uri == kXmlNamespace || uri == kXmlnsNamespace) return false;
  xmlURIPtr parsed = xmlParseURI(std::string(uri).c_str());
  if (parsed == nullptr) return false;
  xmlFreeURI(parsed);
  return true;
}

// Scans a whole text, or a document read piece by piece through a window that always holds
// `lookahead` bytes beyond the scan (or the rest of the document). The window moves only between
// markup, so that what the scan keeps of earlier markup (open element names, bound prefixes) is
// held in copies; a token that runs past the window's end fails like one at the document's end.
class Scanner {
 public:
  explicit Scanner(std::string_view document) : doc_(document), at_end_(true) {}
  Scanner(const ReadMore& read_more, size_t lookahead)
      : read_more_(&read_more),
        lookahead_(lookahead),
        held_(std::make_unique_for_overwrite<char[]>(2 * lookahead)),
        doc_(held_.get(), 0) {}

  bool Document() {
    Fill();
    if (StartsWith("<?xml") && !Declaration()) return false;
    return Misc() && Element() && Misc() && pos_ == doc_.size() && at_end_;
  }

 private:
  struct Attribute {
    QName name;
    std::string_view value;
  };
  struct Binding {
    std::string prefix;
    size_t depth;
  };

  // Moves the window on once fewer than `lookahead_` bytes are left in it, reading until it is
  // full again or the document ends.
  void Fill() {
    const size_t rest = doc_.size() - pos_;
    if (at_end_ || rest >= lookahead_) return;
    char* const held = held_.get();
    std::memmove(held, doc_.data() + pos_, rest);
    const size_t capacity = 2 * lookahead_;
    size_t size = rest;
    while (size < capacity) {
      const size_t got = (*read_more_)(held + size, capacity - size);
      if (got == 0) {
        at_end_ = true;
        break;
      }
      size += got;
    }
    doc_ = std::string_view(held, size);
    pos_ = 0;
  }

  // By hand rather than by memcmp: the literals are a few characters long and compared at
  // every tag.
  bool StartsWith(std::string_view literal) const {
    if (doc_.size() - pos_ < literal.size()) return false;
    for (size_t i = 0; i < literal.size(); ++i) {
      if (doc_[pos_ + i] != literal[i]) return false;
    }
    return true;
  }
  bool Skip(std::string_view literal) {
    if (!StartsWith(literal)) return false;
    pos_ += literal.size();
    return true;
  }
  size_t SkipSpaces() {
    const size_t from = pos_;
    while (pos_ < doc_.size() && text::IsXmlSpace(doc_[pos_])) ++pos_;
    return pos_ - from;
  }

  // version="1.0", then optionally encoding="UTF-8" and standalone="yes" or "no".
  bool Declaration() {
    Skip("<?xml");
    if (SkipSpaces() == 0 || !PseudoAttribute("version", {"1.0"})) return false;
    size_t spaces = SkipSpaces();
    if (spaces > 0 && StartsWith("encoding")) {
      if (!PseudoAttribute("encoding", {"UTF-8", "utf-8"})) return false;
      spaces = SkipSpaces();
    }
    if (spaces > 0 && StartsWith("standalone")) {
      if (!PseudoAttribute("standalone", {"yes", "no"})) return false;
      SkipSpaces();
    }
    return Skip("?>");
  }

  bool PseudoAttribute(std::string_view name, std::initializer_list<std::string_view> values) {
    if (!Skip(name)) return false;
    SkipSpaces();
    if (!Skip("=")) return false;
    SkipSpaces();
    if (pos_ >= doc_.size() || (doc_[pos_] != '"' && doc_[pos_] != '\'')) return false;
    const char quote = doc_[pos_++];
    for (std::string_view value : values) {
      if (StartsWith(value) && pos_ + value.size() < doc_.size() &&
          doc_[pos_ + value.size()] == quote) {
        pos_ += value.size() + 1;
        return true;
      }
    }
    return false;
  }

  // Blanks and comments, before and after the root element.
  bool Misc() {
    for (;;) {
      Fill();
      SkipSpaces();
      if (!StartsWith("<!--")) return true;
      if (!Comment()) return false;
    }
  }

  // The root element with everything inside it.
  bool Element() {
    if (!StartTag()) return false;
    while (!open_starts_.empty()) {
      Fill();
      if (!CharData('<', true)) return false;
      // At "<": the character after it tells the kinds of markup apart.
      const char next = pos_ + 1 < doc_.size() ? doc_[pos_ + 1] : '\0';
      if (next == '/') {
        if (!EndTag()) return false;
      } else if (next == '!') {
        if (!StartsWith("<!--") || !Comment()) return false;
      } else if (!StartTag()) {
        return false;
      }
    }
    return true;
  }

  bool StartTag() {
    const size_t start = pos_;
    if (!Skip("<")) return false;
    const QName name = Name();
    if (name.text.empty()) return false;
    attributes_.clear();
    bool empty = false;
    for (;;) {
      const size_t spaces = SkipSpaces();
      if (Skip("/>")) {
        empty = true;
        break;
      }
      if (Skip(">")) break;
      if (spaces == 0 || attributes_.size() == kMostAttributes || !ReadAttribute()) return false;
    }
    const size_t depth = open_starts_.size() + 1;
    if (pos_ - start > kLongestToken || depth > kDeepestNesting) return false;
    if (!DeclareNamespaces(depth) || !PrefixesBound(name)) return false;
    if (empty) {
      Unbind(depth);
    } else {
      open_starts_.push_back(open_names_.size());
      open_names_.append(name.text);
    }
    return true;
  }

  bool ReadAttribute() {
    const QName name = Name();
    if (name.text.empty()) return false;
    SkipSpaces();
    if (!Skip("=")) return false;
    SkipSpaces();
    if (pos_ >= doc_.size() || (doc_[pos_] != '"' && doc_[pos_] != '\'')) return false;
    const char quote = doc_[pos_++];
    const size_t from = pos_;
    if (!CharData(quote, false)) return false;
    const std::string_view value = doc_.substr(from, pos_ - from);
    ++pos_;
    // Two attributes of one local name might be one and the same once their prefixes are
    // resolved; leave that to the parser.
    for (const Attribute& other : attributes_) {
      if (other.name.Local() == name.Local()) return false;
    }
    attributes_.push_back({name, value});
    return true;
  }

  bool DeclareNamespaces(size_t depth) {
    for (const Attribute& attribute : attributes_) {
      const bool prefixed = attribute.name.Prefix() == "xmlns";
      if (!prefixed && attribute.name.text != "xmlns") continue;
      if (!UsableNamespace(attribute.value)) return false;
      if (!prefixed) continue;
      const std::string_view prefix = attribute.name.Local();
      if (prefix == "xml" || prefix == "xmlns") return false;
      bindings_.push_back({std::string(prefix), depth});
    }
    return true;
  }

  bool Bound(std::string_view prefix) const {
    if (prefix.empty()) return true;
    for (const Binding& binding : bindings_) {
      if (binding.prefix == prefix) return true;
    }
    return false;
  }

  bool PrefixesBound(const QName& element) const {
    if (!Bound(element.Prefix())) return false;
    for (const Attribute& attribute : attributes_) {
      const std::string_view prefix = attribute.name.Prefix();
      if (prefix != "xmlns" && !Bound(prefix)) return false;
    }
    return true;
  }

  void Unbind(size_t depth) {
    while (!bindings_.empty() && bindings_.back().depth == depth) bindings_.pop_back();
  }

  bool EndTag() {
    pos_ += 2;
    const size_t name_start = open_starts_.back();
    if (!Skip(std::string_view(open_names_).substr(name_start))) return false;
    SkipSpaces();
    if (!Skip(">")) return false;
    Unbind(open_starts_.size());
    open_names_.resize(name_start);
    open_starts_.pop_back();
    return true;
  }

  // An NCName or prefix:NCName of ASCII characters; empty when there is none.
  QName Name() {
    const size_t start = pos_;
    QName name;
    if (!NcName()) return {};
    if (pos_ < doc_.size() && doc_[pos_] == ':') {
      name.colon = pos_ - start;
      ++pos_;
      if (!NcName() || (pos_ < doc_.size() && doc_[pos_] == ':')) return {};
    }
    if (pos_ - start > kLongestName) return {};
    name.text = doc_.substr(start, pos_ - start);
    return name;
  }

  bool NcName() {
    const char* const data = doc_.data();
    size_t at = pos_;
    if (at >= doc_.size() || !IsNameStart(data[at])) return false;
    while (++at < doc_.size() && kNameChars[static_cast<unsigned char>(data[at])]) {
    }
    pos_ = at;
    return true;
  }

  // Characters up to the byte `stop`, which ends the text: "<" in content, the quote in an
  // attribute value. False at the end of the document.
  bool CharData(char stop, bool content) {
    const size_t start = pos_;
    const size_t limit = std::min(doc_.size(), start + kLongestToken);
    while (pos_ < limit) {
      // Most of a payment file is ordinary text and indentation: skip it with local copies, which
      // the compiler keeps in registers, and the blanks after a line feed eight at a time.
      const char* const data = doc_.data();
      size_t at = pos_;
      while (at < limit && kOrdinaryBytes[static_cast<unsigned char>(data[at])]) ++at;
      pos_ = at;
      if (at == limit) break;
      const char c = data[at];
      if (c == '\n') {
        for (++pos_; pos_ + sizeof(uint64_t) <= limit &&
                     byte_words::Load(data + pos_) == byte_words::Repeated(' ');
             pos_ += sizeof(uint64_t)) {
        }
        continue;
      }
      if (c == stop) return true;
      if (c == '<') return false;
      if (c == '&') {
        if (!Reference()) return false;
      } else if (content && StartsWith("]]>")) {
        return false;
      } else if (!Char()) {
        return false;
      }
    }
    return false;
  }

  // "<!--", text without "--", "-->".
  bool Comment() {
    pos_ += 4;
    const size_t start = pos_;
    while (pos_ < doc_.size() && pos_ - start <= kLongestToken) {
      if (Skip("--")) return Skip(">");
      if (!Char()) return false;
    }
    return false;
  }

  // One character that XML allows: no control character but tab and line ends, valid UTF-8,
  // neither U+FFFE nor U+FFFF.
  bool Char() {
    const auto byte = static_cast<unsigned char>(doc_[pos_]);
    if (byte < 0x80) {
      ++pos_;
      return IsXmlChar(byte);
    }
    const size_t from = pos_;
    const char32_t c = text::NextCodePoint(doc_, pos_);
    // An invalid sequence decodes as one byte; a valid one has at least two.
    return pos_ - from > 1 && IsXmlChar(c);
  }

  // A predefined entity or a character reference to a character XML allows.
  bool Reference() {
    const std::string_view rest = doc_.substr(pos_ + 1, kLongestReference);
    const size_t semicolon = rest.find(';');
    if (semicolon == std::string_view::npos) return false;
    const std::string_view body = rest.substr(0, semicolon);
    pos_ += semicolon + 2;
    for (std::string_view entity : {"amp", "lt", "gt", "quot", "apos"}) {
      if (body == entity) return true;
    }
    if (body.size() < 2 || body[0] != '#') return false;
    const bool hex = body[1] == 'x';
    const std::string_view digits = body.substr(hex ? 2 : 1);
    uint32_t value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
    return !digits.empty() && error == std::errc() && end == digits.data() + digits.size() &&
           IsXmlChar(value);
  }

  const ReadMore* read_more_ = nullptr;
  size_t lookahead_ = 0;
  std::unique_ptr<char[]> held_;  // the window's bytes, when the document is read in pieces
  std::string_view doc_;          // the whole text, or the window
  size_t pos_ = 0;
  bool at_end_ = false;                // whether doc_ reaches the end of the document
  std::string open_names_;             // the names of the open elements, innermost last
  std::vector<size_t> open_starts_;    // where each of them begins in open_names_
  std::vector<Binding> bindings_;      // the namespace prefixes in scope
  std::vector<Attribute> attributes_;  // of the start tag being read
};

}  // namespace

bool SurelyWellFormed(std::string_view document) { return Scanner(document).Document(); }

bool SurelyWellFormed(const ReadMore& read_more, size_t lookahead) {
  return Scanner(read_more, lookahead).Document();
}

}  // namespace lastora::xml_prescreen
