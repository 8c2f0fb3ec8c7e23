#pragma once

#include "platform/tavi2/tavi2_export.hpp"

namespace TAVI {

class GLMimeData2;
class GLWidget2;

// Runs drags from the toolkit's widgets.
class TAVI2_EXPORT GLDragManager2 {
public:
    // Drop actions, also combined as the actions a drag offers.
    enum Action { IgnoreAction = 0, CopyAction = 1, MoveAction = 2, LinkAction = 4 };

    // Drags data from source, offering actions, and returns when the user drops or cancels:
    // the action the drop site took, IgnoreAction for a cancel. The event loop runs meanwhile.
    // Throws TypedException for a null source, for empty data, and when a drag is running.
    static int start(GLWidget2* source, const GLMimeData2& data,
                     int actions = CopyAction | MoveAction);
    static bool isDragging();
    // The data of the running drag; null when none runs.
    static const GLMimeData2* getCurrentData();
};

} // namespace TAVI
