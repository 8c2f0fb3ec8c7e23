#pragma once

#include "editor/Glyph.hpp"
#include "editor/kite_editor_export.hpp"
#include "platform/zeph/ContainerNode.hpp"

namespace KITE {

// The glyph of elements that no factory draws: an empty container node at the element's
// position, so that the glyphs of contained elements still have a place to hang.
class KITE_EDITOR_EXPORT NullGlyph : public Glyph {
public:
    explicit NullGlyph(const DiagramElement& element);
    ~NullGlyph() override;

    void create() override;
    ZEPH::Node getRoot() const override;
    void update() override;

private:
    ZEPH::ContainerNode root;
};

} // namespace KITE
