#include "examples/kite_studio/StatusComponent.hpp"

#include "platform/tavi2/GLText2.hpp"

namespace KiteStudio {

StatusComponent::StatusComponent(PLATFORM::Studio* studio, const std::string& name)
    : StudioComponentBase(studio, name), label(new TAVI::GLText2("qt")) {}

StatusComponent::~StatusComponent() {
    delete label;
}

TAVI::GLWidget2* StatusComponent::getWidget() {
    return label;
}

void StatusComponent::setText(const std::string& text) {
    label->setText(text);
}

std::string StatusComponent::getText() const {
    return label->getText();
}

} // namespace KiteStudio
