#include "platform/tavi2/GLTreeView2.hpp"

#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLAbstractView2_p.hpp"
#include "platform/tavi2/GLDragManager2.hpp"
#include "platform/tavi2/GLMimeData2.hpp"
#include "platform/tavi2/QtConversions_p.hpp"

#include <QHeaderView>
#include <QTreeView>

#include <memory>
#include <string>

namespace TAVI {

namespace {

// Runs its drags through the drag manager, so that drop sites see them like any other.
class TreeWidget : public QTreeView {
protected:
    void startDrag(Qt::DropActions supportedActions) override {
        auto* owner = static_cast<GLAbstractView2*>(GLWidget2::fromQWidget(this));
        GLAbstractViewModel2* model = owner ? owner->getModel() : nullptr;
        GLMimeData2 data;
        if (!model || GLDragManager2::isDragging() ||
            !model->getDragData(owner->getSelectedRows(), data) || data.isEmpty())
            return;
        GLDragManager2::start(owner, data, supportedActions.toInt());
    }
};

QTreeView* makeTree(const StringID& toolkit) {
    checkToolkit(toolkit, "GLTreeView2");
    return new TreeWidget;
}

QTreeView* tree(const GLWidget2* widget) {
    return static_cast<QTreeView*>(widget->getQWidget());
}
} // namespace

class GLTreeView2Private {
public:
    std::unique_ptr<NIMB::Emitter<GLTreeExpandEvent2>> expanded;
    std::unique_ptr<NIMB::Emitter<GLTreeCollapseEvent2>> collapsed;
    QObject context; // ends the Qt connections with the private object
};

GLTreeView2::GLTreeView2(const StringID& toolkit, GLWidget2* parent)
    : GLAbstractView2(makeTree(toolkit), parent), d(new GLTreeView2Private) {
    // Rows are one line of icon and text: with equal heights Qt lays out a large model
    // without asking every row for its size.
    tree(this)->setUniformRowHeights(true);
    QObject::connect(
        tree(this), &QTreeView::expanded, &d->context, [this](const QModelIndex& index) {
            if (d->expanded)
                d->expanded->send(GLTreeExpandEvent2(this, viewPrivate()->adapter->rowOf(index)));
        });
    QObject::connect(tree(this), &QTreeView::collapsed, &d->context,
                     [this](const QModelIndex& index) {
                         if (d->collapsed)
                             d->collapsed->send(
                                 GLTreeCollapseEvent2(this, viewPrivate()->adapter->rowOf(index)));
                     });
}

GLTreeView2::~GLTreeView2() {
    delete d;
}

void GLTreeView2::setHeaderVisible(bool visible) {
    tree(this)->setHeaderHidden(!visible);
}
bool GLTreeView2::isHeaderVisible() const {
    return !tree(this)->isHeaderHidden();
}
void GLTreeView2::setColumnsMovable(bool movable) {
    tree(this)->header()->setSectionsMovable(movable);
}
bool GLTreeView2::areColumnsMovable() const {
    return tree(this)->header()->sectionsMovable();
}

void GLTreeView2::moveColumn(unsigned columnUID, int visualIndex) {
    const int logical = getModel() ? getModel()->getColumnIndex(columnUID) : -1;
    QHeaderView* header = tree(this)->header();
    if (logical < 0 || visualIndex < 0 || visualIndex >= header->count())
        throw TypedException(TAVI_HERE, "GLTreeView2::moveColumn: no column " +
                                            std::to_string(columnUID) + " or place " +
                                            std::to_string(visualIndex));
    header->moveSection(header->visualIndex(logical), visualIndex);
}

int GLTreeView2::getVisualColumnIndex(unsigned columnUID) const {
    const int logical = getModel() ? getModel()->getColumnIndex(columnUID) : -1;
    return logical < 0 ? -1 : tree(this)->header()->visualIndex(logical);
}

void GLTreeView2::setColumnWidth(unsigned columnUID, int width) {
    const int logical = getModel() ? getModel()->getColumnIndex(columnUID) : -1;
    if (logical < 0)
        throw TypedException(TAVI_HERE,
                             "GLTreeView2::setColumnWidth: no column " + std::to_string(columnUID));
    tree(this)->setColumnWidth(logical, width);
}

int GLTreeView2::getColumnWidth(unsigned columnUID) const {
    const int logical = getModel() ? getModel()->getColumnIndex(columnUID) : -1;
    return logical < 0 ? 0 : tree(this)->columnWidth(logical);
}

void GLTreeView2::setAlternatingRowColors(bool alternate) {
    tree(this)->setAlternatingRowColors(alternate);
}
bool GLTreeView2::hasAlternatingRowColors() const {
    return tree(this)->alternatingRowColors();
}
void GLTreeView2::setRootDecorated(bool decorated) {
    tree(this)->setRootIsDecorated(decorated);
}

void GLTreeView2::expand(unsigned rowUID) {
    const QModelIndex index = viewPrivate()->index(rowUID, 0, "GLTreeView2::expand");
    if (index.isValid())
        tree(this)->expand(index);
}

void GLTreeView2::collapse(unsigned rowUID) {
    const QModelIndex index = viewPrivate()->index(rowUID, 0, "GLTreeView2::collapse");
    if (index.isValid())
        tree(this)->collapse(index);
}

bool GLTreeView2::isExpanded(unsigned rowUID) const {
    const QModelIndex index = viewPrivate()->index(rowUID, 0, "GLTreeView2::isExpanded");
    return index.isValid() && tree(this)->isExpanded(index);
}

void GLTreeView2::expandAll() {
    tree(this)->expandAll();
}
void GLTreeView2::collapseAll() {
    tree(this)->collapseAll();
}

std::vector<unsigned> GLTreeView2::getExpandedRows() const {
    std::vector<unsigned> result;
    const GLItemModelAdapter2* adapter = viewPrivate()->adapter;
    if (!adapter)
        return result;
    // Only expanded rows are descended into, so the walk costs what is open, not the model.
    std::vector<QModelIndex> stack{QModelIndex()};
    while (!stack.empty()) {
        const QModelIndex parent = stack.back();
        stack.pop_back();
        const int count = adapter->rowCount(parent);
        std::vector<QModelIndex> open;
        for (int row = 0; row < count; ++row) {
            const QModelIndex child = adapter->index(row, 0, parent);
            if (adapter->rowCount(child) > 0 && tree(this)->isExpanded(child))
                open.push_back(child);
        }
        for (auto it = open.rbegin(); it != open.rend(); ++it)
            stack.push_back(*it);
        if (parent.isValid())
            result.push_back(adapter->rowOf(parent));
    }
    return result;
}

void GLTreeView2::setExpandedRows(const std::vector<unsigned>& rowUIDs) {
    for (unsigned uid : rowUIDs)
        viewPrivate()->index(uid, 0, "GLTreeView2::setExpandedRows");
    tree(this)->collapseAll();
    for (unsigned uid : rowUIDs) {
        for (QModelIndex index = viewPrivate()->adapter->indexOf(uid); index.isValid();
             index = index.parent())
            tree(this)->expand(index);
    }
}

void GLTreeView2::setRowHidden(unsigned rowUID, bool hidden) {
    const QModelIndex index = viewPrivate()->index(rowUID, 0, "GLTreeView2::setRowHidden");
    if (index.isValid())
        tree(this)->setRowHidden(index.row(), index.parent(), hidden);
}

bool GLTreeView2::isRowHidden(unsigned rowUID) const {
    const QModelIndex index = viewPrivate()->index(rowUID, 0, "GLTreeView2::isRowHidden");
    return index.isValid() && tree(this)->isRowHidden(index.row(), index.parent());
}

bool GLTreeView2::isRowVisible(unsigned rowUID) const {
    QModelIndex index = viewPrivate()->index(rowUID, 0, "GLTreeView2::isRowVisible");
    if (!index.isValid() || tree(this)->isRowHidden(index.row(), index.parent()))
        return false;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        if (!tree(this)->isExpanded(parent) ||
            tree(this)->isRowHidden(parent.row(), parent.parent()))
            return false;
    return true;
}

std::vector<unsigned> GLTreeView2::getVisibleRows() const {
    std::vector<unsigned> result;
    const GLItemModelAdapter2* adapter = viewPrivate()->adapter;
    if (!adapter)
        return result;
    // Depth first, into expanded rows only: the rows one would pass scrolling from top to end.
    std::vector<QModelIndex> stack;
    auto pushChildren = [&](const QModelIndex& parent) {
        for (int row = adapter->rowCount(parent) - 1; row >= 0; --row)
            if (!tree(this)->isRowHidden(row, parent))
                stack.push_back(adapter->index(row, 0, parent));
    };
    pushChildren(QModelIndex());
    while (!stack.empty()) {
        const QModelIndex index = stack.back();
        stack.pop_back();
        result.push_back(adapter->rowOf(index));
        if (tree(this)->isExpanded(index))
            pushChildren(index);
    }
    return result;
}

std::vector<unsigned> GLTreeView2::getRowsInView() const {
    std::vector<unsigned> result;
    QTreeView* view = tree(this);
    const GLItemModelAdapter2* adapter = viewPrivate()->adapter;
    if (!adapter)
        return result;
    const int height = view->viewport()->height();
    for (QModelIndex index = view->indexAt(QPoint(1, 1)); index.isValid();
         index = view->indexBelow(index)) {
        if (view->visualRect(index).top() >= height)
            break;
        result.push_back(adapter->rowOf(index));
    }
    return result;
}

NIMB::Emitter<GLTreeExpandEvent2>& GLTreeView2::getExpandEmitter() {
    if (!d->expanded)
        d->expanded = std::make_unique<NIMB::Emitter<GLTreeExpandEvent2>>();
    return *d->expanded;
}

NIMB::Emitter<GLTreeCollapseEvent2>& GLTreeView2::getCollapseEmitter() {
    if (!d->collapsed)
        d->collapsed = std::make_unique<NIMB::Emitter<GLTreeCollapseEvent2>>();
    return *d->collapsed;
}

} // namespace TAVI
