#include "studio/components/propwidgets/TextEditor.hpp"

#include "platform/tavi2/GLBoxLayout2.hpp"
#include "platform/tavi2/GLButton2.hpp"
#include "platform/tavi2/GLEdit2.hpp"
#include "platform/tavi2/GLPanel2.hpp"
#include "studio/components/PropBrowserConnect_p.hpp"
#include "studio/components/PropBrowserDelegate.hpp"
#include "studio/components/propwidgets/TextEditorDialog.hpp"

namespace KITE::PropertyBrowserWidgetsNS {

TextEditor::TextEditor(const PropBrowserProperty& record, PropBrowserDelegate* delegate)
    : PropBrowserEditor(record), panel(new TAVI::GLPanel2("qt")), edit(nullptr), button(nullptr),
      delegate(delegate) {
    auto* row = new TAVI::GLBoxLayout2(TAVI::GLBoxLayout2::LeftToRight);
    row->setMargin(0);
    row->setSpacing(0);
    panel->setLayout(row);
    edit = new TAVI::GLEdit2("qt");
    edit->setText(this->record.getValueAsString());
    button = new TAVI::GLButton2("qt", dialogButtonLabel);
    button->setMaximumSize(20, 50);
    row->addWidget(edit);
    row->addWidget(button);
    PropBrowserConnect::connect<TAVI::GLButtonClickEvent2>(
        this, button->getClickEmitter(), &TextEditor::openDialog, PropBrowserConnect::hostThread());
}

TextEditor::~TextEditor() {
    disconnect();
    // The dialog first: its window is a child of the panel.
    dialog.reset();
    release(panel);
}

TAVI::GLWidget2* TextEditor::getWidget() {
    return panel;
}

void TextEditor::commit() {
    if (!dialogRequested)
        writeText(edit->getText());
}

void TextEditor::openDialog(const TAVI::GLButtonClickEvent2&) {
    if (delegate && delegate->openTextEditorDialog(record)) {
        dialog = std::make_unique<TextEditorDialog>(record, edit->getText(), panel);
        dialog->show();
    }
    dialogRequested = true;
}

} // namespace KITE::PropertyBrowserWidgetsNS
