#pragma once

#include "platform/tavi/StringID.hpp"
#include "platform/tavi2/GLAbstractButton2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

namespace TAVI {

// A push button with a label and, optionally, an icon.
class TAVI2_EXPORT GLButton2 : public GLAbstractButton2 {
public:
    // Throws TypedException when toolkit is not "qt".
    explicit GLButton2(const StringID& toolkit, GLWidget2* parent = nullptr);
    GLButton2(const StringID& toolkit, const std::string& label, GLWidget2* parent = nullptr);
    ~GLButton2() override;

    // The button a dialog presses on Return.
    void setDefault(bool isDefault);
    bool isDefault() const;
};

} // namespace TAVI
