// The spreadsheet import on arbitrary bytes: zip packages (xlsx, ods) and OLE files (xls) are
// recognised by their first bytes, anything else is offered as a CSV or a bank-code text file.
#include <string>

#include "contained_children.h"
#include "fuzz_file.h"
#include "lastora/class1.h"
#include "silent_dialogs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lastora::fuzz::SilenceDialogs();
  lastora::fuzz::LeaveChildDeathsToTheProgram();
  const std::string file = lastora::fuzz::WriteInput(data, size, size % 2 == 0 ? ".csv" : ".txt");
  lastora::Class1 c1;
  lastora::Table sheet;
  c1.GetColumnsFromExcelFile(file, sheet, "", 1, 1, "Asc", lastora::Variant(int16_t{183}));
  return 0;
}
