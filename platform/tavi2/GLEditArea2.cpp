#include "platform/tavi2/GLEditArea2.hpp"

#include "platform/tavi2/QtConversions_p.hpp"

#include <QEvent>
#include <QPlainTextEdit>

#include <memory>

namespace TAVI {

namespace {
QPlainTextEdit* makeArea(const StringID& toolkit) {
    checkToolkit(toolkit, "GLEditArea2");
    return new QPlainTextEdit;
}
QPlainTextEdit* area(const GLWidget2* widget) {
    return static_cast<QPlainTextEdit*>(widget->getQWidget());
}
} // namespace

class GLEditArea2Private : public QObject {
public:
    explicit GLEditArea2Private(GLEditArea2* q) : q(q) {}
    // Reports the end of an edit when the focus leaves after a change.
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusOut && changedSinceFocus) {
            changedSinceFocus = false;
            if (edit)
                edit->send(GLEditEvent2(q, GLEditEvent2::Finished, q->getText()));
        }
        return false;
    }

    GLEditArea2* q;
    bool changedSinceFocus = false;
    std::unique_ptr<NIMB::Emitter<GLEditEvent2>> edit;
};

GLEditArea2::GLEditArea2(const StringID& toolkit, GLWidget2* parent)
    : GLWidget2(makeArea(toolkit), parent), d(new GLEditArea2Private(this)) {
    area(this)->installEventFilter(d);
    QObject::connect(area(this), &QPlainTextEdit::textChanged, d, [this]() {
        d->changedSinceFocus = true;
        if (d->edit)
            d->edit->send(GLEditEvent2(this, GLEditEvent2::Changed, getText()));
    });
}

GLEditArea2::~GLEditArea2() {
    if (getQWidget())
        getQWidget()->removeEventFilter(d);
    delete d;
}

void GLEditArea2::setText(const std::string& text) {
    if (getText() != text)
        area(this)->setPlainText(toQString(text));
}

std::string GLEditArea2::getText() const {
    return fromQString(area(this)->toPlainText());
}
void GLEditArea2::appendText(const std::string& text) {
    area(this)->appendPlainText(toQString(text));
}
void GLEditArea2::setReadOnly(bool readOnly) {
    area(this)->setReadOnly(readOnly);
}
bool GLEditArea2::isReadOnly() const {
    return area(this)->isReadOnly();
}
void GLEditArea2::setWordWrap(bool wrap) {
    area(this)->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

NIMB::Emitter<GLEditEvent2>& GLEditArea2::getEditEmitter() {
    if (!d->edit)
        d->edit = std::make_unique<NIMB::Emitter<GLEditEvent2>>();
    return *d->edit;
}

} // namespace TAVI
