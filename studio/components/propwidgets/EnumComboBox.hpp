#pragma once

#include "platform/veld/Object.hpp"
#include "studio/components/PropBrowserEditor.hpp"
#include "studio/components/kite_propbrowser_export.hpp"

#include <vector>

namespace TAVI {
class GLComboBox2;
}

namespace KITE::PropertyBrowserWidgetsNS {

// Edits an enumeration: one item per literal, in order; the current literal is selected, the
// first one when the value matches none.
class KITE_PROPBROWSER_EXPORT EnumComboBox : public PropBrowserEditor {
public:
    explicit EnumComboBox(const PropBrowserProperty& record);
    ~EnumComboBox() override;

    bool editsInPlace() const override { return true; }
    TAVI::GLWidget2* getWidget() override;
    // Writes the selected literal; nothing without a selection.
    void commit() override;

    TAVI::GLComboBox2* getComboBox() const { return combo; }

private:
    TAVI::GLComboBox2* combo;              // owned
    std::vector<VELD::ValueObject> values; // one per item
};

} // namespace KITE::PropertyBrowserWidgetsNS
