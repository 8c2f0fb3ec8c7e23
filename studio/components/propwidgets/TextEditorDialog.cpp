#include "studio/components/propwidgets/TextEditorDialog.hpp"

#include "platform/tavi2/GLBoxLayout2.hpp"
#include "platform/tavi2/GLButton2.hpp"
#include "platform/tavi2/GLDialog2.hpp"
#include "platform/tavi2/GLEditArea2.hpp"
#include "platform/tavi2/GLGridLayout2.hpp"
#include "platform/tavi2/GLPanel2.hpp"
#include "platform/tavi2/GLText2.hpp"
#include "studio/components/PropBrowserConnect_p.hpp"
#include "studio/components/PropBrowserEditor.hpp"

#include <QPointer>
#include <QWidget>

namespace KITE::PropertyBrowserWidgetsNS {

// The dialog's widgets, with a guard: a parent that goes first takes the window with it.
struct TextEditorDialog::Widgets {
    TAVI::GLDialog2* dialog = nullptr;
    QPointer<QWidget> window;
    TAVI::GLEditArea2* text = nullptr;
    TAVI::GLButton2* accept = nullptr;
    TAVI::GLButton2* cancel = nullptr;
    TAVI::GLText2* message = nullptr;
    bool alive() const { return !window.isNull(); }
};

TextEditorDialog::TextEditorDialog(const PropBrowserProperty& record, const std::string& text,
                                   TAVI::GLWidget2* parent)
    : record(record), widgets(new Widgets) {
    this->record.value = VELD::Object();
    Widgets& w = *widgets;
    w.dialog = new TAVI::GLDialog2("qt", parent);
    w.window = w.dialog->getQWidget();
    w.dialog->setTitle(record.property.isNull() ? std::string() : record.property.getName());

    auto* grid = new TAVI::GLGridLayout2;
    w.dialog->setLayout(grid);
    w.text = new TAVI::GLEditArea2("qt");
    w.text->setText(text);
    grid->addWidget(w.text, 0, 0);
    grid->setRowStretch(0, 10);

    auto* buttons = new TAVI::GLPanel2("qt");
    auto* row = new TAVI::GLBoxLayout2(TAVI::GLBoxLayout2::LeftToRight);
    buttons->setLayout(row);
    w.cancel = new TAVI::GLButton2("qt", cancelLabel);
    w.accept = new TAVI::GLButton2("qt", acceptLabel);
    row->addWidget(w.cancel);
    row->addWidget(w.accept);
    row->addWidget(new TAVI::GLPanel2("qt"), 1);
    grid->addWidget(buttons, 1, 0);
    grid->setRowStretch(1, 1);

    w.message = new TAVI::GLText2("qt");
    w.message->setColor(TAVI::GLWidget2::ForegroundColor, TAVI::Color(0.75, 0.0, 0.0));
    w.message->hide();
    grid->addWidget(w.message, 2, 0);

    w.dialog->setMaximumSize(300, 400);
    w.dialog->setMinimumSize(10, 10);

    NIMB::Thread* here = NIMB::Thread::getCurrentThread();
    PropBrowserConnect::connect<TAVI::GLButtonClickEvent2>(this, w.accept->getClickEmitter(),
                                                           &TextEditorDialog::accepted, here);
    PropBrowserConnect::connect<TAVI::GLButtonClickEvent2>(this, w.cancel->getClickEmitter(),
                                                           &TextEditorDialog::cancelled, here);
}

TextEditorDialog::~TextEditorDialog() {
    disconnect();
    if (widgets->alive())
        widgets->dialog->destroy();
}

void TextEditorDialog::show() {
    if (widgets->alive())
        widgets->dialog->show();
}

void TextEditorDialog::hide() {
    if (widgets->alive())
        widgets->dialog->hide();
}

bool TextEditorDialog::isVisible() const {
    return widgets->alive() && widgets->dialog->isVisible();
}

TAVI::GLDialog2* TextEditorDialog::getDialog() const {
    return widgets->alive() ? widgets->dialog : nullptr;
}

TAVI::GLEditArea2* TextEditorDialog::getTextArea() const {
    return widgets->alive() ? widgets->text : nullptr;
}

TAVI::GLButton2* TextEditorDialog::getAcceptButton() const {
    return widgets->alive() ? widgets->accept : nullptr;
}

TAVI::GLButton2* TextEditorDialog::getCancelButton() const {
    return widgets->alive() ? widgets->cancel : nullptr;
}

std::string TextEditorDialog::getError() const {
    return widgets->alive() && !widgets->message->isHidden() ? widgets->message->getText()
                                                             : std::string();
}

void TextEditorDialog::accepted(const TAVI::GLButtonClickEvent2&) {
    if (!widgets->alive())
        return;
    std::string error;
    const VELD::Object value =
        PropBrowserProperty::convert(record.property, widgets->text->getText(), error);
    if (error.empty()) {
        // Hidden before the write: the browser's refresh that follows may delete this dialog.
        widgets->message->hide();
        widgets->dialog->hide();
        const PropBrowserProperty target = record;
        std::string refused;
        if (writeRecordValue(target, value, refused))
            return;
        error = refused;
        widgets->dialog->show();
    }
    widgets->message->setText(error);
    widgets->message->show();
}

void TextEditorDialog::cancelled(const TAVI::GLButtonClickEvent2&) {
    hide();
}

} // namespace KITE::PropertyBrowserWidgetsNS
