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

// The XML parser pays a fixed cost per piece it is handed (it looks for where the last element
// ends); pieces of a few megabytes make that cost vanish, and small parts get a small buffer.
constexpr zip_uint64_t kLargestPiece = zip_uint64_t{4} * 1024 * 1024;
constexpr zip_uint64_t kSmallestPiece = zip_uint64_t{16} * 1024;

size_t PieceSize(zip_t* archive, zip_uint64_t index) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(archive, index, 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0) {
    return static_cast<size_t>(kSmallestPiece);
  }
  return static_cast<size_t>(std::clamp(stat.size + 1, kSmallestPiece, kLargestPiece));
}

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

bool ZipArchive::Has(const std::string& name) const {
  return zip_name_locate(archive_, name.c_str(), 0) >= 0;
}

std::optional<std::string> ZipArchive::Read(const std::string& name) const {
  std::string bytes;
  const bool found = Stream(name, [&](std::string_view piece) { bytes.append(piece); });
  if (!found) return std::nullopt;
  return bytes;
}

bool ZipArchive::Stream(const std::string& name,
                        const std::function<void(std::string_view piece)>& consume) const {
  const zip_int64_t index = zip_name_locate(archive_, name.c_str(), 0);
  if (index < 0) return false;
  std::unique_ptr<zip_file_t, ZipFileCloser> file(
      zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0));
  if (!file) ThrowUnreadable(path_, name);
  // Whatever size the directory claims, the cap holds.
  std::vector<char> buffer(PieceSize(archive_, static_cast<zip_uint64_t>(index)));
  zip_uint64_t total = 0;
  for (;;) {
    const zip_int64_t got = zip_fread(file.get(), buffer.data(), buffer.size());
    if (got < 0) ThrowUnreadable(path_, name);
    if (got == 0) break;
    total += static_cast<zip_uint64_t>(got);
    if (total > kMaxPartBytes) ThrowUnreadable(path_, name);
    consume(std::string_view(buffer.data(), static_cast<size_t>(got)));
  }
  return true;
}

}  // namespace lastora::detail
