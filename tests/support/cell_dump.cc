#include "support/cell_dump.h"

#include <charconv>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace lastora::testing {
namespace {

std::string Escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const char* escaped = c == '\\'   ? "\\\\"
                          : c == '\n' ? "\\n"
                          : c == '\r' ? "\\r"
                          : c == '\t' ? "\\t"
                                      : nullptr;
    out += escaped != nullptr ? std::string_view(escaped) : std::string_view(&c, 1);
  }
  return out;
}

std::string Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char next = text[++i];
    out += next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : next;
  }
  return out;
}

// Doubles in their shortest exact form, so that a value read back is the same bits.
std::string NumberText(double value) {
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, end);
}

// The whole text as a number of type T; `what` names the kind expected when it is not one.
template <typename T>
T Parse(std::string_view text, const char* what) {
  T value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    throw std::runtime_error(std::string(what) + ": " + std::string(text));
  }
  return value;
}

double ParseDouble(std::string_view text) { return Parse<double>(text, "keine Zahl"); }

// Kind letter and value text; Empty cells are not written.
std::string CellText(const Variant& cell) {
  switch (cell.type()) {
    case VarType::kNull:
      return "N\t";
    case VarType::kMissing:
      return "M\t";
    case VarType::kBoolean:
      return cell.AsBool() ? "B\t1" : "B\t0";
    case VarType::kInteger:
      return "I\t" + std::to_string(cell.AsInteger());
    case VarType::kLong:
      return "L\t" + std::to_string(cell.AsLong());
    case VarType::kDouble:
      return "D\t" + NumberText(cell.AsDouble());
    case VarType::kDate:
      return "T\t" + NumberText(cell.AsDate());
    case VarType::kString:
      return "S\t" + Escape(cell.AsString());
    case VarType::kEmpty:
      break;
  }
  return "";
}

Variant ParseCell(char kind, std::string_view value) {
  switch (kind) {
    case 'N':
      return Variant::Null();
    case 'M':
      return Variant::Missing();
    case 'B':
      return Variant(value == "1");
    case 'I':
      return Variant(static_cast<int16_t>(ParseDouble(value)));
    case 'L':
      return Variant(static_cast<int32_t>(ParseDouble(value)));
    case 'D':
      return Variant(ParseDouble(value));
    case 'T':
      return Variant::Date(ParseDouble(value));
    case 'S':
      return Variant(Unescape(value));
    default:
      throw std::runtime_error(std::string("unbekannte Zellart ") + kind);
  }
}

std::vector<std::string_view> Fields(std::string_view line, char separator) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  while (true) {
    const size_t end = line.find(separator, start);
    fields.push_back(line.substr(start, end - start));
    if (end == std::string_view::npos) return fields;
    start = end + 1;
  }
}

int32_t Whole(std::string_view text) { return Parse<int32_t>(text, "keine ganze Zahl"); }

template <typename Value>
const Value& Find(const auto& list, const std::string& name) {
  for (const auto& entry : list) {
    if (entry.name == name) return entry.value;
  }
  throw std::out_of_range("nicht in den erwarteten Ergebnissen: " + name);
}

}  // namespace

void CellDump::AddText(const std::string& name, const std::string& text) {
  texts_.push_back({name, text});
}
void CellDump::AddArray(const std::string& name, const VariantArray& array) {
  arrays_.push_back({name, array});
}
void CellDump::AddTable(const std::string& name, const Table& table) {
  tables_.push_back({name, table});
}

const std::string& CellDump::Text(const std::string& name) const {
  return Find<std::string>(texts_, name);
}
const VariantArray& CellDump::Array(const std::string& name) const {
  return Find<VariantArray>(arrays_, name);
}
const Table& CellDump::GetTable(const std::string& name) const {
  return Find<Table>(tables_, name);
}

std::string CellDump::Write() const {
  std::ostringstream out;
  for (const auto& [name, text] : texts_) out << "text " << name << '\t' << Escape(text) << '\n';
  for (const auto& [name, array] : arrays_) {
    out << "array " << name << ' ' << array.Count() << ' ' << array.Lower() << '\n';
    for (int32_t i = array.Lower(); i <= array.Upper(); ++i) {
      if (!array[i].IsEmpty()) out << i << '\t' << CellText(array[i]) << '\n';
    }
  }
  for (const auto& [name, table] : tables_) {
    out << "table " << name << ' ' << table.RowCount() << ' ' << table.ColCount() << ' '
        << table.RowLower() << ' ' << table.ColLower() << '\n';
    for (int32_t r = table.RowLower(); r <= table.RowUpper(); ++r) {
      for (int32_t c = table.ColLower(); c <= table.ColUpper(); ++c) {
        if (!table(r, c).IsEmpty()) out << r << '\t' << c << '\t' << CellText(table(r, c)) << '\n';
      }
    }
  }
  return out.str();
}

CellDump CellDump::Read(std::string_view bytes) {
  CellDump dump;
  VariantArray* array = nullptr;
  Table* table = nullptr;
  int line_number = 0;
  for (std::string_view line : Fields(bytes, '\n')) {
    ++line_number;
    if (line.empty()) continue;
    try {
      if (line.starts_with("text ")) {
        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos) throw std::runtime_error("Text ohne Tabulator");
        dump.AddText(std::string(line.substr(5, tab - 5)), Unescape(line.substr(tab + 1)));
      } else if (line.starts_with("array ")) {
        const std::vector<std::string_view> head = Fields(line, ' ');
        if (head.size() != 4) throw std::runtime_error("Feldkopf");
        dump.AddArray(std::string(head[1]), VariantArray(Whole(head[2]), Whole(head[3])));
        array = &dump.arrays_.back().value;
        table = nullptr;
      } else if (line.starts_with("table ")) {
        const std::vector<std::string_view> head = Fields(line, ' ');
        if (head.size() != 6) throw std::runtime_error("Tabellenkopf");
        dump.AddTable(std::string(head[1]),
                      Table(Whole(head[2]), Whole(head[3]), Whole(head[4]), Whole(head[5])));
        table = &dump.tables_.back().value;
        array = nullptr;
      } else {
        const std::vector<std::string_view> cell = Fields(line, '\t');
        if (array != nullptr && cell.size() == 3 && cell[1].size() == 1) {
          (*array)[Whole(cell[0])] = ParseCell(cell[1][0], cell[2]);
        } else if (table != nullptr && cell.size() == 4 && cell[2].size() == 1) {
          (*table)(Whole(cell[0]), Whole(cell[1])) = ParseCell(cell[2][0], cell[3]);
        } else {
          throw std::runtime_error("keine Zelle");
        }
      }
    } catch (const std::exception& e) {
      throw std::runtime_error("Zeile " + std::to_string(line_number) + ": " + e.what());
    }
  }
  return dump;
}

}  // namespace lastora::testing
