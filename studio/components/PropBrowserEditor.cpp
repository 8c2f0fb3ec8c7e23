#include "studio/components/PropBrowserEditor.hpp"

#include "platform/tavi2/GLWidget2.hpp"
#include "platform/veld/Exception.hpp"
#include "platform/veld/Model.hpp"

#include <QPointer>
#include <QWidget>

namespace KITE {

bool writeRecordValue(const PropBrowserProperty& record, const VELD::Object& value,
                      std::string& error) {
    error.clear();
    if (!record.object.isValid()) {
        error = "the object is gone";
        return false;
    }
    error = PropBrowserProperty::refusal(record.property, value);
    if (!error.empty())
        return false;
    try {
        // Through the model itself: a working copy's handle would change only the copy.
        const VELD::Model root(record.object.getRootModel());
        PropBrowserProperty target = record;
        target.object = VELD::ClassObject(record.object.asDeviant(root));
        VELD::Transaction transaction(root);
        target.setValue(value);
        transaction.commit();
    } catch (const VELD::Exception& e) {
        error = e.what();
        return false;
    }
    return true;
}

PropBrowserEditor::PropBrowserEditor(const PropBrowserProperty& record) : record(record) {
    this->record.value = VELD::Object();
}

PropBrowserEditor::~PropBrowserEditor() = default;

bool PropBrowserEditor::writeValue(const VELD::Object& value) {
    return writeRecordValue(record, value, error);
}

bool PropBrowserEditor::writeText(const std::string& text) {
    const VELD::Object value = PropBrowserProperty::convert(record.property, text, error);
    if (!error.empty())
        return false;
    return writeValue(value);
}

void PropBrowserEditor::release(TAVI::GLWidget2* widget) {
    if (widget)
        widget->destroy();
}

} // namespace KITE
