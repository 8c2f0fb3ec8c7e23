#include "platform/tavi2/GLAbstractModel2.hpp"

#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLAbstractModel2_p.hpp"
#include "platform/zu/zuAssert.hpp"

#include <algorithm>
#include <climits>
#include <map>
#include <string>

namespace TAVI {

namespace {

const std::vector<unsigned> noRows;

std::string rowText(unsigned uid) {
    return std::to_string(uid);
}

} // namespace

GLAbstractModel2Private::GLAbstractModel2Private(GLAbstractModel2* q) : q(q) {
    rows.emplace(0u, GLModelRow2{});
}

const GLModelRow2* GLAbstractModel2Private::findRow(unsigned uid) const {
    const auto it = rows.find(uid);
    return it == rows.end() ? nullptr : &it->second;
}

GLModelRow2* GLAbstractModel2Private::findRow(unsigned uid) {
    const auto it = rows.find(uid);
    return it == rows.end() ? nullptr : &it->second;
}

unsigned GLAbstractModel2Private::indexOf(unsigned uid) const {
    const GLModelRow2& row = rows.at(uid);
    const GLModelRow2& parent = rows.at(row.parent);
    if (row.index < parent.children.size() && parent.children[row.index] == uid)
        return row.index;
    // Stale after a removal above it: renumber the siblings once, for all of them.
    for (unsigned i = 0; i < parent.children.size(); ++i)
        rows.at(parent.children[i]).index = i;
    return row.index;
}

bool GLAbstractModel2Private::isKnown(unsigned uid) const {
    while (uid != 0) {
        const GLModelRow2& row = rows.at(uid);
        if (indexOf(uid) >= rows.at(row.parent).exposed)
            return false;
        uid = row.parent;
    }
    return true;
}

const GLModelCell2* GLAbstractModel2Private::cell(unsigned rowUID, unsigned column) const {
    const GLModelRow2* row = findRow(rowUID);
    if (!row || column >= row->cells.size())
        return nullptr;
    return &row->cells[column];
}

GLModelCell2* GLAbstractModel2Private::writableCell(unsigned rowUID, unsigned columnUID) {
    GLModelRow2* row = rowUID == 0 ? nullptr : findRow(rowUID);
    const auto column = columnIndex.find(columnUID);
    if (!row || column == columnIndex.end())
        return nullptr;
    if (row->cells.size() <= column->second)
        row->cells.resize(column->second + 1);
    return &row->cells[column->second];
}

std::size_t GLAbstractModel2Private::IconHash::operator()(const Icon& icon) const {
    std::size_t hash = 0;
    for (const Icon::Entry& entry : icon.getEntries())
        hash = hash * 31 + std::hash<std::string>()(entry.file) +
               std::size_t(entry.mode * 4 + entry.state);
    return hash;
}

std::shared_ptr<const Icon> GLAbstractModel2Private::sharedIcon(const Icon& icon) {
    auto [it, added] = icons.try_emplace(icon);
    if (std::shared_ptr<const Icon> shared = it->second.lock())
        return shared;
    auto shared = std::make_shared<const Icon>(icon);
    it->second = shared;
    // Icons no cell shows any more go now and then, so that a model whose icons keep changing
    // does not keep them all.
    if (added && icons.size() > 2 * iconsSweptAt + 64) {
        std::erase_if(icons, [](const auto& entry) { return entry.second.expired(); });
        iconsSweptAt = icons.size();
    }
    return shared;
}

void GLAbstractModel2Private::cellChanged(unsigned rowUID, unsigned columnUID) {
    if (dataChanged)
        dataChanged->send(GLDataChangeEvent2(rowUID, columnUID));
    // A listener may have removed the row or started the model over: views then heard of that.
    if (!findRow(rowUID) || (columnUID != 0 && !columnIndex.count(columnUID)))
        return;
    if (!adapter || columns.empty() || !isKnown(rowUID))
        return;
    const unsigned index = indexOf(rowUID);
    const unsigned parent = rows.at(rowUID).parent;
    const unsigned firstColumn = columnUID == 0 ? 0 : columnIndex.at(columnUID);
    const unsigned lastColumn = columnUID == 0 ? unsigned(columns.size() - 1) : firstColumn;
    if (transactionDepth == 0) {
        adapter->cellsChanged(parent, index, index, firstColumn, lastColumn);
        return;
    }
    const auto [it, added] =
        dirty.try_emplace(parent, DirtyRange{index, index, firstColumn, lastColumn});
    if (!added) {
        DirtyRange& range = it->second;
        range.firstRow = std::min(range.firstRow, index);
        range.lastRow = std::max(range.lastRow, index);
        range.firstColumn = std::min(range.firstColumn, firstColumn);
        range.lastColumn = std::max(range.lastColumn, lastColumn);
    }
}

void GLAbstractModel2Private::eraseSubtree(unsigned uid) {
    // Iterative: a deep chain of rows must not exhaust the stack.
    std::vector<unsigned> stack{uid};
    while (!stack.empty()) {
        const unsigned current = stack.back();
        stack.pop_back();
        auto it = rows.find(current);
        stack.insert(stack.end(), it->second.children.begin(), it->second.children.end());
        rows.erase(it);
        pendingSet.erase(current);
        dirty.erase(current);
    }
}

void GLAbstractModel2Private::flush() {
    // Appended rows first, so that the changed ranges below may reach into them.
    for (unsigned parentUID : pendingParents) {
        if (!pendingSet.count(parentUID))
            continue; // removed meanwhile
        GLModelRow2& parent = rows.at(parentUID);
        const unsigned size = unsigned(parent.children.size());
        if (parent.exposed >= size)
            continue;
        if (adapter)
            adapter->beginInsertRows(parentUID, parent.exposed, size - 1);
        parent.exposed = size;
        if (adapter)
            adapter->endInsertRows();
    }
    pendingParents.clear();
    pendingSet.clear();
    auto changed = std::move(dirty);
    dirty.clear();
    if (!adapter)
        return;
    for (const auto& [parentUID, range] : changed) {
        const GLModelRow2* parent = findRow(parentUID);
        if (!parent || parent->exposed == 0 || columns.empty())
            continue;
        const unsigned lastRow = std::min(range.lastRow, parent->exposed - 1);
        const unsigned lastColumn = std::min(range.lastColumn, unsigned(columns.size() - 1));
        if (range.firstRow <= lastRow)
            adapter->cellsChanged(parentUID, range.firstRow, lastRow, range.firstColumn,
                                  lastColumn);
    }
}

GLAbstractModel2::GLAbstractModel2() : d(new GLAbstractModel2Private(this)) {}

GLAbstractModel2::~GLAbstractModel2() {
    delete d;
}

std::vector<unsigned> GLAbstractModel2::appendColumns(unsigned count) {
    std::vector<unsigned> added;
    if (count == 0)
        return added;
    // Qt's views count columns in int, and ids are never given out twice: a count past
    // either (a negative number passed as unsigned, most likely) would wrap them.
    if (count > unsigned(INT_MAX) - unsigned(d->columns.size()) ||
        count > UINT_MAX - d->nextColumnUID)
        throw TypedException(TAVI_HERE, "GLAbstractModel2::appendColumns: too many columns (" +
                                            std::to_string(count) + ")");
    const unsigned first = unsigned(d->columns.size());
    if (d->adapter)
        d->adapter->beginInsertColumns(first, first + count - 1);
    for (unsigned i = 0; i < count; ++i) {
        const unsigned uid = d->nextColumnUID++;
        d->columnIndex.emplace(uid, unsigned(d->columns.size()));
        d->columns.push_back(GLModelColumn2{uid, {}});
        added.push_back(uid);
    }
    if (d->adapter)
        d->adapter->endInsertColumns();
    return added;
}

unsigned GLAbstractModel2::getColumnCount() const {
    return unsigned(d->columns.size());
}

unsigned GLAbstractModel2::getColumnUID(unsigned index) const {
    if (index >= d->columns.size())
        throw TypedException(TAVI_HERE, "GLAbstractModel2::getColumnUID: no column at index " +
                                            std::to_string(index));
    return d->columns[index].uid;
}

int GLAbstractModel2::getColumnIndex(unsigned columnUID) const {
    const auto it = d->columnIndex.find(columnUID);
    return it == d->columnIndex.end() ? -1 : int(it->second);
}

bool GLAbstractModel2::hasColumn(unsigned columnUID) const {
    return d->columnIndex.count(columnUID) != 0;
}

std::vector<unsigned> GLAbstractModel2::appendRows(unsigned parentUID, unsigned count) {
    GLModelRow2* parent = d->findRow(parentUID);
    if (!parent)
        throw TypedException(TAVI_HERE,
                             "GLAbstractModel2::appendRows: no row " + rowText(parentUID));
    std::vector<unsigned> added;
    if (count == 0)
        return added;
    // As for columns: Qt counts a parent's rows in int, and row ids must not wrap to the root's.
    if (count > unsigned(INT_MAX) - unsigned(parent->children.size()) ||
        count > UINT_MAX - d->nextRowUID)
        throw TypedException(TAVI_HERE, "GLAbstractModel2::appendRows: too many rows (" +
                                            std::to_string(count) + ") under row " +
                                            rowText(parentUID));
    added.reserve(count);
    const unsigned first = unsigned(parent->children.size());
    const bool known = d->isKnown(parentUID);
    const bool tell = known && d->transactionDepth == 0 && d->adapter;
    if (tell)
        d->adapter->beginInsertRows(parentUID, first, first + count - 1);
    d->rows.reserve(d->rows.size() + count);
    parent = d->findRow(parentUID); // reserve may have moved it
    parent->children.reserve(first + count);
    for (unsigned i = 0; i < count; ++i) {
        const unsigned uid = d->nextRowUID++;
        GLModelRow2 row;
        row.parent = parentUID;
        row.index = first + i;
        d->rows.emplace(uid, std::move(row));
        parent->children.push_back(uid);
        added.push_back(uid);
    }
    if (known && d->transactionDepth > 0) {
        if (d->pendingSet.insert(parentUID).second)
            d->pendingParents.push_back(parentUID);
    } else {
        // Told now, or unknown to the views: either way they know all of its children.
        parent->exposed = unsigned(parent->children.size());
    }
    if (tell)
        d->adapter->endInsertRows();
    return added;
}

unsigned GLAbstractModel2::appendRow(unsigned parentUID) {
    return appendRows(parentUID, 1).front();
}

std::vector<unsigned> GLAbstractModel2::insertRows(unsigned parentUID, unsigned index,
                                                   unsigned count) {
    const GLModelRow2* found = d->findRow(parentUID);
    if (!found || index > found->children.size())
        throw TypedException(TAVI_HERE, "GLAbstractModel2::insertRows: no row " +
                                            rowText(parentUID) + " or place " +
                                            std::to_string(index) + " under it");
    if (index == found->children.size() || count == 0)
        return appendRows(parentUID, count);
    if (count > unsigned(INT_MAX) - unsigned(found->children.size()) ||
        count > UINT_MAX - d->nextRowUID)
        throw TypedException(TAVI_HERE, "GLAbstractModel2::insertRows: too many rows (" +
                                            std::to_string(count) + ") under row " +
                                            rowText(parentUID));
    const bool known = d->isKnown(parentUID);
    // Among the rows appended in the open transaction, the new ones wait with them.
    const bool now = known && index <= found->exposed;
    if (now && d->adapter)
        d->adapter->beginInsertRows(parentUID, index, index + count - 1);
    std::vector<unsigned> added;
    added.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        const unsigned uid = d->nextRowUID++;
        GLModelRow2 row;
        row.parent = parentUID;
        row.index = index + i; // the rows after them renumber when next asked
        d->rows.emplace(uid, std::move(row));
        added.push_back(uid);
    }
    GLModelRow2& parent = d->rows.at(parentUID);
    parent.children.insert(parent.children.begin() + index, added.begin(), added.end());
    if (!known)
        parent.exposed = unsigned(parent.children.size());
    else if (now)
        parent.exposed += count;
    if (now && d->adapter)
        d->adapter->endInsertRows();
    // Changed ranges of this parent no longer name the same rows: widen them.
    if (auto it = d->dirty.find(parentUID); it != d->dirty.end()) {
        it->second.firstRow = 0;
        it->second.lastRow = unsigned(parent.children.size() - 1);
    }
    return added;
}

