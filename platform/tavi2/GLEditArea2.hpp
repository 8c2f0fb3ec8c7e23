#pragma once

#include "platform/tavi/StringID.hpp"
#include "platform/tavi2/GLWidget2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

#include <string>

namespace TAVI {

class GLEditArea2Private;

// A field of several lines of plain text.
class TAVI2_EXPORT GLEditArea2 : public GLWidget2 {
public:
    // Throws TypedException when toolkit is not "qt".
    explicit GLEditArea2(const StringID& toolkit, GLWidget2* parent = nullptr);
    ~GLEditArea2() override;

    void setText(const std::string& text);
    std::string getText() const;
    // Adds a paragraph at the end.
    void appendText(const std::string& text);
    void setReadOnly(bool readOnly);
    bool isReadOnly() const;
    void setWordWrap(bool wrap);

    // Changed: the text changed (typed or set). Finished: the field lost the keyboard focus
    // after a change.
    NIMB::Emitter<GLEditEvent2>& getEditEmitter();

private:
    GLEditArea2Private* d; // owned
};

} // namespace TAVI
