// The natural size of a PNG picture, for scaling the club's logo into its box.
#ifndef LASTORA_PLATFORM_POSIX_PICTURE_SIZE_H_
#define LASTORA_PLATFORM_POSIX_PICTURE_SIZE_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace lastora {

struct PictureSize {
  double width = 0;  // points
  double height = 0;
};

// From the header and the pixel density (96 dpi when the picture states none); VbError 481
// (invalid picture) when the bytes are no PNG.
PictureSize PngSize(std::string_view bytes);

// The picture scaled by the smaller of the two ratios so that it fits box_width x box_height.
PictureSize FitIntoBox(PictureSize picture, double box_width, double box_height);

// Points to the drawing units of office packages (English Metric Units).
int64_t PointsToEmu(double points);

}  // namespace lastora

#endif  // LASTORA_PLATFORM_POSIX_PICTURE_SIZE_H_
