#pragma once

#include "platform/nimb/Emitter.hpp"
#include "platform/tavi/Color.hpp"
#include "platform/tavi/Geometry.hpp"
#include "platform/tavi2/GLEvents2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

#include <string>
#include <vector>

class QWidget;

namespace TAVI {

class GLLayout2;
class GLWidget2Private;

// Base of the toolkit widgets. Each widget owns one Qt widget, made for the toolkit named "qt"
// (the kinds' constructors throw TypedException for any other name). Widgets form the tree of
// their Qt widgets: a child's Qt widget is a child of its parent's, and a widget lives exactly
// as long as its Qt widget. Deleting a widget deletes its Qt widget and so its children;
// when Qt deletes the Qt widget (its parent went), the widget is deleted with it. Pointers to
// widgets are therefore not owned except at the top of a tree.
//
// Input reaches listeners through the emitters below; they are made on first request, so a
// widget nobody listens to pays nothing.
class TAVI2_EXPORT GLWidget2 {
public:
    // Colours a widget can be given; the names follow what the colour paints. The first two
    // are general: setting them sets every role of their kind (background: window, base,
    // button; foreground: text on each), so they work on any widget.
    enum ColorRole {
        BackgroundColor = 0, // behind the widget's contents, whatever kind it is
        ForegroundColor = 1, // text and lines drawn on the background
        BaseColor = 2,       // the inside of edit fields and views
        TextColor = 3,       // text drawn on the base colour
        ButtonColor = 4,
        ButtonTextColor = 5,
        HighlightColor = 6, // selected items
        HighlightedTextColor = 7,
        AlternateBaseColor = 8 // every other row of a view with alternating colours
    };

    virtual ~GLWidget2();
    GLWidget2(const GLWidget2&) = delete;
    GLWidget2& operator=(const GLWidget2&) = delete;

    // Takes ownership of a Qt widget made elsewhere (a canvas, a framework window) so that it
    // can be placed in layouts like any toolkit widget. Returns the widget that owns it already
    // when there is one; throws TypedException for null.
    static GLWidget2* wrap(QWidget* widget);
    // The toolkit widget that owns a Qt widget; null when none does.
    static GLWidget2* fromQWidget(const QWidget* widget);

    // The Qt widget, for the framework that places it in windows, docks and tabs.
    QWidget* getQWidget() const;
    GLWidget2* getParent() const; // null for a top-level widget
    // Makes the widget a child of parent (a top-level widget for null); the widget is hidden
    // afterwards, as a reparented widget is, until shown. Throws TypedException for the widget
    // itself and for a widget inside it.
    void setParent(GLWidget2* parent);

    // Position of the widget's top-left corner on the screen, and of a point inside it.
    GLPoint<int> getGlobalPosition() const;
    GLPoint<int> mapToGlobal(const GLPoint<int>& point) const;
    GLPoint<int> getPosition() const; // in the parent
    void move(int x, int y);
    Size getSize() const;
    void resize(int width, int height);

    // Visible when it and all its ancestors are shown.
    bool isVisible() const;
    bool isHidden() const; // hidden explicitly, whatever its ancestors do
    void show();
    void hide();
    void setVisible(bool visible);
    bool isEnabled() const;
    void setEnabled(bool enabled);
    // Repaints once control returns to the event loop.
    void update();
    void setFocus();
    bool hasFocus() const;

    // Colours by role. A colour without RGBA components (invalid or "default") gives the role
    // back to the application's own colour. getColor gives the colour in use.
    void setColor(int role, const Color& color);
    Color getColor(int role) const;

    Size getMinimumSize() const;
    void setMinimumSize(int width, int height);
    Size getMaximumSize() const;
    void setMaximumSize(int width, int height);
    void setFixedSize(int width, int height);
    Size getSizeHint() const;
    // Resizes the widget to fit its contents.
    void adjustSize();

    std::string getToolTip() const;
    void setToolTip(const std::string& text);

    // Lays out the widget's children; the widget owns the layout from then on (a layout that
    // is already in use elsewhere, or that lays out this widget or one it is inside, throws
    // TypedException). Null removes and deletes the layout.
    void setLayout(GLLayout2* layout);
    GLLayout2* getLayout() const;

    // Accepts drags that carry at least one of these formats, and sends what is dropped to
    // getDropEmitter. An empty list accepts no drags.
    void setDropFormats(const std::vector<std::string>& formats);
    std::vector<std::string> getDropFormats() const;

    // Hides the widget at once and deletes it (with its Qt widget and children) once control
    // returns to the event loop, so a widget may destroy itself from one of its own handlers.
    void destroy();

    NIMB::Emitter<GLMouseEvent2>& getMousePressEmitter();
    NIMB::Emitter<GLMouseEvent2>& getMouseReleaseEmitter();
    NIMB::Emitter<GLMouseEvent2>& getMouseDoubleClickEmitter();
    NIMB::Emitter<GLMouseEvent2>& getMouseMoveEmitter();
    NIMB::Emitter<GLKeyEvent2>& getKeyPressEmitter();
    NIMB::Emitter<GLKeyEvent2>& getKeyReleaseEmitter();
    NIMB::Emitter<GLContextMenuEvent2>& getContextMenuEmitter();
    NIMB::Emitter<GLWidgetEvent2>& getWidgetEventEmitter();
    NIMB::Emitter<GLDropEvent2>& getDropEmitter();

protected:
    // Takes ownership of widget and makes it a child of parent's Qt widget (when given).
    // inputArea is where mouse and context-menu input arrive (a view's viewport); null for
    // the widget itself.
    GLWidget2(QWidget* widget, GLWidget2* parent, QWidget* inputArea = nullptr);

private:
    GLWidget2Private* d_func() { return d; }
    const GLWidget2Private* d_func() const { return d; }
    GLWidget2Private* d; // owned
};

} // namespace TAVI
