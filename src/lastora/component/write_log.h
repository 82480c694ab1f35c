// The run log and the user dialogs, chosen by a switch string.
#ifndef LASTORA_COMPONENT_WRITE_LOG_H_
#define LASTORA_COMPONENT_WRITE_LOG_H_

#include <cstdint>
#include <string>

#include "lastora/variant.h"

namespace lastora {

// switches: position 4 "1" writes the log line, position 5 "1" shows the dialog.
// stamp_mode: 1 "DD.MM.YYYY;hh:mm:ss", 2 "DD.MM.YY;hh:mm:ss", 3 "hh:mm:ss", else none.
// message: a catalogue number in text form, or the text itself.
// kind: "Hinweis", "Fehler", "Warnung", "vbYesNo", "HilfeButton", "InputBox" or other.
// Returns true, or the button pressed (vbYesNo, HilfeButton), or the text entered (InputBox).
Variant WriteLog(const std::string& switches, int16_t stamp_mode, const std::string& third_text,
                 const std::string& message, const std::string& kind, const std::string& suffix,
                 const std::string& extra_fields);

// The calling thread's log state, for tests and the CLI.
std::string& strLogName();
std::string LogFilePath();  // the native path of the file the next line would go to

}  // namespace lastora

#endif  // LASTORA_COMPONENT_WRITE_LOG_H_
