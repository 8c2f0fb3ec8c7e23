#include "platform/tavi2/GLItemModelAdapter2_p.hpp"

#include "platform/tavi2/GLAbstractViewModel2.hpp"
#include "platform/tavi2/GLMimeData2.hpp"
#include "platform/tavi2/MimeRegistry.hpp"
#include "platform/tavi2/QtConversions_p.hpp"

#include <QBrush>
#include <QMimeData>

#include <unordered_set>

namespace TAVI {

GLItemModelAdapter2* GLItemModelAdapter2::forModel(GLAbstractViewModel2* model) {
    GLAbstractModel2Private* d = model->d;
    if (!d->adapter)
        d->adapter.reset(new GLItemModelAdapter2(model));
    return static_cast<GLItemModelAdapter2*>(d->adapter.get());
}

GLItemModelAdapter2::GLItemModelAdapter2(GLAbstractViewModel2* model) : model(model) {}

const GLAbstractModel2Private* GLItemModelAdapter2::store() const {
    return model->d;
}

QModelIndex GLItemModelAdapter2::indexOf(unsigned rowUID, unsigned columnIndex) const {
    const GLAbstractModel2Private* d = store();
    if (rowUID == 0 || !d->findRow(rowUID) || columnIndex >= d->columns.size() ||
        !d->isKnown(rowUID))
        return QModelIndex();
    return createIndex(int(d->indexOf(rowUID)), int(columnIndex), idOf(rowUID));
}

unsigned GLItemModelAdapter2::columnOf(const QModelIndex& index) const {
    const GLAbstractModel2Private* d = store();
    if (!index.isValid() || index.column() < 0 || std::size_t(index.column()) >= d->columns.size())
        return 0;
    return d->columns[std::size_t(index.column())].uid;
}

QModelIndex GLItemModelAdapter2::index(int row, int column, const QModelIndex& parent) const {
    const GLAbstractModel2Private* d = store();
    const GLModelRow2* parentRow = d->findRow(rowOf(parent));
    if (!parentRow || row < 0 || column < 0 || unsigned(row) >= parentRow->exposed ||
        std::size_t(column) >= d->columns.size())
        return QModelIndex();
    return createIndex(row, column, idOf(parentRow->children[std::size_t(row)]));
}

QModelIndex GLItemModelAdapter2::parent(const QModelIndex& child) const {
    const GLAbstractModel2Private* d = store();
    const GLModelRow2* row = d->findRow(rowOf(child));
    if (!child.isValid() || !row || row->parent == 0)
        return QModelIndex();
    return createIndex(int(d->indexOf(row->parent)), 0, idOf(row->parent));
}

int GLItemModelAdapter2::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return 0;
    const GLModelRow2* row = store()->findRow(rowOf(parent));
    return row ? int(row->exposed) : 0;
}

int GLItemModelAdapter2::columnCount(const QModelIndex&) const {
    return int(store()->columns.size());
}

bool GLItemModelAdapter2::hasChildren(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return false;
    return rowCount(parent) > 0 || (parent.isValid() && model->isRowExpandable(rowOf(parent)));
}

QIcon GLItemModelAdapter2::icon(const Icon& value) const {
    QString key;
    for (const Icon::Entry& entry : value.getEntries())
        key += QString::number(entry.mode) + QString::number(entry.state) + toQString(entry.file) +
               QChar(0);
    auto it = icons.find(key);
    if (it == icons.end())
        it = icons.insert(key, toQIcon(value));
    return *it;
}

QVariant GLItemModelAdapter2::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return QVariant();
    const unsigned row = rowOf(index);
    const unsigned column = columnOf(index);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ToolTipRole:
        return toQString(model->getText(row, column));
    case Qt::DecorationRole: {
        const Icon value = model->getIcon(row, column);
        return value.isNull() ? QVariant() : QVariant(icon(value));
    }
    case Qt::ForegroundRole:
    case Qt::BackgroundRole: {
        const QColor color = toQColor(model->getColor(row, column,
                                                      role == Qt::ForegroundRole
                                                          ? GLAbstractViewModel2::ForegroundColor
                                                          : GLAbstractViewModel2::BackgroundColor));
        return color.isValid() ? QVariant(QBrush(color)) : QVariant();
    }
    default:
        return QVariant();
    }
}

