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

// --- Paths and files. Paths are the system's ("\" separators); "/" is accepted too, and a path
// is made native (files::NativePath) only where the file system is touched.
// The folder of the component with every "\DLL" and "/DLL" removed; LASTORA_HOME, when set and
// not empty, replaces it (taken as given, without a trailing separator).
std::string GetAppPath();
// A path that begins with "..\" or "../" made absolute against GetAppPath; any other unchanged.
std::string ResolveAppRelative(const std::string& path);
bool PathExists(const Variant& path);
// True for an existing regular file; false for folders, empty names and any failure.
bool FileExists(const std::string& file_name);
// Split at the last separator ("\" or "/"); FolderPart keeps it. Without one, both give the path.
std::string FileNamePart(const std::string& path);
std::string FolderPart(const std::string& path);
// Split at the last occurrence of the separator ("" means "."); the whole text when absent.
std::string TextBeforeLast(const std::string& text, const std::string& separator);
std::string TextAfterLast(const std::string& text, const std::string& separator);
// True when the file (or, for a path ending in a separator, the folder) exists. A missing folder
// is logged through WriteLog with these switches unless they are empty.
bool CheckPathAndFile(const std::string& full_path, const std::string& switches,
                      const std::string& message);
// Reads the file as 8-bit text split at line feeds (lines keep a trailing CR); at most
// max_lines lines. A missing file is created empty, as the platform's open does.
void ReadFileLines(VariantArray& lines, const std::string& path, int32_t max_lines);

// --- Texts and numbers. Widths and cuts count characters, not bytes.
std::string RemoveBlanks(std::string_view text);
// The fill is the first character of CStr(fill) (" " when empty); a negative width is VbError 5.
std::string PadRight(const Variant& value, const Variant& width, const Variant& fill);
std::string PadLeft(const Variant& value, const Variant& width, const Variant& fill);
// Parts between separators, indices from 1; "" gives one empty element, and so does an empty
// separator (the whole text).
VariantArray SplitToArray(const std::string& text, const std::string& separator);
// Non-overlapping occurrences counted from the left; 0 when either text is empty.
int32_t CountOccurrences(std::string_view text, std::string_view search);
// The text between the first start mark and the next end mark after it; "" when either is missing.
std::string TextBetween(std::string_view text, std::string_view start_mark,
                        std::string_view end_mark);
// 1 "A" .. 26 "Z", 27 "AA" .. 702 "ZZ", 703 "AAA" and on; below 1 is VbError 5.
Variant ColumnLetters(int16_t column);
// The first column of row 1 whose text equals the name (Null cells never match); 0 when none.
int32_t FindHeaderColumn(const Table& header, const std::string& name);
// Cuts towards minus infinity: 0.29 with 2 decimals gives 0.28 (0.29 * 100 lies below 29).
double TruncateDecimals(double value, double decimals);
Variant NullToZero(const Variant& value);
std::string ReplaceUmlauts(const std::string& text);
// Every character outside 7-bit ASCII becomes "?"; a text over 32767 characters is VbError 6.
std::string ReplaceNonAscii(const std::string& text);

// --- Sorting. direction 0: descending; any other value: ascending. Comparisons follow the
// platform's Variant rules (lastora::Compare); the sort is not stable.
void QuickSortRows(int32_t first_row, int32_t last_row, int16_t key_column, int16_t direction,
                   Table& table);
// Sorts all rows of the table by the keys in turn: each entry of key_list is a column number,
// positive for ascending and negative for descending order of that column; 0 is VbError 5. Later
// keys order the runs of rows whose earlier keys are equal.
void SortTable(const std::vector<int32_t>& key_list, Table& table);

namespace detail {
// The program folder for a component that lies in component_folder.
std::string StripDllFolders(std::string component_folder);
}  // namespace detail

}  // namespace lastora

#endif  // LASTORA_COMPONENT_HELPERS_H_
