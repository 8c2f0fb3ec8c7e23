#pragma once

#include "studio/components/PropBrowserProperty.hpp"
#include "studio/components/kite_propbrowser_export.hpp"

#include <string>

namespace TAVI {
class GLWidget2;
}

namespace KITE {

// Base of the editors the property browser places in a value cell: each edits one row's value
// through a copy of the row's record, and writes it to the model when the browser asks it to
// commit. Deleting an editor takes its widgets down once control returns to the event loop, so
// an editor may be deleted from a handler of one of its own widgets.
class KITE_PROPBROWSER_EXPORT PropBrowserEditor {
public:
    virtual ~PropBrowserEditor();
    PropBrowserEditor(const PropBrowserEditor&) = delete;
    PropBrowserEditor& operator=(const PropBrowserEditor&) = delete;

    // Whether the editor's widget goes into the value cell (true for every editor here); the
    // browser places only editors that say so.
    virtual bool editsInPlace() const = 0;
    // The editor's top widget; the editor owns it.
    virtual TAVI::GLWidget2* getWidget() = 0;
    // Writes the widget's value to the model in one transaction on the object's root model.
    // A value the kernel or the browser refuses leaves the model as it was, with no undo step,
    // and the reason in getError().
    virtual void commit() = 0;

    const PropBrowserProperty& getRecord() const { return record; }
    // Why the last commit wrote nothing although it should have; empty otherwise.
    const std::string& getError() const { return error; }

protected:
    explicit PropBrowserEditor(const PropBrowserProperty& record);
    // One transaction that sets the value (or the value of the text); false with the reason in
    // getError() when it is refused, and the model is then unchanged.
    bool writeValue(const VELD::Object& value);
    bool writeText(const std::string& text);
    // Takes a widget of this editor down once control returns to the event loop.
    static void release(TAVI::GLWidget2* widget);

    PropBrowserProperty record;

private:
    std::string error;
};

// Writes value into the record's row in one transaction on the root model of the record's
// object; false with the reason in error when the value is refused or the kernel refuses the
// change (the transaction is then rolled back: no change, no undo step).
KITE_PROPBROWSER_EXPORT bool writeRecordValue(const PropBrowserProperty& record,
                                              const VELD::Object& value, std::string& error);

} // namespace KITE
