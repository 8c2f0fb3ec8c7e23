#pragma once

#include "platform/datamodel/ChangeReports.hpp"
#include "platform/tavi/Color.hpp"
#include "platform/tavi2/GLAbstractView2.hpp"
#include "platform/veld/ClassObject.hpp"
#include "platform/veld/Meta.hpp"
#include "studio/components/kite_propbrowser_export.hpp"

#include <memory>
#include <string>
#include <vector>

namespace KITE {

class PropBrowserEditor;
class PropBrowserProperty;
namespace PropertyBrowserWidgetsNS {
class TextEditorDialog;
}

// Decides what the property browser shows and how its values are edited: which properties
// become rows, their labels, values, colours, read-only state and expanders, the object to show
// for a selection, and the editor of a row. Subclass it per domain and hand it to
// PropBrowserComponent::setDelegate, which takes ownership.
class KITE_PROPBROWSER_EXPORT PropBrowserDelegate {
public:
    PropBrowserDelegate();
    virtual ~PropBrowserDelegate();
    PropBrowserDelegate(const PropBrowserDelegate&) = delete;
    PropBrowserDelegate& operator=(const PropBrowserDelegate&) = delete;

    // The label: the property's name; an element row adds "[index] ".
    virtual std::string getName(const PropBrowserProperty& record);
    // The displayed value: empty for null values and for a multi-valued property as a whole; an
    // object's name when it has one, else ": " and its class's qualified name.
    virtual std::string getValue(const PropBrowserProperty& record);
    virtual bool isReadOnly(const PropBrowserProperty& record); // the property's
    // Whether the row has rows beneath: a valid object as value, or a non-empty sequence.
    virtual bool isExpandable(const PropBrowserProperty& record);
    // A colour without RGBA components: the view's own.
    virtual TAVI::Color getNameColor(const PropBrowserProperty& record);
    virtual TAVI::Color getValueColor(const PropBrowserProperty& record);
    // The class's owned attributes in order, without derived ones and without containments of
    // objects (the model tree shows those).
    virtual std::vector<VELD::ImmutableProperty>
    getProperties(const VELD::ImmutableClassObject& object);
    virtual TAVI::EditTrigger getEditTrigger(); // CurrentChanged
    virtual bool alternateRowColors();          // true
    // The object to show when selected is selected; null (show nothing) here.
    virtual VELD::ClassObject getItemToSelect(const VELD::ClassObject& selected);
    // A new editor for the row (the caller owns it), or null when the row has none: by the
    // property's type, an enumeration, "Boolean", a number, "String", for single-valued
    // properties also a class or another data type. A multi-valued property as a whole has none.
    virtual PropBrowserEditor* createEditor(const PropBrowserProperty& record);
    // The objects an object combo box offers: objects of the property's class or its
    // subclasses, found from the scope through contained objects, imported members of
    // namespaces and the additional candidates, each object walked once.
    virtual std::vector<VELD::ClassObject> getObjectsForComboBox(const PropBrowserProperty& record);
    // The root object of the record object's model.
    virtual VELD::ClassObject getScopeForObjectComboBox(const PropBrowserProperty& record);
    // More objects to walk from object; none here.
    virtual std::vector<VELD::ClassObject>
    getAdditionalCandidatesForObjectComboBox(const VELD::ClassObject& object);
    // An object combo box's item text: the name and the qualified class name.
    virtual std::string describeForComboBox(const VELD::ClassObject& object);
    // Whether the browser shows its object again after a transaction: unless the report lists
    // only diagram elements changed.
    virtual bool shouldRefreshFromReportOfChanges(const ModelChangeReport* report) const;
    // Whether a text editor may open the dialog for multi-line text; true.
    virtual bool openTextEditorDialog(const PropBrowserProperty& record);

    // "Properties", and " - " with the class's qualified name for a valid object.
    std::string getBrowserTitle(const VELD::ImmutableClassObject& object) const;

    // The editors of each kind, for the record; the caller owns them.
    PropBrowserEditor* createBooleanCheckBox(const PropBrowserProperty& record);
    PropBrowserEditor* createEnumComboBox(const PropBrowserProperty& record);
    PropBrowserEditor* createNumericTextBox(const PropBrowserProperty& record);
    PropBrowserEditor* createObjectComboBox(const PropBrowserProperty& record);
    // Null for a value of several lines: then the dialog opens instead, when
    // openTextEditorDialog allows it. The delegate keeps that dialog until it opens the next one
    // or is deleted.
    PropBrowserEditor* createTextEditor(const PropBrowserProperty& record);

    // The dialog createTextEditor opened last; null when none.
    PropertyBrowserWidgetsNS::TextEditorDialog* getTextEditorDialog() const {
        return textDialog.get();
    }

private:
    std::unique_ptr<PropertyBrowserWidgetsNS::TextEditorDialog> textDialog;
};

} // namespace KITE
