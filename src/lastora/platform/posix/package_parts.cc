#include "platform/posix/package_parts.h"

#include <string_view>

#include "core/files.h"
#include "platform/posix/picture_size.h"
#include "platform/posix/xml_part.h"

namespace lastora {
namespace {

constexpr char kContentTypesPart[] = "[Content_Types].xml";

}  // namespace

void EnsureEntry(ZipPackage& package, const std::string& part, const std::string& empty_part,
                 const char* element, const char* key, const std::string& key_value,
                 const std::vector<std::pair<const char*, std::string>>& attributes) {
  const std::string bytes = package.Has(part) ? package.Part(part) : empty_part;
  XmlDocPtr doc = ParseXmlPart(bytes, part);
  xmlNode* root = xmlDocGetRootElement(doc.get());
  for (xmlNode* child = root->children; child != nullptr; child = child->next) {
    if (child->type == XML_ELEMENT_NODE && Attribute(child, key) == key_value &&
        std::string_view(reinterpret_cast<const char*>(child->name)) == element) {
      return;
    }
  }
  xmlNode* entry = NewChild(root, element);
  SetAttribute(entry, key, key_value);
  for (const auto& [name, value] : attributes) SetAttribute(entry, name, value);
  package.SetPart(part, SerializeXmlPart(doc.get()));
}

std::string RelationshipsPartOf(const std::string& part) {
  const size_t slash = part.rfind('/');
  return part.substr(0, slash) + "/_rels/" + part.substr(slash + 1) + ".rels";
}

void EnsureImageRelationship(ZipPackage& package, const std::string& part,
                             const std::string& rel_id, const std::string& target) {
  EnsureEntry(package, RelationshipsPartOf(part),
              "<Relationships xmlns=\"" + std::string(kPackageRelNs) + "\"/>", "Relationship", "Id",
              rel_id, {{"Type", std::string(kRelNs) + "/image"}, {"Target", target}});
}

LogoExtent AddLogoPicture(ZipPackage& package, const std::string& media_part,
                          const LogoPlacement& logo) {
  std::string picture = files::ReadWhole(logo.picture_path);
  const PictureSize size = FitIntoBox(PngSize(picture), logo.width, logo.height);
  package.SetPart(media_part, std::move(picture));
  EnsureEntry(package, kContentTypesPart, "", "Default", "Extension", "png",
              {{"ContentType", "image/png"}});
  return {PointsToEmu(size.width), PointsToEmu(size.height)};
}

std::vector<xmlNode*> LogoMarks(xmlNode* root, std::string_view ns, std::string_view element) {
  std::vector<xmlNode*> marks;
  ForEachElement(root, [&](xmlNode* node) {
    if (IsElement(node, ns, element) &&
        Attribute(node, "name").find(kLogoMark) != std::string::npos) {
      marks.push_back(node);
    }
  });
  return marks;
}

std::string EscapedAttribute(const std::string& value) {
  std::string out;
  for (char c : value) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace lastora
