#include "platform/tavi2/GLAbstractView2.hpp"

#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLAbstractView2_p.hpp"
#include "platform/tavi2/QtTree_p.hpp"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QMetaProperty>
#include <QTimer>

#include <algorithm>
#include <map>
#include <string>

namespace TAVI {

QWidget* GLItemDelegate2::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
    if (!view)
        return QStyledItemDelegate::createEditor(parent, option, index);
    GLAbstractView2Private* d = view->d;
    const GLModelCellRef2 cell = d->cellOf(index);
    // An editor set for this cell before the edit began (GLAbstractView2::setEditor) stands
    // unless a handler of the request sets another.
    if (!(d->offeredCell == cell))
        d->offeredEditor = nullptr;
    if (d->editRequest) {
        d->requestedCell = cell;
        d->editRequest->send(GLEditRequestEvent2(view, cell.rowUID, cell.columnUID));
        d->requestedCell = GLModelCellRef2{};
    }
    EditorState state{cell.rowUID, cell.columnUID, false, false, nullptr};
    QWidget* editor = nullptr;
    d->offeredCell = GLModelCellRef2{};
    if (GLWidget2* offered = std::exchange(d->offeredEditor, nullptr)) {
        editor = offered->getQWidget();
        editor->setParent(parent);
        state.own = true;
    } else {
        editor = QStyledItemDelegate::createEditor(parent, option, index);
    }
    if (editor) {
        state.type = editor->metaObject();
        givenBack.removeAll(editor);
        // A listener may delete its editor while the edit is open: Qt's view lets go of it
        // then, and so must this delegate, or it would give back a widget that is gone.
        if (!editors.contains(editor))
            QObject::connect(editor, &QObject::destroyed, this,
                             [self = const_cast<GLItemDelegate2*>(this), editor]() {
                                 self->editors.remove(editor);
                             });
        editors.insert(editor, state);
    }
    return editor;
}

void GLItemDelegate2::releaseOwnEditors() {
    for (auto it = editors.begin(); it != editors.end(); ++it)
        if (it->own)
            giveBack(it.key(), true);
    for (const QPointer<QWidget>& editor : std::exchange(givenBack, {}))
        if (editor)
            giveBack(editor, true);
}

void GLItemDelegate2::giveBack(QWidget* editor, bool now) const {
    // A listener's editor stays the listener's: hidden and without a parent, ready for reuse.
    editor->removeEventFilter(const_cast<GLItemDelegate2*>(this));
    editor->hide();
    if (now) {
        if (editor->parent())
            editor->setParent(nullptr);
        return;
    }
    givenBack.append(editor);
    QPointer<GLItemDelegate2> self(const_cast<GLItemDelegate2*>(this));
    QTimer::singleShot(0, editor, [self, editor]() {
        // Unless a new edit took it up meanwhile, or the view went (and gave it back itself).
        if (!self || !self->givenBack.removeAll(editor) || self->editors.contains(editor))
            return;
        editor->setParent(nullptr);
    });
}

void GLItemDelegate2::setEditorData(QWidget* editor, const QModelIndex& index) const {
    // A listener's editor is filled by the listener.
    if (!editors.value(editor).own)
        QStyledItemDelegate::setEditorData(editor, index);
}

void GLItemDelegate2::setModelData(QWidget* editor, QAbstractItemModel* model,
                                   const QModelIndex& index) const {
    auto it = editors.find(editor);
    if (it == editors.end())
        return;
    if (it->own) {
        it->committed = true; // the listener's editor writes its value itself
        return;
    }
    // As Qt's delegate does, but a value the model refuses is no commit.
    const QByteArray property = editor->metaObject()->userProperty().name();
    if (property.isEmpty())
        return;
    // Listeners of the change may remove the row, and Qt then closes this editor at once: the
    // edit ends committed, and its entry is gone when setData returns.
    it->committed = true;
    const bool taken = model->setData(index, editor->property(property), Qt::EditRole);
    if (auto again = editors.find(editor); again != editors.end())
        again->committed = taken;
}

