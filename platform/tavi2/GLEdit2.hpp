#pragma once

#include "platform/tavi/StringID.hpp"
#include "platform/tavi2/GLWidget2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

#include <string>

namespace TAVI {

class GLEdit2Private;

// A one-line text field.
class TAVI2_EXPORT GLEdit2 : public GLWidget2 {
public:
    // Throws TypedException when toolkit is not "qt".
    explicit GLEdit2(const StringID& toolkit, GLWidget2* parent = nullptr);
    ~GLEdit2() override;

    // Setting the text it has already sends nothing.
    void setText(const std::string& text);
    std::string getText() const;
    void setPlaceholderText(const std::string& text);
    std::string getPlaceholderText() const;
    void setReadOnly(bool readOnly);
    bool isReadOnly() const;
    void selectAll();

    // Changed: the text changed (typed or set). Finished: the user pressed Return or left the
    // field after editing.
    NIMB::Emitter<GLEditEvent2>& getEditEmitter();

private:
    GLEdit2Private* d; // owned
};

} // namespace TAVI
