// What the user reads after a run: the result texts, the counters and sums, the files written and
// the rows with findings, all taken from the settings record and the table the runs returned.
#ifndef LASTORA_CLI_SUMMARY_H_
#define LASTORA_CLI_SUMMARY_H_

#include <ostream>
#include <string>
#include <vector>

#include "lastora/settings.h"
#include "lastora/table.h"

namespace lastora::cli {

void PrintImport(std::ostream& out, const SEPAVARIABLEN& record);
void PrintProcessing(std::ostream& out, const SEPAVARIABLEN& record);
void PrintGeneration(std::ostream& out, const SEPAVARIABLEN& record);
void PrintFiles(std::ostream& out, const std::string& title, const std::vector<std::string>& files);
void PrintNotices(std::ostream& out, const std::vector<std::string>& notices);
// Rows whose error (26) or warning (27) column holds something; returns how many had errors.
int32_t PrintRowFindings(std::ostream& out, const Table& values);

// The checkers' stated and counted figures side by side. Returns false when they differ.
bool PrintSepaCheck(std::ostream& out, const SEPAVARIABLEN& record, bool two_files);
bool PrintDtausCheck(std::ostream& out, const SEPAVARIABLEN& record);

// An amount text of the component in the form "0.00"; the text itself when it is no number.
std::string Money(const std::string& amount);

}  // namespace lastora::cli

#endif  // LASTORA_CLI_SUMMARY_H_
