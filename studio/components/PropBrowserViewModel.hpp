#pragma once

#include "platform/datamodel/ChangeReports.hpp"
#include "platform/tavi2/GLAbstractViewModel2.hpp"
#include "platform/veld/ClassObject.hpp"
#include "studio/components/PropBrowserProperty.hpp"
#include "studio/components/kite_propbrowser_export.hpp"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace TAVI {
class GLWidget2;
}

namespace KITE {

class PropBrowserDelegate;
class PropBrowserEditor;
class StudioApp;

// The rows of the property browser: two columns, "Property" and "Value"; one row per property
// the delegate lists for the shown object, expandable into the properties of a referenced
// object and into the elements of a multi-valued property. Owns the delegate, one record per
// row and the open editors. Showing the object it shows already updates the rows in place, so
// rows keep their ids, and views their expanded rows and scroll position.
class KITE_PROPBROWSER_EXPORT PropBrowserViewModel : public TAVI::GLAbstractViewModel2 {
public:
    static constexpr const char* nameColumnLabel = "Property";
    static constexpr const char* valueColumnLabel = "Value";

    // app gives the active model, whose objects alone may be edited; null: nothing is editable.
    explicit PropBrowserViewModel(StudioApp* app);
    ~PropBrowserViewModel() override;

    PropBrowserDelegate* getDelegate() const { return delegate.get(); }
    // Takes ownership; the previous delegate is deleted unless it is the same. Null is ignored.
    void setDelegate(PropBrowserDelegate* newDelegate);

    // Shows the object: rebuilt for another object, updated in place for the one shown, empty
    // (two columns, no rows) for an invalid one.
    void show(const VELD::ClassObject& object);
    VELD::ClassObject getObject() const { return shown; }
    // Removes every row and column and forgets the records, editors and the object.
    void clearAll();

    unsigned getNameColumn() const { return nameColumn; }
    unsigned getValueColumn() const { return valueColumn; }
    // The record of a row; null for the root and unknown rows.
    const PropBrowserProperty* getRecord(unsigned rowUID) const;
    // The first row, in row-id order, of the object's property at index; 0 when none.
    unsigned findRow(const VELD::ImmutableClassObject& object,
                     const VELD::ImmutableProperty& property, int index) const;
    // Replaces the row's children by the rows of the object it leads to (the elements of a
    // multi-valued property); nothing for a row the delegate does not call expandable.
    void expandRow(unsigned rowUID);
    // Whether a value of the row may be edited now: the object is one of the active model's,
    // and the row is neither read only nor a multi-valued property as a whole.
    bool canEdit(unsigned rowUID) const;
    // Whether the report changed an object one of the rows shows.
    bool showsChangedObject(const ModelChangeReport* report) const;

    // Editors. createEditor makes the delegate's editor for the row and keeps it open; it
    // returns its widget, or null when the row cannot be edited or has no editor.
    TAVI::GLWidget2* createEditor(unsigned rowUID);
    PropBrowserEditor* getEditor(unsigned rowUID) const;
    // The open editor of the row, which the caller owns from now on; null when none.
    PropBrowserEditor* takeEditor(unsigned rowUID);
    // Deletes every open editor without committing; returns their rows.
    std::vector<unsigned> closeEditors();
    // Deletes the open editor of the record's row without committing; its row, or 0.
    unsigned discardEditor(const PropBrowserProperty& record);

    // Shows beside the row's value why an edit was refused, until the row is shown again.
    void showRefusal(unsigned rowUID, const std::string& reason);
    // The reason shown beside the row; empty when none.
    std::string getRefusal(unsigned rowUID) const;

    std::string getColumnLabel(unsigned columnUID) const override;
    bool isReadOnly(unsigned rowUID, unsigned columnUID) const override;
    // The text typed into the view's own field never reaches the model: edits go through the
    // delegate's editors.
    bool setValueFromEditor(unsigned rowUID, unsigned columnUID, const std::string& text) override;

private:
    std::vector<PropBrowserProperty> buildRecords(const VELD::ImmutableClassObject& object);
    void appendRecords(unsigned parentUID, std::vector<PropBrowserProperty> records);
    void removeRecordRows(const std::vector<unsigned>& rowUIDs);
    void forgetRow(unsigned rowUID);
    void pushCells(unsigned rowUID);
    void syncChildren(unsigned parentUID, const VELD::ImmutableClassObject& object);
    void refreshRow(unsigned rowUID);
    void syncElements(unsigned rowUID);
    void syncSubtree(unsigned rowUID);
    void resetColumns();

    StudioApp* app; // not owned
    std::unique_ptr<PropBrowserDelegate> delegate;
    VELD::ClassObject shown;
    unsigned nameColumn = 0;
    unsigned valueColumn = 0;
    std::map<unsigned, std::unique_ptr<PropBrowserProperty>> records; // by row, in id order
    std::map<unsigned, std::unique_ptr<PropBrowserEditor>> editors;   // open, by row
    std::map<unsigned, std::string> refusals;                         // by row
};

} // namespace KITE
