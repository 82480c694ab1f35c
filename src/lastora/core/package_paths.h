// Part names inside a zipped office package, and the relationship targets that point at them.
#ifndef LASTORA_CORE_PACKAGE_PATHS_H_
#define LASTORA_CORE_PACKAGE_PATHS_H_

#include <string>

namespace lastora::detail {

// "xl/worksheets/sheet1.xml" -> "xl/worksheets/"; "" for a part at the root.
std::string FolderOf(const std::string& part);

// A relationship target is relative to the folder of its source part ("../media/a.png"), or
// absolute from the package root ("/xl/a.xml"); the result is the part's name.
std::string ResolveTarget(const std::string& source_folder, const std::string& target);

}  // namespace lastora::detail

#endif  // LASTORA_CORE_PACKAGE_PATHS_H_