bool GLItemModelAdapter2::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    // The model reports the change itself when it takes the value.
    return model->setValueFromEditor(rowOf(index), columnOf(index), fromQString(value.toString()));
}

Qt::ItemFlags GLItemModelAdapter2::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (!model->isReadOnly(rowOf(index), columnOf(index)))
        result |= Qt::ItemIsEditable;
    return result;
}

QVariant GLItemModelAdapter2::headerData(int section, Qt::Orientation orientation, int role) const {
    const GLAbstractModel2Private* d = store();
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        std::size_t(section) >= d->columns.size())
        return QVariant();
    return toQString(model->getColumnLabel(d->columns[std::size_t(section)].uid));
}

QStringList GLItemModelAdapter2::mimeTypes() const {
    QStringList types{QStringLiteral("text/plain")};
    for (const std::string& type : MimeRegistry::getRegisteredTypes())
        types.append(toQString(type));
    return types;
}

std::vector<unsigned> GLItemModelAdapter2::rowsOf(const QModelIndexList& indexes) const {
    std::vector<unsigned> rows;
    std::unordered_set<unsigned> seen;
    for (const QModelIndex& index : indexes)
        if (index.isValid() && seen.insert(rowOf(index)).second)
            rows.push_back(rowOf(index));
    return rows;
}

QMimeData* GLItemModelAdapter2::mimeData(const QModelIndexList& indexes) const {
    GLMimeData2 data;
    const std::vector<unsigned> rows = rowsOf(indexes);
    if (rows.empty() || !model->getDragData(rows, data) || data.isEmpty())
        return nullptr;
    return data.toQMimeData();
}

Qt::DropActions GLItemModelAdapter2::supportedDragActions() const {
    return Qt::CopyAction | Qt::MoveAction;
}

void GLItemModelAdapter2::beginInsertRows(unsigned parentUID, unsigned first, unsigned last) {
    QAbstractItemModel::beginInsertRows(indexOf(parentUID), int(first), int(last));
}

void GLItemModelAdapter2::endInsertRows() {
    QAbstractItemModel::endInsertRows();
}

void GLItemModelAdapter2::beginRemoveRows(unsigned parentUID, unsigned first, unsigned last) {
    QAbstractItemModel::beginRemoveRows(indexOf(parentUID), int(first), int(last));
}

void GLItemModelAdapter2::endRemoveRows() {
    QAbstractItemModel::endRemoveRows();
}

void GLItemModelAdapter2::beginInsertColumns(unsigned first, unsigned last) {
    QAbstractItemModel::beginInsertColumns(QModelIndex(), int(first), int(last));
}

void GLItemModelAdapter2::endInsertColumns() {
    QAbstractItemModel::endInsertColumns();
}

void GLItemModelAdapter2::cellsChanged(unsigned parentUID, unsigned firstRow, unsigned lastRow,
                                       unsigned firstColumn, unsigned lastColumn) {
    const QModelIndex parent = indexOf(parentUID);
    Q_EMIT dataChanged(index(int(firstRow), int(firstColumn), parent),
                       index(int(lastRow), int(lastColumn), parent));
}

void GLItemModelAdapter2::childIndicatorChanged(unsigned rowUID) {
    // Views keep whether a row has children with their layout: have them lay out again. No
    // row moves, so no index changes.
    const QModelIndex parent = indexOf(model->getParentRow(rowUID));
    Q_EMIT layoutAboutToBeChanged({parent});
    Q_EMIT layoutChanged({parent});
}

void GLItemModelAdapter2::beginReset() {
    icons.clear();
    beginResetModel();
}

void GLItemModelAdapter2::endReset() {
    endResetModel();
}

void GLItemModelAdapter2::viewDetaching(bool stillShown) {
    if (views > 0)
        --views;
    if (views > 0 || !stillShown)
        return;
    // Nothing of the model changes: the view still attached hears that every index is gone and
    // lets go of its own, as it does on a reset, while Qt empties its table in one step.
    beginResetModel();
    endResetModel();
}

void GLItemModelAdapter2::headerChanged(unsigned firstColumn, unsigned lastColumn) {
    Q_EMIT headerDataChanged(Qt::Horizontal, int(firstColumn), int(lastColumn));
}

} // namespace TAVI
