#include "studio/components/TreeViewModel.hpp"

#include "platform/tavi2/GLEdit2.hpp"
#include "platform/veld/Model.hpp"
#include "studio/components/TreeComponentDelegate.hpp"

#include <algorithm>

namespace KITE {

TreeViewModel::TreeViewModel(PLATFORM::Studio* studio)
    : delegate(new TreeComponentDelegate(studio)) {
    ensureColumn();
}

TreeViewModel::~TreeViewModel() {
    disconnect();
}

void TreeViewModel::setDelegate(TreeComponentDelegate* newDelegate) {
    if (newDelegate && newDelegate != delegate.get())
        delegate.reset(newDelegate);
}

VELD::ClassObject TreeViewModel::getObject(unsigned rowUID) const {
    const auto it = objects.find(rowUID);
    return it == objects.end() ? VELD::ClassObject() : it->second;
}

unsigned TreeViewModel::getRow(const VELD::ImmutableClassObject& object) const {
    if (object.isNull())
        return 0;
    unsigned first = 0;
    const auto [from, to] = rows.equal_range(object);
    for (auto it = from; it != to; ++it)
        if (first == 0 || it->second < first)
            first = it->second;
    return first;
}

void TreeViewModel::ensureColumn() {
    if (getColumnCount() == 0)
        appendColumns(1);
    column = getColumnUID(0);
}

std::string TreeViewModel::labelOf(const VELD::ImmutableClassObject& object) {
    std::string label = delegate->describeObject(object, 0);
    std::replace(label.begin(), label.end(), '\n', ' ');
    return label;
}

void TreeViewModel::fill(unsigned rowUID, const VELD::ImmutableClassObject& object) {
    // Only what differs: an unchanged cell costs its view nothing, and a changed expander
    // makes views lay the parent's rows out again.
    const std::string label = labelOf(object);
    if (getText(rowUID, column) != label)
        setValue(rowUID, column, label);
    const TAVI::Icon icon(delegate->fetchIcon(object), 0, 0);
    if (!(getIcon(rowUID, column) == icon))
        setIcon(rowUID, column, icon);
    // Rows the delegate does not let the user rename stay closed to the view's own text field.
    const bool readOnly = !delegate->isEditableObject(object, 0);
    if (isReadOnly(rowUID, column) != readOnly)
        setReadOnly(rowUID, column, readOnly);
    const bool expandable = delegate->hasAtLeastOneChild(object);
    if (isRowExpandable(rowUID) != expandable && !hasChildRows(rowUID))
        setRowExpandable(rowUID, expandable);
}

std::vector<unsigned> TreeViewModel::withDescendants(const std::vector<unsigned>& rowUIDs) const {
    std::vector<unsigned> all;
    std::vector<unsigned> stack(rowUIDs.begin(), rowUIDs.end());
    while (!stack.empty()) {
        const unsigned uid = stack.back();
        stack.pop_back();
        if (!hasRow(uid))
            continue;
        all.push_back(uid);
        const std::vector<unsigned>& children = getChildRows(uid);
        stack.insert(stack.end(), children.begin(), children.end());
    }
    return all;
}

void TreeViewModel::removeAndForget(std::vector<unsigned> rowUIDs) {
    std::sort(rowUIDs.begin(), rowUIDs.end());
    rowUIDs.erase(std::unique(rowUIDs.begin(), rowUIDs.end()), rowUIDs.end());
    const std::vector<unsigned> all = withDescendants(rowUIDs);
    if (all.empty())
        return;
    // Rows first: views close the editors of rows that go, and only then may the editors go.
    beginTransaction();
    removeRows(rowUIDs);
    endTransaction();
    for (unsigned uid : all) {
        if (const auto it = objects.find(uid); it != objects.end()) {
            const auto [from, to] = rows.equal_range(it->second);
            for (auto shown = from; shown != to; ++shown)
                if (shown->second == uid) {
                    rows.erase(shown);
                    break;
                }
            objects.erase(it);
        }
        forgetExpanded(uid);
        editors.erase(uid);
    }
}

void TreeViewModel::rebuildChildren(unsigned rowUID) {
    ensureColumn();
    if (rowUID != 0 && !hasRow(rowUID))
        return;
    std::vector<VELD::ImmutableClassObject> children;
    if (rowUID == 0) {
        if (top.isValid())
            children = delegate->fetchTopLevelItems(top);
    } else if (const VELD::ClassObject object = getObject(rowUID); object.isValid()) {
        delegate->fetchChildren(object, children);
    }
    std::erase_if(children, [](const VELD::ImmutableClassObject& c) { return !c.isValid(); });

    // Rows of objects still there are kept as long as they stay in order; the others go and
    // the children without a row get new ones in their places.
    const std::vector<unsigned> old = getChildRows(rowUID);
    std::unordered_map<VELD::ImmutableClassObject, std::size_t> oldPlace;
    for (std::size_t i = 0; i < old.size(); ++i)
        oldPlace.emplace(objects.at(old[i]), i);
    std::vector<unsigned> reuse(children.size(), 0);
    std::vector<bool> kept(old.size(), false);
    std::size_t next = 0;
    for (std::size_t i = 0; i < children.size(); ++i) {
        const auto it = oldPlace.find(children[i]);
        if (it != oldPlace.end() && it->second >= next && !kept[it->second]) {
            reuse[i] = old[it->second];
            kept[it->second] = true;
            next = it->second + 1;
        }
    }
    std::vector<unsigned> gone;
    for (std::size_t i = 0; i < old.size(); ++i)
        if (!kept[i])
            gone.push_back(old[i]);

    removeAndForget(gone);
    beginTransaction();
    std::size_t i = 0;
    while (i < children.size()) {
        if (reuse[i] != 0) {
            fill(reuse[i], children[i]);
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < children.size() && reuse[end] == 0)
            ++end;
        const std::vector<unsigned> made = insertRows(rowUID, unsigned(i), unsigned(end - i));
        for (std::size_t k = 0; k < made.size(); ++k) {
            const VELD::ClassObject object(children[i + k]);
            objects.emplace(made[k], object);
            rows.emplace(object, made[k]);
            fill(made[k], object);
        }
        i = end;
    }
    endTransaction();
}

bool TreeViewModel::rebuildChanged(const ModelChangeReport& report) {
    if (!top.isValid() || delegate->hasVirtualTopLevelItems())
        return false;
    std::vector<unsigned> gone;
    for (const VELD::ImmutableClassObject& object : report.getRemoved())
        for (auto [from, to] = rows.equal_range(object); from != to; ++from)
            gone.push_back(from->second);
    removeAndForget(gone); // rows under other rows that go are taken with them
    for (const VELD::ImmutableClassObject& object : report.getModified()) {
        if (object == top)
            rebuildChildren(0); // and its own row, when it has one, below
        // Taken out first, oldest row first: rebuilding changes the map.
        std::vector<unsigned> shown;
        for (auto [from, to] = rows.equal_range(object); from != to; ++from)
            shown.push_back(from->second);
        std::sort(shown.begin(), shown.end());
        for (unsigned uid : shown) {
            if (!hasRow(uid))
                continue;
            fill(uid, objects.at(uid));
            if (isExpandedRow(uid))
                rebuildChildren(uid);
        }
    }
    return true;
}

void TreeViewModel::removeEverything() {
    top = VELD::ImmutableClassObject();
    // All at once: views start over, which costs them far less than rows going one by one.
    clear();
    ensureColumn();
    objects.clear();
    rows.clear();
    expanded.clear();
    editors.clear();
}

bool TreeViewModel::setValueFromEditor(unsigned, unsigned, const std::string&) {
    return false; // labels change through the model, never by editing the row's text
}

bool TreeViewModel::expandRow(unsigned rowUID) {
    const VELD::ClassObject object = getObject(rowUID);
    if (!object.isValid() || !VELD::ImmutableModel(object.getRootModel()).isValid())
        return false;
    if (expanded.size() <= rowUID)
        expanded.resize(std::size_t(rowUID) + 1);
    expanded[rowUID] = true;
    rebuildChildren(delegate->startTreeRefreshFromRoot(object) ? 0 : rowUID);
    return true;
}

void TreeViewModel::rebuildShown() {
    std::vector<unsigned> stack{0};
    while (!stack.empty()) {
        const unsigned uid = stack.back();
        stack.pop_back();
        rebuildChildren(uid);
        for (unsigned child : getChildRows(uid))
            if (isExpandedRow(child))
                stack.push_back(child);
    }
}

TAVI::GLEdit2* TreeViewModel::getEditor(unsigned rowUID) {
    const VELD::ClassObject object = getObject(rowUID);
    if (!object.isValid() || !delegate->isEditableObject(object, 0))
        return nullptr;
    std::unique_ptr<TAVI::GLEdit2>& editor = editors[rowUID];
    if (!editor)
        editor = std::make_unique<TAVI::GLEdit2>("qt");
    editor->setText(getEditText(rowUID));
    return editor.get();
}

std::string TreeViewModel::getEditText(unsigned rowUID) {
    const VELD::ClassObject object = getObject(rowUID);
    return object.isValid() ? delegate->describeObject(object, 1) : std::string();
}

TAVI::GLEdit2* TreeViewModel::getEditorIfAny(unsigned rowUID) const {
    const auto it = editors.find(rowUID);
    return it == editors.end() ? nullptr : it->second.get();
}

} // namespace KITE
