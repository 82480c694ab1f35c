// The workbook's import step: the member list is read, its columns are placed onto the fixed
// layout of the processing run, and missing IBANs, account data and BICs are completed.
#ifndef LASTORA_MEMBER_LIST_H_
#define LASTORA_MEMBER_LIST_H_

#include <string>

#include "lastora/class1.h"
#include "lastora/export.h"
#include "lastora/settings.h"
#include "lastora/table_files.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

// Reads the rows from first_row on of a member list or any other sheet: a .csv by the program
// (every filled field as the text it holds), a spreadsheet through GetColumnsFromExcelFile.
// Returns "ok" or the reason in the system's words; a blank text cell comes back Empty.
std::string ReadSheet(Class1& component, const std::string& path, const std::string& sheet,
                      int32_t first_row, Table& rows);

// Places the source columns named by the Import__ settings onto the 29 columns of the payment
// layout. Returns "ok", or the catalogue's message for the first mapping that is missing or
// outside the source's columns, followed by the value given.
std::string MapMembers(const Table& source, const SEPAVARIABLEN& settings, ColouredTable& out);

// Builds missing IBANs from account number and bank code (marked with message 163), fills
// account number, bank code and country from the IBAN, and looks up missing BICs in the bank-code
// file of ProgBLZ_File. A row whose IBAN is wrong keeps its text in the error column and loses
// it from column 4, so no payment goes out to an account that cannot exist. Counts into the
// ProgImpo fields; returns "ok" or why the step could not run.
std::string CompleteAccounts(Class1& component, SEPAVARIABLEN& settings, ColouredTable& table);

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_MEMBER_LIST_H_
