#pragma once

#include "platform/nimb/Listener.hpp"
#include "platform/tavi2/GLEvents2.hpp"
#include "studio/components/PropBrowserProperty.hpp"
#include "studio/components/kite_propbrowser_export.hpp"

#include <memory>
#include <string>

namespace TAVI {
class GLButton2;
class GLDialog2;
class GLEditArea2;
class GLText2;
class GLWidget2;
} // namespace TAVI

namespace KITE::PropertyBrowserWidgetsNS {

// A dialog that edits a row's text over several lines. "Accept" writes the text in one
// transaction and hides the dialog; "Cancel" hides it and writes nothing. Text the property
// refuses keeps the dialog open with the reason shown under the text. Whoever makes it owns it;
// deleting it takes its window down once control returns to the event loop, so it may be
// deleted from one of its own handlers.
class KITE_PROPBROWSER_EXPORT TextEditorDialog : public NIMB::Listener {
public:
    static constexpr const char* acceptLabel = "Accept";
    static constexpr const char* cancelLabel = "Cancel";

    // With a parent the dialog stays above the parent's window and goes with the parent.
    TextEditorDialog(const PropBrowserProperty& record, const std::string& text,
                     TAVI::GLWidget2* parent);
    ~TextEditorDialog() override;
    TextEditorDialog(const TextEditorDialog&) = delete;
    TextEditorDialog& operator=(const TextEditorDialog&) = delete;

    void show();
    void hide();
    bool isVisible() const;

    // Null once the dialog's window is gone (its parent took it down).
    TAVI::GLDialog2* getDialog() const;
    TAVI::GLEditArea2* getTextArea() const;
    TAVI::GLButton2* getAcceptButton() const;
    TAVI::GLButton2* getCancelButton() const;
    // The reason the last "Accept" wrote nothing; empty otherwise.
    std::string getError() const;
    const PropBrowserProperty& getRecord() const { return record; }

private:
    void accepted(const TAVI::GLButtonClickEvent2& event);
    void cancelled(const TAVI::GLButtonClickEvent2& event);

    struct Widgets;
    PropBrowserProperty record;
    std::unique_ptr<Widgets> widgets;
};

} // namespace KITE::PropertyBrowserWidgetsNS
