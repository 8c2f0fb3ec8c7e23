#include "studio/components/propwidgets/CheckBox.hpp"

#include "platform/tavi2/GLCheckBox2.hpp"
#include "studio/components/PropBrowserConnect_p.hpp"

namespace KITE::PropertyBrowserWidgetsNS {

CheckBox::CheckBox(const PropBrowserProperty& record)
    : PropBrowserEditor(record), box(new TAVI::GLCheckBox2("qt")) {
    box->setChecked(this->record.getValueAsString() == "true");
    showState();
    PropBrowserConnect::connect<TAVI::GLButtonClickEvent2>(
        this, box->getClickEmitter(), &CheckBox::clicked, PropBrowserConnect::hostThread());
}

CheckBox::~CheckBox() {
    disconnect();
    release(box);
}

TAVI::GLWidget2* CheckBox::getWidget() {
    return box;
}

void CheckBox::commit() {
    writeText(box->isChecked() ? "true" : "false");
}

void CheckBox::clicked(const TAVI::GLButtonClickEvent2&) {
    showState();
}

void CheckBox::showState() {
    box->setLabel(std::string(8, ' ') + (box->isChecked() ? "true" : "false"));
}

} // namespace KITE::PropertyBrowserWidgetsNS
