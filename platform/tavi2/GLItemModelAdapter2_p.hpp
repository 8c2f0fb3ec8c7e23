// Private to platform/tavi2/: included only by its own sources and tests; not installed.
#pragma once

#include "platform/tavi2/GLAbstractModel2_p.hpp"

#include <QAbstractItemModel>
#include <QHash>
#include <QIcon>

namespace TAVI {

class GLAbstractViewModel2;

// The number that multiplied by odd gives 1 modulo the word size. Newton's iteration: each
// step doubles the number of correct low bits.
constexpr quintptr inverseModWord(quintptr odd) {
    quintptr x = odd;
    for (int i = 0; i < 6; ++i)
        x *= quintptr(2) - odd * x;
    return x;
}

// Shows a view model to Qt's views. An index carries its row's id, so finding a row's index
// and its parent costs a lookup, never a search. Owned by its model; one per model, shared by
// all views of it.
class GLItemModelAdapter2 : public QAbstractItemModel, public GLModelObserver2 {
public:
    // The model's adapter, made on first request.
    static GLItemModelAdapter2* forModel(GLAbstractViewModel2* model);

    GLAbstractViewModel2* viewModel() const { return model; }
    // The index of a row's cell; invalid for the root, unknown rows and rows views do not
    // know yet (appended in an open transaction).
    QModelIndex indexOf(unsigned rowUID, unsigned columnIndex = 0) const;
    unsigned rowOf(const QModelIndex& index) const {
        return index.isValid() ? unsigned(quintptr(index.internalId()) * unspread) : 0;
    }
    unsigned columnOf(const QModelIndex& index) const;

    QModelIndex index(int row, int column,
                      const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;
    // The distinct rows of some indexes, in their order.
    std::vector<unsigned> rowsOf(const QModelIndexList& indexes) const;

    void beginInsertRows(unsigned parentUID, unsigned first, unsigned last) override;
    void endInsertRows() override;
    void beginRemoveRows(unsigned parentUID, unsigned first, unsigned last) override;
    void endRemoveRows() override;
    void beginInsertColumns(unsigned first, unsigned last) override;
    void endInsertColumns() override;
    void cellsChanged(unsigned parentUID, unsigned firstRow, unsigned lastRow, unsigned firstColumn,
                      unsigned lastColumn) override;
    void headerChanged(unsigned firstColumn, unsigned lastColumn) override;
    void childIndicatorChanged(unsigned rowUID) override;
    void beginReset() override;
    void endReset() override;

    // Each view says when it takes the model up and when it is about to let go of it (with
    // whether its Qt view still shows it). While the last one still shows it, Qt forgets every
    // persistent index of the model in one reset: otherwise the view drops its own (one per
    // expanded or selected row) one by one, each taken out of Qt's table of them, which holds
    // the close of a fully expanded tree of 100,000 rows up. Other views are left alone.
    void viewAttached() { ++views; }
    void viewDetaching(bool stillShown);

private:
    // An index carries its row's id multiplied by an odd number, which multiplying by the
    // number's inverse undoes. Qt hashes an index by adding its row and column to that value,
    // with no mixing, and keeps colliding keys in neighbouring slots: plain ids, which count
    // up, would fill one long run of slots that every lookup of a persistent index (one per
    // expanded or selected row) walks, and a view would take minutes to let go of a fully
    // expanded tree of 100,000 rows. Scrambled, they spread over the table.
    static constexpr quintptr spread = quintptr(0x9E3779B97F4A7C15ull);
    static constexpr quintptr unspread = inverseModWord(spread);
    static_assert(spread * unspread == 1, "the id scrambling must be undone exactly");
    static quintptr idOf(unsigned rowUID) { return quintptr(rowUID) * spread; }

    explicit GLItemModelAdapter2(GLAbstractViewModel2* model);
    const GLAbstractModel2Private* store() const;
    QIcon icon(const Icon& icon) const;

    GLAbstractViewModel2* model;
    int views = 0;
    // Qt caches a decoded image per QIcon: keep one QIcon per set of files.
    mutable QHash<QString, QIcon> icons;
};

} // namespace TAVI
