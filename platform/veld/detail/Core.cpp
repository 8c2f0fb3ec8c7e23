#include "platform/veld/detail/Core.hpp"

#include "platform/veld/Asserter.hpp"
#include "platform/veld/Exception.hpp"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace VELD::detail {

// --- values ---------------------------------------------------------------------------------

StrRep* StrRep::make(std::string_view text) {
    auto* s = static_cast<StrRep*>(std::malloc(sizeof(StrRep) + text.size() + 1));
    if (!s)
        throw std::bad_alloc();
    s->refs = 1;
    s->size = static_cast<std::uint32_t>(text.size());
    std::memcpy(s->data(), text.data(), text.size());
    s->data()[text.size()] = '\0';
    return s;
}

void StrRep::release(StrRep* s) {
    if (s && --s->refs == 0)
        std::free(s);
}

void MultiRep::release(MultiRep* m) {
    if (!m || --m->refs > 0)
        return;
    if (m->kind == SlotKind::String)
        for (Slot& s : m->items)
            StrRep::release(s.s);
    delete m;
}

MultiRep* MultiRep::clone() const {
    auto* m = new MultiRep{1, kind, items};
    if (kind == SlotKind::String)
        for (Slot& s : m->items)
            StrRep::retain(s.s);
    return m;
}

// --- meta-data ------------------------------------------------------------------------------

std::string MetaInfo::qualifiedName(std::string_view separator) const {
    std::vector<const std::string*> parts{&name};
    for (const PackageInfo* p = package; p; p = p->parent)
        parts.push_back(&p->name);
    std::string out;
    for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
        if (!out.empty())
            out += separator;
        out += **it;
    }
    return out;
}

LiteralInfo* EnumInfo::literalNamed(std::string_view n) const {
    for (LiteralInfo* l : literals)
        if (l->name == n)
            return l;
    return nullptr;
}

bool ClassInfo::isa(const ClassInfo* base) const {
    if (!base)
        return false;
    return base == this || std::binary_search(ancestorIds.begin(), ancestorIds.end(), base->id);
}

PropertyInfo* ClassInfo::propertyNamed(std::string_view n) const {
    for (PropertyInfo* p : slotProps)
        if (p->name == n)
            return p;
    return nullptr;
}

PropertyInfo* ClassInfo::ownedPropertyNamed(std::string_view n) const {
    for (PropertyInfo* p : owned)
        if (p->name == n)
            return p;
    return nullptr;
}

// --- states ---------------------------------------------------------------------------------

void StatePtr::reset() {
    if (state && --state->refs == 0) {
        auto* prefix = reinterpret_cast<const ClassInfo**>(state) - 1;
        releaseContents(*state, **prefix);
        ::operator delete(prefix);
    }
    state = nullptr;
}

StatePtr newState(const ClassInfo& c) {
    void* mem = ::operator new(sizeof(const ClassInfo*) + c.stateBytes);
    auto* prefix = static_cast<const ClassInfo**>(mem);
    *prefix = &c;
    std::memset(prefix + 1, 0, c.stateBytes);
    auto* s = new (prefix + 1) State();
    return StatePtr(s);
}

void copyContents(State& to, const State& from, const ClassInfo& c) {
    const std::uint32_t refs = to.refs;
    std::memcpy(static_cast<void*>(&to), &from, c.stateBytes);
    to.refs = refs;
    Slot* slots = to.slotValues();
    for (std::uint32_t i : c.pointerSlots) {
        if (c.slotKinds[i] == SlotKind::String)
            StrRep::retain(slots[i].s);
        else
            MultiRep::retain(slots[i].m);
    }
}

StatePtr cloneState(const State& from, const ClassInfo& c) {
    StatePtr p = newState(c);
    copyContents(*p.get(), from, c);
    return p;
}

void releaseContents(State& s, const ClassInfo& c) {
    Slot* slots = s.slotValues();
    for (std::uint32_t i : c.pointerSlots) {
        if (c.slotKinds[i] == SlotKind::String)
            StrRep::release(slots[i].s);
        else
            MultiRep::release(slots[i].m);
    }
    const std::uint32_t refs = s.refs;
    std::memset(static_cast<void*>(&s), 0, c.stateBytes);
    s.refs = refs;
}

void swapContents(State& a, State& b, const ClassInfo& c) {
    const std::uint32_t ra = a.refs, rb = b.refs;
    auto* pa = reinterpret_cast<unsigned char*>(&a);
    auto* pb = reinterpret_cast<unsigned char*>(&b);
    std::swap_ranges(pa, pa + c.stateBytes, pb);
    a.refs = ra;
    b.refs = rb;
}

