#include "import/zip_archive.h"

#include <zip.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "import/workbook_reader.h"

namespace lastora::detail {
namespace {

// A sheet part of a full bank-code table is about 10 MB; anything beyond this is a broken or
// hostile package rather than a member list.
constexpr zip_uint64_t kMaxPartBytes = zip_uint64_t{512} * 1024 * 1024;

constexpr size_t kPieceBytes = size_t{256} * 1024;

struct ZipFileCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};

// What the directory states, capped: only a hint for reserving memory, never trusted further.
size_t StatedSize(zip_t* archive, zip_uint64_t index) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(archive, index, 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0) return 0;
  return static_cast<size_t>(std::min(stat.size, kMaxPartBytes));
}

}  // namespace

ZipArchive::ZipArchive(const std::string& path) : path_(path) {
  int error = 0;
  archive_ = zip_open(path.c_str(), ZIP_RDONLY, &error);
  if (archive_ == nullptr) ThrowUnreadable(path, "kein gültiges Zip-Archiv");
}

ZipArchive::~ZipArchive() { zip_discard(archive_); }

bool ZipArchive::Has(const std::string& name) const {
  return zip_name_locate(archive_, name.c_str(), 0) >= 0;
}

std::optional<std::string> ZipArchive::Read(const std::string& name) const {
  const zip_int64_t index = zip_name_locate(archive_, name.c_str(), 0);
  if (index < 0) return std::nullopt;
  std::unique_ptr<zip_file_t, ZipFileCloser> file(
      zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0));
  if (!file) ThrowUnreadable(path_, name);
  std::string bytes;
  bytes.reserve(StatedSize(archive_, static_cast<zip_uint64_t>(index)));
  std::vector<char> buffer(kPieceBytes);
  for (;;) {
    const zip_int64_t got = zip_fread(file.get(), buffer.data(), buffer.size());
    if (got < 0) ThrowUnreadable(path_, name);
    if (got == 0) break;
    // Whatever size the directory claims, the cap holds.
    if (bytes.size() + static_cast<size_t>(got) > kMaxPartBytes) ThrowUnreadable(path_, name);
    bytes.append(buffer.data(), static_cast<size_t>(got));
  }
  return bytes;
}

}  // namespace lastora::detail
