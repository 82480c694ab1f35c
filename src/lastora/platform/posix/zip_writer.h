// Packing parts into a zip archive in memory, at the fastest deflate level: the archives written
// here are office documents, a thousand letters in one run or one sheet of a hundred thousand rows,
// where the time to pack matters more than the last tenth of the size.
#ifndef LASTORA_PLATFORM_POSIX_ZIP_WRITER_H_
#define LASTORA_PLATFORM_POSIX_ZIP_WRITER_H_

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace lastora {

class ZipWriter {
 public:
  // Every entry carries `modified`, so the same parts at the same time give the same bytes.
  explicit ZipWriter(std::time_t modified);
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;
  ~ZipWriter();

  // `bytes` are read when the archive is finished, so they must live until then. Stored parts
  // are for what is compressed already, such as pictures.
  void Add(const std::string& name, std::string_view bytes, bool store = false);
  // A part too large to hold in memory: `next` is asked for its bytes piece by piece while the
  // archive is written, and an empty piece ends the part. An exception from `next` leaves Finish.
  // `size`, the part's length in bytes, must be known beforehand: for a part of unknown size
  // libzip writes its header in the form for archives beyond 4 GB, which not every office program
  // accepts in a small file.
  void AddStreamed(const std::string& name, uint64_t size, std::function<std::string_view()> next);

  // The archive's bytes. VbError 75 naming the part that could not be packed.
  std::string Finish();

 private:
  struct Archive;
  std::unique_ptr<Archive> archive_;
};

}  // namespace lastora

#endif  // LASTORA_PLATFORM_POSIX_ZIP_WRITER_H_
