#pragma once

// The events that toolkit widgets send through their NIMB emitters. They are small values,
// copied into each packet; the widget pointers they carry are not owned and are valid while
// the handler runs. Key codes, modifier flags and mouse buttons are those of the widget
// toolkit underneath, as the constants below give them.

#include "platform/tavi/Geometry.hpp"
#include "platform/tavi2/GLMimeData2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

#include <string>

namespace TAVI {

class GLAction2;
class GLAbstractView2;
class GLWidget2;

namespace GLKey2 {
constexpr int Escape = 0x01000000;
constexpr int Tab = 0x01000001;
constexpr int Backspace = 0x01000003;
constexpr int Return = 0x01000004;
constexpr int Enter = 0x01000005;
constexpr int Delete = 0x01000007;
constexpr int Left = 0x01000012;
constexpr int Up = 0x01000013;
constexpr int Right = 0x01000014;
constexpr int Down = 0x01000015;
constexpr int F2 = 0x01000031;
} // namespace GLKey2

namespace GLModifier2 {
constexpr int None = 0;
constexpr int Shift = 0x02000000;
constexpr int Control = 0x04000000;
constexpr int Alt = 0x08000000;
constexpr int Meta = 0x10000000;
} // namespace GLModifier2

namespace GLMouseButton2 {
constexpr int None = 0;
constexpr int Left = 1;
constexpr int Right = 2;
constexpr int Middle = 4;
} // namespace GLMouseButton2

// A mouse press, release, double click or move. pos is in the widget (for views: in the area
// that shows the rows); button is the one that changed, buttons all that are held.
class TAVI2_EXPORT GLMouseEvent2 {
public:
    GLMouseEvent2(GLWidget2* widget, int button, int buttons, int modifiers, GLPoint<int> pos,
                  GLPoint<int> globalPos)
        : w(widget), btn(button), held(buttons), mods(modifiers), local(pos), global(globalPos) {}
    GLWidget2* widget() const { return w; }
    int button() const { return btn; }
    int buttons() const { return held; }
    int modifiers() const { return mods; }
    GLPoint<int> pos() const { return local; }
    GLPoint<int> globalPos() const { return global; }

private:
    GLWidget2* w;
    int btn;
    int held;
    int mods;
    GLPoint<int> local;
    GLPoint<int> global;
};

class TAVI2_EXPORT GLKeyEvent2 {
public:
    GLKeyEvent2(GLWidget2* widget, int key, int modifiers, std::string text, bool autoRepeat)
        : w(widget), code(key), mods(modifiers), txt(std::move(text)), repeat(autoRepeat) {}
    GLWidget2* widget() const { return w; }
    int key() const { return code; }
    int modifiers() const { return mods; }
    const std::string& text() const { return txt; }
    bool isAutoRepeat() const { return repeat; }

private:
    GLWidget2* w;
    int code;
    int mods;
    std::string txt;
    bool repeat;
};

class TAVI2_EXPORT GLContextMenuEvent2 {
public:
    GLContextMenuEvent2(GLWidget2* widget, GLPoint<int> pos, GLPoint<int> globalPos)
        : w(widget), local(pos), global(globalPos) {}
    GLWidget2* widget() const { return w; }
    GLPoint<int> pos() const { return local; }
    GLPoint<int> globalPos() const { return global; }
    int globalX() const { return global.x; }
    int globalY() const { return global.y; }

private:
    GLWidget2* w;
    GLPoint<int> local;
    GLPoint<int> global;
};

// What happened to a widget itself.
class TAVI2_EXPORT GLWidgetEvent2 {
public:
    enum Type {
        Shown = 0,
        Hidden = 1,
        FocusIn = 2,
        FocusOut = 3,
        Resized = 4,
        Closed = 5,
        Entered = 6,
        Left = 7
    };
    // Entered and Left: the mouse pointer came over the widget or went away from it.
    GLWidgetEvent2(GLWidget2* widget, Type type) : w(widget), kind(type) {}
    GLWidget2* widget() const { return w; }
    Type type() const { return kind; }

private:
    GLWidget2* w;
    Type kind;
};

class TAVI2_EXPORT GLActionTriggerEvent2 {
public:
    GLActionTriggerEvent2(GLAction2* action, bool checked) : a(action), on(checked) {}
    GLAction2* action() const { return a; }
    bool isChecked() const { return on; }

private:
    GLAction2* a;
    bool on;
};

class TAVI2_EXPORT GLButtonClickEvent2 {
public:
    explicit GLButtonClickEvent2(GLWidget2* button) : w(button) {}
    GLWidget2* button() const { return w; }

private:
    GLWidget2* w;
};

// A checkable button or check box changed its state.
class TAVI2_EXPORT GLButtonToggleEvent2 {
public:
    GLButtonToggleEvent2(GLWidget2* button, bool checked) : w(button), on(checked) {}
    GLWidget2* button() const { return w; }
    bool isChecked() const { return on; }

private:
    GLWidget2* w;
    bool on;
};

class TAVI2_EXPORT GLTreeExpandEvent2 {
public:
    GLTreeExpandEvent2(GLAbstractView2* view, unsigned rowUID) : v(view), row(rowUID) {}
    GLAbstractView2* view() const { return v; }
    unsigned rowUID() const { return row; }

private:
    GLAbstractView2* v;
    unsigned row;
};

class TAVI2_EXPORT GLTreeCollapseEvent2 {
public:
    GLTreeCollapseEvent2(GLAbstractView2* view, unsigned rowUID) : v(view), row(rowUID) {}
    GLAbstractView2* view() const { return v; }
    unsigned rowUID() const { return row; }

private:
    GLAbstractView2* v;
    unsigned row;
};

// The selection of a view changed; ask the view for the rows now selected.
class TAVI2_EXPORT GLViewSelectionChangeEvent2 {
public:
    explicit GLViewSelectionChangeEvent2(GLAbstractView2* view) : v(view) {}
    GLAbstractView2* view() const { return v; }

private:
    GLAbstractView2* v;
};

// The user asked to edit a cell. A handler may place its own editor widget with
// GLAbstractView2::setEditor while it runs; otherwise the view edits the value as text.
class TAVI2_EXPORT GLEditRequestEvent2 {
public:
    GLEditRequestEvent2(GLAbstractView2* view, unsigned rowUID, unsigned columnUID)
        : v(view), row(rowUID), column(columnUID) {}
    GLAbstractView2* view() const { return v; }
    unsigned rowUID() const { return row; }
    unsigned columnUID() const { return column; }

private:
    GLAbstractView2* v;
    unsigned row;
    unsigned column;
};

// An edit of a cell ended: committed, or cancelled (Escape, focus taken away by a cancel).
class TAVI2_EXPORT GLEditCompleteEvent2 {
public:
    GLEditCompleteEvent2(GLAbstractView2* view, unsigned rowUID, unsigned columnUID, bool committed)
        : v(view), row(rowUID), column(columnUID), done(committed) {}
    GLAbstractView2* view() const { return v; }
    unsigned rowUID() const { return row; }
    unsigned columnUID() const { return column; }
    bool isCommitted() const { return done; }

private:
    GLAbstractView2* v;
    unsigned row;
    unsigned column;
    bool done;
};

// The text of an edit field, an edit area or a combo box changed (Changed) or was confirmed
// (Finished: Return, or focus left the field). index is the combo box's current item, else -1.
class TAVI2_EXPORT GLEditEvent2 {
public:
    enum Type { Changed = 0, Finished = 1 };
    GLEditEvent2(GLWidget2* widget, Type type, std::string text, int index = -1)
        : w(widget), kind(type), txt(std::move(text)), idx(index) {}
    GLWidget2* widget() const { return w; }
    Type type() const { return kind; }
    const std::string& text() const { return txt; }
    int index() const { return idx; }

private:
    GLWidget2* w;
    Type kind;
    std::string txt;
    int idx;
};

// Data dropped on a widget that accepts its format (GLWidget2::setDropFormats). pos is in the
// widget (for views: in the area that shows the rows); action is GLDragManager2's drop action
// the drag proposed.
class TAVI2_EXPORT GLDropEvent2 {
public:
    GLDropEvent2(GLWidget2* widget, GLPoint<int> pos, GLMimeData2 data, int action)
        : w(widget), local(pos), mime(std::move(data)), act(action) {}
    GLWidget2* widget() const { return w; }
    GLPoint<int> pos() const { return local; }
    const GLMimeData2& data() const { return mime; }
    int action() const { return act; }

private:
    GLWidget2* w;
    GLPoint<int> local;
    GLMimeData2 mime;
    int act;
};

// A cell of a view model changed its contents (value, icon, colour or read-only flag).
class TAVI2_EXPORT GLDataChangeEvent2 {
public:
    GLDataChangeEvent2(unsigned rowUID, unsigned columnUID) : row(rowUID), column(columnUID) {}
    unsigned rowUID() const { return row; }
    unsigned columnUID() const { return column; }

private:
    unsigned row;
    unsigned column;
};

} // namespace TAVI
