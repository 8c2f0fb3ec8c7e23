#include "editor/DefaultTools.hpp"

#include "editor/DelegateToGlyphTool.hpp"
#include "editor/DeleteTool.hpp"
#include "editor/EdgeCreationTool.hpp"
#include "editor/Editor.hpp"
#include "editor/MarqueeSelectionTool.hpp"
#include "editor/MoveTool.hpp"
#include "editor/NodeCreationTool.hpp"
#include "editor/ResizeBehavior.hpp"
#include "editor/SelectionTool.hpp"
#include "platform/zeph/AbstractToolConstructor.hpp"
#include "platform/zeph/ToolConstructor.hpp"

namespace KITE {

namespace {

// Makes T for the editor under the role the canvas's selection tool starts T's base by.
template <class T, class Base>
TAVI::Holder<ZEPH::BaseToolConstructor> constructorFor(Editor& editor) {
    return TAVI::Holder<ZEPH::BaseToolConstructor>(
        new ZEPH::ToolConstructor<T, Editor&>(Base::staticGetDefaultRole(), editor));
}

} // namespace

void installDefaultTools(Editor& editor) {
    editor.addToolConstructor(
        constructorFor<MarqueeSelectionTool, ZEPH::MarqueeSelectionTool>(editor));
    editor.addToolConstructor(constructorFor<MoveTool, ZEPH::MoveTool>(editor));
    editor.addToolConstructor(constructorFor<ResizeBehavior, ZEPH::ResizeBehavior>(editor));
    // The roles of the tools palettes and clients make: known to the scene, never made by it.
    editor.addToolConstructor(
        TAVI::Holder<ZEPH::BaseToolConstructor>(new ZEPH::AbstractToolConstructor<DeleteTool>));
    editor.addToolConstructor(TAVI::Holder<ZEPH::BaseToolConstructor>(
        new ZEPH::AbstractToolConstructor<EdgeCreationTool>));
    editor.addToolConstructor(TAVI::Holder<ZEPH::BaseToolConstructor>(
        new ZEPH::AbstractToolConstructor<NodeCreationTool>));
    editor.addTool(TAVI::Holder<ZEPH::Tool>(new SelectionTool(editor)));
    editor.addTool(TAVI::Holder<ZEPH::Tool>(new DelegateToGlyphTool(editor)));
}

} // namespace KITE
