// An office package held whole in memory: its parts can be read, replaced, added and removed,
// and the package written out again with the parts in their original order.
#ifndef LASTORA_PLATFORM_POSIX_ZIP_PACKAGE_H_
#define LASTORA_PLATFORM_POSIX_ZIP_PACKAGE_H_

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lastora {

class ZipPackage {
 public:
  // Throws VbError 75 naming `source` when the bytes are not a zip package (or unpack beyond
  // what an office document may hold).
  static ZipPackage Read(std::string_view bytes, const std::string& source);

  bool Has(const std::string& name) const;
  // VbError 75 when the part is missing.
  const std::string& Part(const std::string& name) const;
  void SetPart(const std::string& name, std::string bytes);  // adds a part that is missing
  void RemovePart(const std::string& name);
  std::vector<std::string> Names() const;

  std::string Write() const;

 private:
  std::vector<std::pair<std::string, std::string>> parts_;
};

}  // namespace lastora

#endif  // LASTORA_PLATFORM_POSIX_ZIP_PACKAGE_H_
