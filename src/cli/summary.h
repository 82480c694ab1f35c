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
// The figures only of a run that produced them: a failed one shows nothing the settings file
// still held from an earlier run.
void PrintGeneration(std::ostream& out, const SEPAVARIABLEN& record);
// Members the processing leaves out without a word because the list names no account for them.
void PrintWithoutAccount(std::ostream& out, const Table& values);
void PrintFiles(std::ostream& out, const std::string& title, const std::vector<std::string>& files);
void PrintNotices(std::ostream& out, const std::vector<std::string>& notices);
void PrintWarnings(std::ostream& out, const std::vector<std::string>& warnings);
void PrintRegisterNews(std::ostream& out, const RegisterNews& news);
// Rows are named by their line in the payment table as written, below its heading line (the
// member list's line too when it starts in line 2). Returns how many of the rows had errors.
int32_t PrintRowFindings(std::ostream& out, const Table& values);

// What a file check found, worst first.
enum class CheckVerdict { kFailed, kRowErrors, kSound };

// The checkers' headline and their stated and counted figures side by side. The headline says
// "Fehler" with the reasons when a file breaks its schema (schema_verdicts: one per file, "ok"
// or why), when the figures differ or when IBANs are wrong.
CheckVerdict PrintSepaCheck(std::ostream& out, const SEPAVARIABLEN& record, bool two_files,
                            const std::vector<std::string>& schema_verdicts);
CheckVerdict PrintDtausCheck(std::ostream& out, const SEPAVARIABLEN& record);

}  // namespace lastora::cli

#endif  // LASTORA_CLI_SUMMARY_H_
