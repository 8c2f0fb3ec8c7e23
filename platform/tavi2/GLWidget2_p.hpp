// Private to platform/tavi2/: included only by its own sources and tests; not installed.
#pragma once

#include "platform/tavi2/GLWidget2.hpp"
#include "platform/tavi2/QtTie_p.hpp"

#include <QObject>

#include <memory>
#include <string>
#include <vector>

class QEvent;

namespace TAVI {

// Turns the Qt widget's input into the widget's events.
class GLWidgetEventFilter : public QObject {
public:
    explicit GLWidgetEventFilter(GLWidget2Private* owner) : owner(owner) {}
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    GLWidget2Private* owner;
};

class GLWidget2Private {
public:
    GLWidget2Private(GLWidget2* q, QWidget* widget, QWidget* inputArea);

    GLWidget2* q;
    QWidget* widget;    // owned through the tie
    QWidget* inputArea; // widget itself, or a child of it
    std::unique_ptr<QtTie> tie;
    GLWidgetEventFilter filter;

    std::unique_ptr<NIMB::Emitter<GLMouseEvent2>> mousePress;
    std::unique_ptr<NIMB::Emitter<GLMouseEvent2>> mouseRelease;
    std::unique_ptr<NIMB::Emitter<GLMouseEvent2>> mouseDoubleClick;
    std::unique_ptr<NIMB::Emitter<GLMouseEvent2>> mouseMove;
    std::unique_ptr<NIMB::Emitter<GLKeyEvent2>> keyPress;
    std::unique_ptr<NIMB::Emitter<GLKeyEvent2>> keyRelease;
    std::unique_ptr<NIMB::Emitter<GLContextMenuEvent2>> contextMenu;
    std::unique_ptr<NIMB::Emitter<GLWidgetEvent2>> widgetEvent;
    std::unique_ptr<NIMB::Emitter<GLDropEvent2>> drop;
    std::vector<std::string> dropFormats;
};

} // namespace TAVI