void GLItemDelegate2::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    const EditorState state = editors.take(editor);
    // An editor closed because it is being destroyed (its toolkit widget let go of it, or Qt
    // took it down to a plain widget) is neither reported nor touched.
    if (state.own && (!GLWidget2::fromQWidget(editor) || editor->metaObject() != state.type))
        return;
    GLAbstractView2Private* d = view ? view->d : nullptr;
    if (d && d->editComplete && state.row != 0)
        d->editComplete->send(GLEditCompleteEvent2(view, state.row, state.column, state.committed));
    if (state.own)
        giveBack(editor, false);
    else
        QStyledItemDelegate::destroyEditor(editor, index);
}

GLAbstractView2Private::GLAbstractView2Private(GLAbstractView2* q, QAbstractItemView* view)
    : q(q), view(view), delegate(new GLItemDelegate2(q)) {
    delegate->setParent(view); // Qt's view does not own its delegate; its children go with it
    view->setItemDelegate(delegate);
}

QModelIndex GLAbstractView2Private::index(unsigned rowUID, unsigned columnUID,
                                          const char* operation) const {
    const int column = columnUID == 0 ? 0 : (model ? model->getColumnIndex(columnUID) : -1);
    if (!model || rowUID == 0 || !model->hasRow(rowUID) || column < 0)
        throw TypedException(TAVI_HERE, std::string(operation) + ": no cell (" +
                                            std::to_string(rowUID) + ", " +
                                            std::to_string(columnUID) + ")");
    return adapter->indexOf(rowUID, unsigned(column));
}

GLModelCellRef2 GLAbstractView2Private::cellOf(const QModelIndex& index) const {
    if (!index.isValid() || !adapter)
        return {};
    return {adapter->rowOf(index), adapter->columnOf(index)};
}

GLAbstractView2::GLAbstractView2(QAbstractItemView* view, GLWidget2* parent)
    : GLWidget2(view, parent, view->viewport()), d(new GLAbstractView2Private(this, view)) {
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
}

GLAbstractView2::~GLAbstractView2() {
    // Let go of the model while the Qt view still lives, so it stops reading from it.
    QObject::disconnect(d->selectionConnection);
    if (d->delegate) {
        d->delegate->releaseOwnEditors();
        d->delegate->detach();
    }
    // Editors closed by the teardown below must not reach listeners with a half-gone view.
    d->editComplete.reset();
    d->editRequest.reset();
    if (d->adapter)
        d->adapter->viewDetaching(getQWidget() != nullptr);
    if (getQWidget()) {
        QItemSelectionModel* selection = d->view->selectionModel();
        d->view->setModel(nullptr);
        delete selection;
    }
    delete d;
}

void GLAbstractView2::setModel(const Holder<GLAbstractViewModel2>& model) {
    if (d->model == model)
        return;
    QItemSelectionModel* oldSelection = d->view->selectionModel();
    QObject::disconnect(d->selectionConnection);
    if (d->adapter)
        d->adapter->viewDetaching(true);
    d->adapter = model ? GLItemModelAdapter2::forModel(model.get()) : nullptr;
    if (d->adapter)
        d->adapter->viewAttached();
    d->view->setModel(d->adapter);
    // Qt makes a selection model per item model and leaves the old one to the caller.
    delete oldSelection;
    d->model = model;
    if (QItemSelectionModel* selection = d->view->selectionModel()) {
        d->selectionConnection = QObject::connect(
            selection, &QItemSelectionModel::selectionChanged, selection, [this]() {
                if (d->selectionChanged)
                    d->selectionChanged->send(GLViewSelectionChangeEvent2(this));
            });
    }
}

GLAbstractViewModel2* GLAbstractView2::getModel() const {
    return d->model.get();
}

void GLAbstractView2::setSelectionMode(int mode) {
    if (mode < NoSelection || mode > ContiguousSelection)
        throw TypedException(TAVI_HERE, "GLAbstractView2::setSelectionMode: unknown mode " +
                                            std::to_string(mode));
    // The modes' numbers are those of QAbstractItemView::SelectionMode.
    d->view->setSelectionMode(static_cast<QAbstractItemView::SelectionMode>(mode));
}

