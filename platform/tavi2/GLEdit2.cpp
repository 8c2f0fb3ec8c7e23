#include "platform/tavi2/GLEdit2.hpp"

#include "platform/tavi2/QtConversions_p.hpp"

#include <QLineEdit>

#include <memory>

namespace TAVI {

namespace {
QLineEdit* makeEdit(const StringID& toolkit) {
    checkToolkit(toolkit, "GLEdit2");
    return new QLineEdit;
}
QLineEdit* field(const GLWidget2* widget) {
    return static_cast<QLineEdit*>(widget->getQWidget());
}
} // namespace

class GLEdit2Private {
public:
    std::unique_ptr<NIMB::Emitter<GLEditEvent2>> edit;
    QObject context; // ends the Qt connections with the private object
};

GLEdit2::GLEdit2(const StringID& toolkit, GLWidget2* parent)
    : GLWidget2(makeEdit(toolkit), parent), d(new GLEdit2Private) {
    QObject::connect(
        field(this), &QLineEdit::textChanged, &d->context, [this](const QString& text) {
            if (d->edit)
                d->edit->send(GLEditEvent2(this, GLEditEvent2::Changed, fromQString(text)));
        });
    QObject::connect(field(this), &QLineEdit::editingFinished, &d->context, [this]() {
        if (d->edit)
            d->edit->send(GLEditEvent2(this, GLEditEvent2::Finished, getText()));
    });
}

GLEdit2::~GLEdit2() {
    delete d;
}

void GLEdit2::setText(const std::string& text) {
    field(this)->setText(toQString(text));
}
std::string GLEdit2::getText() const {
    return fromQString(field(this)->text());
}
void GLEdit2::setPlaceholderText(const std::string& text) {
    field(this)->setPlaceholderText(toQString(text));
}
std::string GLEdit2::getPlaceholderText() const {
    return fromQString(field(this)->placeholderText());
}
void GLEdit2::setReadOnly(bool readOnly) {
    field(this)->setReadOnly(readOnly);
}
bool GLEdit2::isReadOnly() const {
    return field(this)->isReadOnly();
}
void GLEdit2::selectAll() {
    field(this)->selectAll();
}

NIMB::Emitter<GLEditEvent2>& GLEdit2::getEditEmitter() {
    if (!d->edit)
        d->edit = std::make_unique<NIMB::Emitter<GLEditEvent2>>();
    return *d->edit;
}

} // namespace TAVI
