#include <algorithm>
#include <filesystem>
#include <fstream>

#include "objects.h"

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

class Shape : public Object {
 public:
  Shape(std::shared_ptr<ShapeList> list, std::shared_ptr<ShapeModel> shape)
      : Object("Shape", {"Name", "ZOrder", "Width", "Height", "Top", "Left",
                         "RelativeHorizontalPosition", "RelativeVerticalPosition", "Delete"}),
        list_(std::move(list)),
        shape_(std::move(shape)) {}

 protected:
  void Call(const std::string& member, bool put, const Args& args, VARIANT* result) override {
    if (member == "Name") {
      if (put)
        shape_->name = ArgsPutText(args);
      else
        Return(result, shape_->name);
    } else if (member == "ZOrder") {
      // Order within the document is not modelled; the log holds the command.
    } else if (member == "Delete") {
      list_->erase(std::remove(list_->begin(), list_->end(), shape_), list_->end());
    } else if (member == "RelativeHorizontalPosition" || member == "RelativeVerticalPosition") {
      long& anchor = member == "RelativeHorizontalPosition" ? shape_->relative_horizontal
                                                            : shape_->relative_vertical;
      if (put)
        anchor = static_cast<long>(PutNumber(args));
      else
        Return(result, static_cast<double>(anchor));
    } else {
      double& number = member == "Width"    ? shape_->width
                       : member == "Height" ? shape_->height
                       : member == "Top"    ? shape_->top
                                            : shape_->left;
      if (put)
        number = PutNumber(args);
      else
        Return(result, number);
    }
  }

 private:
  static std::string ArgsPutText(const Args& args) {
    const VARIANT& value = args.Put();
    if (V_VT(&value) != VT_BSTR) throw Failure{"Name erwartet einen Text"};
    return Utf8(V_BSTR(&value), SysStringLen(V_BSTR(&value)));
  }
  static double PutNumber(const Args& args) {
    double number = 0;
    if (!AsNumber(args.Put(), &number)) throw Failure{"Typen unverträglich"};
    return number;
  }

  std::shared_ptr<ShapeList> list_;
  std::shared_ptr<ShapeModel> shape_;
};

class Shapes : public Object {
 public:
  explicit Shapes(std::shared_ptr<ShapeList> list)
      : Object("Shapes", {"Count", "Item", "AddPicture"}), list_(std::move(list)) {}

 protected:
  void Call(const std::string& member, bool, const Args& args, VARIANT* result) override {
    if (member == "Count") return Return(result, static_cast<double>(list_->size()));
    if (member == "Item") {
      const double index = args.Number(0, "Index");
      if (index < 1 || index > static_cast<double>(list_->size())) {
        throw Failure{"Das angeforderte Element existiert nicht"};
      }
      return Return(result, new Shape(list_, (*list_)[static_cast<size_t>(index) - 1]));
    }
    auto picture = std::make_shared<ShapeModel>();
    picture->picture = args.Text(0, "FileName");
    if (!PictureSize(picture->picture, picture->width, picture->height)) {
      throw Failure{"Die Datei ist kein Bild: " + picture->picture};
    }
    picture->left = args.Number(3, "Left");
    picture->top = args.Number(4, "Top");
    if (args.Number(5, "Width", -1) > 0) picture->width = args.Number(5, "Width");
    if (args.Number(6, "Height", -1) > 0) picture->height = args.Number(6, "Height");
    picture->name = "Bild " + std::to_string(list_->size() + 1);
    list_->push_back(picture);
    Return(result, new Shape(list_, picture));
  }

 private:
  std::shared_ptr<ShapeList> list_;
};

}  // namespace

Object* NewShapes(std::shared_ptr<ShapeList> shapes) { return new Shapes(std::move(shapes)); }

}  // namespace fake_office
