#pragma once

#include "platform/orbis/StudioComponentBase.hpp"

namespace TAVI {
class GLText2;
}

namespace KiteStudio {

// The status area: a line of text.
class StatusComponent : public PLATFORM::StudioComponentBase {
public:
    StatusComponent(PLATFORM::Studio* studio, const std::string& name);
    ~StatusComponent() override;

    TAVI::GLWidget2* getWidget() override;
    void setText(const std::string& text);
    std::string getText() const;

private:
    TAVI::GLText2* label; // owned
};

} // namespace KiteStudio
