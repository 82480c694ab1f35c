// Hands a fuzzer's input to code that reads files: one temporary file per process, rewritten for
// every input.
#ifndef LASTORA_FUZZ_FUZZ_FILE_H_
#define LASTORA_FUZZ_FUZZ_FILE_H_

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace lastora::fuzz {

// One name per process and extension, so parallel fuzzers never share a file.
inline std::string InputFile(const char* extension) {
  static const std::string base =
      (std::filesystem::temp_directory_path() / ("lastora-fuzz-" + std::to_string(::getpid())))
          .string();
  return base + extension;
}

// Writes the input to the process's temporary file and returns its path.
inline std::string WriteInput(const uint8_t* data, size_t size, const char* extension) {
  std::string path = InputFile(extension);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file != nullptr) {
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  return path;
}

}  // namespace lastora::fuzz

#endif  // LASTORA_FUZZ_FUZZ_FILE_H_
