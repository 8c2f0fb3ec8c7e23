// Private to platform/tavi2/: included only by its own sources and tests; not installed.
#pragma once

#include "platform/tavi2/GLAbstractView2.hpp"
#include "platform/tavi2/GLItemModelAdapter2_p.hpp"

#include <QHash>
#include <QModelIndex>
#include <QObject>
#include <QPointer>
#include <QStyledItemDelegate>

#include <memory>

class QAbstractItemView;

namespace TAVI {

// Asks listeners for a cell's editor, and tells them when an edit ends.
class GLItemDelegate2 : public QStyledItemDelegate {
public:
    explicit GLItemDelegate2(GLAbstractView2* view) : view(view) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    bool hasOpenEditor() const { return !editors.isEmpty(); }
    // Gives listeners' editors back before the view goes.
    void releaseOwnEditors();
    // The view is going while Qt's view may still close editors: from now on behave as Qt's
    // own delegate.
    void detach() { view = nullptr; }

private:
    // Takes a listener's editor out of the view, at once or once control returns to the event
    // loop (Qt is still closing it when destroyEditor runs).
    void giveBack(QWidget* editor, bool now) const;
    GLAbstractView2* view;
    struct EditorState {
        unsigned row = 0;
        unsigned column = 0;
        bool own = false; // a listener's widget, not the delegate's text field
        bool committed = false;
        const QMetaObject* type = nullptr; // the editor's class when the edit began
    };
    mutable QHash<QWidget*, EditorState> editors;
    mutable QList<QPointer<QWidget>> givenBack; // taken out of the view on the next turn
};

class GLAbstractView2Private {
public:
    GLAbstractView2Private(GLAbstractView2* q, QAbstractItemView* view);

    GLAbstractView2* q;
    QAbstractItemView* view; // owned by the widget base
    Holder<GLAbstractViewModel2> model;
    GLItemModelAdapter2* adapter = nullptr; // the model's
    QPointer<GLItemDelegate2> delegate;     // a child of the view
    GLWidget2* offeredEditor = nullptr;     // the listener's editor for offeredCell
    GLModelCellRef2 offeredCell;
    GLModelCellRef2 requestedCell; // while the edit request is being sent
    QMetaObject::Connection selectionConnection;

    std::unique_ptr<NIMB::Emitter<GLViewSelectionChangeEvent2>> selectionChanged;
    std::unique_ptr<NIMB::Emitter<GLEditRequestEvent2>> editRequest;
    std::unique_ptr<NIMB::Emitter<GLEditCompleteEvent2>> editComplete;

    // The Qt index of a cell (column 0: the first); throws TypedException naming operation
    // for an unknown row or column, invalid for a row not shown.
    QModelIndex index(unsigned rowUID, unsigned columnUID, const char* operation) const;
    GLModelCellRef2 cellOf(const QModelIndex& index) const;
};

} // namespace TAVI
