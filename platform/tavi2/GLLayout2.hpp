#pragma once

#include "platform/tavi2/tavi2_export.hpp"

class QLayout;
class QWidget;

namespace TAVI {

class GLLayout2Private;
class GLWidget2;

// Base of the layouts, which place a widget's children. A layout owns its Qt layout and lives
// as long as it does: once set on a widget (GLWidget2::setLayout) or added to another layout
// it belongs to that widget or layout, and goes with it. Widgets added to a layout become
// children of the widget the layout is set on.
class TAVI2_EXPORT GLLayout2 {
public:
    virtual ~GLLayout2();
    GLLayout2(const GLLayout2&) = delete;
    GLLayout2& operator=(const GLLayout2&) = delete;

    QLayout* getQLayout() const;
    // The toolkit layout that owns a Qt layout; null when none does.
    static GLLayout2* fromQLayout(const QLayout* layout);

    // The same margin on all four sides, in pixels; negative values count as 0.
    void setMargin(int margin);
    int getMargin() const;
    // Space between neighbouring items; negative gives back the style's spacing.
    void setSpacing(int spacing);
    int getSpacing() const;

    // Items laid out: widgets, nested layouts, stretches and spaces.
    int count() const;
    // Takes a widget out of the layout; it stays a child of the laid-out widget.
    void removeWidget(GLWidget2* widget);
    // Set on a widget or nested in another layout.
    bool isInUse() const;

protected:
    explicit GLLayout2(QLayout* layout); // takes ownership
    // Throws TypedException naming the operation unless the layout may be nested in this one:
    // not null, not this one, not in use elsewhere, and holding neither this one nor the widget
    // this one lays out (or one that widget is inside).
    void checkNestable(const GLLayout2* layout, const char* operation) const;
    // Readies a widget to be added, throwing TypedException naming the operation for null and
    // for the widget the layout is set on or one that widget is inside. A widget in this layout
    // already is taken out first (it is in a layout once), and one destroyed later leaves it.
    QWidget* adopt(GLWidget2* widget, const char* operation);

private:
    GLLayout2Private* d; // owned
};

} // namespace TAVI
