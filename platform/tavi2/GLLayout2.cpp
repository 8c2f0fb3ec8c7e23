#include "platform/tavi2/GLLayout2.hpp"

#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLWidget2.hpp"
#include "platform/tavi2/QtTie_p.hpp"
#include "platform/tavi2/QtTree_p.hpp"

#include <QLayout>
#include <QVariant>
#include <QWidget>

#include <memory>
#include <string>

namespace TAVI {

namespace {
constexpr char ownerProperty[] = "tavi2_owner";
}

class GLLayout2Private {
public:
    QLayout* layout; // owned through the tie
    std::unique_ptr<QtTie> tie;
};

GLLayout2::GLLayout2(QLayout* layout) : d(new GLLayout2Private{layout, nullptr}) {
    layout->setProperty(ownerProperty, QVariant::fromValue(reinterpret_cast<quintptr>(this)));
    d->tie = std::make_unique<QtTie>(layout, [this]() {
        d->layout = nullptr;
        delete this;
    });
}

GLLayout2::~GLLayout2() {
    if (d->layout)
        d->layout->setProperty(ownerProperty, QVariant());
    d->tie.reset();
    delete d;
}

QLayout* GLLayout2::getQLayout() const {
    return d->layout;
}

GLLayout2* GLLayout2::fromQLayout(const QLayout* layout) {
    if (!layout)
        return nullptr;
    const QVariant owner = layout->property(ownerProperty);
    return owner.isValid() ? reinterpret_cast<GLLayout2*>(owner.value<quintptr>()) : nullptr;
}

void GLLayout2::setMargin(int margin) {
    margin = margin < 0 ? 0 : margin;
    d->layout->setContentsMargins(margin, margin, margin, margin);
}

int GLLayout2::getMargin() const {
    return d->layout->contentsMargins().left();
}
void GLLayout2::setSpacing(int spacing) {
    d->layout->setSpacing(spacing);
}
int GLLayout2::getSpacing() const {
    return d->layout->spacing();
}
int GLLayout2::count() const {
    return d->layout->count();
}

void GLLayout2::removeWidget(GLWidget2* widget) {
    if (!widget)
        throw TypedException(TAVI_HERE, "GLLayout2::removeWidget: null widget");
    d->layout->removeWidget(widget->getQWidget());
}

bool GLLayout2::isInUse() const {
    return d->layout->parent() != nullptr;
}

void GLLayout2::checkNestable(const GLLayout2* layout, const char* operation) const {
    if (!layout || layout == this)
        throw TypedException(TAVI_HERE,
                             std::string(operation) + ": null layout or the layout itself");
    if (layout->isInUse())
        throw TypedException(TAVI_HERE,
                             std::string(operation) + ": the layout is in use elsewhere");
    // A layout not in use may still hold this one: nesting it here would make a loop of
    // parents that Qt walks for ever.
    for (const QObject* o = d->layout; o; o = o->parent())
        if (o == layout->getQLayout())
            throw TypedException(TAVI_HERE,
                                 std::string(operation) + ": the layout holds this one already");
    const QWidget* laidOut = d->layout->parentWidget();
    if (laidOut && layoutHoldsAncestorOf(layout->getQLayout(), laidOut))
        throw TypedException(TAVI_HERE, std::string(operation) +
                                            ": the layout holds the widget this one lays out");
}

QWidget* GLLayout2::adopt(GLWidget2* widget, const char* operation) {
    if (!widget)
        throw TypedException(TAVI_HERE, std::string(operation) + ": null widget");
    QWidget* qtWidget = widget->getQWidget();
    if (const QWidget* laidOut = d->layout->parentWidget();
        laidOut && isWidgetInside(laidOut, qtWidget))
        throw TypedException(TAVI_HERE, std::string(operation) +
                                            ": the widget is the one laid out or holds it");
    QLayout* layout = d->layout;
    if (layout->indexOf(qtWidget) >= 0) {
        layout->removeWidget(qtWidget);
    } else {
        // Qt forgets a widget destroyed in a layout only once the layout is set on a widget:
        // until then its item would point at the widget that went.
        QObject::connect(qtWidget, &QObject::destroyed, layout, [layout](QObject* gone) {
            for (int i = layout->count() - 1; i >= 0; --i)
                if (static_cast<QObject*>(layout->itemAt(i)->widget()) == gone)
                    delete layout->takeAt(i);
        });
    }
    return qtWidget;
}

} // namespace TAVI
