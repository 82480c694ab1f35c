// The small text, file and number routines that all runs share.
#ifndef LASTORA_COMPONENT_HELPERS_H_
#define LASTORA_COMPONENT_HELPERS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lastora/table.h"
#include "lastora/variant.h"

namespace lastora {

// --- Paths and files. Paths are the system's ("\" separators); "/" is accepted too.
// The folder of the component with every "\DLL" removed; LASTORA_HOME replaces it when set.
std::string GetAppPath();
bool PathExists(const Variant& path);
bool FileExists(const std::string& file_name);
std::string FileNamePart(const std::string& path);
std::string FolderPart(const std::string& path);
std::string TextBeforeLast(const std::string& text, const std::string& separator);
std::string TextAfterLast(const std::string& text, const std::string& separator);
bool CheckPathAndFile(const std::string& full_path, const std::string& switches,
                      const std::string& message);
// Reads the file as 8-bit text split at line feeds (lines keep a trailing CR); at most
// max_lines lines. A missing file is created empty, as the platform's open does.
void ReadFileLines(VariantArray& lines, const std::string& path, int32_t max_lines);

// --- Texts and numbers.
std::string RemoveBlanks(const std::string& text);
std::string PadRight(const Variant& value, const Variant& width, const Variant& fill);
std::string PadLeft(const Variant& value, const Variant& width, const Variant& fill);
// Parts between separators, indices from 1; "" gives one empty element.
VariantArray SplitToArray(const std::string& text, const std::string& separator);
int32_t CountOccurrences(const std::string& text, const std::string& search);
std::string TextBetween(const std::string& text, const std::string& start_mark,
                        const std::string& end_mark);
Variant ColumnLetters(int16_t& column);
int32_t FindHeaderColumn(const Table& header, const std::string& name);
double TruncateDecimals(double& value, double& decimals);
Variant NullToZero(const Variant& value);
std::string ReplaceUmlauts(const std::string& text);
std::string ReplaceNonAscii(const std::string& text);

// --- Sorting. direction 0: descending; any other value: ascending.
void QuickSortRows(int32_t& first_row, int32_t& last_row, int16_t& key_column,
                   int16_t& direction, Table& table);
// Key list layout: see the definition in sorting.cc.
void SortTable(std::vector<int32_t>& key_list, Table& table);

}  // namespace lastora

#endif  // LASTORA_COMPONENT_HELPERS_H_
