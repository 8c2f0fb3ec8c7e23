#pragma once

#include "platform/tavi/Geometry.hpp"
#include "platform/tavi/tavi_util_export.hpp"

#include <string>

namespace TAVI {

// An image file as the widgets will show it. Loading only reads the image's
// header, to learn whether it is readable and how large it is; the widgets
// decode it when they draw. A pixmap whose file is missing or unreadable is null.
class TAVI_UTIL_EXPORT Pixmap {
public:
    Pixmap() = default;
    explicit Pixmap(const std::string& file);

    // False (and the pixmap null) when the file cannot be read as an image.
    bool load(const std::string& file);

    bool isNull() const { return !readable; }
    const std::string& getFile() const { return file; }
    Size size() const { return imageSize; }
    int width() const { return imageSize.width; }
    int height() const { return imageSize.height; }

    bool operator==(const Pixmap&) const = default;

private:
    std::string file;
    Size imageSize;
    bool readable = false;
};

} // namespace TAVI
