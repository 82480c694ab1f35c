// The work of the two file checkers, run inside the common frame of Class1's run methods.
#ifndef LASTORA_CHECKERS_FILE_CHECKERS_H_
#define LASTORA_CHECKERS_FILE_CHECKERS_H_

#include <string>

#include "component/run_frame.h"
#include "lastora/class1.h"

namespace lastora {

// Reads one or two SEPA documents ("-" or "" leaves a file out) into the result tables.
RunEnd CheckSepaFiles(Class1& self, RunContext& run, Table& aZielValues, Table& aZielColors,
                      Table& aBLZintern, Table& aBLZnew, const std::string& strDTAFile1,
                      const std::string& strDTAFile2);

// Reads a DTAUS transfer file into the result tables and verifies its trailer.
RunEnd CheckDtausFile(Class1& self, RunContext& run, Table& aZielValues, Table& aZielColors,
                      const std::string& strDTAFile, bool boolExtern);

}  // namespace lastora

#endif  // LASTORA_CHECKERS_FILE_CHECKERS_H_
