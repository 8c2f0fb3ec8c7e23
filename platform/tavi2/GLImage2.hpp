#pragma once

#include "platform/tavi/Geometry.hpp"
#include "platform/tavi/StringID.hpp"
#include "platform/tavi2/GLWidget2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

#include <string>

namespace TAVI {

// Shows an image file.
class TAVI2_EXPORT GLImage2 : public GLWidget2 {
public:
    // Throws TypedException when toolkit is not "qt".
    explicit GLImage2(const StringID& toolkit, GLWidget2* parent = nullptr);
    ~GLImage2() override;

    // Shows the image in the file. A file that cannot be read as an image shows nothing and
    // gives false; getFile then gives the empty string.
    bool setFile(const std::string& file);
    std::string getFile() const;
    // The image's own size; empty when there is none.
    Size getImageSize() const;
    // Whether the image is stretched to fill the widget.
    void setScaledContents(bool scaled);

private:
    std::string file;
};

} // namespace TAVI
