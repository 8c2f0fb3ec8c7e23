#pragma once

#include "platform/nimb/Listener.hpp"
#include "platform/tavi2/GLEvents2.hpp"
#include "studio/components/PropBrowserEditor.hpp"
#include "studio/components/kite_propbrowser_export.hpp"

#include <memory>

namespace TAVI {
class GLButton2;
class GLEdit2;
class GLPanel2;
} // namespace TAVI

namespace KITE {
class PropBrowserDelegate;
}

namespace KITE::PropertyBrowserWidgetsNS {

class TextEditorDialog;

// Edits a String (or another data type written as text) on one line, with a "..." button that
// opens a dialog for several lines when the delegate allows it. Once "..." was pressed the dialog
// decides what is written and the line writes nothing. The dialog lives as long as the editor.
class KITE_PROPBROWSER_EXPORT TextEditor : public PropBrowserEditor, public NIMB::Listener {
public:
    static constexpr const char* dialogButtonLabel = "...";

    // The delegate must outlive the editor.
    TextEditor(const PropBrowserProperty& record, PropBrowserDelegate* delegate);
    ~TextEditor() override;

    bool editsInPlace() const override { return true; }
    TAVI::GLWidget2* getWidget() override;
    void commit() override;

    TAVI::GLEdit2* getEdit() const { return edit; }
    TAVI::GLButton2* getDialogButton() const { return button; }
    TextEditorDialog* getDialog() const { return dialog.get(); }
    bool isDialogRequested() const { return dialogRequested; }

private:
    void openDialog(const TAVI::GLButtonClickEvent2& event);

    TAVI::GLPanel2* panel;         // owned, with the edit and the button
    TAVI::GLEdit2* edit;           // the panel's
    TAVI::GLButton2* button;       // the panel's
    PropBrowserDelegate* delegate; // not owned
    std::unique_ptr<TextEditorDialog> dialog;
    bool dialogRequested = false;
};

} // namespace KITE::PropertyBrowserWidgetsNS
