#pragma once

#include "studio/components/TreeComponentDelegate.hpp"

namespace StudioDemo {

// The demo's model tree shows the whole project (the model's root object and everything under
// it), not only the open diagram.
class ProjectTreeDelegate : public KITE::TreeComponentDelegate {
public:
    using TreeComponentDelegate::TreeComponentDelegate;
    VELD::ImmutableClassObject getTopElement() override;
};

} // namespace StudioDemo
