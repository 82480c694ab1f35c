// The run log and the user dialogs. The day's file name is fixed by the first write of a thread,
// so a run that passes midnight keeps its lines together in one file.
#include "component/write_log.h"

#include <cmath>

#include "component/catalogue.h"
#include "component/helpers.h"
#include "core/files.h"
#include "core/text.h"
#include "lastora/platform.h"
#include "lastora/vb_error.h"

namespace lastora {
namespace {

constexpr std::string_view kProductTitle = "Lastora V2.13.09.01";
constexpr std::string_view kLogFolder = "\\Logdateien";

// Message box styles of the platform.
constexpr int kStyleInformation = 64;
constexpr int kStyleCritical = 16;
constexpr int kStyleExclamation = 48;
constexpr int kStyleQuestionYesNo = 32 + 4;
constexpr int kStyleYesNoHelp = 16384 + 4;
constexpr int kStyleOkOnly = 0;

bool SwitchOn(const std::string& switches, size_t position) {
  return text::Mid(switches, position, 1) == "1";
}

// A message given as a number stands for that catalogue entry.
std::string ResolveMessage(const std::string& message) {
  const Variant as_variant(message);
  if (!IsNumeric(as_variant)) return message;
  const double number = CDbl(as_variant);
  if (!(std::fabs(number) < 1e9)) throw VbError(9);
  return Message(CLng(Variant(number)));
}

// A log entry must stay on one line. Each line break becomes a blank, then each pair of blanks one
// blank (one pass: four become two), so the paragraph break of a message reads as one blank.
std::string LogText(const std::string& message) {
  std::string line = text::Replace(message, "\r\n", " ");
  line = text::Replace(line, "\r", " ");
  line = text::Replace(line, "\n", " ");
  return text::Replace(line, "  ", " ");
}

std::string TimeStamp(int16_t stamp_mode, double now) {
  const Variant when = Variant::Date(now);
  switch (stamp_mode) {
    case 1:
      return Format(when, "DD.MM.YYYY") + ";" + Format(when, "hh:mm:ss");
    case 2:
      return Format(when, "DD.MM.YY") + ";" + Format(when, "hh:mm:ss");
    case 3:
      return Format(when, "hh:mm:ss");
    default:
      return "";
  }
}

std::string DayFileName(double now) {
  return "log_" + Format(Variant::Date(now), "YYYYMMDD") + ".txt";
}

std::string LogFolder() { return GetAppPath() + std::string(kLogFolder); }

void AppendLogLine(std::string line, const std::string& extra_fields, double now) {
  if (strLogName().empty()) strLogName() = DayFileName(now);
  const std::string folder = LogFolder();
  // The folder is the switch for the whole log: where nobody created it, nothing is written.
  if (!PathExists(Variant(folder))) return;
  if (!extra_fields.empty()) {
    const VariantArray parts = SplitToArray(extra_fields, ";");
    for (int32_t i = parts.Lower(); i <= parts.Upper(); ++i) line += ";" + CStr(parts.At(i));
  }
  files::Append(folder + "\\" + strLogName(), text::ToWindows1252(line + "\r\n"));
}

std::string Titled(int catalogue_entry) {
  return Message(catalogue_entry) + " - " + std::string(kProductTitle);
}

Variant ShowDialog(const std::string& message, const std::string& kind, const std::string& suffix) {
  const std::shared_ptr<Dialogs> dialogs = GetDialogs();
  if (kind == "Hinweis") {
    dialogs->MessageBox(message, kStyleInformation, Titled(1));
  } else if (kind == "Fehler") {
    dialogs->MessageBox(message, kStyleCritical, Titled(2));
  } else if (kind == "Warnung") {
    dialogs->MessageBox(message, kStyleExclamation, Titled(3));
  } else if (kind == "vbYesNo") {
    return Variant(
        static_cast<int32_t>(dialogs->MessageBox(message, kStyleQuestionYesNo, Titled(4))));
  } else if (kind == "HilfeButton") {
    return Variant(static_cast<int32_t>(dialogs->MessageBox(message, kStyleYesNoHelp, Titled(4))));
  } else if (kind == "InputBox") {
    return Variant(dialogs->InputBox(message, std::string(kProductTitle), suffix));
  } else {
    dialogs->MessageBox(message, kStyleOkOnly, "");
  }
  return Variant(true);
}

}  // namespace

std::string& strLogName() {
  thread_local std::string name;
  return name;
}

std::string LogFilePath() {
  const std::string name = strLogName().empty() ? DayFileName(GetClock()->Now()) : strLogName();
  return files::NativePath(LogFolder() + "\\" + name);
}

Variant WriteLog(const std::string& switches, int16_t stamp_mode, const std::string& /*third_text*/,
                 const std::string& message, const std::string& kind, const std::string& suffix,
                 const std::string& extra_fields) {
  EnsureMessageTexts();
  std::string shown = ResolveMessage(message);
  if (!suffix.empty()) shown += suffix;
  if (SwitchOn(switches, 4)) {
    const double now = GetClock()->Now();
    AppendLogLine(TimeStamp(stamp_mode, now) + ";" + LogText(shown), extra_fields, now);
  }
  if (SwitchOn(switches, 5)) return ShowDialog(shown, kind, suffix);
  return Variant(true);
}

}  // namespace lastora
