#include "platform/tavi2/GLWidget2.hpp"

#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLLayout2.hpp"
#include "platform/tavi2/GLWidget2_p.hpp"
#include "platform/tavi2/QtConversions_p.hpp"
#include "platform/tavi2/QtTree_p.hpp"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMimeData>
#include <QMouseEvent>
#include <QPalette>
#include <QVariant>
#include <QWidget>

#include <vector>

namespace TAVI {

namespace {

// The property under which a Qt widget names the toolkit widget that owns it.
constexpr char ownerProperty[] = "tavi2_owner";

QPalette::ColorRole paletteRole(int role) {
    switch (role) {
    case GLWidget2::BackgroundColor:
        return QPalette::Window;
    case GLWidget2::ForegroundColor:
        return QPalette::WindowText;
    case GLWidget2::BaseColor:
        return QPalette::Base;
    case GLWidget2::TextColor:
        return QPalette::Text;
    case GLWidget2::ButtonColor:
        return QPalette::Button;
    case GLWidget2::ButtonTextColor:
        return QPalette::ButtonText;
    case GLWidget2::HighlightColor:
        return QPalette::Highlight;
    case GLWidget2::HighlightedTextColor:
        return QPalette::HighlightedText;
    case GLWidget2::AlternateBaseColor:
        return QPalette::AlternateBase;
    }
    return QPalette::NoRole;
}

GLPoint<int> point(const QPoint& p) {
    return {p.x(), p.y()};
}

} // namespace

GLWidget2Private::GLWidget2Private(GLWidget2* q, QWidget* widget, QWidget* inputArea)
    : q(q), widget(widget), inputArea(inputArea ? inputArea : widget), filter(this) {}

bool GLWidgetEventFilter::eventFilter(QObject* watched, QEvent* event) {
    GLWidget2Private* d = owner;
    const bool fromInputArea = watched == d->inputArea;
    const bool fromWidget = watched == d->widget;
    // Input the inside area ignores travels on to the widget; report it where it arrives only.
    auto sendMouse = [&](const std::unique_ptr<NIMB::Emitter<GLMouseEvent2>>& emitter) {
        if (!emitter || !fromInputArea)
            return;
        auto* mouse = static_cast<QMouseEvent*>(event);
        emitter->send(GLMouseEvent2(d->q, int(mouse->button()), int(mouse->buttons()),
                                    int(mouse->modifiers()), point(mouse->position().toPoint()),
                                    point(mouse->globalPosition().toPoint())));
    };
    auto sendKey = [&](const std::unique_ptr<NIMB::Emitter<GLKeyEvent2>>& emitter) {
        if (!emitter || !fromWidget)
            return;
        auto* key = static_cast<QKeyEvent*>(event);
        emitter->send(GLKeyEvent2(d->q, key->key(), int(key->modifiers()), fromQString(key->text()),
                                  key->isAutoRepeat()));
    };
    auto sendWidget = [&](GLWidgetEvent2::Type type) {
        if (d->widgetEvent && fromWidget)
            d->widgetEvent->send(GLWidgetEvent2(d->q, type));
    };
    // A drag of a format the widget takes is the widget's: Qt's own handling (a view's) would
    // refuse it otherwise.
    auto takesDrag = [&](const QMimeData* data) {
        if (!fromInputArea || !data)
            return false;
        for (const std::string& format : d->dropFormats)
            if (data->hasFormat(toQString(format)))
                return true;
        return false;
    };
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!takesDrag(drag->mimeData()))
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!takesDrag(drop->mimeData()))
            return false;
        drop->acceptProposedAction();
        if (d->drop)
            d->drop->send(GLDropEvent2(d->q, point(drop->position().toPoint()),
                                       GLMimeData2::fromQMimeData(drop->mimeData()),
                                       int(drop->dropAction())));
        return true;
    }
    case QEvent::MouseButtonPress:
        sendMouse(d->mousePress);
        break;
    case QEvent::MouseButtonRelease:
        sendMouse(d->mouseRelease);
        break;
    case QEvent::MouseButtonDblClick:
        sendMouse(d->mouseDoubleClick);
        break;
    case QEvent::MouseMove:
        sendMouse(d->mouseMove);
        break;
    case QEvent::KeyPress:
        sendKey(d->keyPress);
        break;
    case QEvent::KeyRelease:
        sendKey(d->keyRelease);
        break;
    case QEvent::ContextMenu:
        if (d->contextMenu && fromInputArea) {
            auto* menu = static_cast<QContextMenuEvent*>(event);
            d->contextMenu->send(
                GLContextMenuEvent2(d->q, point(menu->pos()), point(menu->globalPos())));
        }
        break;
    case QEvent::Show:
        sendWidget(GLWidgetEvent2::Shown);
        break;
    case QEvent::Hide:
        sendWidget(GLWidgetEvent2::Hidden);
        break;
    case QEvent::FocusIn:
        sendWidget(GLWidgetEvent2::FocusIn);
        break;
    case QEvent::FocusOut:
        sendWidget(GLWidgetEvent2::FocusOut);
        break;
    case QEvent::Resize:
        sendWidget(GLWidgetEvent2::Resized);
        break;
    case QEvent::Close:
        sendWidget(GLWidgetEvent2::Closed);
        break;
    case QEvent::Enter:
        sendWidget(GLWidgetEvent2::Entered);
        break;
    case QEvent::Leave:
        sendWidget(GLWidgetEvent2::Left);
        break;
    default:
        break;
    }
    return false;
}

