#pragma once

#include "editor/Editor.hpp"
#include "examples/blocks/kite_example_blocks_export.hpp"

#include <string>

namespace TAVI {
class ErrorHolder;
}

namespace Blocks {

// The blocks domain's editor: a kite editor whose tab shows the diagram's name. Made by the
// studio framework's factory of its type, which registerFactory registers.
class KITE_EXAMPLE_BLOCKS_EXPORT BlocksEditor : public KITE::Editor {
public:
    static constexpr const char* typeName = "Blocks:Editor";

    static BlocksEditor* create(PLATFORM::Studio* studio, const std::string& name);
    // Registers the factory that makes BlocksEditors; a later call finds it there. Answers
    // whether it is registered afterwards.
    static bool registerFactory(TAVI::ErrorHolder& errors);

    std::string getTypeName() const override;
    // The diagram's name; the editor's own title while it shows none.
    std::string getTabTitle() override;

private:
    BlocksEditor(PLATFORM::Studio* studio, const std::string& name);
};

} // namespace Blocks
