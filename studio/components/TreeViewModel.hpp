#pragma once

#include "platform/nimb/Listener.hpp"
#include "platform/tavi2/GLAbstractViewModel2.hpp"
#include "platform/veld/ClassObject.hpp"
#include "studio/events/TransactionCompletedEvent.hpp"
#include "studio/kite_studio_export.hpp"

#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

namespace PLATFORM {
class Studio;
}
namespace TAVI {
class GLEdit2;
}

namespace KITE {

class TreeComponentDelegate;

// The rows of the model tree: one column, a row per object shown, under the invisible root
// that stands for top. Rows are made for an object's children only once the object's row is
// expanded (the root's always), and a rebuild keeps the rows (and so their ids, selection and
// expansion) of objects still shown. Holds the delegate that decides what the rows are.
class KITE_STUDIO_EXPORT TreeViewModel : public TAVI::GLAbstractViewModel2, public NIMB::Listener {
public:
    // Makes the default delegate of the studio (not initialized).
    explicit TreeViewModel(PLATFORM::Studio* studio);
    ~TreeViewModel() override;

    TreeComponentDelegate* getDelegate() const { return delegate.get(); }
    // Takes the delegate (null is ignored); the previous one goes.
    void setDelegate(TreeComponentDelegate* newDelegate);

    const VELD::ImmutableClassObject& getTop() const { return top; }
    void setTop(const VELD::ImmutableClassObject& object) { top = object; }
    unsigned getColumn() const { return column; }

    // The object a row shows; null for the root and unknown rows.
    VELD::ClassObject getObject(unsigned rowUID) const;
    // The first row, in row-id order, that shows the object; 0 when none.
    unsigned getRow(const VELD::ImmutableClassObject& object) const;
    // Every row and its object, in row-id order.
    const std::map<unsigned, VELD::ClassObject>& getRows() const { return objects; }

    // Brings the rows under a row (0: the root) in line with the delegate's children of its
    // object, reusing the rows of objects still there and putting new rows in their places.
    void rebuildChildren(unsigned rowUID);
    // Updates the rows shown for what a transaction changed: the rows of changed objects, and
    // the children of those whose children are shown; rows of removed objects go. False when
    // it cannot tell and the caller should rebuild.
    bool rebuildChanged(const ModelChangeReport& report);
    // Clears top and removes every row.
    void removeEverything();
    // Remembers the row as expanded and builds its children (from the root when the delegate
    // asks for that). False for a row whose object or model is gone.
    bool expandRow(unsigned rowUID);
    void forgetExpanded(unsigned rowUID) {
        if (rowUID < expanded.size())
            expanded[rowUID] = false;
    }
    bool isExpandedRow(unsigned rowUID) const {
        return rowUID < expanded.size() && expanded[rowUID];
    }
    // Rebuilds the root's children and, depth first, those of each expanded row still there.
    void rebuildShown();

    // The line editor for a row's label, made once per row and kept with it; null when the
    // row's object is not valid or not editable.
    TAVI::GLEdit2* getEditor(unsigned rowUID);
    TAVI::GLEdit2* getEditorIfAny(unsigned rowUID) const;
    // What the row's line editor starts with: the object's bare name (the row's label may
    // carry decorations that are not part of the name).
    std::string getEditText(unsigned rowUID);

    bool setValueFromEditor(unsigned rowUID, unsigned columnUID, const std::string& text) override;

    const VELD::ClassObject& getBroadcasting() const { return broadcasting; }
    void setBroadcasting(const VELD::ClassObject& object) { broadcasting = object; }

private:
    // The label a row shows: the description on one line.
    std::string labelOf(const VELD::ImmutableClassObject& object);
    void fill(unsigned rowUID, const VELD::ImmutableClassObject& object);
    std::vector<unsigned> withDescendants(const std::vector<unsigned>& rowUIDs) const;
    // Removes the rows with their descendants and forgets them.
    void removeAndForget(std::vector<unsigned> rowUIDs);
    void ensureColumn();

    std::unique_ptr<TreeComponentDelegate> delegate;
    std::map<unsigned, VELD::ClassObject> objects; // by row
    // The rows of each object, by identity: one entry a row, as an object nearly always has
    // one, so that a large tree costs one allocation a row less to build and to let go of.
    std::unordered_multimap<VELD::ImmutableClassObject, unsigned> rows;
    // By row id: a bit a row rather than a set entry, which a fully expanded tree of 100,000
    // rows would allocate (and free on close) one by one.
    std::vector<bool> expanded;
    std::unordered_map<unsigned, std::unique_ptr<TAVI::GLEdit2>> editors; // by row
    VELD::ImmutableClassObject top;
    VELD::ClassObject broadcasting;
    unsigned column = 0;
};

} // namespace KITE
