#pragma once

#include "platform/tavi/StringID.hpp"
#include "platform/tavi2/GLWidget2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

namespace TAVI {

// A plain widget that holds others, usually through a layout.
class TAVI2_EXPORT GLPanel2 : public GLWidget2 {
public:
    // Throws TypedException when toolkit is not "qt".
    explicit GLPanel2(const StringID& toolkit, GLWidget2* parent = nullptr);
    ~GLPanel2() override;
};

} // namespace TAVI
