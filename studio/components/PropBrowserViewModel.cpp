#include "studio/components/PropBrowserViewModel.hpp"

#include "platform/tavi/any.hpp"
#include "platform/veld/Model.hpp"
#include "platform/veld/Sequence.hpp"
#include "studio/StudioApp.hpp"
#include "studio/components/PropBrowserDelegate.hpp"
#include "studio/components/PropBrowserEditor.hpp"

#include <unordered_set>

namespace KITE {

namespace {

constexpr const char* kRefusalMark = "  \xe2\x9a\xa0 "; // a warning sign between value and reason

const TAVI::Color& refusalColor() {
    static const TAVI::Color red(0.75, 0.0, 0.0);
    return red;
}

// Opens a toolkit transaction for the scope: views hear of the changes once, at its end.
class ModelTransaction {
public:
    explicit ModelTransaction(TAVI::GLAbstractModel2& model) : model(model) {
        model.beginTransaction();
    }
    ~ModelTransaction() { model.endTransaction(); }
    ModelTransaction(const ModelTransaction&) = delete;
    ModelTransaction& operator=(const ModelTransaction&) = delete;

private:
    TAVI::GLAbstractModel2& model;
};

bool holdsChildObjects(const VELD::ImmutableProperty& property) {
    return property.isComposite() && property.getType().isClass();
}

VELD::ClassObject objectOf(const VELD::ImmutableObject& value) {
    if (!value.isClassObject() || !value.asClassObject().isValid())
        return VELD::ClassObject();
    return VELD::ClassObject(value.asClassObject());
}

bool sameModel(const VELD::ImmutableModel& a, const VELD::ImmutableModel& b) {
    return a.modelCore() && a.modelCore() == b.modelCore();
}

} // namespace

PropBrowserViewModel::PropBrowserViewModel(StudioApp* app)
    : app(app), delegate(std::make_unique<PropBrowserDelegate>()) {}

PropBrowserViewModel::~PropBrowserViewModel() {
    // Editors go before the delegate they may point to.
    editors.clear();
}

void PropBrowserViewModel::setDelegate(PropBrowserDelegate* newDelegate) {
    if (!newDelegate || newDelegate == delegate.get())
        return;
    closeEditors();
    delegate.reset(newDelegate);
}

void PropBrowserViewModel::resetColumns() {
    clear();
    records.clear();
    refusals.clear();
    const std::vector<unsigned> columns = appendColumns(2);
    nameColumn = columns[0];
    valueColumn = columns[1];
}

void PropBrowserViewModel::show(const VELD::ClassObject& object) {
    if (object == shown && !shown.isNull() && object.isValid()) {
        syncChildren(rootRow, object);
        return;
    }
    if (object == shown && !object.isValid()) {
        resetColumns();
        return;
    }
    shown = object;
    const ModelTransaction transaction(*this);
    resetColumns();
    if (object.isValid())
        appendRecords(rootRow, buildRecords(object));
}

void PropBrowserViewModel::clearAll() {
    closeEditors();
    clear();
    records.clear();
    refusals.clear();
    nameColumn = valueColumn = 0;
    shown = VELD::ClassObject();
}

const PropBrowserProperty* PropBrowserViewModel::getRecord(unsigned rowUID) const {
    const auto found = records.find(rowUID);
    return found == records.end() ? nullptr : found->second.get();
}

unsigned PropBrowserViewModel::findRow(const VELD::ImmutableClassObject& object,
                                       const VELD::ImmutableProperty& property, int index) const {
    for (const auto& [row, record] : records)
        if (record->object == object && record->property == property && record->index == index)
            return row;
    return 0;
}

std::vector<PropBrowserProperty>
PropBrowserViewModel::buildRecords(const VELD::ImmutableClassObject& object) {
    std::vector<PropBrowserProperty> built;
    if (!object.isValid())
        return built;
    const VELD::ClassObject owner(object);
    for (const VELD::ImmutableProperty& property : delegate->getProperties(object))
        if (!property.isNull() && property.isValid() && !holdsChildObjects(property))
            built.emplace_back(owner, property, -1);
    return built;
}

void PropBrowserViewModel::appendRecords(unsigned parentUID,
                                         std::vector<PropBrowserProperty> newRecords) {
    if (newRecords.empty())
        return;
    const std::vector<unsigned> rows = appendRows(parentUID, unsigned(newRecords.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        records[rows[i]] = std::make_unique<PropBrowserProperty>(std::move(newRecords[i]));
        pushCells(rows[i]);
    }
}

void PropBrowserViewModel::forgetRow(unsigned rowUID) {
    for (unsigned child : std::vector<unsigned>(getChildRows(rowUID)))
        forgetRow(child);
    records.erase(rowUID);
    refusals.erase(rowUID);
    editors.erase(rowUID);
}

void PropBrowserViewModel::removeRecordRows(const std::vector<unsigned>& rowUIDs) {
    if (rowUIDs.empty())
        return;
    for (unsigned row : rowUIDs)
        forgetRow(row);
    removeRows(rowUIDs);
}

void PropBrowserViewModel::pushCells(unsigned rowUID) {
    PropBrowserProperty& record = *records.at(rowUID);
    refusals.erase(rowUID);
    setValue(rowUID, nameColumn, TAVI::any(delegate->getName(record)));
    setColor(rowUID, nameColumn, ForegroundColor, delegate->getNameColor(record));
    setReadOnly(rowUID, nameColumn, true);
    setValue(rowUID, valueColumn, TAVI::any(delegate->getValue(record)));
    record.value = record.getValue();
    setColor(rowUID, valueColumn, ForegroundColor, delegate->getValueColor(record));
    setReadOnly(rowUID, valueColumn, delegate->isReadOnly(record));
    setRowExpandable(rowUID, delegate->isExpandable(record));
}

void PropBrowserViewModel::syncChildren(unsigned parentUID,
                                        const VELD::ImmutableClassObject& object) {
    std::vector<PropBrowserProperty> wanted = buildRecords(object);
    std::vector<unsigned> existing = getChildRows(parentUID);
    std::unordered_set<unsigned> kept;
    std::vector<PropBrowserProperty> added;
    for (PropBrowserProperty& record : wanted) {
        unsigned match = 0;
        for (unsigned row : existing) {
            const PropBrowserProperty* old = getRecord(row);
            if (old && !kept.count(row) && old->property == record.property && old->index < 0 &&
                old->object == record.object) {
                match = row;
                break;
            }
        }
        if (match) {
            kept.insert(match);
            refreshRow(match);
        } else {
            added.push_back(std::move(record));
        }
    }
    std::vector<unsigned> gone;
    for (unsigned row : existing)
        if (!kept.count(row))
            gone.push_back(row);
    {
        const ModelTransaction transaction(*this);
        removeRecordRows(gone);
    }
    const ModelTransaction transaction(*this);
    appendRecords(parentUID, std::move(added));
}

void PropBrowserViewModel::refreshRow(unsigned rowUID) {
    pushCells(rowUID);
    const PropBrowserProperty& record = *records.at(rowUID);
    if (record.property.isMultivalued() && record.index < 0)
        syncElements(rowUID);
    else
        syncSubtree(rowUID);
}

// Brings the element rows in line with the current elements, in order: a row whose cached value
// is the element's stays (with its subtree), as does a row whose element changed in place; the
// others go, and rows for the remaining elements are appended.
void PropBrowserViewModel::syncElements(unsigned rowUID) {
    const std::vector<unsigned> children = getChildRows(rowUID);
    if (children.empty())
        return; // never expanded: the elements' rows come with the expansion
    const PropBrowserProperty owner = *records.at(rowUID);
    std::vector<VELD::ImmutableObject> values;
    if (owner.object.isValid())
        values = static_cast<const VELD::ImmutableClassObject&>(owner.object)
                     .get(owner.property)
                     .toVector();
    const auto laterIndexOf = [&](const VELD::ImmutableObject& value, std::size_t from) {
        for (std::size_t i = from; i < values.size(); ++i)
            if (values[i] == value)
                return true;
        return false;
    };
    std::vector<unsigned> keep(values.size(), 0);
    std::vector<unsigned> gone;
    std::size_t k = 0;
    std::size_t i = 0;
    for (; i < values.size() && k < children.size(); ++i) {
        const VELD::ImmutableObject old = records.at(children[k])->value;
        if (old == values[i]) {
            keep[i] = children[k++];
            continue;
        }
        std::size_t j = k + 1;
        while (j < children.size() && !(records.at(children[j])->value == values[i]))
            ++j;
        if (j < children.size()) { // elements before it were removed
            gone.insert(gone.end(), children.begin() + std::ptrdiff_t(k),
                        children.begin() + std::ptrdiff_t(j));
            keep[i] = children[j];
            k = j + 1;
            continue;
        }
        if (!laterIndexOf(old, i + 1)) { // changed in place
            keep[i] = children[k++];
            continue;
        }
        break; // an element was inserted: the rows from here on are made again
    }
    gone.insert(gone.end(), children.begin() + std::ptrdiff_t(k), children.end());
    {
        const ModelTransaction transaction(*this);
        removeRecordRows(gone);
    }
    std::vector<PropBrowserProperty> added;
    for (std::size_t n = 0; n < values.size(); ++n) {
        if (keep[n]) {
            records.at(keep[n])->index = int(n);
            refreshRow(keep[n]);
        } else {
            added.emplace_back(owner.object, owner.property, int(n));
        }
    }
    const ModelTransaction transaction(*this);
    appendRecords(rowUID, std::move(added));
}

// The rows of a row's object follow the object: brought in line while it is the same object,
// made again for another one, gone when there is none.
void PropBrowserViewModel::syncSubtree(unsigned rowUID) {
    const std::vector<unsigned> children = getChildRows(rowUID);
    if (children.empty())
        return;
    const VELD::ClassObject now = objectOf(records.at(rowUID)->getValue());
    const PropBrowserProperty* first = getRecord(children.front());
    if (!now.isNull() && first && first->object == now) {
        syncChildren(rowUID, now);
        return;
    }
    const ModelTransaction transaction(*this);
    removeRecordRows(children);
    if (!now.isNull())
        appendRecords(rowUID, buildRecords(now));
}

void PropBrowserViewModel::expandRow(unsigned rowUID) {
    const auto found = records.find(rowUID);
    if (found == records.end() || !delegate->isExpandable(*found->second))
        return;
    const PropBrowserProperty record = *found->second;
    std::vector<PropBrowserProperty> children;
    if (record.property.isMultivalued() && record.index < 0) {
        const int size = static_cast<const VELD::ImmutableClassObject&>(record.object)
                             .get(record.property)
                             .size();
        for (int i = 0; i < size; ++i)
            children.emplace_back(record.object, record.property, i);
    } else if (const VELD::ClassObject child = objectOf(record.getValue()); !child.isNull()) {
        children = buildRecords(child);
    }
    const ModelTransaction transaction(*this);
    removeRecordRows(getChildRows(rowUID));
    appendRecords(rowUID, std::move(children));
}

bool PropBrowserViewModel::canEdit(unsigned rowUID) const {
    const PropBrowserProperty* record = getRecord(rowUID);
    if (!record || !app || !record->object.isValid() || record->property.isNull())
        return false;
    if (record->property.isMultivalued() && record->index < 0)
        return false;
    if (!sameModel(app->getActiveModel(), record->object.getRootModel()))
        return false;
    return !delegate->isReadOnly(*record);
}

bool PropBrowserViewModel::showsChangedObject(const ModelChangeReport* report) const {
    if (!report || records.empty())
        return false;
    const VELD::ImmutableSequence<VELD::ImmutableClassObject> changed = report->getModified();
    if (changed.empty())
        return false;
    std::unordered_set<VELD::ImmutableClassObject> objects;
    for (const auto& [row, record] : records)
        objects.insert(record->object);
    for (const VELD::ImmutableClassObject& object : changed)
        if (objects.count(object))
            return true;
    return false;
}

TAVI::GLWidget2* PropBrowserViewModel::createEditor(unsigned rowUID) {
    if (!canEdit(rowUID))
        return nullptr;
    std::unique_ptr<PropBrowserEditor> editor(delegate->createEditor(*getRecord(rowUID)));
    if (!editor || !editor->editsInPlace())
        return nullptr;
    TAVI::GLWidget2* widget = editor->getWidget();
    if (!widget)
        return nullptr;
    editors[rowUID] = std::move(editor);
    return widget;
}

PropBrowserEditor* PropBrowserViewModel::getEditor(unsigned rowUID) const {
    const auto found = editors.find(rowUID);
    return found == editors.end() ? nullptr : found->second.get();
}

PropBrowserEditor* PropBrowserViewModel::takeEditor(unsigned rowUID) {
    const auto found = editors.find(rowUID);
    if (found == editors.end())
        return nullptr;
    PropBrowserEditor* editor = found->second.release();
    editors.erase(found);
    return editor;
}

std::vector<unsigned> PropBrowserViewModel::closeEditors() {
    std::vector<unsigned> rows;
    // Out of the map first: deleting an editor must not find itself still open.
    std::map<unsigned, std::unique_ptr<PropBrowserEditor>> open;
    open.swap(editors);
    for (const auto& [row, editor] : open)
        rows.push_back(row);
    return rows;
}

unsigned PropBrowserViewModel::discardEditor(const PropBrowserProperty& record) {
    for (auto it = editors.begin(); it != editors.end(); ++it) {
        if (it->second->getRecord().sameRow(record)) {
            const unsigned row = it->first;
            const std::unique_ptr<PropBrowserEditor> gone = std::move(it->second);
            editors.erase(it);
            return row;
        }
    }
    return 0;
}

void PropBrowserViewModel::showRefusal(unsigned rowUID, const std::string& reason) {
    const PropBrowserProperty* record = getRecord(rowUID);
    if (!record || !hasRow(rowUID))
        return;
    refusals[rowUID] = reason;
    setValue(rowUID, valueColumn, TAVI::any(delegate->getValue(*record) + kRefusalMark + reason));
    setColor(rowUID, valueColumn, ForegroundColor, refusalColor());
}

std::string PropBrowserViewModel::getRefusal(unsigned rowUID) const {
    const auto found = refusals.find(rowUID);
    return found == refusals.end() ? std::string() : found->second;
}

std::string PropBrowserViewModel::getColumnLabel(unsigned columnUID) const {
    if (!hasColumn(columnUID))
        return {};
    return columnUID == nameColumn ? nameColumnLabel : valueColumnLabel;
}

bool PropBrowserViewModel::isReadOnly(unsigned rowUID, unsigned columnUID) const {
    if (columnUID == nameColumn)
        return true;
    if (GLAbstractViewModel2::isReadOnly(rowUID, columnUID))
        return true;
    return columnUID == valueColumn && !canEdit(rowUID);
}

bool PropBrowserViewModel::setValueFromEditor(unsigned, unsigned, const std::string&) {
    return false;
}

} // namespace KITE
