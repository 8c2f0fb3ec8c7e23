#pragma once

#include "platform/tavi/Holder.hpp"
#include "platform/tavi2/GLAbstractViewModel2.hpp"
#include "platform/tavi2/GLWidget2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

#include <vector>

class QAbstractItemView;

namespace TAVI {

class GLAbstractView2Private;

// A cell of a model as a view finds it: row and column ids, both 0 for none.
struct TAVI2_EXPORT GLModelCellRef2 {
    unsigned rowUID = 0;
    unsigned columnUID = 0;
    bool isValid() const { return rowUID != 0 && columnUID != 0; }
    bool operator==(const GLModelCellRef2&) const = default;
};

// What views of a view model share: the model, selection, scrolling, editing. The view holds
// its model. Rows appended in a model's open transaction are not shown yet, so until it ends
// they cannot be selected, scrolled to or edited.
class TAVI2_EXPORT GLAbstractView2 : public GLWidget2 {
public:
    // The numbers are those setSelectionMode takes.
    enum SelectionMode {
        NoSelection = 0,
        SingleSelection = 1,
        MultiSelection = 2,    // a click adds or removes a row
        ExtendedSelection = 3, // Shift and Control extend the selection
        ContiguousSelection = 4
    };
    // Flags that start editing a cell that is not read only.
    enum EditTrigger {
        NoEditTriggers = 0,
        CurrentChanged = 1,
        DoubleClicked = 2,
        SelectedClicked = 4,
        EditKeyPressed = 8,
        AnyKeyPressed = 16,
        AllEditTriggers = 31
    };

    ~GLAbstractView2() override;

    void setModel(const Holder<GLAbstractViewModel2>& model);
    GLAbstractViewModel2* getModel() const;

    // Throws TypedException for a mode outside 0..4.
    void setSelectionMode(int mode);
    int getSelectionMode() const;
    // Selects exactly these rows (whole rows). Throws TypedException for an unknown row or the
    // root; rows not shown yet are skipped.
    void setSelectedRows(const std::vector<unsigned>& rowUIDs);
    // The selected rows, each once, top to bottom within each parent.
    std::vector<unsigned> getSelectedRows() const;
    void clearSelection();
    // The same as setSelectedRows and getSelectedRows.
    void setSelection(const std::vector<unsigned>& rowUIDs) { setSelectedRows(rowUIDs); }
    std::vector<unsigned> getSelection() const { return getSelectedRows(); }

    // The cell with the keyboard focus.
    void setCurrentCell(unsigned rowUID, unsigned columnUID);
    GLModelCellRef2 getCurrentCell() const;

    // Scrolls so that the cell (a row's first column for column 0) is in view, expanding
    // nothing. Does nothing for a row not shown.
    void scrollTo(unsigned rowUID, unsigned columnUID = 0);
    // The cell at a point of the view's content area; invalid where there is none.
    GLModelCellRef2 getModelCellAt(int x, int y) const;
    // The same for a point on the screen (a context-menu event's global position).
    GLModelCellRef2 getModelCellAtGlobalPosition(int x, int y) const;

    void setEditTriggers(int triggers);
    int getEditTriggers() const;
    // Starts editing a cell; false when it cannot be edited (read only, not shown).
    bool editCell(unsigned rowUID, unsigned columnUID);
    bool isEditing() const;
    // The editor for a cell, instead of the view's own text field. Called while the cell's
    // edit request is being handled, it places that editor (another cell then throws
    // TypedException); called otherwise, it starts editing the cell with it (and sends the
    // request). The editor stays the caller's: when the edit ends, after the complete event, the
    // view hides it and takes it out of the view, so it can be kept and used again; so does a
    // view that is destroyed while the editor is open. Throws TypedException for the view or a
    // widget holding it.
    void setEditor(unsigned rowUID, unsigned columnUID, GLWidget2* editor);
    // Places a widget over a cell for good (until replaced or the row goes); the view owns it.
    // Null removes the cell's widget. Throws TypedException for the view or a widget holding it.
    void setCellWidget(unsigned rowUID, unsigned columnUID, GLWidget2* widget);
    GLWidget2* getCellWidget(unsigned rowUID, unsigned columnUID) const;

    // Lets the user drag the selected rows, carrying what the model's getDragData gives.
    void setDragEnabled(bool enabled);
    bool isDragEnabled() const;

    NIMB::Emitter<GLViewSelectionChangeEvent2>& getSelectionChangeEmitter();
    NIMB::Emitter<GLEditRequestEvent2>& getEditRequestEmitter();
    NIMB::Emitter<GLEditCompleteEvent2>& getEditCompleteEmitter();

protected:
    GLAbstractView2(QAbstractItemView* view, GLWidget2* parent);
    GLAbstractView2Private* viewPrivate() const { return d; }

private:
    friend class GLItemDelegate2;
    GLAbstractView2Private* d; // owned
};

// The edit-trigger flags as a type of their own, for settings that hold them.
using EditTrigger = GLAbstractView2::EditTrigger;

} // namespace TAVI
