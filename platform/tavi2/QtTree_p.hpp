// Private to platform/tavi2/: included only by its own sources and tests; not installed.
#pragma once

#include <QLayout>
#include <QWidget>

namespace TAVI {

// Whether widget is ancestor or inside it, across window boundaries (menus, dialogs): what
// may not become a child of widget, or Qt's parents would form a loop no walk ever leaves.
inline bool isWidgetInside(const QWidget* widget, const QWidget* ancestor) {
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (w == ancestor)
            return true;
    return false;
}

// Whether the layout, or one nested in it, lays out widget or a widget that widget is inside.
inline bool layoutHoldsAncestorOf(const QLayout* layout, const QWidget* widget) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (const QWidget* laidOut = item->widget(); laidOut && isWidgetInside(widget, laidOut))
            return true;
        if (const QLayout* nested = item->layout(); nested && layoutHoldsAncestorOf(nested, widget))
            return true;
    }
    return false;
}

} // namespace TAVI
