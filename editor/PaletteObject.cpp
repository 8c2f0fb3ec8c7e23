#include "editor/PaletteObject.hpp"

#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/ConnectionLock.hpp"
#include "platform/tavi2/GLDragManager2.hpp"
#include "platform/tavi2/GLMimeData2.hpp"

namespace KITE {

PaletteObject::PaletteObject(const std::string& iconFile, const std::string& typeName)
    : TAVI::GLImage2("qt"), typeName(typeName) {
    setFile(iconFile);
    NIMB::ConnectionWriteLocker locker;
    new NIMB::ConnectionImpl1<PaletteObject, TAVI::GLMouseEvent2>(
        this, getMousePressEmitter(), nullptr, &PaletteObject::doMousePress);
}

PaletteObject::~PaletteObject() {
    disconnect();
}

void PaletteObject::doMousePress(const TAVI::GLMouseEvent2& event) {
    // One drag at a time: the toolkit refuses a second one (and data without a format).
    if (event.button() != TAVI::GLMouseButton2::Left || typeName.empty() ||
        TAVI::GLDragManager2::isDragging())
        return;
    TAVI::GLMimeData2 data;
    data.setData(typeName, TAVI::any(typeName));
    TAVI::GLDragManager2::start(this, data, TAVI::GLDragManager2::MoveAction);
}

} // namespace KITE
