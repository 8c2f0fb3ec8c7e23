#pragma once

#include "platform/nimb/Listener.hpp"
#include "platform/tavi2/GLEvents2.hpp"
#include "studio/components/PropBrowserEditor.hpp"
#include "studio/components/kite_propbrowser_export.hpp"

namespace TAVI {
class GLCheckBox2;
}

namespace KITE::PropertyBrowserWidgetsNS {

// Edits a Boolean: a check box labelled with its state ("true" or "false" after eight blanks).
class KITE_PROPBROWSER_EXPORT CheckBox : public PropBrowserEditor, public NIMB::Listener {
public:
    explicit CheckBox(const PropBrowserProperty& record);
    ~CheckBox() override;

    bool editsInPlace() const override { return true; }
    TAVI::GLWidget2* getWidget() override;
    // Writes "true" or "false", whether or not it changed.
    void commit() override;

    TAVI::GLCheckBox2* getCheckBox() const { return box; }

private:
    void clicked(const TAVI::GLButtonClickEvent2& event);
    void showState();

    TAVI::GLCheckBox2* box; // owned
};

} // namespace KITE::PropertyBrowserWidgetsNS
