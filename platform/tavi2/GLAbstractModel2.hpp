#pragma once

#include "platform/nimb/Emitter.hpp"
#include "platform/tavi/ReferencedTemplate.hpp"
#include "platform/tavi2/GLEvents2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

#include <vector>

namespace TAVI {

class GLAbstractModel2Private;

// The rows and columns of a model that views show. Rows and columns are identified by unsigned
// ids the model gives out (from 1; ids are never reused); row 0 is the invisible root whose
// children are the top-level rows, and every row may have child rows. Rows are appended at
// the end of their parent and removed with their descendants.
//
// Changes inside beginTransaction/endTransaction reach views when the outermost transaction
// ends: rows appended meanwhile appear then, in one step per parent, and changed cells are
// repainted once. Removals reach views at once, as views must not see rows that are gone.
// Outside a transaction every change reaches views at once. A model is plain C++; the toolkit
// shows it through a Qt item model of its own. Held by Holder.
class TAVI2_EXPORT GLAbstractModel2 : public Referenced {
public:
    static constexpr unsigned rootRow = 0;

    ~GLAbstractModel2() override;
    GLAbstractModel2(const GLAbstractModel2&) = delete;
    GLAbstractModel2& operator=(const GLAbstractModel2&) = delete;

    // Columns, in order; returns the new columns' ids. Throws TypedException, changing
    // nothing, for more columns than views can count (int) or ids are left.
    std::vector<unsigned> appendColumns(unsigned count);
    unsigned getColumnCount() const;
    // Throws TypedException for an index past the end.
    unsigned getColumnUID(unsigned index) const;
    int getColumnIndex(unsigned columnUID) const; // -1 for an unknown column
    bool hasColumn(unsigned columnUID) const;

    // Appends count rows under parentUID and returns their ids, in order. Throws
    // TypedException for an unknown parent, and for more rows under one parent than views can
    // count (int) or ids are left.
    std::vector<unsigned> appendRows(unsigned parentUID, unsigned count);
    unsigned appendRow(unsigned parentUID);
    // Inserts count rows under parentUID before the row at index and returns their ids, in
    // order; index == row count appends (appendRows). Rows inserted among rows views know reach
    // them at once, also inside a transaction, as removals do. Throws TypedException as
    // appendRows does, and for an index past the end.
    std::vector<unsigned> insertRows(unsigned parentUID, unsigned index, unsigned count);
    // Removes rows with their descendants. A row listed twice, or under another listed row,
    // is removed once. Throws TypedException, changing nothing, when a row is unknown or root.
    void removeRows(const std::vector<unsigned>& rowUIDs);
    // Removes every row but the root.
    void removeAllRows();
    // Removes every row and every column; ids given out before are not given again. Views
    // start over (they lose their selection and expanded rows).
    void clear();

    bool hasRow(unsigned rowUID) const;
    // Child rows of a row, in order; empty for an unknown row.
    const std::vector<unsigned>& getChildRows(unsigned parentUID) const;
    unsigned getRowCount(unsigned parentUID) const;
    bool hasChildRows(unsigned rowUID) const;
    // Throws TypedException for an unknown parent or an index past the end.
    unsigned getRowUID(unsigned parentUID, unsigned index) const;
    // The row's parent (0 for top-level rows); throws TypedException for an unknown row or root.
    unsigned getParentRow(unsigned rowUID) const;
    // The row's place among its parent's children; -1 for an unknown row and for root.
    int getRowIndex(unsigned rowUID) const;
    // All rows but the root.
    unsigned getTotalRowCount() const;

    // Transactions nest; views hear of the changes when the outermost one ends. An
    // endTransaction without a transaction is reported as a host assertion and ignored.
    void beginTransaction();
    void endTransaction();
    bool isInTransaction() const;

    // Sent for each change of a cell's contents, at once (also inside transactions), before
    // views hear of it. Listeners may change the model, even remove the row or clear it.
    NIMB::Emitter<GLDataChangeEvent2>& getDataChangeEmitter();

protected:
    GLAbstractModel2();
    // Tells views and listeners that a cell shows something else now: subclasses that
    // compute their cells call it when what they compute from changed. Column 0 means every
    // column of the row.
    void notifyCellChanged(unsigned rowUID, unsigned columnUID);

    GLAbstractModel2Private* d_func() { return d; }
    const GLAbstractModel2Private* d_func() const { return d; }

private:
    friend class GLItemModelAdapter2;
    GLAbstractModel2Private* d; // owned
};

} // namespace TAVI