int GLAbstractView2::getSelectionMode() const {
    return d->view->selectionMode();
}

void GLAbstractView2::setSelectedRows(const std::vector<unsigned>& rowUIDs) {
    QItemSelectionModel* selectionModel = d->view->selectionModel();
    for (unsigned uid : rowUIDs)
        d->index(uid, 0, "GLAbstractView2::setSelectedRows"); // checks every row first
    if (!selectionModel)
        return;
    // One range per run of neighbouring rows, so selecting many rows costs little.
    std::map<unsigned, std::vector<int>> byParent;
    for (unsigned uid : rowUIDs) {
        const QModelIndex index = d->adapter->indexOf(uid);
        if (index.isValid())
            byParent[d->model->getParentRow(uid)].push_back(index.row());
    }
    const int lastColumn = d->adapter->columnCount() - 1;
    QItemSelection selection;
    for (auto& [parentUID, rows] : byParent) {
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        const QModelIndex parent = d->adapter->indexOf(parentUID);
        std::size_t begin = 0;
        while (begin < rows.size()) {
            std::size_t end = begin + 1;
            while (end < rows.size() && rows[end] == rows[end - 1] + 1)
                ++end;
            selection.append(
                QItemSelectionRange(d->adapter->index(rows[begin], 0, parent),
                                    d->adapter->index(rows[end - 1], lastColumn, parent)));
            begin = end;
        }
    }
    selectionModel->select(selection, QItemSelectionModel::ClearAndSelect);
}

std::vector<unsigned> GLAbstractView2::getSelectedRows() const {
    std::vector<unsigned> result;
    QItemSelectionModel* selectionModel = d->view->selectionModel();
    if (!selectionModel || !d->adapter)
        return result;
    std::map<unsigned, std::vector<int>> byParent; // rows of each parent, to order them
    for (const QItemSelectionRange& range : selectionModel->selection()) {
        const unsigned parentUID = d->adapter->rowOf(range.parent());
        for (int row = range.top(); row <= range.bottom(); ++row)
            byParent[parentUID].push_back(row);
    }
    for (auto& [parentUID, rows] : byParent) {
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        const std::vector<unsigned>& children = d->model->getChildRows(parentUID);
        for (int row : rows)
            result.push_back(children[std::size_t(row)]);
    }
    return result;
}

void GLAbstractView2::clearSelection() {
    d->view->clearSelection();
}

