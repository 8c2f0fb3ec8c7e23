// Private to platform/tavi2/: included only by its own sources and tests; not installed.
#pragma once

#include "platform/tavi/Color.hpp"
#include "platform/tavi/Icon.hpp"
#include "platform/tavi/any.hpp"
#include "platform/tavi2/GLAbstractModel2.hpp"

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace TAVI {

struct GLModelCell2 {
    any value;
    std::shared_ptr<const Icon> icon; // the model's one copy of it; null for none
    Color foreground;
    Color background;
    bool readOnly = false;
};

struct GLModelRow2 {
    unsigned parent = 0;
    std::vector<unsigned> children;
    // The row's place in its parent, checked before use: removals above it make it stale.
    mutable unsigned index = 0;
    // How many of the children the views know of. Rows appended in a transaction stay unknown
    // to them until it ends. A row the views do not know keeps all its children "known", so
    // that it can be shown whole the moment it is.
    unsigned exposed = 0;
    std::vector<GLModelCell2> cells; // by column index; shorter when later cells are empty
    bool expandable = false;         // offers to expand before it has children
};

struct GLModelColumn2 {
    unsigned uid = 0;
    std::string label;
};

// Hears of every change in the order views must: structural changes bracketed before and
// after, cell changes as ranges of one parent's rows. The Qt item model adapter is one.
class GLModelObserver2 {
public:
    virtual ~GLModelObserver2() = default;
    virtual void beginInsertRows(unsigned parentUID, unsigned first, unsigned last) = 0;
    virtual void endInsertRows() = 0;
    virtual void beginRemoveRows(unsigned parentUID, unsigned first, unsigned last) = 0;
    virtual void endRemoveRows() = 0;
    virtual void beginInsertColumns(unsigned first, unsigned last) = 0;
    virtual void endInsertColumns() = 0;
    virtual void cellsChanged(unsigned parentUID, unsigned firstRow, unsigned lastRow,
                              unsigned firstColumn, unsigned lastColumn) = 0;
    virtual void headerChanged(unsigned firstColumn, unsigned lastColumn) = 0;
    // Whether a row has children may have changed without rows coming or going.
    virtual void childIndicatorChanged(unsigned rowUID) = 0;
    virtual void beginReset() = 0;
    virtual void endReset() = 0;
};

class GLAbstractModel2Private {
public:
    explicit GLAbstractModel2Private(GLAbstractModel2* q);

    GLAbstractModel2* q;
    std::unordered_map<unsigned, GLModelRow2> rows; // the root (0) included
    std::vector<GLModelColumn2> columns;
    std::unordered_map<unsigned, unsigned> columnIndex;
    unsigned nextRowUID = 1;
    unsigned nextColumnUID = 1;

    int transactionDepth = 0;
    // Known parents that got rows in the open transaction, in the order they got them.
    std::vector<unsigned> pendingParents;
    std::unordered_set<unsigned> pendingSet;
    struct DirtyRange {
        unsigned firstRow, lastRow, firstColumn, lastColumn;
    };
    std::unordered_map<unsigned, DirtyRange> dirty; // by parent

    std::unique_ptr<GLModelObserver2> adapter; // the Qt item model, made by the first view

    // One copy of each icon the cells show: a large model's rows show a few icons many times,
    // and each row holding its own would cost two allocations to make and to let go of.
    struct IconHash {
        std::size_t operator()(const Icon& icon) const;
    };
    std::unordered_map<Icon, std::weak_ptr<const Icon>, IconHash> icons;
    std::size_t iconsSweptAt = 0;
    std::unique_ptr<NIMB::Emitter<GLDataChangeEvent2>> dataChanged;

    const GLModelRow2* findRow(unsigned uid) const;
    GLModelRow2* findRow(unsigned uid);
    unsigned indexOf(unsigned uid) const; // the row must exist and not be the root
    // Whether views know the row: each ancestor shows it among its known children.
    bool isKnown(unsigned uid) const;
    const GLModelCell2* cell(unsigned rowUID, unsigned columnIndex) const;
    // The cell, made on first write; null for an unknown row or column.
    GLModelCell2* writableCell(unsigned rowUID, unsigned columnUID);
    // Reports a change of one cell (every column when columnUID is 0).
    void cellChanged(unsigned rowUID, unsigned columnUID);
    // The model's copy of a non-null icon.
    std::shared_ptr<const Icon> sharedIcon(const Icon& icon);
    void eraseSubtree(unsigned uid);
    void flush();
};

} // namespace TAVI
