#include "generation/file_names.h"

#include "core/text.h"

namespace lastora::generation {
namespace {

constexpr const char* kUnbrokenMark = " (mit Umbruch)";

// Whether the name ends in "." and `letters` further characters.
bool EndsInExtension(const std::string& name, size_t letters) {
  const size_t length = text::Length(name);
  return length > letters && text::Mid(name, length - letters, 1) == ".";
}

std::string WithoutLast(const std::string& name, size_t characters) {
  return text::Left(name, text::Length(name) - characters);
}

}  // namespace

std::string WithoutFolder(const std::string& path) {
  const size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string CompanionBase(const std::string& data_file_name) {
  if (EndsInExtension(data_file_name, 3)) return WithoutLast(data_file_name, 4);
  if (EndsInExtension(data_file_name, 4)) return WithoutLast(data_file_name, 5);
  return data_file_name;
}

std::string ReadableDtausName(const std::string& name) {
  if (!EndsInExtension(name, 3)) return name + kUnbrokenMark + ".txt";
  return WithoutLast(name, 4) + kUnbrokenMark + text::Right(name, 4);
}

std::string TransferDtausName(const std::string& name) {
  return EndsInExtension(name, 3) ? name : name + ".txt";
}

}  // namespace lastora::generation
