// The names of the files a pass writes, all derived from the data file's name.
#ifndef LASTORA_GENERATION_FILE_NAMES_H_
#define LASTORA_GENERATION_FILE_NAMES_H_

#include <string>

namespace lastora::generation {

// The settings may carry a whole path; only the name counts, the folder is the caller's.
std::string WithoutFolder(const std::string& path);

// The data file's name without a three- or four-letter extension; the list and the cover sheet
// are this followed by "_Liste.txt" and "_Begleitzettel.txt".
std::string CompanionBase(const std::string& data_file_name);

// The DTAUS file with line breaks, for people: " (mit Umbruch)" before the extension.
std::string ReadableDtausName(const std::string& name);
// The DTAUS file for the bank: the name itself, given ".txt" when it has no extension.
std::string TransferDtausName(const std::string& name);

}  // namespace lastora::generation

#endif  // LASTORA_GENERATION_FILE_NAMES_H_