GLWidget2::GLWidget2(QWidget* widget, GLWidget2* parent, QWidget* inputArea)
    : d(new GLWidget2Private(this, widget, inputArea)) {
    widget->setProperty(ownerProperty, QVariant::fromValue(reinterpret_cast<quintptr>(this)));
    d->tie = std::make_unique<QtTie>(widget, [this]() {
        d->widget = nullptr;
        d->inputArea = nullptr;
        delete this;
    });
    widget->installEventFilter(&d->filter);
    if (d->inputArea != widget)
        d->inputArea->installEventFilter(&d->filter);
    if (parent)
        widget->setParent(parent->getQWidget());
}

GLWidget2::~GLWidget2() {
    if (d->widget) {
        d->widget->removeEventFilter(&d->filter);
        if (d->inputArea != d->widget)
            d->inputArea->removeEventFilter(&d->filter);
        d->widget->setProperty(ownerProperty, QVariant());
    }
    d->tie.reset(); // deletes the Qt widget unless Qt is deleting it already
    delete d;
}

GLWidget2* GLWidget2::wrap(QWidget* widget) {
    if (!widget)
        throw TypedException(TAVI_HERE, "GLWidget2::wrap: null widget");
    if (GLWidget2* owner = fromQWidget(widget))
        return owner;
    return new GLWidget2(widget, nullptr);
}

GLWidget2* GLWidget2::fromQWidget(const QWidget* widget) {
    if (!widget)
        return nullptr;
    const QVariant owner = widget->property(ownerProperty);
    return owner.isValid() ? reinterpret_cast<GLWidget2*>(owner.value<quintptr>()) : nullptr;
}

QWidget* GLWidget2::getQWidget() const {
    return d->widget;
}

GLWidget2* GLWidget2::getParent() const {
    // The nearest ancestor that is a toolkit widget: a framework may put Qt widgets between.
    for (QWidget* w = d->widget->parentWidget(); w; w = w->parentWidget())
        if (GLWidget2* owner = fromQWidget(w))
            return owner;
    return nullptr;
}

void GLWidget2::setParent(GLWidget2* parent) {
    if (parent == this)
        throw TypedException(TAVI_HERE, "GLWidget2::setParent: a widget cannot be its own parent");
    if (parent && isWidgetInside(parent->getQWidget(), d->widget))
        throw TypedException(TAVI_HERE,
                             "GLWidget2::setParent: the new parent is inside the widget");
    d->widget->setParent(parent ? parent->getQWidget() : nullptr);
}

GLPoint<int> GLWidget2::getGlobalPosition() const {
    return point(d->widget->mapToGlobal(QPoint(0, 0)));
}

GLPoint<int> GLWidget2::mapToGlobal(const GLPoint<int>& p) const {
    return point(d->widget->mapToGlobal(QPoint(p.x, p.y)));
}

GLPoint<int> GLWidget2::getPosition() const {
    return point(d->widget->pos());
}
void GLWidget2::move(int x, int y) {
    d->widget->move(x, y);
}
Size GLWidget2::getSize() const {
    return Size{d->widget->width(), d->widget->height()};
}
void GLWidget2::resize(int width, int height) {
    d->widget->resize(width, height);
}

bool GLWidget2::isVisible() const {
    return d->widget->isVisible();
}
bool GLWidget2::isHidden() const {
    return d->widget->isHidden();
}
void GLWidget2::show() {
    d->widget->show();
}
void GLWidget2::hide() {
    d->widget->hide();
}
void GLWidget2::setVisible(bool visible) {
    d->widget->setVisible(visible);
}
bool GLWidget2::isEnabled() const {
    return d->widget->isEnabled();
}
void GLWidget2::setEnabled(bool enabled) {
    d->widget->setEnabled(enabled);
}
void GLWidget2::update() {
    d->widget->update();
}
void GLWidget2::setFocus() {
    d->widget->setFocus(Qt::OtherFocusReason);
}
bool GLWidget2::hasFocus() const {
    return d->widget->hasFocus();
}

