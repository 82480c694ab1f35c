// Entries that both office engines add to a package: relationships, content types and the
// club's logo picture.
#ifndef LASTORA_PLATFORM_POSIX_PACKAGE_PARTS_H_
#define LASTORA_PLATFORM_POSIX_PACKAGE_PARTS_H_

#include <libxml/tree.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "lastora/office.h"
#include "platform/posix/zip_package.h"

namespace lastora {

// Adds the element to the part (made from `empty_part` when missing) unless an element of that
// name already has the key attribute's value.
void EnsureEntry(ZipPackage& package, const std::string& part, const std::string& empty_part,
                 const char* element, const char* key, const std::string& key_value,
                 const std::vector<std::pair<const char*, std::string>>& attributes);

// The relationships part that belongs to a part ("x/y.xml" -> "x/_rels/y.xml.rels").
std::string RelationshipsPartOf(const std::string& part);

// Adds the relationship from `part` to `target` under `rel_id`, the relationships part
// included when the part has none yet.
void EnsureImageRelationship(ZipPackage& package, const std::string& part,
                             const std::string& rel_id, const std::string& target);

// The club's logo: a drawing whose name holds the mark gives way to the picture, which the
// package keeps once and every part that shows it reaches under the one relationship id.
inline constexpr std::string_view kLogoMark = "Vereinslogo";
inline constexpr char kLogoRelationship[] = "rIdLastoraLogo";
inline constexpr std::string_view kDrawingMainNs =
    "http://schemas.openxmlformats.org/drawingml/2006/main";

// The logo's extent in drawing units, fitted into the caller's box.
struct LogoExtent {
  int64_t cx = 0;
  int64_t cy = 0;
};

// Puts the logo's PNG file into the package as `media_part` with its content type; VbError 481
// before anything changes when the file is no PNG.
LogoExtent AddLogoPicture(ZipPackage& package, const std::string& media_part,
                          const LogoPlacement& logo);

// The `element` nodes of the drawing namespace `ns` below `root` whose name holds the mark.
std::vector<xmlNode*> LogoMarks(xmlNode* root, std::string_view ns, std::string_view element);

// The text escaped for an attribute value in XML written by hand.
std::string EscapedAttribute(const std::string& value);

}  // namespace lastora

#endif  // LASTORA_PLATFORM_POSIX_PACKAGE_PARTS_H_