std::string_view slotString(const State& s, const ClassInfo& c, std::uint32_t slot) {
    (void)c;
    const StrRep* r = s.slotValues()[slot].s;
    return r ? r->view() : std::string_view{};
}

// --- views ----------------------------------------------------------------------------------

ViewCore::ViewCore(ViewKind k, ModelCore* m) : kind(k), model(m) {
    ++model->memRefs;
}

ViewCore::~ViewCore() {
    if (--model->memRefs == 0 && model->owners == 0 && !model->meta)
        delete model;
}

void retainView(ViewCore* v) {
    if (v)
        ++v->refs;
}

void releaseView(ViewCore* v) {
    if (v && --v->refs == 0)
        delete v;
}

DeviantCore::DeviantCore(ViewKind k, ModelCore* m, std::string n)
    : ViewCore(k, m), name(std::move(n)) {}

void DeviantCore::end() {
    alive = false;
    // One at a time off the list itself: a listener told of the end may destroy others, which
    // then leave the list as at any other time instead of being called afterwards.
    while (!listeners.empty()) {
        ListenerSink* s = listeners.front();
        listeners.erase(listeners.begin());
        if (s) {
            s->detached(this);
            s->deviantDestroyed();
        }
    }
    entries.clear();
    txn = TransactionState{};
}

BeforeCore::BeforeCore(ViewRef b, std::shared_ptr<const Record> r)
    : ViewCore(ViewKind::Before, b->model), base(std::move(b)), record(std::move(r)) {}

const JournalEntry* BeforeCore::find(ObjectCore* c) const {
    if (index.empty() && !record->entries.empty()) {
        index.reserve(record->entries.size());
        for (const JournalEntry& e : record->entries)
            index.emplace(e.core, &e);
    }
    auto it = index.find(c);
    return it == index.end() ? nullptr : it->second;
}

const State* lookup(const ViewCore* view, const ObjectCore* core) {
    if (!core || !view)
        return nullptr;
    if (core->isMeta())
        return &core->root;
    if (!view->alive || core->model != view->model)
        return nullptr;
    switch (view->kind) {
    case ViewKind::Root:
        return core->existsInRoot() ? &core->root : nullptr;
    case ViewKind::Deviant: {
        const auto* d = static_cast<const DeviantCore*>(view);
        if (!d->entries.empty()) {
            auto it = d->entries.find(const_cast<ObjectCore*>(core));
            if (it != d->entries.end())
                return it->second.state.get();
        }
        return core->existsInRoot() ? &core->root : nullptr;
    }
    case ViewKind::Before: {
        const auto* b = static_cast<const BeforeCore*>(view);
        if (const JournalEntry* e = b->find(const_cast<ObjectCore*>(core)))
            return e->existed ? e->old.get() : nullptr;
        return lookup(b->base.get(), core);
    }
    }
    return nullptr;
}

// --- listeners ------------------------------------------------------------------------------

ListenerSink::~ListenerSink() {
    const std::vector<ViewRef> views = std::move(registeredOn);
    for (const ViewRef& v : views)
        detachListener(static_cast<DeviantCore&>(*v.get()), this);
}

void ListenerSink::attached(DeviantCore* d) {
    registeredOn.emplace_back(d);
}

void ListenerSink::detached(DeviantCore* d) {
    for (auto it = registeredOn.begin(); it != registeredOn.end(); ++it)
        if (it->get() == d) {
            registeredOn.erase(it);
            return;
        }
}

void detachListener(DeviantCore& d, ListenerSink* listener) {
    auto it = std::find(d.listeners.begin(), d.listeners.end(), listener);
    if (it == d.listeners.end())
        return;
    if (d.delivering > 0)
        *it = nullptr; // removed after the delivery in progress
    else
        d.listeners.erase(it);
}

// --- changes --------------------------------------------------------------------------------

DeviantCore& writableView(ViewCore* view, const char* operation) {
    if (!view || !view->alive)
        throw Exception(std::string(operation) + ": the model or working copy is gone");
    if (view->kind == ViewKind::Before)
        throw Exception(std::string(operation) + ": an old state of a report is read-only");
    auto& d = static_cast<DeviantCore&>(*view);
    if (d.txn.depth == 0)
        throw Exception(std::string(operation) + ": no transaction is open on '" +
                        (d.kind == ViewKind::Root ? std::string("root") : d.name) + "'");
    return d;
}

