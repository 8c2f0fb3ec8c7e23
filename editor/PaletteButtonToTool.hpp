#pragma once

#include "editor/BasePaletteButtonToTool.hpp"
#include "editor/PaletteTool.hpp"
#include "editor/kite_editor_export.hpp"
#include "platform/tavi/Holder.hpp"

#include <memory>
#include <string>

namespace ZEPH {
class IToolStack;
}

namespace KITE {

class Editor;
class PaletteButtonToolFactory;

// A palette button that runs one tool on an editor's tool stack while it is checked: checking
// it makes a tool with the factory and pushes it, unchecking it takes the tool off, and a tool
// that leaves the stack by itself (done) unchecks the button. A double click on the checked
// button makes its tool persistent. Neither the factory nor the editor is owned; a button
// whose editor has gone (or that has none, or whose factory makes no tool) starts nothing and
// stays unchecked.
class KITE_EDITOR_EXPORT PaletteButtonToTool : public BasePaletteButtonToTool {
public:
    PaletteButtonToTool(const PaletteButtonToolFactory* factory, Editor* editor,
                        const std::string& iconFile, const std::string& label);
    ~PaletteButtonToTool() override;

    Editor* getEditor() const; // null once the editor has gone
    // The tool the button started; empty when the button is unchecked.
    const TAVI::Holder<PaletteTool>& getTool() const { return tool; }

protected:
    void toggleOn() override;
    void toggleOff() override;
    // Makes the running tool persistent; false when none runs.
    bool doubleClick() override;
    // The running tool left the stack: forget it and uncheck.
    virtual void onRemovedFromStack();

private:
    ZEPH::IToolStack* toolStack() const;
    void forgetTool();

    Editor* editor; // not owned
    // Connected to a signal of the editor's, so it loses its connection when the editor goes.
    std::unique_ptr<NIMB::Listener> editorWatch;
    TAVI::Holder<PaletteTool> tool;
    const PaletteButtonToolFactory* factory; // not owned
};

} // namespace KITE
