#include "processing/processing_options.h"

#include "component/catalogue.h"
#include "component/message_ids.h"

namespace lastora::processing {
namespace {

constexpr int32_t kDtausLineWidth = 27;
constexpr int32_t kSepaLineWidth = 35;

}  // namespace

bool OptionOn(const std::string& option) {
  return option.find(Message(msg::kNot)) == std::string::npos;
}

ProcessingOptions ReadProcessingOptions(const SEPAVARIABLEN& settings) {
  ProcessingOptions options;
  options.dtaus = settings.SepaVERF.Value == "DTAUS";
  options.sepa = settings.SepaVERF.Value == "SEPA";
  options.credit_transfer = settings.SepaAART.Value == Message(msg::kCreditTransfer);
  options.uses_template = options.dtaus && settings.SepaFuncVERP.Value != "-";
  options.line_width = options.dtaus ? kDtausLineWidth : kSepaLineWidth;
  return options;
}

}  // namespace lastora::processing
