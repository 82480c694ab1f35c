#include <algorithm>
#include <filesystem>
#include <fstream>

#include "dispatch_object.h"

namespace fake_office {
namespace {

// A picture's size in points, from its PNG header at the screen's 96 dots per inch.
bool PictureSize(const std::string& path, double& width, double& height) {
  std::ifstream in(std::filesystem::path(Wide(path)), std::ios::binary);
  unsigned char header[24] = {};
  if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return false;
  auto big_endian = [&header](int at) {
    return (header[at] << 24) | (header[at + 1] << 16) | (header[at + 2] << 8) | header[at + 3];
  };
  width = big_endian(16) * 0.75;
  height = big_endian(20) * 0.75;
  return true;
}

double PutNumber(const Args& args) {
  double number = 0;
  if (!AsNumber(args.Put(), &number)) throw Failure{"Typen unverträglich"};
  return number;
}

Object* NewShape(std::shared_ptr<ShapeList> list, std::shared_ptr<ShapeModel> shape) {
  return NewObject(
      "Shape",
      {"Name", "ZOrder", "Width", "Height", "Top", "Left", "RelativeHorizontalPosition",
       "RelativeVerticalPosition", "Delete"},
      [=](auto& member, bool put, auto& args, VARIANT* result) {
        if (member == "Name") {
          if (!put) return Return(result, shape->name);
          const VARIANT& value = args.Put();
          if (V_VT(&value) != VT_BSTR) throw Failure{"Name erwartet einen Text"};
          shape->name = Utf8(V_BSTR(&value), SysStringLen(V_BSTR(&value)));
        } else if (member == "ZOrder") {
          // Order within the document is not modelled; the log holds the command.
        } else if (member == "Delete") {
          list->erase(std::remove(list->begin(), list->end(), shape), list->end());
        } else if (member == "RelativeHorizontalPosition" || member == "RelativeVerticalPosition") {
          long& anchor = member == "RelativeHorizontalPosition" ? shape->relative_horizontal
                                                                : shape->relative_vertical;
          if (!put) return Return(result, static_cast<double>(anchor));
          anchor = static_cast<long>(PutNumber(args));
        } else {
          double& number = member == "Width"    ? shape->width
                           : member == "Height" ? shape->height
                           : member == "Top"    ? shape->top
                                                : shape->left;
          if (!put) return Return(result, number);
          number = PutNumber(args);
        }
      });
}

}  // namespace

Object* NewShapes(std::shared_ptr<ShapeList> list) {
  return NewObject("Shapes", {"Count", "Item", "AddPicture"},
                   [=](auto& member, bool, auto& args, VARIANT* result) {
                     if (member == "Count")
                       return Return(result, static_cast<double>(list->size()));
                     if (member == "Item") {
                       const double index = args.Number(0, "Index");
                       if (index < 1 || index > static_cast<double>(list->size())) {
                         throw Failure{"Das angeforderte Element existiert nicht"};
                       }
                       return Return(result,
                                     NewShape(list, (*list)[static_cast<size_t>(index) - 1]));
                     }
                     auto picture = std::make_shared<ShapeModel>();
                     picture->picture = args.Text(0, "FileName");
                     if (!PictureSize(picture->picture, picture->width, picture->height)) {
                       throw Failure{"Die Datei ist kein Bild: " + picture->picture};
                     }
                     picture->left = args.Number(3, "Left");
                     picture->top = args.Number(4, "Top");
                     if (args.Number(5, "Width", -1) > 0) picture->width = args.Number(5, "Width");
                     if (args.Number(6, "Height", -1) > 0)
                       picture->height = args.Number(6, "Height");
                     picture->name = "Bild " + std::to_string(list->size() + 1);
                     list->push_back(picture);
                     Return(result, NewShape(list, picture));
                   });
}

}  // namespace fake_office
