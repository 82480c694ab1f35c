// A word-processor document (.docx, .docm) edited in its package: placeholders replaced in
// every story, logos exchanged, saved as a new package.
#ifndef LASTORA_PLATFORM_POSIX_DOCX_DOCUMENT_H_
#define LASTORA_PLATFORM_POSIX_DOCX_DOCUMENT_H_

#include <string>
#include <vector>

#include "platform/posix/xml_part.h"
#include "platform/posix/zip_package.h"

namespace lastora {

struct LogoPlacement;

class DocxDocument {
 public:
  // VbError 75 when the bytes are no word-processor package.
  DocxDocument(std::string_view bytes, const std::string& source);

  // Per story, its paragraphs' texts joined by CR.
  std::vector<std::string> StoryTexts() const;
  // Every occurrence, also when the word processor has split it over several runs; the
  // replacement takes the formatting of the run in which the occurrence begins.
  void ReplaceAll(const std::string& find, const std::string& replacement);
  void ReplaceLogos(const LogoPlacement& logo);
  std::string Write();

 private:
  struct Paragraph {
    std::vector<xmlNode*> texts;  // its w:t elements, nested paragraphs excluded
    std::string joined;
  };
  struct Story {
    std::string name;
    XmlDocPtr doc;
    std::vector<Paragraph> paragraphs;
    bool changed = false;
  };

  void ReplaceInParagraph(Paragraph& paragraph, const std::string& find,
                          const std::string& replacement);

  ZipPackage package_;
  std::vector<Story> stories_;
};

}  // namespace lastora

#endif  // LASTORA_PLATFORM_POSIX_DOCX_DOCUMENT_H_
