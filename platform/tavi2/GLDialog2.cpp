#include "platform/tavi2/GLDialog2.hpp"

#include "platform/tavi2/QtConversions_p.hpp"

#include <QDialog>

#include <memory>

namespace TAVI {

namespace {
QDialog* makeDialog(const StringID& toolkit) {
    checkToolkit(toolkit, "GLDialog2");
    return new QDialog;
}
QDialog* dialog(const GLWidget2* widget) {
    return static_cast<QDialog*>(widget->getQWidget());
}
} // namespace

class GLDialog2Private {
public:
    std::unique_ptr<NIMB::Emitter<int>> finished;
    QObject context; // ends the Qt connections with the private object
};

GLDialog2::GLDialog2(const StringID& toolkit, GLWidget2* parent)
    : GLWidget2(makeDialog(toolkit), nullptr), d(new GLDialog2Private) {
    // A dialog is a window: keep its window flags when it gets a parent.
    if (parent)
        dialog(this)->setParent(parent->getQWidget(), dialog(this)->windowFlags());
    QObject::connect(dialog(this), &QDialog::finished, &d->context, [this](int result) {
        if (d->finished)
            d->finished->send(result);
    });
}

GLDialog2::~GLDialog2() {
    delete d;
}

void GLDialog2::setTitle(const std::string& title) {
    dialog(this)->setWindowTitle(toQString(title));
}
std::string GLDialog2::getTitle() const {
    return fromQString(dialog(this)->windowTitle());
}
void GLDialog2::setModal(bool modal) {
    dialog(this)->setModal(modal);
}
bool GLDialog2::isModal() const {
    return dialog(this)->isModal();
}
void GLDialog2::accept() {
    dialog(this)->accept();
}
void GLDialog2::reject() {
    dialog(this)->reject();
}
void GLDialog2::done(int result) {
    dialog(this)->done(result);
}
int GLDialog2::getResult() const {
    return dialog(this)->result();
}
int GLDialog2::exec() {
    return dialog(this)->exec();
}

NIMB::Emitter<int>& GLDialog2::getFinishEmitter() {
    if (!d->finished)
        d->finished = std::make_unique<NIMB::Emitter<int>>();
    return *d->finished;
}

} // namespace TAVI
