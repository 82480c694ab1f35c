#include "platform/posix/zip_writer.h"

#include <zip.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <list>

#include "lastora/vb_error.h"

namespace lastora {
namespace {

[[noreturn]] void ThrowUnpackable(const std::string& part) {
  throw VbError(75, part.empty() ? "Office-Dokument kann nicht gepackt werden"
                                 : "Office-Dokument kann nicht gepackt werden: " + part);
}

// A streamed part as libzip reads it. libzip is C: an exception of the producer waits here until
// the archive is closed and is thrown from there.
struct Stream {
  std::function<std::string_view()> next;
  zip_uint64_t size = 0;
  zip_uint64_t delivered = 0;
  std::string_view pending;
  std::exception_ptr failure;
  zip_error_t error{};
};

zip_int64_t ReadStream(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
  Stream& stream = *static_cast<Stream*>(state);
  switch (command) {
    case ZIP_SOURCE_OPEN:
    case ZIP_SOURCE_CLOSE:
    case ZIP_SOURCE_FREE:
      return 0;
    case ZIP_SOURCE_READ:
      try {
        if (stream.pending.empty()) stream.pending = stream.next();
        const size_t count = std::min(static_cast<size_t>(length), stream.pending.size());
        std::memcpy(data, stream.pending.data(), count);
        stream.pending.remove_prefix(count);
        stream.delivered += count;
        // The header already states the size: a part that ends elsewhere would be a broken entry.
        if (count == 0 ? stream.delivered != stream.size : stream.delivered > stream.size) {
          zip_error_set(&stream.error, ZIP_ER_INCONS, 0);
          return -1;
        }
        return static_cast<zip_int64_t>(count);
      } catch (...) {
        stream.failure = std::current_exception();
        zip_error_set(&stream.error, ZIP_ER_READ, 0);
        return -1;
      }
    case ZIP_SOURCE_STAT: {
      auto* stat = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &stream.error);
      if (stat == nullptr) return -1;
      zip_stat_init(stat);
      stat->size = stream.size;
      stat->valid |= ZIP_STAT_SIZE;
      return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
      return zip_error_to_data(&stream.error, data, length);
    case ZIP_SOURCE_SUPPORTS:
      return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                            ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
    default:
      zip_error_set(&stream.error, ZIP_ER_OPNOTSUPP, 0);
      return -1;
  }
}

}  // namespace

struct ZipWriter::Archive {
  ~Archive() {
    if (zip != nullptr) zip_discard(zip);
    if (target != nullptr) zip_source_free(target);
  }

  // Adds `source`, which the archive owns from here on, even when adding fails.
  void Place(const std::string& name, zip_source_t* source, bool store) {
    const zip_int64_t index =
        source == nullptr ? -1 : zip_file_add(zip, name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
      zip_source_free(source);
      ThrowUnpackable(name);
    }
    const auto entry = static_cast<zip_uint64_t>(index);
    if (zip_set_file_compression(zip, entry, store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 1) != 0 ||
        zip_file_set_mtime(zip, entry, modified, 0) != 0) {
      ThrowUnpackable(name);
    }
  }

  std::time_t modified = 0;
  zip_source_t* target = nullptr;  // the archive's bytes, which outlive zip_close
  zip_t* zip = nullptr;
  std::list<Stream> streams;  // libzip holds their addresses
};

ZipWriter::ZipWriter(std::time_t modified) : archive_(std::make_unique<Archive>()) {
  archive_->modified = modified;
  zip_error_t error;
  zip_error_init(&error);
  archive_->target = zip_source_buffer_create(nullptr, 0, 0, &error);
  if (archive_->target == nullptr) throw VbError(7);
  zip_source_keep(archive_->target);
  archive_->zip = zip_open_from_source(archive_->target, ZIP_TRUNCATE, &error);
  if (archive_->zip == nullptr) {
    zip_source_free(archive_->target);  // the reference zip_open_from_source did not take
    throw VbError(7);
  }
}

ZipWriter::~ZipWriter() = default;

void ZipWriter::Add(const std::string& name, std::string_view bytes, bool store) {
  archive_->Place(name, zip_source_buffer(archive_->zip, bytes.data(), bytes.size(), 0), store);
}

void ZipWriter::AddStreamed(const std::string& name, uint64_t size,
                            std::function<std::string_view()> next) {
  Stream& stream = archive_->streams.emplace_back();
  stream.next = std::move(next);
  stream.size = size;
  archive_->Place(name, zip_source_function(archive_->zip, ReadStream, &stream), false);
}

std::string ZipWriter::Finish() {
  if (zip_close(archive_->zip) != 0) {
    for (const Stream& stream : archive_->streams) {
      if (stream.failure) std::rethrow_exception(stream.failure);
    }
    ThrowUnpackable("");
  }
  archive_->zip = nullptr;
  zip_source_t* target = archive_->target;
  zip_stat_t stat;
  if (zip_source_stat(target, &stat) != 0 || zip_source_open(target) != 0) ThrowUnpackable("");
  std::string out(static_cast<size_t>(stat.size), '\0');
  const zip_int64_t got = zip_source_read(target, out.data(), out.size());
  zip_source_close(target);
  if (got < 0 || static_cast<size_t>(got) != out.size()) ThrowUnpackable("");
  return out;
}

}  // namespace lastora
