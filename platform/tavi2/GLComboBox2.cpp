#include "platform/tavi2/GLComboBox2.hpp"

#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/QtConversions_p.hpp"

#include <QComboBox>

#include <memory>

namespace TAVI {

namespace {
QComboBox* makeComboBox(const StringID& toolkit) {
    checkToolkit(toolkit, "GLComboBox2");
    return new QComboBox;
}
QComboBox* combo(const GLWidget2* widget) {
    return static_cast<QComboBox*>(widget->getQWidget());
}
} // namespace

class GLComboBox2Private {
public:
    std::unique_ptr<NIMB::Emitter<GLEditEvent2>> edit;
    QObject context; // ends the Qt connections with the private object
};

GLComboBox2::GLComboBox2(const StringID& toolkit, GLWidget2* parent)
    : GLWidget2(makeComboBox(toolkit), parent), d(new GLComboBox2Private) {
    auto send = [this](GLEditEvent2::Type type) {
        if (d->edit)
            d->edit->send(GLEditEvent2(this, type, getCurrentText(), getCurrentIndex()));
    };
    QObject::connect(combo(this), &QComboBox::currentIndexChanged, &d->context,
                     [send]() { send(GLEditEvent2::Changed); });
    QObject::connect(combo(this), &QComboBox::activated, &d->context,
                     [send]() { send(GLEditEvent2::Finished); });
}

GLComboBox2::~GLComboBox2() {
    delete d;
}

void GLComboBox2::addItem(const std::string& label) {
    combo(this)->addItem(toQString(label));
}
void GLComboBox2::addItem(const std::string& label, const Icon& icon) {
    combo(this)->addItem(toQIcon(icon), toQString(label));
}

void GLComboBox2::insertItem(int index, const std::string& label) {
    if (index < 0 || index > getCount())
        throw TypedException(TAVI_HERE,
                             "GLComboBox2::insertItem: no place " + std::to_string(index));
    combo(this)->insertItem(index, toQString(label));
}

void GLComboBox2::removeItem(int index) {
    if (index < 0 || index >= getCount())
        throw TypedException(TAVI_HERE,
                             "GLComboBox2::removeItem: no item " + std::to_string(index));
    combo(this)->removeItem(index);
}

void GLComboBox2::clear() {
    combo(this)->clear();
}
int GLComboBox2::getCount() const {
    return combo(this)->count();
}
std::string GLComboBox2::getItemText(int index) const {
    return fromQString(combo(this)->itemText(index));
}
int GLComboBox2::findText(const std::string& label) const {
    return combo(this)->findText(toQString(label), Qt::MatchExactly);
}

void GLComboBox2::setCurrentIndex(int index) {
    if (index < -1 || index >= getCount())
        throw TypedException(TAVI_HERE,
                             "GLComboBox2::setCurrentIndex: no item " + std::to_string(index));
    combo(this)->setCurrentIndex(index);
}

int GLComboBox2::getCurrentIndex() const {
    return combo(this)->currentIndex();
}
std::string GLComboBox2::getCurrentText() const {
    return fromQString(combo(this)->currentText());
}
void GLComboBox2::setEditable(bool editable) {
    combo(this)->setEditable(editable);
}
bool GLComboBox2::isEditable() const {
    return combo(this)->isEditable();
}

NIMB::Emitter<GLEditEvent2>& GLComboBox2::getEditEmitter() {
    if (!d->edit)
        d->edit = std::make_unique<NIMB::Emitter<GLEditEvent2>>();
    return *d->edit;
}

} // namespace TAVI
