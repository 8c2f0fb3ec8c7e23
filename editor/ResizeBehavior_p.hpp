#pragma once

#include "editor/Editor.hpp"
#include "editor/ResizeBehavior.hpp"
#include "platform/veld/Model.hpp"

namespace KITE {

class ResizeBehaviorPrivate {
public:
    ResizeBehaviorPrivate(ResizeBehavior* owner, Editor& editor) : q(owner), editor(&editor) {}

    // The editor's working copy; null before the editor has a diagram.
    VELD::Model workingCopy() const
    {
        const Diagram diagram = editor->getDiagram();
        return diagram.isValid() ? VELD::Model(diagram.getModelVELD()) : VELD::Model();
    }
    // The working copy shows the model's root again: the preview is gone.
    void dropPreview() const
    {
        const VELD::Model copy = workingCopy();
        if (!copy.isValid())
            return;
        VELD::Transaction transaction(copy);
        copy.syncFromRoot();
        transaction.commit();
    }

    ResizeBehavior* q;  // back pointer
    // The scene position of the element's container origin, so that a scene rectangle's
    // corner minus the offset is the element's position relative to its container.
    TAVI::GLPoint<double> offset;
    DiagramElement element;
    Editor* editor;  // not owned
    TAVI::GLRect<double> lastRect;  // the last rectangle previewed; the one committed
    bool previewed = false;
    bool cancelling = false;  // Escape: the base's restoring rectangle is not previewed
};

} // namespace KITE
