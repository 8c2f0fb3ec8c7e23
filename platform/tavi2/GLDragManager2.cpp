#include "platform/tavi2/GLDragManager2.hpp"

#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLMimeData2.hpp"
#include "platform/tavi2/GLWidget2.hpp"

#include <QDrag>
#include <QWidget>

#include <optional>

namespace TAVI {

namespace {

// The running drag's data; drags run one at a time on the user-interface thread.
std::optional<GLMimeData2>& currentDrag() {
    static std::optional<GLMimeData2> data;
    return data;
}

} // namespace

int GLDragManager2::start(GLWidget2* source, const GLMimeData2& data, int actions) {
    if (!source)
        throw TypedException(TAVI_HERE, "GLDragManager2::start: null source");
    if (data.isEmpty())
        throw TypedException(TAVI_HERE, "GLDragManager2::start: no data to drag");
    if (currentDrag())
        throw TypedException(TAVI_HERE, "GLDragManager2::start: a drag is running already");
    currentDrag() = data;
    auto* drag = new QDrag(source->getQWidget());
    drag->setMimeData(data.toQMimeData());
    const Qt::DropActions offered =
        Qt::DropActions::fromInt(actions & (CopyAction | MoveAction | LinkAction));
    const Qt::DropAction result = drag->exec(offered ? offered : Qt::CopyAction);
    currentDrag().reset();
    return int(result);
}

bool GLDragManager2::isDragging() {
    return currentDrag().has_value();
}

const GLMimeData2* GLDragManager2::getCurrentData() {
    return currentDrag() ? &*currentDrag() : nullptr;
}

} // namespace TAVI
