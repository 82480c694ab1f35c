#include "processing/processing_options.h"

#include "component/catalogue.h"

namespace lastora::processing {
namespace {

constexpr int kMessageNot = 6;
constexpr int kMessageCreditTransfer = 170;
constexpr int32_t kDtausLineWidth = 27;
constexpr int32_t kSepaLineWidth = 35;

}  // namespace

bool OptionOn(const std::string& option) {
  return option.find(Message(kMessageNot)) == std::string::npos;
}

ProcessingOptions ReadProcessingOptions(const SEPAVARIABLEN& settings) {
  ProcessingOptions options;
  options.dtaus = settings.SepaVERF.Value == "DTAUS";
  options.sepa = settings.SepaVERF.Value == "SEPA";
  options.credit_transfer = settings.SepaAART.Value == Message(kMessageCreditTransfer);
  options.uses_template = options.dtaus && settings.SepaFuncVERP.Value != "-";
  options.line_width = options.dtaus ? kDtausLineWidth : kSepaLineWidth;
  return options;
}

}  // namespace lastora::processing
