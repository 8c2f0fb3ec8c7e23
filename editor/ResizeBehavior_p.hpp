// Private to editor/: included only by its own sources and tests; not installed.
#pragma once

#include "editor/Editor.hpp"
#include "editor/ResizeBehavior.hpp"
#include "platform/veld/Model.hpp"

namespace KITE {

class ResizeBehaviorPrivate {
public:
    ResizeBehaviorPrivate(ResizeBehavior* owner, Editor& editor) : q(owner), editor(&editor) {}

    ResizeBehavior* q; // back pointer
    // The scene position of the element's container origin, so that a scene rectangle's
    // corner minus the offset is the element's position relative to its container.
    TAVI::GLPoint<double> offset;
    DiagramElement element;
    Editor* editor;                // not owned
    TAVI::GLRect<double> lastRect; // the last rectangle previewed; the one committed
    bool previewed = false;
    bool cancelling = false; // Escape: the base's restoring rectangle is not previewed
};

} // namespace KITE
