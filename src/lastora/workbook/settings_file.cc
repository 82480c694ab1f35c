#include "lastora/settings_file.h"

#include <algorithm>
#include <unordered_map>

#include "core/files.h"
#include "core/text.h"
#include "lastora/table_files.h"
#include "lastora/vb_error.h"
#include "lastora/workbook_error.h"
#include "workbook/settings_rules.h"

namespace lastora {
namespace {

int FieldPosition(std::string_view name) {
  static const std::unordered_map<std::string_view, int> positions = [] {
    std::unordered_map<std::string_view, int> map;
    const auto fields = SettingsFields();
    for (size_t i = 0; i < fields.size(); ++i) map.emplace(fields[i].name, static_cast<int>(i));
    return map;
  }();
  const auto found = positions.find(name);
  return found == positions.end() ? -1 : found->second;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

size_t SkipBlanks(std::string_view s, size_t pos) {
  while (pos < s.size() && IsBlank(s[pos])) ++pos;
  return pos;
}

// The value part of a line after "=": where it starts and ends in the line, and its text. A quoted
// value is taken verbatim; an unquoted one ends at a comment that follows a blank.
struct ValueSpan {
  size_t begin = 0;
  size_t end = 0;
  std::string value;
};

ValueSpan ReadValue(std::string_view line, size_t after_equals) {
  ValueSpan span;
  span.begin = SkipBlanks(line, after_equals);
  if (span.begin < line.size() && (line[span.begin] == '"' || line[span.begin] == '\'')) {
    const size_t close = line.find(line[span.begin], span.begin + 1);
    if (close != std::string_view::npos) {
      span.end = close + 1;
      span.value = std::string(line.substr(span.begin + 1, close - span.begin - 1));
      return span;
    }
  }
  span.end = line.size();
  for (size_t i = span.begin; i < line.size(); ++i) {
    if ((line[i] == '#' || line[i] == ';') && i > span.begin && IsBlank(line[i - 1])) {
      span.end = i;
      break;
    }
  }
  while (span.end > span.begin && IsBlank(line[span.end - 1])) --span.end;
  span.value = std::string(line.substr(span.begin, span.end - span.begin));
  return span;
}

bool NeedsQuotes(const std::string& value) {
  if (value.empty()) return false;
  return IsBlank(value.front()) || IsBlank(value.back()) || value.front() == '"' ||
         value.front() == '\'' || value.find(" #") != std::string::npos ||
         value.find(" ;") != std::string::npos || value.find('\t') != std::string::npos;
}

std::string QuoteIfNeeded(const std::string& value) {
  if (!NeedsQuotes(value)) return value;
  const char quote = value.find('"') == std::string::npos ? '"' : '\'';
  return quote + value + quote;
}

}  // namespace

SettingsFile SettingsFile::Load(const std::string& path) {
  std::string bytes;
  try {
    bytes = files::ReadWhole(files::NativePath(path));
  } catch (const VbError&) {
    throw WorkbookError("Einstellungsdatei nicht lesbar: " + path);
  }
  return Parse(bytes, path);
}

SettingsFile SettingsFile::Parse(std::string_view bytes, const std::string& path) {
  SettingsFile file;
  file.path_ = path;
  file.encoding_ = DecodeTextFile(bytes);
  const std::string& text = file.encoding_.text;
  if (text.find("\r\n") != std::string::npos) file.line_end_ = "\r\n";
  size_t start = 0;
  int line_number = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    std::string line_end;
    if (end == std::string::npos) {
      end = text.size();
    } else {
      line_end = end > start && text[end - 1] == '\r' ? "\r\n" : "\n";
    }
    const size_t length = end - start - (line_end.size() == 2 ? 1 : 0);
    file.ParseLine(text.substr(start, length), ++line_number, std::move(line_end));
    start = end + 1;
  }
  file.NormaliseValues();
  return file;
}

void SettingsFile::NormaliseValues() {
  std::string problems;
  for (const SettingsField& field : SettingsFields()) {
    std::string& value = (record_.*(field.member)).Value;
    const std::string given = value;
    const std::string problem = settings_rules::Normalise(field.name, value);
    if (problem.empty()) continue;
    if (!problems.empty()) problems += "\n";
    problems += WhereSet(field.name) + ": " + field.name + " = \"" + given + "\": " + problem +
                "; " + settings_rules::Hint(field.name);
  }
  if (!problems.empty()) throw WorkbookError(problems);
}

void SettingsFile::Require(const SEPAVARIABLEN& values,
                           const std::vector<std::string_view>& keys) const {
  std::string missing;
  for (const SettingsField& field : SettingsFields()) {
    if (std::find(keys.begin(), keys.end(), field.name) == keys.end()) continue;
    if (!text::Trim((values.*(field.member)).Value).empty()) continue;
    const std::string where = WhereSet(field.name);
    if (!missing.empty()) missing += "\n";
    missing += where + ": " + std::string(field.name) + (where == path_ ? " fehlt" : " ist leer");
    const std::string hint = settings_rules::Hint(field.name);
    if (!hint.empty()) missing += "; " + hint;
  }
  if (!missing.empty()) throw WorkbookError(missing);
}

void SettingsFile::ParseLine(std::string text, int line_number, std::string end) {
  Line line{std::move(text)};
  line.number = line_number;
  line.end = std::move(end);
  const std::string_view view = line.text;
  const size_t first = SkipBlanks(view, 0);
  const bool ignorable =
      first == view.size() || view[first] == '#' || view[first] == ';' || view[first] == '[';
  if (!ignorable) {
    const std::string where = path_ + ", Zeile " + std::to_string(line_number);
    const size_t equals = view.find('=');
    if (equals == std::string_view::npos) {
      throw WorkbookError(where + ": kein \"SCHLÜSSEL = Wert\": " + line.text);
    }
    size_t key_end = equals;
    while (key_end > first && IsBlank(view[key_end - 1])) --key_end;
    const std::string key(view.substr(first, key_end - first));
    line.field = FieldPosition(key);
    if (line.field < 0) throw WorkbookError(where + ": unbekannter Schlüssel \"" + key + "\"");
    for (const Line& earlier : lines_) {
      if (earlier.field == line.field) {
        throw WorkbookError(where + ": Schlüssel \"" + key + "\" steht schon weiter oben");
      }
    }
    const ValueSpan span = ReadValue(view, equals + 1);
    line.value_begin = span.begin;
    line.value_end = span.end;
    record_.*(SettingsFields()[line.field].member) = SEPAVALUES{span.value, 0, 0, {}, {}};
  }
  lines_.push_back(std::move(line));
}

std::string SettingsFile::WhereSet(std::string_view key) const {
  const int field = FieldPosition(key);
  for (const Line& line : lines_) {
    if (field >= 0 && line.field == field && line.number > 0) {
      return path_ + ", Zeile " + std::to_string(line.number);
    }
  }
  return path_;
}

void SettingsFile::SetValue(int field, const std::string& value) {
  const SettingsField& info = SettingsFields()[field];
  (record_.*(info.member)).Value = value;
  const std::string encoded = QuoteIfNeeded(value);
  for (Line& line : lines_) {
    if (line.field != field) continue;
    line.text = line.text.substr(0, line.value_begin) + encoded + line.text.substr(line.value_end);
    line.value_end = line.value_begin + encoded.size();
    return;
  }
  Line line{std::string(info.name) + " = " + encoded, field};
  line.value_begin = line.text.size() - encoded.size();
  line.value_end = line.text.size();
  lines_.push_back(std::move(line));
}

void SettingsFile::Update(const SEPAVARIABLEN& record,
                          const std::function<bool(std::string_view)>& wanted) {
  const auto fields = SettingsFields();
  for (size_t i = 0; i < fields.size(); ++i) {
    if (!wanted(fields[i].name)) continue;
    const std::string& value = (record.*(fields[i].member)).Value;
    if (value != (record_.*(fields[i].member)).Value) SetValue(static_cast<int>(i), value);
  }
}

std::string SettingsFile::Bytes() const {
  DecodedText out = encoding_;
  out.text.clear();
  for (const Line& line : lines_) {
    out.text += line.text;
    // Lines added since, and a last line read without a break that no longer is the last, take
    // the file's usual break.
    out.text +=
        line.end.empty() && (line.number == 0 || &line != &lines_.back()) ? line_end_ : line.end;
  }
  return EncodeTextFile(out);
}

void SettingsFile::Save() const {
  WriteWholeFile(files::NativePath(path_), Bytes(), "Einstellungsdatei");
}

}  // namespace lastora
