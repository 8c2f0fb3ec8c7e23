#pragma once

#include "platform/tavi/StringID.hpp"
#include "platform/tavi2/GLAbstractButton2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

namespace TAVI {

// A labelled box that is checked or not; its toggle signal reports each change.
class TAVI2_EXPORT GLCheckBox2 : public GLAbstractButton2 {
public:
    // Throws TypedException when toolkit is not "qt".
    explicit GLCheckBox2(const StringID& toolkit, GLWidget2* parent = nullptr);
    GLCheckBox2(const StringID& toolkit, const std::string& label, GLWidget2* parent = nullptr);
    ~GLCheckBox2() override;
};

} // namespace TAVI
