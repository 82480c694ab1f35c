// Read-only access to the parts of a zip package (the .xlsx and .ods workbooks).
#ifndef LASTORA_IMPORT_ZIP_ARCHIVE_H_
#define LASTORA_IMPORT_ZIP_ARCHIVE_H_

#include <optional>
#include <string>

struct zip;

namespace lastora::detail {

class ZipArchive {
 public:
  // Throws VbError when the file is not a zip package.
  explicit ZipArchive(const std::string& path);
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;
  // One archive is used by one thread at a time; a second thread opens its own.

  const std::string& Path() const { return path_; }
  bool Has(const std::string& name) const;
  // The part's bytes, or nullopt when the package has no such part. A part that cannot be
  // unpacked, or that unpacks beyond the size a workbook part may have, throws VbError.
  std::optional<std::string> Read(const std::string& name) const;

 private:
  std::string path_;
  zip* archive_ = nullptr;
};

}  // namespace lastora::detail

#endif  // LASTORA_IMPORT_ZIP_ARCHIVE_H_