void GLAbstractModel2::removeRows(const std::vector<unsigned>& rowUIDs) {
    for (unsigned uid : rowUIDs)
        if (uid == 0 || !d->findRow(uid))
            throw TypedException(TAVI_HERE, "GLAbstractModel2::removeRows: no row " + rowText(uid) +
                                                (uid == 0 ? " (the root cannot be removed)" : ""));
    // Group by parent; the order of parents does not matter, as each group stands alone.
    std::map<unsigned, std::vector<unsigned>> byParent;
    for (unsigned uid : rowUIDs)
        byParent[d->rows.at(uid).parent].push_back(uid);
    for (auto& [parentUID, uids] : byParent) {
        if (!d->findRow(parentUID))
            continue; // went with an ancestor removed before
        std::vector<unsigned> indices;
        indices.reserve(uids.size());
        for (unsigned uid : uids)
            if (d->findRow(uid))
                indices.push_back(d->indexOf(uid));
        std::sort(indices.begin(), indices.end());
        indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
        const bool known = d->isKnown(parentUID);
        // Runs of neighbouring rows, from the last up, so that earlier indices stay valid.
        std::size_t end = indices.size();
        while (end > 0) {
            std::size_t begin = end - 1;
            while (begin > 0 && indices[begin - 1] + 1 == indices[begin])
                --begin;
            const unsigned first = indices[begin];
            const unsigned last = indices[end - 1];
            end = begin;
            GLModelRow2& parent = d->rows.at(parentUID);
            auto erase = [&](unsigned from, unsigned to) {
                for (unsigned i = from; i <= to; ++i)
                    d->eraseSubtree(parent.children[i]);
                parent.children.erase(parent.children.begin() + from,
                                      parent.children.begin() + to + 1);
            };
            if (!known) {
                erase(first, last);
                parent.exposed = unsigned(parent.children.size());
                continue;
            }
            // Rows views do not know yet go silently; the known part is bracketed for them.
            if (last >= parent.exposed)
                erase(std::max(first, parent.exposed), last);
            if (first < parent.exposed) {
                const unsigned knownLast = std::min(last, parent.exposed - 1);
                if (d->adapter)
                    d->adapter->beginRemoveRows(parentUID, first, knownLast);
                erase(first, knownLast);
                parent.exposed -= knownLast - first + 1;
                if (d->adapter)
                    d->adapter->endRemoveRows();
                // Changed ranges of this parent no longer name the same rows: widen them.
                if (auto it = d->dirty.find(parentUID); it != d->dirty.end()) {
                    it->second.firstRow = 0;
                    it->second.lastRow = parent.exposed == 0 ? 0 : parent.exposed - 1;
                }
            }
        }
    }
}

