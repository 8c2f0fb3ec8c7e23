#pragma once

#include "studio/components/PropBrowserDelegate.hpp"

namespace StudioDemo {

// What the demo's property browser shows: the selected object's own plain properties (a
// block's name) followed by those it inherits (a block's position and size), without the
// links between diagram elements that the canvas draws and the containments the tree lists.
class BlockPropBrowserDelegate : public KITE::PropBrowserDelegate {
public:
    std::vector<VELD::ImmutableProperty>
    getProperties(const VELD::ImmutableClassObject& object) override;
    VELD::ClassObject getItemToSelect(const VELD::ClassObject& selected) override;
};

} // namespace StudioDemo
