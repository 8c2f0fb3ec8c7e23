#include "platform/tavi2/GLGridLayout2.hpp"

#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLWidget2.hpp"

#include <QGridLayout>
#include <QWidget>

#include <climits>
#include <string>

namespace TAVI {

namespace {

QGridLayout* grid(const GLLayout2* layout) {
    return static_cast<QGridLayout*>(layout->getQLayout());
}

void checkCell(const char* operation, int row, int column, int rowSpan, int columnSpan) {
    // The cell's far edge must still be an int, or Qt's row and column counts wrap.
    if (row < 0 || column < 0 || rowSpan < 1 || columnSpan < 1 || row > INT_MAX - rowSpan ||
        column > INT_MAX - columnSpan)
        throw TypedException(TAVI_HERE, std::string(operation) + ": bad cell (" +
                                            std::to_string(row) + ", " + std::to_string(column) +
                                            ") span " + std::to_string(rowSpan) + "x" +
                                            std::to_string(columnSpan));
}

} // namespace

GLGridLayout2::GLGridLayout2() : GLLayout2(new QGridLayout) {}
GLGridLayout2::~GLGridLayout2() = default;

void GLGridLayout2::addWidget(GLWidget2* widget, int row, int column, int rowSpan, int columnSpan,
                              int alignment) {
    if (!widget)
        throw TypedException(TAVI_HERE, "GLGridLayout2::addWidget: null widget");
    checkCell("GLGridLayout2::addWidget", row, column, rowSpan, columnSpan);
    QWidget* qtWidget = adopt(widget, "GLGridLayout2::addWidget");
    grid(this)->addWidget(qtWidget, row, column, rowSpan, columnSpan,
                          Qt::Alignment::fromInt(alignment));
}

void GLGridLayout2::addLayout(GLLayout2* layout, int row, int column, int rowSpan, int columnSpan) {
    checkNestable(layout, "GLGridLayout2::addLayout");
    checkCell("GLGridLayout2::addLayout", row, column, rowSpan, columnSpan);
    grid(this)->addLayout(layout->getQLayout(), row, column, rowSpan, columnSpan);
}

void GLGridLayout2::setRowStretch(int row, int stretch) {
    // Qt writes a negative row's stretch before its first row, into memory not its own.
    if (row < 0 || row == INT_MAX)
        throw TypedException(TAVI_HERE,
                             "GLGridLayout2::setRowStretch: no row " + std::to_string(row));
    grid(this)->setRowStretch(row, stretch);
}

void GLGridLayout2::setColumnStretch(int column, int stretch) {
    if (column < 0 || column == INT_MAX)
        throw TypedException(TAVI_HERE, "GLGridLayout2::setColumnStretch: no column " +
                                            std::to_string(column));
    grid(this)->setColumnStretch(column, stretch);
}
int GLGridLayout2::getRowCount() const {
    return grid(this)->rowCount();
}
int GLGridLayout2::getColumnCount() const {
    return grid(this)->columnCount();
}

GLWidget2* GLGridLayout2::getWidgetAt(int row, int column) const {
    QLayoutItem* item = grid(this)->itemAtPosition(row, column);
    return item ? GLWidget2::fromQWidget(item->widget()) : nullptr;
}

} // namespace TAVI
