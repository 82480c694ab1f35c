#include "processing/remittance_template.h"

#include "component/helpers.h"
#include "core/text.h"
#include "lastora/table.h"

namespace lastora::processing {

std::vector<std::string> ReadRemittanceTemplate(const std::string& file_name,
                                                const std::string& creditor_id) {
  VariantArray read;
  ReadFileLines(read, file_name, kMaxTemplateLines + 1);
  std::vector<std::string> lines;
  for (int32_t i = read.Lower(); i <= read.Upper(); ++i) {
    std::string line = CStr(read[i]);
    // A file written on Windows ends its lines with CR LF; the CR would reach the bank's file
    // as a control character inside the remittance text.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(text::Replace(line, "<<GID>>", creditor_id));
  }
  // The line end that closes the file's last line does not open a blank remittance line.
  if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
  if (lines.size() > kMaxTemplateLines) lines.resize(kMaxTemplateLines);
  return lines;
}

}  // namespace lastora::processing