void GLAbstractModel2::removeAllRows() {
    const std::vector<unsigned> topLevel = d->rows.at(0).children;
    removeRows(topLevel);
}

void GLAbstractModel2::clear() {
    if (d->adapter)
        d->adapter->beginReset();
    d->rows.clear();
    d->rows.emplace(0u, GLModelRow2{});
    d->columns.clear();
    d->columnIndex.clear();
    d->pendingParents.clear();
    d->pendingSet.clear();
    d->dirty.clear();
    d->icons.clear();
    d->iconsSweptAt = 0;
    if (d->adapter)
        d->adapter->endReset();
}

bool GLAbstractModel2::hasRow(unsigned rowUID) const {
    return d->findRow(rowUID) != nullptr;
}

const std::vector<unsigned>& GLAbstractModel2::getChildRows(unsigned parentUID) const {
    const GLModelRow2* row = d->findRow(parentUID);
    return row ? row->children : noRows;
}

unsigned GLAbstractModel2::getRowCount(unsigned parentUID) const {
    return unsigned(getChildRows(parentUID).size());
}
bool GLAbstractModel2::hasChildRows(unsigned rowUID) const {
    return !getChildRows(rowUID).empty();
}

unsigned GLAbstractModel2::getRowUID(unsigned parentUID, unsigned index) const {
    const GLModelRow2* row = d->findRow(parentUID);
    if (!row || index >= row->children.size())
        throw TypedException(TAVI_HERE, "GLAbstractModel2::getRowUID: no row at index " +
                                            std::to_string(index) + " under row " +
                                            rowText(parentUID));
    return row->children[index];
}

