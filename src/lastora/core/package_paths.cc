#include "core/package_paths.h"

#include <algorithm>
#include <vector>

namespace lastora::detail {

std::string FolderOf(const std::string& part) {
  const size_t slash = part.rfind('/');
  return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

std::string ResolveTarget(const std::string& source_folder, const std::string& target) {
  if (!target.empty() && target[0] == '/') return target.substr(1);
  std::vector<std::string> parts;
  std::string joined = source_folder + target;
  size_t start = 0;
  while (start <= joined.size()) {
    const size_t slash = std::min(joined.find('/', start), joined.size());
    const std::string piece = joined.substr(start, slash - start);
    if (piece == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!piece.empty() && piece != ".") {
      parts.push_back(piece);
    }
    start = slash + 1;
  }
  std::string resolved;
  for (const std::string& piece : parts) resolved += (resolved.empty() ? "" : "/") + piece;
  return resolved;
}

}  // namespace lastora::detail
