// The workbook's import step: the member list is read, its columns are placed onto the fixed
// layout of the processing run, and missing IBANs, account data and BICs are completed.
#ifndef LASTORA_MEMBER_LIST_H_
#define LASTORA_MEMBER_LIST_H_

#include <string>
#include <vector>

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

// The titles of the list's columns: the row above first_row; none when first_row is 1.
std::vector<std::string> ReadTitles(Class1& component, const std::string& path,
                                    const std::string& sheet, int32_t first_row);

// True when an Import__ setting names its column by the list's header title, not by number.
bool NamesColumnsByTitle(const SEPAVARIABLEN& settings);

// Places the source columns named by the Import__ settings onto the 29 columns of the payment
// layout; a setting gives the column's number (0 or empty: none) or its title among `titles`
// (any case). IBANs and BICs lose their blanks and are put in capitals. Returns "ok", or the
// catalogue's message for the first mapping that is missing or names no column of the source,
// followed by the value given and what the list has (its number of columns or its titles).
// The source's cells are moved, not copied, when it is handed over with std::move.
std::string MapMembers(Table source, const SEPAVARIABLEN& settings, ColouredTable& out,
                       const std::vector<std::string>& titles = {});

// Builds missing IBANs from account number and bank code (marked with message 163), fills
// account number, bank code and country from the IBAN, and looks up missing BICs in the bank-code
// file of ProgBLZ_File. A row whose IBAN is wrong keeps its text in the error column and loses
// it from column 4, so no payment goes out to an account that cannot exist. Counts into the
// ProgImpo fields; returns "ok" or why the step could not run.
std::string CompleteAccounts(Class1& component, SEPAVARIABLEN& settings, ColouredTable& table);

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_MEMBER_LIST_H_
