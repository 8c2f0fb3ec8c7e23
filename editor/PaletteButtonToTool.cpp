#include "editor/PaletteButtonToTool.hpp"

#include "editor/Editor.hpp"
#include "editor/PaletteButtonToolFactory.hpp"
#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/ConnectionLock.hpp"
#include "platform/tavi/TypedException.hpp"
#include "platform/zeph/IToolStack.hpp"

namespace KITE {

namespace {

// Holds one connection to the editor's diagram-set signal, which the editor destroys with
// itself: the connection going tells the button that the editor has gone.
class EditorWatch : public NIMB::Listener {
public:
    explicit EditorWatch(Editor& editor) {
        new NIMB::ConnectionImpl0<EditorWatch>(this, editor.getDiagramSetSignal(), nullptr,
                                               &EditorWatch::ignore);
    }
    bool editorAlive() const { return numberOfConnections() > 0; }

private:
    void ignore() {}
};

} // namespace

PaletteButtonToTool::PaletteButtonToTool(const PaletteButtonToolFactory* factory, Editor* editor,
                                         const std::string& iconFile, const std::string& label)
    : BasePaletteButtonToTool(iconFile, label), editor(editor), factory(factory) {
    if (editor) {
        NIMB::ConnectionWriteLocker locker;
        editorWatch = std::make_unique<EditorWatch>(*editor);
    }
}

PaletteButtonToTool::~PaletteButtonToTool() {
    disconnect();
}

Editor* PaletteButtonToTool::getEditor() const {
    const auto* watch = static_cast<const EditorWatch*>(editorWatch.get());
    return watch && watch->editorAlive() ? editor : nullptr;
}

ZEPH::IToolStack* PaletteButtonToTool::toolStack() const {
    return getEditor();
}

void PaletteButtonToTool::toggleOn() {
    if (tool)
        return;
    ZEPH::IToolStack* stack = toolStack();
    TAVI::Holder<PaletteTool> made =
        stack && factory ? factory->createTool() : TAVI::Holder<PaletteTool>();
    if (!made) {
        uncheck();
        return;
    }
    tool = made;
    {
        NIMB::ConnectionWriteLocker locker;
        new NIMB::ConnectionImpl0<PaletteButtonToTool>(this, tool->getRemovedFromStackEmitter(),
                                                       nullptr,
                                                       &PaletteButtonToTool::onRemovedFromStack);
    }
    try {
        stack->addTool(tool);
    } catch (const TAVI::TypedException&) {
        // A factory that hands out a tool already on the stack: this button does not own it.
        forgetTool();
        uncheck();
    }
}

void PaletteButtonToTool::toggleOff() {
    if (!tool)
        return;
    const TAVI::Holder<PaletteTool> running = tool;
    // Forgotten first: the removal it is told of is this button's own doing.
    forgetTool();
    if (ZEPH::IToolStack* stack = toolStack())
        stack->removeTool(running);
}

bool PaletteButtonToTool::doubleClick() {
    if (!tool)
        return false;
    tool->setPersistent(true);
    return true;
}

void PaletteButtonToTool::onRemovedFromStack() {
    if (!tool)
        return;
    forgetTool();
    uncheck();
}

void PaletteButtonToTool::forgetTool() {
    if (!tool)
        return;
    disconnect(tool->getRemovedFromStackEmitter());
    tool.reset();
}

} // namespace KITE
