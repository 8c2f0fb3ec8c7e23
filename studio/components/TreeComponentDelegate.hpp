#pragma once

#include "platform/nimb/Listener.hpp"
#include "platform/tavi/Color.hpp"
#include "platform/tavi2/GLAbstractView2.hpp"
#include "platform/veld/ClassObject.hpp"
#include "platform/veld/Model.hpp"
#include "platform/veld/Sequence.hpp"
#include "studio/events/TransactionCompletedEvent.hpp"
#include "studio/events/TreeSelectionChangedEvent.hpp"
#include "studio/kite_studio_export.hpp"

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

namespace PLATFORM {
class Studio;
}
namespace TAVI {
class GLKeyEvent2;
}

namespace KITE {

class ElementDescriberBase;
class ElementIsEditableObjectBase;
class ElementSetDescriptionBase;
class GetChildrenBase;
class GetIconBase;
class StudioApp;
namespace Util {
class FilterBase;
}

// Decides what the model tree shows: its top-level rows, each object's children, label and
// icon, what may be renamed in place and how, and when the tree rebuilds. The defaults use the
// studio's presentation strategies (made on initialize when none is set); a studio changes the
// tree by installing a subclass (TreeComponent::setDelegate). Owned by the tree's view model.
class KITE_STUDIO_EXPORT TreeComponentDelegate : public NIMB::Listener {
public:
    explicit TreeComponentDelegate(PLATFORM::Studio* studio);
    ~TreeComponentDelegate() override;
    TreeComponentDelegate(const TreeComponentDelegate&) = delete;
    TreeComponentDelegate& operator=(const TreeComponentDelegate&) = delete;

    // The element describer's text (flags as ElementDescriberBase::describe takes them).
    virtual std::string describeObject(const VELD::ImmutableClassObject& object, unsigned flags);
    // Writes a label back into a valid object in one transaction of its root model. Throws
    // what the kernel throws when the model refuses the text; the model is then as before.
    virtual void setDescription(VELD::ClassObject object, const std::string& text);
    virtual bool isEditableObject(const VELD::ImmutableClassObject& object, unsigned flags);
    // The rows under the invisible root: top alone.
    virtual std::vector<VELD::ImmutableClassObject>
    fetchTopLevelItems(const VELD::ImmutableClassObject& top);
    virtual bool hasVirtualTopLevelItems() const; // false
    virtual void fetchChildren(const VELD::ImmutableClassObject& object,
                               std::vector<VELD::ImmutableClassObject>& out);
    virtual std::string fetchIcon(const VELD::ImmutableClassObject& object); // an icon file
    virtual bool hasAtLeastOneChild(const VELD::ImmutableClassObject& object);
    // Fills the strategies still empty with the studio's or the defaults.
    virtual void initialize();
    virtual boost::shared_ptr<Util::FilterBase> getFilter(); // the populator's, or empty
    virtual TAVI::EditTrigger getEditTrigger();              // SelectedClicked | AnyKeyPressed
    virtual VELD::Model getActiveModel() const;
    // The diagram of the first open editor; null without one.
    virtual VELD::ImmutableClassObject getTopElement();
    virtual VELD::ClassObject getItemToSelect(const VELD::ClassObject& object); // object
    virtual std::string getContextMenuTag() const;                              // "ContextMenu"
    virtual bool respondToModelAdditionsAndRemoval();                           // true
    virtual bool respondToTreeSelectionChangedEvent(TreeSelectionChangedEvent event); // true
    virtual bool refreshTreeOnTransactionCompleted(const ModelChangeReport* report) const;
    // The containers from top (included) down to the object (excluded); empty when the object
    // is not inside top.
    virtual VELD::Sequence<VELD::ImmutableClassObject>
    getParentHierarchyFor(const VELD::ImmutableClassObject& object,
                          const VELD::ImmutableClassObject& top);
    virtual void onKeyPressed(TAVI::GLKeyEvent2 event);  // nothing
    virtual void onKeyReleased(TAVI::GLKeyEvent2 event); // nothing
    virtual void setGetChildrenMember(const boost::shared_ptr<GetChildrenBase>& populator);
    virtual void setGetIconMember(const boost::shared_ptr<GetIconBase>& controller);
    virtual void setElementDescriber(const boost::shared_ptr<ElementDescriberBase>& describer);
    virtual void
    setElementIsEditableVisitor(const boost::shared_ptr<ElementIsEditableObjectBase>& test);
    virtual void
    setElementSetDescriptionVisitor(const boost::shared_ptr<ElementSetDescriptionBase>& setter);
    // Whether the report changes what the tree shows (changesMoreThanDiagramElements).
    virtual bool shouldRefreshFromReportOfChanges(const ModelChangeReport* report) const;
    virtual void onSetIconController(boost::shared_ptr<GetIconBase> controller);
    virtual void onSetElementDescriber(boost::shared_ptr<ElementDescriberBase> describer);
    virtual TAVI::Color getTreeBgColor(); // white, fully transparent
    virtual bool startTreeRefreshFromRoot(const VELD::ImmutableClassObject& object); // false
    // A BasicCompositeFilter of family "Tree", read-only attributes allowed, no history.
    virtual boost::shared_ptr<Util::FilterBase> constructDefaultFilter() const;
    virtual boost::shared_ptr<Util::FilterBase> constructDefaultFilterByType() const; // empty
    virtual const std::string& getFilterMode() const; // the populator's, or ""

    const boost::shared_ptr<GetChildrenBase>& getGetChildrenMember() const { return populator; }
    const boost::shared_ptr<GetIconBase>& getGetIconMember() const { return iconController; }
    const boost::shared_ptr<ElementDescriberBase>& getElementDescriber() const { return describer; }
    bool isInitialized() const { return initialized; }
    StudioApp* getStudioApp() const { return studioApp; }

private:
    boost::shared_ptr<GetChildrenBase> populator;
    boost::shared_ptr<ElementDescriberBase> describer;
    boost::shared_ptr<ElementIsEditableObjectBase> editability;
    boost::shared_ptr<ElementSetDescriptionBase> descriptionSetter;
    boost::shared_ptr<GetIconBase> iconController;
    bool initialized = false;
    StudioApp* studioApp; // not owned; null when the studio has no studio application
};

} // namespace KITE
