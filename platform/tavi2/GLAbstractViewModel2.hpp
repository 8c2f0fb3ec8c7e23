#pragma once

#include "platform/tavi/Color.hpp"
#include "platform/tavi/Icon.hpp"
#include "platform/tavi/any.hpp"
#include "platform/tavi2/GLAbstractModel2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

#include <string>
#include <vector>

namespace TAVI {

class GLMimeData2;

// A model whose cells views can show: a value (shown as its text), an icon, a foreground and
// a background colour, and whether the user may edit it; and a label per column. Cells store
// what the setters give them; a subclass that computes its cells overrides the getters and
// calls notifyCellChanged when their results change. Setters throw TypedException for an
// unknown row or column; getters give an empty cell for them.
class TAVI2_EXPORT GLAbstractViewModel2 : public GLAbstractModel2 {
public:
    enum ColorRole { ForegroundColor = 0, BackgroundColor = 1 };

    GLAbstractViewModel2();
    ~GLAbstractViewModel2() override;

    using GLAbstractModel2::appendColumns;
    // Appends one column per label.
    std::vector<unsigned> appendColumns(const std::vector<std::string>& labels);
    void setColumnLabel(unsigned columnUID, const std::string& label);
    virtual std::string getColumnLabel(unsigned columnUID) const;

    void setValue(unsigned rowUID, unsigned columnUID, const any& value);
    virtual any getValue(unsigned rowUID, unsigned columnUID) const;
    // The text a view shows: the value converted to a string.
    virtual std::string getText(unsigned rowUID, unsigned columnUID) const;

    void setIcon(unsigned rowUID, unsigned columnUID, const Icon& icon);
    virtual Icon getIcon(unsigned rowUID, unsigned columnUID) const;

    // A colour without RGBA components gives the cell back the view's own colour. Throws
    // TypedException for an unknown role.
    void setColor(unsigned rowUID, unsigned columnUID, int role, const Color& color);
    virtual Color getColor(unsigned rowUID, unsigned columnUID, int role) const;

    void setReadOnly(unsigned rowUID, unsigned columnUID, bool readOnly);
    virtual bool isReadOnly(unsigned rowUID, unsigned columnUID) const;

    // Whether views offer to expand a row: by default when it has child rows or was marked
    // expandable, so that a model can add children only when the row is first expanded
    // (GLTreeView2's expand event). Throws TypedException for an unknown row or the root.
    void setRowExpandable(unsigned rowUID, bool expandable);
    virtual bool isRowExpandable(unsigned rowUID) const;

    // Takes the text the user typed into a cell's editor; returns whether the value was taken.
    // By default a cell that is not read only keeps the kind of value it holds: a number
    // (double, int, unsigned) or truth value ("true", "false") takes text that reads as one
    // and refuses other text; a name takes the text as a StringID; any other cell stores the
    // text as a string.
    virtual bool setValueFromEditor(unsigned rowUID, unsigned columnUID, const std::string& text);

    // What dragging these rows (in view order) from a view carries; false when they cannot be
    // dragged, which is the default.
    virtual bool getDragData(const std::vector<unsigned>& rowUIDs, GLMimeData2& data) const;
};

} // namespace TAVI
