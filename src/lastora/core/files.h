// Whole-file reads and writes. Every write goes to a temporary name in the target folder and is
// renamed over the target, so a failure never leaves a truncated file where a good one was.
#ifndef LASTORA_CORE_FILES_H_
#define LASTORA_CORE_FILES_H_

#include <string>
#include <string_view>

namespace lastora::files {

// A path as the system speaks it ("\" or "/" separators) made usable on this platform.
std::string NativePath(std::string_view path);

// Reads the file's bytes; VbError 53 when it does not exist, 75 when it cannot be read.
std::string ReadWhole(const std::string& path);
// Replaces the file atomically with the bytes; VbError 76 when the folder does not exist,
// 75 (or 70) when it cannot be written.
void WriteWhole(const std::string& path, std::string_view bytes);
// Appends the bytes (creating the file); used by the run log.
void Append(const std::string& path, std::string_view bytes);

}  // namespace lastora::files

#endif  // LASTORA_CORE_FILES_H_
