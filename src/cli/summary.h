// What the user reads after a run: the result texts, the counters and sums, the files written and
// the rows with findings.
#ifndef LASTORA_CLI_SUMMARY_H_
#define LASTORA_CLI_SUMMARY_H_

#include <lastora/settings.h>
#include <lastora/table.h>
#include <lastora/workbook.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace lastora::cli {

void PrintImport(std::ostream& out, const SEPAVARIABLEN& record);
void PrintProcessing(std::ostream& out, const SEPAVARIABLEN& record);
void PrintGeneration(std::ostream& out, const SEPAVARIABLEN& record);
void PrintFiles(std::ostream& out, const std::string& title, const std::vector<std::string>& files);
void PrintNotices(std::ostream& out, const std::vector<std::string>& notices);
void PrintRegisterNews(std::ostream& out, const RegisterNews& news);
// Returns how many of the rows had errors.
int32_t PrintRowFindings(std::ostream& out, const Table& values);

// The checkers' stated and counted figures side by side. Returns false when they differ.
bool PrintSepaCheck(std::ostream& out, const SEPAVARIABLEN& record, bool two_files);
bool PrintDtausCheck(std::ostream& out, const SEPAVARIABLEN& record);

}  // namespace lastora::cli

#endif  // LASTORA_CLI_SUMMARY_H_
