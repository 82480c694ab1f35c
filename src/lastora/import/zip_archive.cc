#include "import/zip_archive.h"

#include <zip.h>

#include <memory>

#include "import/workbook_reader.h"

namespace lastora::detail {
namespace {

// A sheet part of a full bank-code table is about 10 MB; anything beyond this is a broken or
// hostile package rather than a member list.
constexpr zip_uint64_t kMaxPartBytes = zip_uint64_t{512} * 1024 * 1024;

struct ZipFileCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};

}  // namespace

ZipArchive::ZipArchive(const std::string& path) : path_(path) {
  int error = 0;
  archive_ = zip_open(path.c_str(), ZIP_RDONLY, &error);
  if (archive_ == nullptr) ThrowUnreadable(path, "kein gültiges Zip-Archiv");
}

ZipArchive::~ZipArchive() { zip_discard(archive_); }

std::optional<std::string> ZipArchive::Read(const std::string& name) const {
  const zip_int64_t index = zip_name_locate(archive_, name.c_str(), 0);
  if (index < 0) return std::nullopt;
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &stat) != 0) {
    ThrowUnreadable(path_, name);
  }
  std::unique_ptr<zip_file_t, ZipFileCloser> file(
      zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0));
  if (!file) ThrowUnreadable(path_, name);

  std::string bytes;
  if ((stat.valid & ZIP_STAT_SIZE) != 0 && stat.size <= kMaxPartBytes) {
    bytes.reserve(static_cast<size_t>(stat.size));
  }
  // The size in the directory may lie; the cap holds whatever it says.
  char buffer[65536];
  for (;;) {
    const zip_int64_t got = zip_fread(file.get(), buffer, sizeof buffer);
    if (got < 0) ThrowUnreadable(path_, name);
    if (got == 0) break;
    if (bytes.size() + static_cast<size_t>(got) > kMaxPartBytes) ThrowUnreadable(path_, name);
    bytes.append(buffer, static_cast<size_t>(got));
  }
  return bytes;
}

}  // namespace lastora::detail