void GLWidget2::setColor(int role, const Color& color) {
    const QPalette::ColorRole qtRole = paletteRole(role);
    if (qtRole == QPalette::NoRole)
        throw TypedException(TAVI_HERE,
                             "GLWidget2::setColor: unknown colour role " + std::to_string(role));
    // The general roles reach every kind of widget: a view paints its background as Base, a
    // button as Button, and text on them likewise.
    std::vector<QPalette::ColorRole> roles{qtRole};
    if (role == BackgroundColor)
        roles = {QPalette::Window, QPalette::Base, QPalette::Button};
    else if (role == ForegroundColor)
        roles = {QPalette::WindowText, QPalette::Text, QPalette::ButtonText};
    QPalette palette = d->widget->palette();
    const QColor qtColor = toQColor(color);
    const QPalette unstyled = QApplication::palette(d->widget);
    // Without components the roles go back to what the widget would have had unstyled.
    for (QPalette::ColorRole each : roles)
        palette.setColor(each, qtColor.isValid() ? qtColor : unstyled.color(each));
    d->widget->setPalette(palette);
    if (role == BackgroundColor)
        d->widget->setAutoFillBackground(qtColor.isValid());
}

Color GLWidget2::getColor(int role) const {
    const QPalette::ColorRole qtRole = paletteRole(role);
    if (qtRole == QPalette::NoRole)
        throw TypedException(TAVI_HERE,
                             "GLWidget2::getColor: unknown colour role " + std::to_string(role));
    return fromQColor(d->widget->palette().color(qtRole));
}

Size GLWidget2::getMinimumSize() const {
    return Size{d->widget->minimumWidth(), d->widget->minimumHeight()};
}
void GLWidget2::setMinimumSize(int width, int height) {
    d->widget->setMinimumSize(width, height);
}
Size GLWidget2::getMaximumSize() const {
    return Size{d->widget->maximumWidth(), d->widget->maximumHeight()};
}
void GLWidget2::setMaximumSize(int width, int height) {
    d->widget->setMaximumSize(width, height);
}
void GLWidget2::setFixedSize(int width, int height) {
    d->widget->setFixedSize(width, height);
}
Size GLWidget2::getSizeHint() const {
    const QSize hint = d->widget->sizeHint();
    return Size{hint.width(), hint.height()};
}
void GLWidget2::adjustSize() {
    d->widget->adjustSize();
}

std::string GLWidget2::getToolTip() const {
    return fromQString(d->widget->toolTip());
}
void GLWidget2::setToolTip(const std::string& text) {
    d->widget->setToolTip(toQString(text));
}

void GLWidget2::setLayout(GLLayout2* layout) {
    QLayout* old = d->widget->layout();
    if (layout && layout->getQLayout() == old)
        return;
    if (layout && layout->isInUse())
        throw TypedException(TAVI_HERE, "GLWidget2::setLayout: the layout is in use elsewhere");
    if (layout && layoutHoldsAncestorOf(layout->getQLayout(), d->widget))
        throw TypedException(
            TAVI_HERE, "GLWidget2::setLayout: the layout holds the widget or one it is inside");
    // Qt keeps the first layout of a widget; the old one goes, with its toolkit object.
    delete old;
    if (layout)
        d->widget->setLayout(layout->getQLayout());
}

GLLayout2* GLWidget2::getLayout() const {
    return GLLayout2::fromQLayout(d->widget->layout());
}

void GLWidget2::setDropFormats(const std::vector<std::string>& formats) {
    d->dropFormats = formats;
    const bool accept = !formats.empty();
    d->widget->setAcceptDrops(accept);
    d->inputArea->setAcceptDrops(accept);
}

std::vector<std::string> GLWidget2::getDropFormats() const {
    return d->dropFormats;
}

void GLWidget2::destroy() {
    d->widget->hide();
    d->widget->deleteLater();
}

#define TAVI2_EMITTER(Getter, member, Type)                                                        \
    NIMB::Emitter<Type>& GLWidget2::Getter() {                                                     \
        if (!d->member)                                                                            \
            d->member = std::make_unique<NIMB::Emitter<Type>>();                                   \
        return *d->member;                                                                         \
    }

TAVI2_EMITTER(getMousePressEmitter, mousePress, GLMouseEvent2)
TAVI2_EMITTER(getMouseReleaseEmitter, mouseRelease, GLMouseEvent2)
TAVI2_EMITTER(getMouseDoubleClickEmitter, mouseDoubleClick, GLMouseEvent2)
TAVI2_EMITTER(getMouseMoveEmitter, mouseMove, GLMouseEvent2)
TAVI2_EMITTER(getKeyPressEmitter, keyPress, GLKeyEvent2)
TAVI2_EMITTER(getKeyReleaseEmitter, keyRelease, GLKeyEvent2)
TAVI2_EMITTER(getContextMenuEmitter, contextMenu, GLContextMenuEvent2)
TAVI2_EMITTER(getWidgetEventEmitter, widgetEvent, GLWidgetEvent2)
TAVI2_EMITTER(getDropEmitter, drop, GLDropEvent2)

#undef TAVI2_EMITTER

} // namespace TAVI