void GLAbstractView2::setCurrentCell(unsigned rowUID, unsigned columnUID) {
    const QModelIndex index = d->index(rowUID, columnUID, "GLAbstractView2::setCurrentCell");
    if (index.isValid())
        d->view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

GLModelCellRef2 GLAbstractView2::getCurrentCell() const {
    return d->cellOf(d->view->currentIndex());
}

void GLAbstractView2::scrollTo(unsigned rowUID, unsigned columnUID) {
    const QModelIndex index = d->index(rowUID, columnUID, "GLAbstractView2::scrollTo");
    if (index.isValid())
        d->view->scrollTo(index, QAbstractItemView::EnsureVisible);
}

GLModelCellRef2 GLAbstractView2::getModelCellAt(int x, int y) const {
    return d->cellOf(d->view->indexAt(QPoint(x, y)));
}

GLModelCellRef2 GLAbstractView2::getModelCellAtGlobalPosition(int x, int y) const {
    return d->cellOf(d->view->indexAt(d->view->viewport()->mapFromGlobal(QPoint(x, y))));
}

void GLAbstractView2::setEditTriggers(int triggers) {
    d->view->setEditTriggers(QAbstractItemView::EditTriggers::fromInt(triggers & AllEditTriggers));
}

int GLAbstractView2::getEditTriggers() const {
    return d->view->editTriggers().toInt();
}

bool GLAbstractView2::editCell(unsigned rowUID, unsigned columnUID) {
    const QModelIndex index = d->index(rowUID, columnUID, "GLAbstractView2::editCell");
    if (!index.isValid() || !(index.flags() & Qt::ItemIsEditable))
        return false;
    d->view->setCurrentIndex(index);
    // A view that edits when the current cell changes has opened the editor already.
    if (!d->view->indexWidget(index))
        d->view->edit(index);
    return isEditing();
}

bool GLAbstractView2::isEditing() const {
    return d->delegate && d->delegate->hasOpenEditor();
}

void GLAbstractView2::setEditor(unsigned rowUID, unsigned columnUID, GLWidget2* editor) {
    const QModelIndex index = d->index(rowUID, columnUID, "GLAbstractView2::setEditor");
    // The editor goes inside the view, as cell widgets do.
    if (editor && isWidgetInside(d->view, editor->getQWidget()))
        throw TypedException(TAVI_HERE,
                             "GLAbstractView2::setEditor: the editor is the view or holds it");
    const GLModelCellRef2 cell = d->cellOf(index);
    if (d->requestedCell.isValid()) {
        if (!(cell == d->requestedCell))
            throw TypedException(
                TAVI_HERE, "GLAbstractView2::setEditor: the edit request is for another cell");
        d->offeredEditor = editor;
        d->offeredCell = cell;
        return;
    }
    if (!index.isValid() || !(index.flags() & Qt::ItemIsEditable))
        return;
    d->offeredEditor = editor;
    d->offeredCell = cell;
    d->view->setCurrentIndex(index);
    d->view->edit(index);
    d->offeredEditor = nullptr;
    d->offeredCell = GLModelCellRef2{};
}

void GLAbstractView2::setCellWidget(unsigned rowUID, unsigned columnUID, GLWidget2* widget) {
    const QModelIndex index = d->index(rowUID, columnUID, "GLAbstractView2::setCellWidget");
    // Qt puts the widget inside the view: the view itself, or a widget holding it, would
    // become its own ancestor.
    if (widget && isWidgetInside(d->view, widget->getQWidget()))
        throw TypedException(TAVI_HERE,
                             "GLAbstractView2::setCellWidget: the widget is the view or holds it");
    if (!index.isValid())
        return;
    // Qt deletes a widget it replaces, and the toolkit widget goes with it.
    d->view->setIndexWidget(index, widget ? widget->getQWidget() : nullptr);
}

GLWidget2* GLAbstractView2::getCellWidget(unsigned rowUID, unsigned columnUID) const {
    const QModelIndex index = d->index(rowUID, columnUID, "GLAbstractView2::getCellWidget");
    return index.isValid() ? GLWidget2::fromQWidget(d->view->indexWidget(index)) : nullptr;
}

void GLAbstractView2::setDragEnabled(bool enabled) {
    d->view->setDragEnabled(enabled);
    d->view->setDragDropMode(enabled ? QAbstractItemView::DragOnly : QAbstractItemView::NoDragDrop);
}

bool GLAbstractView2::isDragEnabled() const {
    return d->view->dragEnabled();
}

NIMB::Emitter<GLViewSelectionChangeEvent2>& GLAbstractView2::getSelectionChangeEmitter() {
    if (!d->selectionChanged)
        d->selectionChanged = std::make_unique<NIMB::Emitter<GLViewSelectionChangeEvent2>>();
    return *d->selectionChanged;
}

NIMB::Emitter<GLEditRequestEvent2>& GLAbstractView2::getEditRequestEmitter() {
    if (!d->editRequest)
        d->editRequest = std::make_unique<NIMB::Emitter<GLEditRequestEvent2>>();
    return *d->editRequest;
}

NIMB::Emitter<GLEditCompleteEvent2>& GLAbstractView2::getEditCompleteEmitter() {
    if (!d->editComplete)
        d->editComplete = std::make_unique<NIMB::Emitter<GLEditCompleteEvent2>>();
    return *d->editComplete;
}

} // namespace TAVI
