// Entries that both office engines add to a package: relationships, content types and the
// club's logo picture.
#ifndef LASTORA_PLATFORM_POSIX_PACKAGE_PARTS_H_
#define LASTORA_PLATFORM_POSIX_PACKAGE_PARTS_H_

#include <string>
#include <utility>
#include <vector>

#include "platform/posix/picture_size.h"
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

// Puts the PNG file into the package as `media_part` with its content type and returns its
// size; VbError 481 before anything changes when the file is no PNG.
PictureSize AddPngPart(ZipPackage& package, const std::string& media_part,
                       const std::string& picture_path);

// The text escaped for an attribute value in XML written by hand.
std::string EscapedAttribute(const std::string& value);

}  // namespace lastora

#endif  // LASTORA_PLATFORM_POSIX_PACKAGE_PARTS_H_
