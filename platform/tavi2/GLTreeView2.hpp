#pragma once

#include "platform/tavi/StringID.hpp"
#include "platform/tavi2/GLAbstractView2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

#include <vector>

namespace TAVI {

class GLTreeView2Private;

// Shows a view model as a tree of rows under a column header.
class TAVI2_EXPORT GLTreeView2 : public GLAbstractView2 {
public:
    // Throws TypedException when toolkit is not "qt".
    explicit GLTreeView2(const StringID& toolkit, GLWidget2* parent = nullptr);
    ~GLTreeView2() override;

    void setHeaderVisible(bool visible);
    bool isHeaderVisible() const;
    // Whether the user may drag columns to other places.
    void setColumnsMovable(bool movable);
    bool areColumnsMovable() const;
    // Moves a column to a place on screen (0 leftmost); the model's order stays.
    void moveColumn(unsigned columnUID, int visualIndex);
    // The column's place on screen; -1 for an unknown column.
    int getVisualColumnIndex(unsigned columnUID) const;
    void setColumnWidth(unsigned columnUID, int width);
    int getColumnWidth(unsigned columnUID) const;
    void setAlternatingRowColors(bool alternate);
    bool hasAlternatingRowColors() const;
    // Whether top-level rows get the expand and collapse handles.
    void setRootDecorated(bool decorated);

    // Expanding shows a row's children; it sends the expand or collapse event when the state
    // changes. Throws TypedException for an unknown row; ignores rows not shown yet.
    void expand(unsigned rowUID);
    void collapse(unsigned rowUID);
    bool isExpanded(unsigned rowUID) const;
    // The same as expand or collapse, and isExpanded.
    void setRowExpanded(unsigned rowUID, bool expanded) {
        expanded ? expand(rowUID) : collapse(rowUID);
    }
    bool isRowExpanded(unsigned rowUID) const { return isExpanded(rowUID); }
    void expandAll();
    void collapseAll();
    // The expanded rows whose ancestors are all expanded too, in tree order.
    std::vector<unsigned> getExpandedRows() const;
    // Sets exactly these rows expanded (each with its ancestors) and all others collapsed.
    void setExpandedRows(const std::vector<unsigned>& rowUIDs);

    void setRowHidden(unsigned rowUID, bool hidden);
    bool isRowHidden(unsigned rowUID) const;
    // Shown in the tree: not hidden, and every ancestor expanded and not hidden. Whether it is
    // scrolled into view does not matter.
    bool isRowVisible(unsigned rowUID) const;
    // The rows shown in the tree, top to bottom, whether scrolled into view or not.
    std::vector<unsigned> getVisibleRows() const;
    // The rows that the view's area shows now, top to bottom.
    std::vector<unsigned> getRowsInView() const;

    NIMB::Emitter<GLTreeExpandEvent2>& getExpandEmitter();
    NIMB::Emitter<GLTreeCollapseEvent2>& getCollapseEmitter();

private:
    GLTreeView2Private* d; // owned
};

} // namespace TAVI
