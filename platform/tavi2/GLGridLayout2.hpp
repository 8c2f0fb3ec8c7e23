#pragma once

#include "platform/tavi2/GLLayout2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

namespace TAVI {

// Lays items out in rows and columns; an item may span several.
class TAVI2_EXPORT GLGridLayout2 : public GLLayout2 {
public:
    GLGridLayout2();
    ~GLGridLayout2() override;

    // Throws TypedException for a null widget, a negative row or column, a span below 1, or a
    // cell reaching past the last int row or column; addWidget also for the widget laid out or
    // one holding it. A widget in the layout already moves to the new cell.
    void addWidget(GLWidget2* widget, int row, int column, int rowSpan = 1, int columnSpan = 1,
                   int alignment = 0);
    void addLayout(GLLayout2* layout, int row, int column, int rowSpan = 1, int columnSpan = 1);
    // Throw TypedException for a negative row or column.
    void setRowStretch(int row, int stretch);
    void setColumnStretch(int column, int stretch);
    int getRowCount() const;
    int getColumnCount() const;
    // The widget at a cell; null when the cell is empty or holds something else.
    GLWidget2* getWidgetAt(int row, int column) const;
};

} // namespace TAVI