State& journalAndWrite(DeviantCore& view, ObjectCore* core) {
    const ClassInfo& cls = *core->cls;
    if (view.kind == ViewKind::Root) {
        if (!(core->flags & TouchedInRootTransaction)) {
            core->flags |= TouchedInRootTransaction;
            view.txn.journal.entries.push_back({core, cloneState(core->root, cls), true});
        }
        return core->root;
    }
    auto found = view.entries.find(core);
    auto [t, inserted] = view.txn.touched.try_emplace(
        core, static_cast<std::uint32_t>(view.txn.journal.entries.size()));
    (void)t;
    if (inserted) {
        JournalEntry e;
        e.core = core;
        if (found != view.entries.end()) {
            e.hadEntry = true;
            e.wasOwn = found->second.own;
            e.old = found->second.state;
            e.existed = static_cast<bool>(e.old);
        } else {
            e.existed = core->existsInRoot();
            if (e.existed)
                e.old = cloneState(core->root, cls);
        }
        view.txn.journal.entries.push_back(std::move(e));
    }
    DeviantEntry& entry = found != view.entries.end() ? found->second : view.entries[core];
    if (!entry.state)
        entry.state = cloneState(core->root, cls);
    else if (entry.state->refs > 1)
        entry.state = cloneState(*entry.state.get(), cls);
    entry.own = true;
    return *entry.state.get();
}

ObjectCore* createObject(DeviantCore& view, ClassInfo& cls) {
    ModelCore& m = *view.model;
    void* mem = m.arena.allocate(cls.coreBytes);
    std::memset(mem, 0, cls.coreBytes);
    auto* core = new (mem) ObjectCore();
    core->cls = &cls;
    core->model = &m;
    core->serial = m.nextSerial++;
    core->root.refs = 1;
    if (view.kind == ViewKind::Root) {
        core->flags = ExistsInRoot | TouchedInRootTransaction;
        view.txn.journal.entries.push_back({core, StatePtr(), false});
    } else {
        view.txn.touched.emplace(core, static_cast<std::uint32_t>(view.txn.journal.entries.size()));
        view.txn.journal.entries.push_back({core, StatePtr(), false, false, false});
        view.entries[core] = DeviantEntry{newState(cls), true};
    }
    return core;
}

// --- arena and models -----------------------------------------------------------------------

namespace {
constexpr std::size_t kChunkBytes = 256 * 1024;
}

Arena::~Arena() {
    for (Chunk& c : chunks)
        std::free(c.data);
}

void* Arena::allocate(std::size_t bytes) {
    bytes = (bytes + 7) & ~std::size_t(7);
    if (chunks.empty() || chunks.back().size - chunks.back().used < bytes) {
        const std::size_t size = std::max(kChunkBytes, bytes);
        char* data = static_cast<char*>(std::malloc(size));
        if (!data)
            throw std::bad_alloc();
        chunks.push_back({data, size, 0});
    }
    Chunk& c = chunks.back();
    void* p = c.data + c.used;
    c.used += bytes;
    used += bytes;
    return p;
}

template <typename F> void Arena::forEachCore(F&& f) {
    for (Chunk& c : chunks) {
        std::size_t at = 0;
        while (at < c.used) {
            auto* core = reinterpret_cast<ObjectCore*>(c.data + at);
            f(core);
            at += (core->cls->coreBytes + 7) & ~std::size_t(7);
        }
    }
}

void ModelCore::destroyContents() {
    if (!alive)
        return;
    alive = false;
    std::vector<DeviantCore*> views = deviants;
    deviants.clear();
    if (root)
        views.push_back(root);
    root = nullptr;
    for (DeviantCore* d : views)
        d->end();
    undoStack.clear();
    redoStack.clear();
    arena.forEachCore([](ObjectCore* core) {
        releaseContents(core->root, *core->cls);
        core->flags = 0;
    });
    // Hold the memory while the views go, so that the last one does not free it under us.
    ++memRefs;
    for (DeviantCore* d : views)
        releaseView(d);
    --memRefs;
}

ModelCore::~ModelCore() {
    destroyContents();
}

void retainModelOwner(ModelCore* m) {
    if (m)
        ++m->owners;
}

void releaseModelOwner(ModelCore* m) {
    if (!m || --m->owners > 0 || m->meta)
        return;
    m->destroyContents();
    if (m->memRefs == 0)
        delete m;
}

} // namespace VELD::detail
