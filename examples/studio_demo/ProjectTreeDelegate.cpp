#include "examples/studio_demo/ProjectTreeDelegate.hpp"

#include "platform/veld/Model.hpp"

namespace StudioDemo {

VELD::ImmutableClassObject ProjectTreeDelegate::getTopElement() {
    const VELD::Model model = getActiveModel();
    return model.isValid() ? model.getRootObject() : VELD::ImmutableClassObject();
}

} // namespace StudioDemo
