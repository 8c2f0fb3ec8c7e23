#include "studio/components/TreeComponentDelegate.hpp"

#include "editor/Editor.hpp"
#include "platform/datamodel/ChangeReports.hpp"
#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/ConnectionLock.hpp"
#include "platform/nimb/Thread.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/veld/Meta.hpp"
#include "studio/StudioApp.hpp"
#include "studio/components/DefaultElementDescriber.hpp"
#include "studio/components/DefaultElementIsEditableObject.hpp"
#include "studio/components/DefaultElementSetDescription.hpp"
#include "studio/components/DefaultGetChildren.hpp"
#include "studio/components/DefaultGetIcon.hpp"
#include "utils/BasicCompositeFilter.hpp"

#include <algorithm>

namespace KITE {

namespace {

StudioApp* studioAppOf(PLATFORM::Studio* studio) {
    return studio ? dynamic_cast<StudioApp*>(studio->getApp()) : nullptr;
}

template <typename Strategy>
void connectChange(TreeComponentDelegate* owner, NIMB::Emitter<boost::shared_ptr<Strategy>>& signal,
                   void (TreeComponentDelegate::*handler)(boost::shared_ptr<Strategy>)) {
    NIMB::ConnectionWriteLocker lock;
    NIMB::Thread* host = NIMB::Thread::getNamedThread(NIMB::Thread::hostThreadName);
    new NIMB::ConnectionImpl1<TreeComponentDelegate, boost::shared_ptr<Strategy>>(
        owner, signal, host ? host : NIMB::Thread::getCurrentThread(), handler);
}

} // namespace

TreeComponentDelegate::TreeComponentDelegate(PLATFORM::Studio* studio)
    : studioApp(studioAppOf(studio)) {}

TreeComponentDelegate::~TreeComponentDelegate() {
    disconnect();
}

std::string TreeComponentDelegate::describeObject(const VELD::ImmutableClassObject& object,
                                                  unsigned flags) {
    return describer && object.isValid() ? describer->describe(object, flags) : std::string();
}

void TreeComponentDelegate::setDescription(VELD::ClassObject object, const std::string& text) {
    if (!object.isValid() || !descriptionSetter)
        return;
    const VELD::Model root = VELD::Model(object.getRootModel()).getRootDeviant();
    // Left by an exception, the transaction rolls back whole.
    VELD::Transaction transaction(root);
    descriptionSetter->setDescription(object.asDeviant(root), text);
    transaction.commit();
}

bool TreeComponentDelegate::isEditableObject(const VELD::ImmutableClassObject& object,
                                             unsigned flags) {
    return editability && object.isValid() && editability->isEditable(object, flags);
}

std::vector<VELD::ImmutableClassObject>
TreeComponentDelegate::fetchTopLevelItems(const VELD::ImmutableClassObject& top) {
    return {top};
}

bool TreeComponentDelegate::hasVirtualTopLevelItems() const {
    return false;
}

void TreeComponentDelegate::fetchChildren(const VELD::ImmutableClassObject& object,
                                          std::vector<VELD::ImmutableClassObject>& out) {
    if (!populator || !object.isValid())
        return;
    populator->setFilterMode(getFilterMode());
    populator->execute(object, &out);
}

std::string TreeComponentDelegate::fetchIcon(const VELD::ImmutableClassObject& object) {
    return iconController && object.isValid() ? iconController->execute(object) : std::string();
}

bool TreeComponentDelegate::hasAtLeastOneChild(const VELD::ImmutableClassObject& object) {
    return populator && object.isValid() && populator->hasAtleastOneChild(object);
}

void TreeComponentDelegate::initialize() {
    initialized = true;
    if (!populator)
        setGetChildrenMember(boost::shared_ptr<GetChildrenBase>(new DefaultGetChildren(
            constructDefaultFilter(), std::string(), constructDefaultFilterByType())));
    if (!describer) {
        boost::shared_ptr<ElementDescriberBase> studioDescriber =
            studioApp ? studioApp->getElementDescriber() : nullptr;
        if (!studioDescriber) {
            studioDescriber.reset(new DefaultElementDescriber);
            studioDescriber->registerDescribableTypes();
        }
        setElementDescriber(studioDescriber);
        if (studioApp)
            connectChange(this, studioApp->getElementDescriberChangedSignal(),
                          &TreeComponentDelegate::onSetElementDescriber);
    }
    if (!descriptionSetter) {
        boost::shared_ptr<ElementSetDescriptionBase> setter(new DefaultElementSetDescription);
        setter->registerDescribableTypes();
        setElementSetDescriptionVisitor(setter);
    }
    if (!editability) {
        boost::shared_ptr<ElementIsEditableObjectBase> test(new DefaultElementIsEditableObject);
        test->registerDescribableTypes();
        setElementIsEditableVisitor(test);
    }
    if (!iconController) {
        boost::shared_ptr<GetIconBase> controller =
            studioApp ? studioApp->getIconController() : nullptr;
        if (!controller) {
            controller.reset(new DefaultGetIcon);
            controller->registerVisitableTypes();
        }
        setGetIconMember(controller);
        if (studioApp)
            connectChange(this, studioApp->getIconControllerChangedSignal(),
                          &TreeComponentDelegate::onSetIconController);
    }
}

boost::shared_ptr<Util::FilterBase> TreeComponentDelegate::getFilter() {
    return populator ? populator->getFilter() : boost::shared_ptr<Util::FilterBase>();
}

TAVI::EditTrigger TreeComponentDelegate::getEditTrigger() {
    return TAVI::EditTrigger(TAVI::GLAbstractView2::SelectedClicked |
                             TAVI::GLAbstractView2::AnyKeyPressed);
}

VELD::Model TreeComponentDelegate::getActiveModel() const {
    return studioApp ? studioApp->getActiveModel() : VELD::Model();
}

VELD::ImmutableClassObject TreeComponentDelegate::getTopElement() {
    if (!studioApp)
        return {};
    const TAVI::GList<Editor*> editors = studioApp->getAllEditors();
    if (editors.isEmpty() || !editors.first())
        return {};
    return editors.first()->getDiagram();
}

VELD::ClassObject TreeComponentDelegate::getItemToSelect(const VELD::ClassObject& object) {
    return object;
}

std::string TreeComponentDelegate::getContextMenuTag() const {
    return "ContextMenu";
}

bool TreeComponentDelegate::respondToModelAdditionsAndRemoval() {
    return true;
}

bool TreeComponentDelegate::respondToTreeSelectionChangedEvent(TreeSelectionChangedEvent) {
    return true;
}

bool TreeComponentDelegate::refreshTreeOnTransactionCompleted(const ModelChangeReport*) const {
    return true;
}

VELD::Sequence<VELD::ImmutableClassObject>
TreeComponentDelegate::getParentHierarchyFor(const VELD::ImmutableClassObject& object,
                                             const VELD::ImmutableClassObject& top) {
    VELD::Sequence<VELD::ImmutableClassObject> chain =
        VELD::MakeSequence::create<VELD::ImmutableClassObject>();
    if (!object.isValid() || !top.isValid())
        return chain;
    std::vector<VELD::ImmutableClassObject> up;
    for (VELD::ImmutableClassObject at = object.getContainerVELD(); at.isValid();
         at = at.getContainerVELD()) {
        up.push_back(at);
        if (at == top) {
            for (auto it = up.rbegin(); it != up.rend(); ++it)
                chain.append(*it);
            return chain;
        }
    }
    return chain; // not inside top
}

void TreeComponentDelegate::onKeyPressed(TAVI::GLKeyEvent2) {}

void TreeComponentDelegate::onKeyReleased(TAVI::GLKeyEvent2) {}

void TreeComponentDelegate::setGetChildrenMember(
    const boost::shared_ptr<GetChildrenBase>& newPopulator) {
    const bool changed = newPopulator != populator;
    populator = newPopulator;
    if (changed && populator)
        populator->registerParentTypes();
}

void TreeComponentDelegate::setGetIconMember(const boost::shared_ptr<GetIconBase>& controller) {
    iconController = controller;
}

void TreeComponentDelegate::setElementDescriber(
    const boost::shared_ptr<ElementDescriberBase>& newDescriber) {
    describer = newDescriber;
}

void TreeComponentDelegate::setElementIsEditableVisitor(
    const boost::shared_ptr<ElementIsEditableObjectBase>& test) {
    editability = test;
}

void TreeComponentDelegate::setElementSetDescriptionVisitor(
    const boost::shared_ptr<ElementSetDescriptionBase>& setter) {
    descriptionSetter = setter;
}

bool TreeComponentDelegate::shouldRefreshFromReportOfChanges(
    const ModelChangeReport* report) const {
    return changesMoreThanDiagramElements(report);
}

void TreeComponentDelegate::onSetIconController(boost::shared_ptr<GetIconBase> controller) {
    setGetIconMember(controller);
}

void TreeComponentDelegate::onSetElementDescriber(boost::shared_ptr<ElementDescriberBase> d) {
    setElementDescriber(d);
}

TAVI::Color TreeComponentDelegate::getTreeBgColor() {
    return TAVI::Color(1.0, 1.0, 1.0, 0.0);
}

bool TreeComponentDelegate::startTreeRefreshFromRoot(const VELD::ImmutableClassObject&) {
    return false;
}

boost::shared_ptr<Util::FilterBase> TreeComponentDelegate::constructDefaultFilter() const {
    return boost::shared_ptr<Util::FilterBase>(new Util::BasicCompositeFilter("Tree", true, false));
}

boost::shared_ptr<Util::FilterBase> TreeComponentDelegate::constructDefaultFilterByType() const {
    return {};
}

const std::string& TreeComponentDelegate::getFilterMode() const {
    static const std::string none;
    return populator ? populator->getFilterMode() : none;
}

} // namespace KITE
