#include "platform/veld/Model.hpp"

#include "platform/veld/Asserter.hpp"
#include "platform/veld/Exception.hpp"
#include "platform/veld/Meta.hpp"
#include "platform/veld/Object.hpp"
#include "platform/veld/detail/Meta.hpp"

#include <algorithm>

namespace VELD {

using namespace detail;

namespace {

void retainIfAlive(ModelOwnerRef& owner, const ViewRef& view) {
    if (view && view->alive && !view->model->meta)
        owner = ModelOwnerRef(view->model);
}

// Shows every open working copy of the model the root as it was before the record was
// applied, for the objects the record touched that the copy has no view of its own of.
void pinIntoDeviants(ModelCore& m, const Record& record) {
    for (DeviantCore* d : m.deviants) {
        if (!d->alive)
            continue;
        for (const JournalEntry& e : record.entries)
            d->entries.try_emplace(e.core, DeviantEntry{e.existed ? e.old : StatePtr(), false});
    }
}

void notify(DeviantCore& d, const std::shared_ptr<const Record>& record) {
    if (d.listeners.empty() || record->entries.empty())
        return;
    ViewRef self(&d); // listeners may end the model; keep the deviant's memory meanwhile
    ViewRef before(new BeforeCore(self, record));
    ++d.delivering;
    const std::size_t n = d.listeners.size();
    for (std::size_t i = 0; i < n && d.alive && i < d.listeners.size(); ++i) {
        ListenerSink* sink = d.listeners[i];
        if (!sink)
            continue;
        try {
            sink->transactionCompleted(d, record, before);
        } catch (const std::exception& ex) {
            VELD_ASSERT(false, std::string("a listener failed on a change report: ") + ex.what());
        } catch (...) {
            // Whatever it threw, the change is committed and the other listeners are owed it.
            VELD_ASSERT(false, "a listener failed on a change report: not a std::exception");
        }
    }
    if (--d.delivering == 0)
        d.listeners.erase(std::remove(d.listeners.begin(), d.listeners.end(), nullptr),
                          d.listeners.end());
}

void rollbackJournal(DeviantCore& d) {
    Record journal = std::move(d.txn.journal);
    d.txn.journal = Record{};
    d.txn.touched.clear();
    d.txn.depth = 0;
    ++d.txn.generation;
    for (auto it = journal.entries.rbegin(); it != journal.entries.rend(); ++it) {
        JournalEntry& e = *it;
        ObjectCore* core = e.core;
        if (d.kind == ViewKind::Root) {
            core->flags &= ~TouchedInRootTransaction;
            releaseContents(core->root, *core->cls);
            if (e.existed) {
                copyContents(core->root, *e.old.get(), *core->cls);
                core->flags |= ExistsInRoot;
            } else {
                core->flags &= ~ExistsInRoot;
            }
        } else if (e.hadEntry) {
            d.entries[core] = DeviantEntry{e.old, e.wasOwn};
        } else {
            d.entries.erase(core);
        }
    }
}

// Applies an undo or redo record to the root: swaps each object's current state with the
// recorded one, so that afterwards the record holds the states from before (its inverse).
void applyRecord(std::shared_ptr<Record>& record) {
    if (record.use_count() > 1) // a report still shows these states: leave them be
        record = std::make_shared<Record>(*record);
    for (JournalEntry& e : record->entries) {
        ObjectCore* core = e.core;
        const ClassInfo& c = *core->cls;
        const bool current = core->existsInRoot();
        if (e.existed && current) {
            if (e.old->refs == 1) {
                swapContents(core->root, *e.old.get(), c);
            } else {
                StatePtr now = cloneState(core->root, c);
                releaseContents(core->root, c);
                copyContents(core->root, *e.old.get(), c);
                e.old = now;
            }
        } else if (e.existed) {
            copyContents(core->root, *e.old.get(), c);
            e.old.reset();
            core->flags |= ExistsInRoot;
        } else if (current) {
            e.old = cloneState(core->root, c);
            releaseContents(core->root, c);
            core->flags &= ~ExistsInRoot;
        }
        e.existed = current;
    }
}

// Applies `steps` records from the top of `from`, moving each onto `to`; each step reports
// like a transaction, and the working copies keep the view they had.
void stepThroughHistory(DeviantCore& root, std::vector<std::shared_ptr<Record>>& from,
                        std::vector<std::shared_ptr<Record>>& to, std::size_t steps) {
    ModelCore& m = *root.model;
    ViewRef keep(&root); // a listener may end the model meanwhile
    // Listeners hear each step while the stacks are being moved: a change or another undo
    // from them would push onto and pop from the stacks under this loop.
    m.applyingHistory = true;
    struct Done {
        ModelCore& m;
        ~Done() { m.applyingHistory = false; }
    } done{m};
    for (; steps > 0 && root.alive && !from.empty(); --steps) {
        std::shared_ptr<Record> record = std::move(from.back());
        from.pop_back();
        applyRecord(record);
        to.push_back(record);
        pinIntoDeviants(m, *record);
        notify(root, record);
    }
}

DeviantCore* findDeviant(ModelCore& m, std::string_view name) {
    for (DeviantCore* d : m.deviants)
        if (d->name == name)
            return d;
    return nullptr;
}

} // namespace

// --- ImmutableModel -------------------------------------------------------------------------

ImmutableModel::ImmutableModel(ViewRef view) : deviantView(std::move(view)) {
    retainIfAlive(owner, deviantView);
}

ImmutableClass ImmutableModel::MetaClass() {
    return ImmutableClass(metaHandle(meta().modelClass));
}

DeviantCore& ImmutableModel::deviant(const char* operation) const {
    // A model that is ending may still have deviants its listeners are being told about.
    if (!deviantView || !deviantView->alive || !deviantView->model->alive)
        throw Exception(std::string(operation) + ": the model or working copy is gone");
    if (deviantView->kind == ViewKind::Before)
        throw Exception(std::string(operation) + ": an old state of a report cannot be changed");
    return static_cast<DeviantCore&>(*deviantView.get());
}

std::string ImmutableModel::getUri() const {
    return isValid() ? deviantView->model->uri : std::string();
}

ImmutableClass ImmutableModel::getMetaModel() const {
    if (!isValid() || !deviantView->model->modelClass)
        return {};
    return ImmutableClass(metaHandle(deviantView->model->modelClass));
}

std::string ImmutableModel::getName() const {
    if (!deviantView || deviantView->kind != ViewKind::Deviant)
        return {};
    return static_cast<const DeviantCore*>(deviantView.get())->name;
}

bool ImmutableModel::isRootDeviant() const {
    return deviantView && deviantView->kind == ViewKind::Root;
}

ImmutableModel ImmutableModel::getRootDeviant() const {
    if (!isValid() || !deviantView->model->root)
        return {};
    return ImmutableModel(ViewRef(deviantView->model->root));
}

ImmutableClassObject ImmutableModel::getRootObject() const {
    if (!isValid())
        return {};
    return ImmutableClassObject(deviantView->model->rootObject, deviantView);
}

int ImmutableModel::getCurrentChangeLevel() const {
    return isValid() ? static_cast<int>(deviantView->model->undoStack.size()) : 0;
}
int ImmutableModel::getUndoStackLength() const {
    return getCurrentChangeLevel();
}
int ImmutableModel::getRedoStackLength() const {
    return isValid() ? static_cast<int>(deviantView->model->redoStack.size()) : 0;
}

std::string ImmutableModel::getUndoStepName() const {
    if (!isValid() || deviantView->model->undoStack.empty())
        return {};
    return deviantView->model->undoStack.back()->name;
}

std::string ImmutableModel::getRedoStepName() const {
    if (!isValid() || deviantView->model->redoStack.empty())
        return {};
    return deviantView->model->redoStack.back()->name;
}

std::uint64_t ImmutableModel::getHistoryPosition() const {
    if (!isValid() || deviantView->model->undoStack.empty())
        return 0;
    return deviantView->model->undoStack.back()->serial;
}

bool ImmutableModel::hasObjectsDeviatingFromRoot() const {
    if (!isValid() || deviantView->kind != ViewKind::Deviant)
        return false;
    return !static_cast<const DeviantCore*>(deviantView.get())->entries.empty();
}

bool ImmutableModel::isInTransaction() const {
    if (!isValid() || deviantView->kind == ViewKind::Before)
        return false;
    return static_cast<const DeviantCore*>(deviantView.get())->txn.depth > 0;
}

ObjectState ImmutableModel::getObjectState(const ImmutableClassObject& object) const {
    ObjectCore* core = object.core();
    const ViewCore* v = deviantView.get();
    if (!core || !v || !v->alive || (!core->isMeta() && core->model != v->model))
        return ObjectState::InvalidObject;
    while (v->kind == ViewKind::Before) {
        const auto* b = static_cast<const BeforeCore*>(v);
        if (const JournalEntry* e = b->find(core))
            return e->existed ? ObjectState::OwnState : ObjectState::InvalidObject;
        v = b->base.get();
    }
    if (v->kind == ViewKind::Deviant && !core->isMeta()) {
        const auto* d = static_cast<const DeviantCore*>(v);
        auto it = d->entries.find(core);
        if (it == d->entries.end())
            return ObjectState::FallBackToRoot;
        return it->second.state ? ObjectState::OwnState : ObjectState::InvalidObject;
    }
    return lookup(v, core) ? ObjectState::OwnState : ObjectState::InvalidObject;
}

// --- transactions ---------------------------------------------------------------------------

void Model::beginTransaction(std::string_view name) const {
    DeviantCore& d = deviant("Model::beginTransaction");
    if (d.model->meta)
        throw Exception(
            "Model::beginTransaction: meta-data are read-only; MetaModelBuilder makes them");
    if (d.kind == ViewKind::Root && deviantView->model->applyingHistory)
        throw Exception("Model::beginTransaction: the model is being undone or redone");
    if (d.txn.depth++ == 0)
        d.txn.name = std::string(name);
}

void Model::commitTransaction() const {
    DeviantCore& d = deviant("Model::commitTransaction");
    if (d.txn.depth == 0)
        throw Exception("Model::commitTransaction: no transaction is open");
    if (--d.txn.depth > 0)
        return;
    auto record = std::make_shared<Record>(std::move(d.txn.journal));
    d.txn.journal = Record{};
    d.txn.touched.clear();
    ++d.txn.generation;
    ModelCore& m = *d.model;
    if (d.kind == ViewKind::Root) {
        for (const JournalEntry& e : record->entries)
            e.core->flags &= ~TouchedInRootTransaction;
        if (record->entries.empty())
            return;
        record->name = std::move(d.txn.name);
        record->serial = ++m.lastRecordSerial;
        m.undoStack.push_back(record);
        m.redoStack.clear();
        pinIntoDeviants(m, *record);
    }
    notify(d, record);
}

void Model::rollbackTransaction() const {
    DeviantCore& d = deviant("Model::rollbackTransaction");
    if (d.txn.depth == 0)
        throw Exception("Model::rollbackTransaction: no transaction is open");
    rollbackJournal(d);
}

void Model::undoToChangeLevel(int level) const {
    DeviantCore& d = deviant("Model::undoToChangeLevel");
    ModelCore& m = *d.model;
    if (d.kind != ViewKind::Root)
        throw Exception("Model::undoToChangeLevel: only the root deviant has undo");
    if (d.txn.depth > 0)
        throw Exception("Model::undoToChangeLevel: a transaction is open");
    if (m.applyingHistory)
        throw Exception("Model::undoToChangeLevel: the model is being undone or redone");
    if (level < 0 || level > static_cast<int>(m.undoStack.size()))
        throw Exception("Model::undoToChangeLevel: no change level " + std::to_string(level) +
                        " (current " + std::to_string(m.undoStack.size()) + ")");
    stepThroughHistory(d, m.undoStack, m.redoStack, m.undoStack.size() - level);
}

void Model::redoToChangeLevel(int level) const {
    DeviantCore& d = deviant("Model::redoToChangeLevel");
    ModelCore& m = *d.model;
    if (d.kind != ViewKind::Root)
        throw Exception("Model::redoToChangeLevel: only the root deviant has redo");
    if (d.txn.depth > 0)
        throw Exception("Model::redoToChangeLevel: a transaction is open");
    if (m.applyingHistory)
        throw Exception("Model::redoToChangeLevel: the model is being undone or redone");
    const int current = static_cast<int>(m.undoStack.size());
    if (level < current || level > current + static_cast<int>(m.redoStack.size()))
        throw Exception("Model::redoToChangeLevel: no change level " + std::to_string(level) +
                        " to redo to (current " + std::to_string(current) + ")");
    stepThroughHistory(d, m.redoStack, m.undoStack, level - current);
}

// --- working copies -------------------------------------------------------------------------

Model Model::createDeviantWithName(std::string_view name) const {
    DeviantCore& d = deviant("Model::createDeviantWithName");
    ModelCore& m = *d.model;
    if (m.meta)
        throw Exception("Model::createDeviantWithName: meta-data have no working copies");
    if (name.empty())
        throw Exception("Model::createDeviantWithName: a working copy needs a name");
    if (findDeviant(m, name))
        throw Exception("Model::createDeviantWithName: a working copy named '" + std::string(name) +
                        "' exists already");
    auto* dev = new DeviantCore(ViewKind::Deviant, &m, std::string(name));
    retainView(dev);
    m.deviants.push_back(dev);
    return Model(ViewRef(dev));
}

bool Model::removeDeviantWithName(std::string_view name) const {
    DeviantCore& d = deviant("Model::removeDeviantWithName");
    ModelCore& m = *d.model;
    DeviantCore* dev = findDeviant(m, name);
    if (!dev)
        return false;
    m.deviants.erase(std::find(m.deviants.begin(), m.deviants.end(), dev));
    dev->end();
    releaseView(dev);
    return true;
}

Model Model::getDeviantWithName(std::string_view name) const {
    DeviantCore& d = deviant("Model::getDeviantWithName");
    DeviantCore* dev = findDeviant(*d.model, name);
    return dev ? Model(ViewRef(dev)) : Model();
}

void Model::syncFromRoot() const {
    DeviantCore& d = deviant("Model::syncFromRoot");
    if (d.kind == ViewKind::Root || d.entries.empty())
        return;
    const bool ownTransaction = d.txn.depth == 0;
    if (ownTransaction)
        beginTransaction("syncFromRoot");
    for (auto& [core, entry] : d.entries) {
        if (d.txn.touched
                .try_emplace(core, static_cast<std::uint32_t>(d.txn.journal.entries.size()))
                .second) {
            JournalEntry e;
            e.core = core;
            e.hadEntry = true;
            e.wasOwn = entry.own;
            e.old = entry.state;
            e.existed = static_cast<bool>(entry.state);
            d.txn.journal.entries.push_back(std::move(e));
        }
    }
    d.entries.clear();
    if (ownTransaction)
        commitTransaction();
}

void Model::registerObservingListener(ListenerSink* listener) const {
    DeviantCore& d = deviant("Model::registerObservingListener");
    if (!listener)
        throw Exception("Model::registerObservingListener: null listener");
    if (std::find(d.listeners.begin(), d.listeners.end(), listener) == d.listeners.end()) {
        d.listeners.push_back(listener);
        listener->attached(&d);
    }
}

void Model::unregisterObservingListener(ListenerSink* listener) const {
    // A delivery in progress marks the places of leaving listeners with null: never match one.
    if (!listener || !deviantView || deviantView->kind == ViewKind::Before)
        return;
    auto& d = static_cast<DeviantCore&>(*deviantView.get());
    if (std::find(d.listeners.begin(), d.listeners.end(), listener) == d.listeners.end())
        return;
    detachListener(d, listener);
    listener->detached(&d);
}

void Model::destroy() const {
    if (deviantView && !deviantView->model->meta)
        deviantView->model->destroyContents();
}

FactoryObject Model::getFactory() const {
    if (!isValid())
        throw Exception("Model::getFactory: the model is gone");
    return FactoryObject(*this, deviantView->model->package);
}

// --- Transaction ----------------------------------------------------------------------------

Transaction::Transaction(const Model& model, std::string_view name) : deviant(model) {
    deviant.beginTransaction(name);
    generation = static_cast<DeviantCore*>(deviant.view())->txn.generation;
}

Transaction::~Transaction() {
    if (!done)
        rollback();
}

void Transaction::commit() {
    if (done)
        throw Exception("Transaction::commit: the transaction has ended already");
    auto* d = static_cast<DeviantCore*>(deviant.view());
    done = true;
    if (!d->alive || !d->model->alive)
        throw Exception("Transaction::commit: the model or working copy is gone");
    if (d->txn.generation != generation || d->txn.depth == 0)
        throw Exception("Transaction::commit: the transaction was rolled back by a nested one");
    deviant.commitTransaction();
}

void Transaction::rollback() {
    if (done)
        return;
    done = true;
    auto* d = static_cast<DeviantCore*>(deviant.view());
    if (d->alive && d->txn.generation == generation && d->txn.depth > 0)
        rollbackJournal(*d);
}

// --- FactoryObject --------------------------------------------------------------------------

FactoryObject::FactoryObject(Model model, PackageInfo* package)
    : model(std::move(model)), package(package) {}

ClassObject FactoryObject::createFromString(std::string_view className) const {
    MetaInfo* found = nullptr;
    if (package)
        for (MetaInfo* m : package->members)
            if (m->metaKind == MetaKind::Class && m->name == className)
                found = m;
    if (!found)
        found = meta().findQualified(className);
    if (!found || found->metaKind != MetaKind::Class)
        throw Exception("FactoryObject::createFromString: unknown class '" +
                        std::string(className) + "'");
    return create(ImmutableClass(metaHandle(found)));
}

ClassObject FactoryObject::create(const ImmutableClass& cls) const {
    DeviantCore& d = writableView(model.view(), "FactoryObject::create");
    ClassInfo* c = cls.classInfo();
    if (!c)
        throw Exception("FactoryObject::create: invalid class handle");
    if (c->isAbstract)
        throw Exception("FactoryObject::create: class '" + c->qualifiedName(".") + "' is abstract");
    if (c->package == meta().kernelPackage && c != meta().modelClass)
        throw Exception("FactoryObject::create: meta-data are made by MetaModelBuilder");
    return ClassObject(createObject(d, *c), model.viewRef());
}

Object FactoryObject::createFromString(std::string_view typeName, std::string_view text) const {
    return Object(ValueObjectFactory::createFromString(typeName, text));
}

} // namespace VELD
