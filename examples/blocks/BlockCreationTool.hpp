#pragma once

#include "editor/NodeCreationTool.hpp"
#include "examples/blocks/kite_example_blocks_export.hpp"

#include <string>

namespace Blocks {

// Places a block of a class (a block or a sink) where the user drags it out, or at its usual
// size where the user clicks; dropped on a block, it goes inside it. Each new block is named
// after its class and the number of blocks of the diagram ("Block 4").
class KITE_EXAMPLE_BLOCKS_EXPORT BlockCreationTool : public KITE::NodeCreationTool {
public:
    BlockCreationTool(KITE::Editor& editor, std::string className);

    static constexpr double defaultWidth = 130.0;
    static constexpr double defaultHeight = 56.0;

protected:
    void initialUpdate(KITE::GraphElement element, const TAVI::GLPoint<double>& pressPoint,
                       const TAVI::GLPoint<double>& point, VELD::Model model) override;
    void intermediateUpdate(KITE::GraphElement element, const TAVI::GLPoint<double>& pressPoint,
                            const TAVI::GLPoint<double>& point, VELD::Model model) override;
    void finalUpdate(KITE::GraphElement element, const TAVI::GLPoint<double>& pressPoint,
                     const TAVI::GLPoint<double>& point, VELD::Model model) override;
    TAVI::GLRect<double> defaultSize() const override;
    TAVI::GLRect<double> minimumRect() const override;

private:
    void place(const KITE::GraphElement& under, const TAVI::GLPoint<double>& pressPoint,
               const TAVI::GLPoint<double>& point, const VELD::Model& model) const;

    std::string className;
    KITE::GraphElement pressedOn; // the element under the press; empty over empty canvas
};

} // namespace Blocks
