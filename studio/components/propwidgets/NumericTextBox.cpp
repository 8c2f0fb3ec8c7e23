#include "studio/components/propwidgets/NumericTextBox.hpp"

#include "platform/tavi2/GLEdit2.hpp"

namespace KITE::PropertyBrowserWidgetsNS {

NumericTextBox::NumericTextBox(const PropBrowserProperty& record)
    : PropBrowserEditor(record), edit(new TAVI::GLEdit2("qt")) {
    edit->setText(this->record.getValueAsString());
}

NumericTextBox::~NumericTextBox() {
    release(edit);
}

TAVI::GLWidget2* NumericTextBox::getWidget() {
    return edit;
}

void NumericTextBox::commit() {
    writeText(edit->getText());
}

} // namespace KITE::PropertyBrowserWidgetsNS
