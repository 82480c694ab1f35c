#include "platform/posix/zip_package.h"

#include <zip.h>

#include <algorithm>
#include <ctime>
#include <memory>

#include "lastora/vb_error.h"
#include "platform/posix/zip_writer.h"

namespace lastora {
namespace {

// A letter template with pictures is a few MB; beyond this it is a broken or hostile package.
constexpr zip_uint64_t kMaxPackageBytes = zip_uint64_t{512} * 1024 * 1024;

struct ArchiveDiscarder {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct FileCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};

[[noreturn]] void ThrowBroken(const std::string& source, const std::string& what) {
  throw VbError(75, "Die Vorlage ist kein gültiges Office-Dokument: " + source + " (" + what + ")");
}

std::string ReadEntry(zip_t* archive, zip_uint64_t index, const std::string& source,
                      zip_uint64_t& total) {
  std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(archive, index, 0));
  if (!file) ThrowBroken(source, zip_get_name(archive, index, 0));
  std::string bytes;
  char buffer[64 * 1024];
  for (;;) {
    const zip_int64_t got = zip_fread(file.get(), buffer, sizeof buffer);
    if (got < 0) ThrowBroken(source, zip_get_name(archive, index, 0));
    if (got == 0) break;
    total += static_cast<zip_uint64_t>(got);
    if (total > kMaxPackageBytes) ThrowBroken(source, "zu groß");
    bytes.append(buffer, static_cast<size_t>(got));
  }
  return bytes;
}

// Pictures are compressed already: packing them again costs time and saves nothing.
bool IsPicture(std::string_view name) {
  return name.ends_with(".png") || name.ends_with(".jpeg") || name.ends_with(".jpg");
}

}  // namespace

ZipPackage ZipPackage::Read(std::string_view bytes, const std::string& source) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  if (buffer == nullptr) ThrowBroken(source, "Speicher");
  std::unique_ptr<zip_t, ArchiveDiscarder> archive(
      zip_open_from_source(buffer, ZIP_RDONLY, &error));
  if (!archive) {
    zip_source_free(buffer);
    zip_error_fini(&error);
    ThrowBroken(source, "kein Zip-Archiv");
  }
  ZipPackage package;
  zip_uint64_t total = 0;
  const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const auto index = static_cast<zip_uint64_t>(i);
    const char* name = zip_get_name(archive.get(), index, 0);
    if (name == nullptr) ThrowBroken(source, "Eintrag ohne Namen");
    package.parts_.emplace_back(name, ReadEntry(archive.get(), index, source, total));
  }
  return package;
}

bool ZipPackage::Has(const std::string& name) const {
  return std::any_of(parts_.begin(), parts_.end(),
                     [&name](const auto& part) { return part.first == name; });
}

const std::string& ZipPackage::Part(const std::string& name) const {
  for (const auto& part : parts_) {
    if (part.first == name) return part.second;
  }
  throw VbError(75, "Teil fehlt im Office-Dokument: " + name);
}

void ZipPackage::SetPart(const std::string& name, std::string bytes) {
  for (auto& part : parts_) {
    if (part.first == name) {
      part.second = std::move(bytes);
      return;
    }
  }
  parts_.emplace_back(name, std::move(bytes));
}

void ZipPackage::RemovePart(const std::string& name) {
  std::erase_if(parts_, [&name](const auto& part) { return part.first == name; });
}

std::vector<std::string> ZipPackage::Names() const {
  std::vector<std::string> names;
  for (const auto& part : parts_) names.push_back(part.first);
  return names;
}

std::string ZipPackage::Write() const {
  ZipWriter writer(std::time(nullptr));
  for (const auto& [name, bytes] : parts_) writer.Add(name, bytes, IsPicture(name));
  return writer.Finish();
}

}  // namespace lastora
