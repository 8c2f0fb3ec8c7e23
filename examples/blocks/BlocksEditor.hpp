#pragma once

#include "editor/Editor.hpp"
#include "examples/blocks/kite_example_blocks_export.hpp"

#include <memory>
#include <string>

namespace TAVI {
class ErrorHolder;
}

namespace Blocks {

// The blocks domain's editor: a kite editor whose tab shows the diagram's name, with a palette
// that creates blocks and sinks and draws connections, and the context-menu entry "Delete". Made
// by the studio framework's factory of its type, which registerFactory registers.
class KITE_EXAMPLE_BLOCKS_EXPORT BlocksEditor : public KITE::Editor {
public:
    static constexpr const char* typeName = "Blocks:Editor";
    // The editors' context menu, and its entry that deletes.
    static constexpr const char* contextMenuName = "EditorContextMenu";
    static constexpr const char* deleteEntry = "Delete";

    static BlocksEditor* create(PLATFORM::Studio* studio, const std::string& name);
    // Registers the factory that makes BlocksEditors; a later call finds it there. Answers
    // whether it is registered afterwards.
    static bool registerFactory(TAVI::ErrorHolder& errors);

    std::string getTypeName() const override;
    // The diagram's name; the editor's own title while it shows none.
    std::string getTabTitle() override;
    // The zoom button, then buttons that create a block, create a sink and draw connections.
    std::vector<TAVI::GLWidget2*> getPaletteObjects() const override;

    // What the context menu's "Delete" does: the element under the menu, when it is not
    // selected, becomes the selection; then the delete tool on the stack deletes the selection.
    // False when the editor has no delete tool.
    bool deleteFromContextMenu();
    // Puts the "Delete" entry into the studio's editor context menu; a later call changes nothing.
    static void addContextMenuEntries(PLATFORM::Studio* studio);

    // The explorer bar above the canvas (the path to the model tree's selection), made the
    // first time it is asked for while the studio is open; null once the editor closed.
    PLATFORM::StudioComponentBase* getExplorerBar(TAVI::ErrorHolder& errors) override;

    ~BlocksEditor() override;

private:
    class ToolFactory;

    BlocksEditor(PLATFORM::Studio* studio, const std::string& name);

    // The palette's buttons keep pointers to these: they live as long as the editor.
    std::unique_ptr<ToolFactory> blockFactory;
    std::unique_ptr<ToolFactory> sinkFactory;
    std::unique_ptr<ToolFactory> connectionFactory;
    bool explorerBarMade = false;
};

} // namespace Blocks
