#pragma once

#include "platform/nimb/Emitter.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/tavi/Icon.hpp"
#include "platform/tavi/StringID.hpp"
#include "platform/tavi2/GLPanel2.hpp"
#include "studio/kite_studio_export.hpp"

#include <string>

namespace TAVI {
class GLBoxLayout2;
class GLImage2;
class GLText2;
} // namespace TAVI

namespace KITE {

// One piece of the explorer bar: an image and/or a text standing for a row of the model
// tree, that reports clicks (a mouse press anywhere on it, or click()).
class KITE_STUDIO_EXPORT ExplorerBarItem : public TAVI::GLPanel2, public NIMB::Listener {
public:
    ExplorerBarItem(const TAVI::StringID& toolkit, unsigned rowUID,
                    TAVI::GLWidget2* parent = nullptr);
    ~ExplorerBarItem() override;

    unsigned getRow() const { return row; }
    // An image file ("" for none) and a text ("" for none).
    void setImage(const std::string& file);
    std::string getImage() const;
    void setIcon(const TAVI::Icon& icon); // its normal file as the image
    void setText(const std::string& text);
    std::string getText() const;

    void click();
    NIMB::Emitter<TAVI::GLButtonClickEvent2>& getClickEmitter() { return clicked; }

private:
    void pressed(TAVI::GLMouseEvent2 event);

    unsigned row;
    TAVI::GLBoxLayout2* layout; // owned by the panel
    TAVI::GLImage2* image = nullptr;
    TAVI::GLText2* text = nullptr;
    NIMB::Emitter<TAVI::GLButtonClickEvent2> clicked;
};

} // namespace KITE
