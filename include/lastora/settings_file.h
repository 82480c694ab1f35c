// The settings file: "KEY = value" lines whose keys are the settings field names. It stands in
// for the workbook's settings sheet: the program reads the record from it and, when asked, writes
// a run's results back into it without disturbing the user's comments and order.
#ifndef LASTORA_SETTINGS_FILE_H_
#define LASTORA_SETTINGS_FILE_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "lastora/export.h"
#include "lastora/settings.h"
#include "lastora/text_file.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

class SettingsFile {
 public:
  // A file without lines: every setting empty.
  SettingsFile() = default;
  // Reads and checks the file. WorkbookError names the file and line of an unknown or repeated key,
  // of a line that is neither a setting, a section, a comment nor blank, and of every value that a
  // setting with fixed values, a switch, a date or a number setting cannot take, with what it can.
  // The record holds such values as the component understands them: the listed spelling of a
  // fixed value, and "ja"/"an" and "nein"/"aus" (any case) as the component's own switch texts.
  static SettingsFile Load(const std::string& path);
  static SettingsFile Parse(std::string_view bytes, const std::string& path);

  const std::string& path() const { return path_; }
  // "<path>, Zeile <n>" of the line that sets the key, for messages about its value; the path
  // alone when the file leaves the key out.
  std::string WhereSet(std::string_view key) const;
  const SEPAVARIABLEN& record() const { return record_; }
  // WorkbookError naming every one of the keys that `values` (this file's record, or the values
  // a run took from it) leaves empty, with its place in this file and what it may hold, so that a
  // run stops before it starts instead of guessing.
  void Require(const SEPAVARIABLEN& values, const std::vector<std::string_view>& keys) const;

  // Takes over the values of the fields that `wanted` selects and that differ from the file's:
  // lines that hold the key are changed in place, missing keys are appended at the end.
  void Update(const SEPAVARIABLEN& record, const std::function<bool(std::string_view)>& wanted);
  // The file's text as it would be saved (same encoding and line ends as read).
  std::string Bytes() const;
  // Replaces the file atomically.
  void Save() const;

 private:
  struct Line {
    std::string text;
    int field = -1;  // position in SettingsFields(), or -1
    int number = 0;  // 1-based line number as read; 0 for a line added since
    size_t value_begin = 0;
    size_t value_end = 0;
    // The line's own break as read ("" for a last line without one): a file saved unchanged is
    // the file read, whatever mix of breaks an editor left in it.
    std::string end = {};
  };
  void ParseLine(std::string text, int line_number, std::string end);
  void NormaliseValues();
  void SetValue(int field, const std::string& value);

  std::string path_;
  DecodedText encoding_;
  std::string line_end_ = "\n";
  std::vector<Line> lines_;
  SEPAVARIABLEN record_;
};

// A commented settings file with every field the program exchanges with the component.
std::string SettingsTemplate();

// The settings without which the processing run or the generation cannot run sensibly; the
// generation of DTAUS files needs no creditor BIC.
std::vector<std::string_view> RequiredSettings(bool processing, bool generation, bool dtaus);

// The settings a club fills in, as the program uses them: "KEY = value" lines, switches as
// "ja"/"nein", defaults marked.
std::string SettingsInUse(const SettingsFile& file);

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_SETTINGS_FILE_H_
