// A forward-only walk over an XML document held in memory (libxml2's streaming reader), with
// just what the workbook readers need.
#ifndef LASTORA_IMPORT_XML_STREAM_H_
#define LASTORA_IMPORT_XML_STREAM_H_

#include <optional>
#include <string>
#include <string_view>

#include "platform/libxml2/thread_errors.h"

struct _xmlTextReader;

namespace lastora::detail {

class XmlStream {
 public:
  // `bytes` must outlive the stream. `part` names the document in error messages.
  XmlStream(const std::string& bytes, const std::string& part);
  ~XmlStream();
  XmlStream(const XmlStream&) = delete;
  XmlStream& operator=(const XmlStream&) = delete;

  // Moves to the next node; false at the end of the document. A malformed document throws
  // VbError.
  bool Next();

  bool IsStart() const;  // an opening (or empty) element
  bool IsEnd() const;    // a closing element
  bool IsEmptyElement() const;
  bool IsText() const;  // text, CDATA or significant white space
  int Depth() const;
  std::string_view LocalName() const;
  std::string_view Value() const;  // of a text node
  // An attribute of the current element by local name (any namespace prefix).
  std::optional<std::string> Attribute(std::string_view local_name) const;
  // Calls f(local_name, value) for each attribute of the current element; the views live
  // during the call only.
  template <typename F>
  void ForEachAttribute(F&& f) const {
    if (!MoveToFirstAttribute()) return;
    do {
      f(AttributeName(), AttributeValue());
    } while (MoveToNextAttribute());
    MoveToElement();
  }
  // All text below the current element, which the stream then has passed.
  std::string ElementText();

 private:
  [[noreturn]] void Fail() const;
  bool MoveToFirstAttribute() const;
  bool MoveToNextAttribute() const;
  void MoveToElement() const;
  std::string_view AttributeName() const;
  std::string_view AttributeValue() const;

  // The stream's reports stay off the terminal for as long as it reads: a broken part throws.
  ThreadErrors quiet_;
  _xmlTextReader* reader_ = nullptr;
  std::string part_;
  bool on_node_ = false;
};

}  // namespace lastora::detail

#endif  // LASTORA_IMPORT_XML_STREAM_H_
