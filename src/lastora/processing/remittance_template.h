// The DTAUS remittance template: a text file of up to ten remittance lines that replaces every
// line but the first.
#ifndef LASTORA_PROCESSING_REMITTANCE_TEMPLATE_H_
#define LASTORA_PROCESSING_REMITTANCE_TEMPLATE_H_

#include <string>
#include <vector>

namespace lastora::processing {

inline constexpr int kMaxTemplateLines = 10;

// Reads the template named by `file_name` and puts the creditor identifier in place of "<<GID>>".
// The file must exist (the caller checks).
std::vector<std::string> ReadRemittanceTemplate(const std::string& file_name,
                                                const std::string& creditor_id);

}  // namespace lastora::processing

#endif  // LASTORA_PROCESSING_REMITTANCE_TEMPLATE_H_
