#pragma once

#include "platform/veld/ClassObject.hpp"
#include "studio/components/PropBrowserEditor.hpp"
#include "studio/components/kite_propbrowser_export.hpp"

#include <vector>

namespace TAVI {
class GLComboBox2;
}

namespace KITE {
class PropBrowserDelegate;
}

namespace KITE::PropertyBrowserWidgetsNS {

// Edits a single-valued reference: one item per candidate the delegate finds, described by the
// delegate, and "<remove>" last for an optional reference. The current object is selected; no
// item is when the reference is unset.
class KITE_PROPBROWSER_EXPORT ObjectComboBox : public PropBrowserEditor {
public:
    static constexpr const char* removeItem = "<remove>";

    // The delegate must outlive the editor.
    ObjectComboBox(const PropBrowserProperty& record, PropBrowserDelegate* delegate);
    ~ObjectComboBox() override;

    bool editsInPlace() const override { return true; }
    TAVI::GLWidget2* getWidget() override;
    // Writes the chosen object (null for "<remove>") only when the choice changed.
    void commit() override;

    TAVI::GLComboBox2* getComboBox() const { return combo; }
    const std::vector<VELD::ClassObject>& getCandidates() const { return candidates; }
    int getInitialIndex() const { return initialIndex; }

private:
    TAVI::GLComboBox2* combo;                  // owned
    PropBrowserDelegate* delegate;             // not owned
    std::vector<VELD::ClassObject> candidates; // one per item; null for "<remove>"
    int initialIndex = -1;
};

} // namespace KITE::PropertyBrowserWidgetsNS
