#pragma once

#include "platform/tavi/StringID.hpp"
#include "platform/tavi2/GLWidget2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

#include <string>

namespace TAVI {

// A label: text the user reads but does not edit. Text is shown as it is, so names that
// happen to look like markup ("<b>") stay readable; setRichText opts into markup.
class TAVI2_EXPORT GLText2 : public GLWidget2 {
public:
    // Throws TypedException when toolkit is not "qt".
    explicit GLText2(const StringID& toolkit, GLWidget2* parent = nullptr);
    GLText2(const StringID& toolkit, const std::string& text, GLWidget2* parent = nullptr);
    ~GLText2() override;

    void setText(const std::string& text);
    std::string getText() const;
    void setRichText(bool rich);
    bool isRichText() const;
    // Qt's alignment flags.
    void setAlignment(int alignment);
    int getAlignment() const;
    void setWordWrap(bool wrap);
    bool hasWordWrap() const;
};

} // namespace TAVI
