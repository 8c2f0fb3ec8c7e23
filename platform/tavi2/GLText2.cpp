#include "platform/tavi2/GLText2.hpp"

#include "platform/tavi2/QtConversions_p.hpp"

#include <QLabel>

namespace TAVI {

namespace {
QLabel* makeLabel(const StringID& toolkit) {
    checkToolkit(toolkit, "GLText2");
    auto* label = new QLabel;
    label->setTextFormat(Qt::PlainText);
    return label;
}
QLabel* label(const GLWidget2* widget) {
    return static_cast<QLabel*>(widget->getQWidget());
}
} // namespace

GLText2::GLText2(const StringID& toolkit, GLWidget2* parent)
    : GLWidget2(makeLabel(toolkit), parent) {}

GLText2::GLText2(const StringID& toolkit, const std::string& text, GLWidget2* parent)
    : GLText2(toolkit, parent) {
    setText(text);
}

GLText2::~GLText2() = default;

void GLText2::setText(const std::string& text) {
    label(this)->setText(toQString(text));
}
std::string GLText2::getText() const {
    return fromQString(label(this)->text());
}
void GLText2::setRichText(bool rich) {
    label(this)->setTextFormat(rich ? Qt::RichText : Qt::PlainText);
}
bool GLText2::isRichText() const {
    return label(this)->textFormat() == Qt::RichText;
}
void GLText2::setAlignment(int alignment) {
    label(this)->setAlignment(Qt::Alignment::fromInt(alignment));
}
int GLText2::getAlignment() const {
    return label(this)->alignment().toInt();
}
void GLText2::setWordWrap(bool wrap) {
    label(this)->setWordWrap(wrap);
}
bool GLText2::hasWordWrap() const {
    return label(this)->wordWrap();
}

} // namespace TAVI
