#pragma once

#include "platform/tavi2/GLLayout2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

namespace TAVI {

// Lays items out in a row or a column.
class TAVI2_EXPORT GLBoxLayout2 : public GLLayout2 {
public:
    // The numbers are the directions' values for the constructor.
    enum Direction { LeftToRight = 0, RightToLeft = 1, TopToBottom = 2, BottomToTop = 3 };

    // Throws TypedException for a direction outside 0..3.
    explicit GLBoxLayout2(int direction);
    ~GLBoxLayout2() override;

    int getDirection() const;
    void setDirection(int direction);

    // Adds widget at the end. stretch shares out spare room among items in proportion;
    // alignment (Qt's alignment flags, 0 to fill the cell) places a widget that does not fill
    // its room. A widget in the layout already moves to the end. Throws TypedException for a
    // null widget and for the widget laid out or one holding it.
    void addWidget(GLWidget2* widget, int stretch = 0, int alignment = 0);
    // Nests a layout, which then belongs to this one; throws TypedException for null, for this
    // layout, for a layout in use elsewhere and for one that holds this layout.
    void addLayout(GLLayout2* layout, int stretch = 0);
    void addStretch(int stretch = 0);
    void addSpacing(int size);
};

} // namespace TAVI
