#pragma once

#include "studio/components/PropBrowserDelegate.hpp"
#include "studio/components/TreeComponentDelegate.hpp"

namespace KiteStudio {

// The model tree of a domain's studio: the whole model (its root object and everything under
// it, every diagram included), not only the diagram of the first editor.
class ProjectTreeDelegate : public KITE::TreeComponentDelegate {
public:
    using TreeComponentDelegate::TreeComponentDelegate;
    VELD::ImmutableClassObject getTopElement() override;
};

// The property browser of a domain's studio: the selected object's own plain properties (a
// block's name) followed by those it inherits (a block's position and size), without the links
// between diagram elements that the canvas draws and the containments the tree lists.
class ElementPropBrowserDelegate : public KITE::PropBrowserDelegate {
public:
    std::vector<VELD::ImmutableProperty>
    getProperties(const VELD::ImmutableClassObject& object) override;
    // What is selected, in the tree or in an editor.
    VELD::ClassObject getItemToSelect(const VELD::ClassObject& selected) override;
};

} // namespace KiteStudio
