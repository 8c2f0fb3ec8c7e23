#include "studio/components/KITEExplorerBar2.hpp"

#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/ConnectionLock.hpp"
#include "platform/nimb/Thread.hpp"
#include "platform/tavi/ApplicationContext.hpp"
#include "platform/tavi2/GLAction2.hpp"
#include "platform/tavi2/GLBoxLayout2.hpp"
#include "platform/tavi2/GLEdit2.hpp"
#include "platform/tavi2/GLMenu2.hpp"
#include "platform/tavi2/GLText2.hpp"
#include "studio/components/ExplorerBarAction.hpp"
#include "studio/components/ExplorerBarItem.hpp"
#include "studio/components/TreeViewModel.hpp"

#include <QWidget>

#include <algorithm>

namespace KITE {

namespace {

std::string resourceFile(const char* name) {
    return TAVI::ApplicationContext::instance().getRootDirectory() +
           "/toolbox/shared/orbis/resources/" + name;
}

template <typename Owner, typename E>
void connectHere(Owner* owner, NIMB::EmitterBase& emitter, void (Owner::*handler)(E)) {
    NIMB::ConnectionWriteLocker lock;
    new NIMB::ConnectionImpl1<Owner, E>(owner, emitter, NIMB::Thread::getCurrentThread(), handler);
}

} // namespace

KITEExplorerBar2::KITEExplorerBar2(const TAVI::StringID& toolkit, TAVI::GLWidget2* parent)
    : GLPanel2(toolkit, parent), layout(new TAVI::GLBoxLayout2(TAVI::GLBoxLayout2::LeftToRight)) {
    layout->setMargin(2);
    layout->setSpacing(4);
    setLayout(layout);
    setColor(BackgroundColor, TAVI::Color(1.0, 1.0, 1.0, 1.0));
    setMinimumSize(0, 24);
    rebuild();
}

KITEExplorerBar2::~KITEExplorerBar2() {
    disconnect();
    actions.clear();
    menu.reset();
}

void KITEExplorerBar2::setViewModel(TreeViewModel* newModel) {
    disconnect();
    model = newModel;
    if (model)
        connectHere(this, model->getDataChangeEmitter(), &KITEExplorerBar2::dataChanged);
    history.clear();
    current = 0;
    rebuild();
}

std::string KITEExplorerBar2::label(unsigned rowUID) const {
    return model ? model->getText(rowUID, model->getColumn()) : std::string();
}

std::string KITEExplorerBar2::getPath(unsigned rowUID) const {
    if (!model || rowUID == 0 || !model->hasRow(rowUID))
        return {};
    std::string path = label(rowUID);
    for (unsigned up = model->getParentRow(rowUID); up != 0; up = model->getParentRow(up))
        path = label(up) + "/" + path;
    return path;
}

unsigned KITEExplorerBar2::resolvePath(const std::string& path) {
    if (!model)
        return 0;
    unsigned at = 0;
    std::string rest = path;
    while (true) {
        const std::size_t slash = rest.find('/');
        const std::string first = rest.substr(0, slash);
        unsigned found = 0;
        for (unsigned child : model->getChildRows(at)) {
            if (label(child) == first) {
                found = child;
                break; // the first equal label only: no going back to later ones
            }
        }
        if (found == 0 || slash == std::string::npos)
            return found;
        rest = rest.substr(slash + 1);
        at = found;
        // Its children may not be loaded yet: have them loaded, as the children menu does.
        expandRequested.send(TAVI::GLTreeExpandEvent2(nullptr, at));
        if (!model->hasRow(at))
            return 0;
    }
}

void KITEExplorerBar2::setCurrent(unsigned rowUID) {
    if (!model || (rowUID != 0 && !model->hasRow(rowUID)) || rowUID == current)
        return;
    current = rowUID;
    error.clear();
    const std::string path = getPath(rowUID);
    if (rowUID != 0) {
        std::erase(history, path);
        history.push_back(path);
    }
    rebuild();
}

void KITEExplorerBar2::navigateTo(unsigned rowUID) {
    if (!model || rowUID == 0 || !model->hasRow(rowUID) || rowUID == current)
        return;
    setCurrent(rowUID);
    selectionChanged.send(TAVI::GLViewSelectionChangeEvent2(nullptr));
}

void KITEExplorerBar2::clearItems() {
    // An item may be the one whose click runs now: it goes once control is back in the loop.
    for (ExplorerBarItem* item : items) {
        layout->removeWidget(item);
        item->disconnect();
        item->destroy();
    }
    items.clear();
    roles.clear();
    if (field) {
        layout->removeWidget(field.get());
        field.release()->destroy();
    }
    editing = false;
}

ExplorerBarItem* KITEExplorerBar2::addItem(unsigned rowUID, Role role) {
    auto* item = new ExplorerBarItem("qt", rowUID, this);
    connectHere(this, item->getClickEmitter(), &KITEExplorerBar2::itemClicked);
    items.push_back(item);
    roles.push_back(role);
    return item;
}

void KITEExplorerBar2::rebuild() {
    QWidget* widget = getQWidget();
    widget->setUpdatesEnabled(false);
    clearItems();
    std::vector<unsigned> chain;
    if (model && current != 0 && model->hasRow(current))
        for (unsigned row = current; row != 0; row = model->getParentRow(row))
            chain.insert(chain.begin(), row);
    // The root's arrow lists the top-level rows, so that an empty path leads somewhere.
    if (model && model->hasChildRows(0))
        layout->addWidget(addItem(0, Role::Arrow));
    for (unsigned row : chain) {
        ExplorerBarItem* item = addItem(row, Role::Row);
        item->setIcon(model->getIcon(row, model->getColumn()));
        item->setText(label(row));
        layout->addWidget(item);
        if (model->hasChildRows(row) || model->isRowExpandable(row))
            layout->addWidget(addItem(row, Role::Arrow));
    }
    for (std::size_t i = 0; i < items.size(); ++i)
        if (roles[i] == Role::Arrow)
            items[i]->setImage(resourceFile("right_arrow.png"));
    ExplorerBarItem* filler = addItem(0, Role::Filler);
    filler->setText(error.empty() ? std::string(" ") : error);
    filler->setColor(BackgroundColor, TAVI::Color(1.0, 1.0, 1.0, 1.0));
    if (!error.empty())
        filler->setColor(ForegroundColor, TAVI::Color(0.8, 0.0, 0.0, 1.0));
    layout->addWidget(filler, 1);
    ExplorerBarItem* down = addItem(0, Role::History);
    down->setImage(resourceFile("down_arrow.png"));
    layout->addWidget(down);
    widget->setUpdatesEnabled(true);
}

void KITEExplorerBar2::itemClicked(TAVI::GLButtonClickEvent2 event) {
    const auto it = std::find(items.begin(), items.end(), event.button());
    if (it == items.end())
        return;
    ExplorerBarItem* item = *it;
    switch (roles[std::size_t(it - items.begin())]) {
    case Role::Row:
        navigateTo(item->getRow());
        break;
    case Role::Arrow:
        showChildren(item);
        break;
    case Role::Filler:
        startEditing();
        break;
    case Role::History:
        showHistory();
        break;
    }
}

void KITEExplorerBar2::openMenu() {
    actions.clear();
    menu = std::make_unique<TAVI::GLMenu2>("qt");
    connectHere(this, menu->getTriggerEmitter(), &KITEExplorerBar2::actionTriggered);
}

void KITEExplorerBar2::popUp(int x, int y) {
    for (const std::unique_ptr<ExplorerBarAction>& action : actions)
        menu->addMenuItem(action.get());
    menu->popup(x, y);
}

void KITEExplorerBar2::showChildren(ExplorerBarItem* arrow) {
    if (!model)
        return;
    const unsigned row = arrow->getRow();
    const TAVI::GLPoint<int> at = arrow->getGlobalPosition();
    const int below = arrow->getSize().height;
    // The children as the tree would load them on expansion.
    if (row != 0)
        expandRequested.send(TAVI::GLTreeExpandEvent2(nullptr, row));
    if (!model->hasRow(row) || !model->hasChildRows(row))
        return;
    openMenu();
    for (unsigned child : model->getChildRows(row)) {
        auto action = std::make_unique<ExplorerBarAction>("qt", label(child), child);
        if (const TAVI::Icon icon = model->getIcon(child, model->getColumn()); icon.isValid())
            action->setIcon(icon);
        action->setToolTip(getPath(child));
        actions.push_back(std::move(action));
    }
    popUp(at.x, at.y + below);
}

void KITEExplorerBar2::showHistory() {
    if (history.empty())
        return;
    openMenu();
    for (const std::string& path : history) {
        const unsigned row = resolvePath(path);
        auto action = std::make_unique<ExplorerBarAction>("qt", path, row);
        action->setToolTip(path);
        if (row != 0)
            if (const TAVI::Icon icon = model->getIcon(row, model->getColumn()); icon.isValid())
                action->setIcon(icon);
        actions.push_back(std::move(action));
    }
    const TAVI::GLPoint<int> at = getGlobalPosition();
    popUp(at.x, at.y + getSize().height);
}

std::vector<ExplorerBarAction*> KITEExplorerBar2::getMenuActions() const {
    std::vector<ExplorerBarAction*> result;
    for (const std::unique_ptr<ExplorerBarAction>& action : actions)
        result.push_back(action.get());
    return result;
}

void KITEExplorerBar2::actionTriggered(TAVI::GLActionTriggerEvent2 event) {
    for (const std::unique_ptr<ExplorerBarAction>& action : actions)
        if (action.get() == event.action()) {
            navigateTo(action->getRow());
            return;
        }
}

void KITEExplorerBar2::startEditing() {
    if (editing)
        return;
    const std::string path = getPath(current);
    clearItems();
    editing = true;
    field = std::make_unique<TAVI::GLEdit2>("qt", this);
    field->setText(path);
    connectHere(this, field->getEditEmitter(), &KITEExplorerBar2::fieldEdited);
    connectHere(this, field->getKeyPressEmitter(), &KITEExplorerBar2::fieldKey);
    layout->addWidget(field.get(), 1);
    field->setFocus();
}

void KITEExplorerBar2::takePath(const std::string& path) {
    const unsigned row = resolvePath(path);
    if (row != 0 && row != current) {
        error.clear();
        navigateTo(row);
        return;
    }
    error = row == 0 ? "No object at \"" + path + "\"" : std::string();
    rebuild();
}

void KITEExplorerBar2::fieldEdited(TAVI::GLEditEvent2 event) {
    if (editing && event.type() == TAVI::GLEditEvent2::Finished)
        takePath(event.text());
}

void KITEExplorerBar2::fieldKey(TAVI::GLKeyEvent2 event) {
    if (editing && event.key() == TAVI::GLKey2::Escape) {
        error.clear();
        rebuild();
    }
}

void KITEExplorerBar2::dataChanged(TAVI::GLDataChangeEvent2 event) {
    // A label on the path changed: show it.
    if (editing || current == 0 || !model || !model->hasRow(event.rowUID()))
        return;
    // The shown row went with a rebuild of the tree: the path ends at nothing.
    if (!model->hasRow(current)) {
        resetCurrent();
        rebuild();
        return;
    }
    for (unsigned row = current; row != 0; row = model->getParentRow(row))
        if (row == event.rowUID()) {
            rebuild();
            return;
        }
}

} // namespace KITE
