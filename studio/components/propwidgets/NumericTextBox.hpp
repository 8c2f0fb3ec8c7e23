#pragma once

#include "studio/components/PropBrowserEditor.hpp"
#include "studio/components/kite_propbrowser_export.hpp"

namespace TAVI {
class GLEdit2;
}

namespace KITE::PropertyBrowserWidgetsNS {

// Edits an Integer, Double or UnlimitedNatural as text. Text that is not a number of the
// property's type, or a Double that is not finite, is refused (see PropBrowserEditor::commit).
class KITE_PROPBROWSER_EXPORT NumericTextBox : public PropBrowserEditor {
public:
    explicit NumericTextBox(const PropBrowserProperty& record);
    ~NumericTextBox() override;

    bool editsInPlace() const override { return true; }
    TAVI::GLWidget2* getWidget() override;
    void commit() override;

    TAVI::GLEdit2* getEdit() const { return edit; }

private:
    TAVI::GLEdit2* edit; // owned
};

} // namespace KITE::PropertyBrowserWidgetsNS