unsigned GLAbstractModel2::getParentRow(unsigned rowUID) const {
    const GLModelRow2* row = rowUID == 0 ? nullptr : d->findRow(rowUID);
    if (!row)
        throw TypedException(TAVI_HERE,
                             "GLAbstractModel2::getParentRow: no row " + rowText(rowUID));
    return row->parent;
}

int GLAbstractModel2::getRowIndex(unsigned rowUID) const {
    if (rowUID == 0 || !d->findRow(rowUID))
        return -1;
    return int(d->indexOf(rowUID));
}

unsigned GLAbstractModel2::getTotalRowCount() const {
    return unsigned(d->rows.size() - 1);
}

void GLAbstractModel2::beginTransaction() {
    ++d->transactionDepth;
}

void GLAbstractModel2::endTransaction() {
    zu_assert(d->transactionDepth > 0, "GLAbstractModel2::endTransaction without beginTransaction");
    if (d->transactionDepth == 0)
        return;
    if (--d->transactionDepth == 0)
        d->flush();
}

bool GLAbstractModel2::isInTransaction() const {
    return d->transactionDepth > 0;
}

NIMB::Emitter<GLDataChangeEvent2>& GLAbstractModel2::getDataChangeEmitter() {
    if (!d->dataChanged)
        d->dataChanged = std::make_unique<NIMB::Emitter<GLDataChangeEvent2>>();
    return *d->dataChanged;
}

void GLAbstractModel2::notifyCellChanged(unsigned rowUID, unsigned columnUID) {
    if (rowUID == 0 || !d->findRow(rowUID) || (columnUID != 0 && !hasColumn(columnUID)))
        throw TypedException(TAVI_HERE, "GLAbstractModel2::notifyCellChanged: no cell (" +
                                            rowText(rowUID) + ", " + std::to_string(columnUID) +
                                            ")");
    d->cellChanged(rowUID, columnUID);
}

} // namespace TAVI
