// Private to platform/zeph/: included only by its own sources and tests; not installed.
#pragma once

#include "platform/nimb/Emitter.hpp"
#include "platform/tavi/Geometry.hpp"
#include "platform/tavi/Holder.hpp"
#include "platform/zeph/Scene.hpp"

#include <QPoint>

namespace ZEPH {

class GLCanvas;

class GLCanvasPrivate {
public:
    explicit GLCanvasPrivate(GLCanvas* owner) : q(owner) {}

    // Stops panning and gives the pointer its shape back.
    void endPan();

    GLCanvas* q;
    TAVI::Holder<Scene> scene;
    NIMB::Emitter<TAVI::GLPoint<int>> contextMenuEmitter;
    NIMB::Emitter<void> viewChangedEmitter;
    bool panning = false;
    QPoint lastPanPosition;
};

} // namespace ZEPH
