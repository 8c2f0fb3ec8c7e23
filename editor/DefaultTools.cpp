#include "editor/DefaultTools.hpp"

#include "editor/DelegateToGlyphTool.hpp"
#include "editor/Editor.hpp"
#include "editor/MarqueeSelectionTool.hpp"
#include "editor/MoveTool.hpp"
#include "editor/ResizeBehavior.hpp"
#include "editor/SelectionTool.hpp"
#include "platform/zeph/ToolConstructor.hpp"

namespace KITE {

namespace {

// Makes T for the editor under the role the canvas's selection tool starts T's base by.
template <class T, class Base>
TAVI::Holder<ZEPH::AbstractToolConstructor> constructorFor(Editor& editor) {
    return TAVI::Holder<ZEPH::AbstractToolConstructor>(
        new ZEPH::ToolConstructor<T, Editor&>(Base::staticGetDefaultRole(), editor));
}

} // namespace

void installDefaultTools(Editor& editor) {
    editor.addToolConstructor(
        constructorFor<MarqueeSelectionTool, ZEPH::MarqueeSelectionTool>(editor));
    editor.addToolConstructor(constructorFor<MoveTool, ZEPH::MoveTool>(editor));
    editor.addToolConstructor(constructorFor<ResizeBehavior, ZEPH::ResizeBehavior>(editor));
    editor.addTool(TAVI::Holder<ZEPH::Tool>(new SelectionTool(editor)));
    editor.addTool(TAVI::Holder<ZEPH::Tool>(new DelegateToGlyphTool(editor)));
}

} // namespace KITE
