#pragma once

// The kernel's storage. Only the kernel's own sources include this header.
//
// Every object is an ObjectCore allocated in its model's arena; it carries the object's state
// as the root sees it inline. Working copies (deviants) store only the states that differ from
// the root, and transactions journal the states they replace, so a change costs what it
// touches, never the size of the model.

#include "platform/veld/veld_export.hpp"

#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace VELD::detail {

struct ObjectCore;
struct ClassInfo;
struct PropertyInfo;
struct ModelCore;
struct ViewCore;
struct DeviantCore;

// --- values ---------------------------------------------------------------------------------

enum class SlotKind : std::uint8_t { Bool, Int, Double, String, Literal, Object, Multi };
enum class PrimitiveKind : std::uint8_t {
    None,
    Boolean,
    Integer,
    Double,
    String,
    UnlimitedNatural
};

// An immutable, reference-counted UTF-8 string.
struct VELD_EXPORT StrRep {
    std::uint32_t refs;
    std::uint32_t size;
    char* data() { return reinterpret_cast<char*>(this + 1); }
    const char* data() const { return reinterpret_cast<const char*>(this + 1); }
    std::string_view view() const { return {data(), size}; }

    static StrRep* make(std::string_view text);
    static void retain(StrRep* s) {
        if (s)
            ++s->refs;
    }
    static void release(StrRep* s);
};

struct MultiRep;

// One stored value; what it holds follows from the property's slot kind.
union Slot {
    bool b;
    std::int64_t i;
    double d;
    StrRep* s;
    ObjectCore* obj; // object values and enumeration literals
    MultiRep* m;
    std::uint64_t bits;
};
static_assert(sizeof(Slot) == 8);

// The values of a multi-valued property, shared copy-on-write between states.
struct VELD_EXPORT MultiRep {
    std::uint32_t refs = 1;
    SlotKind kind;
    std::vector<Slot> items;

    static void retain(MultiRep* m) {
        if (m)
            ++m->refs;
    }
    static void release(MultiRep* m);
    MultiRep* clone() const;
};

// --- meta-data ------------------------------------------------------------------------------

enum class MetaKind : std::uint8_t {
    None,
    Class,
    Property,
    PrimitiveType,
    Enumeration,
    Literal,
    Package
};

struct VELD_EXPORT MetaInfo {
    MetaKind metaKind = MetaKind::None;
    ObjectCore* core = nullptr; // the kernel object that stands for this meta element
    std::string name;
    struct PackageInfo* package = nullptr;
    virtual ~MetaInfo() = default;
    std::string qualifiedName(std::string_view separator) const;
};

struct VELD_EXPORT PackageInfo : MetaInfo {
    std::string uri;
    PackageInfo* parent = nullptr;
    std::vector<MetaInfo*> members;  // classes, types, enumerations, sub-packages
    std::vector<MetaInfo*> imported; // members of other packages made visible here
    ClassInfo* modelClass = nullptr; // class of the root object of models of this package
};

struct VELD_EXPORT TypeRef {
    PrimitiveKind primitive = PrimitiveKind::None;
    struct EnumInfo* enumeration = nullptr;
    ClassInfo* cls = nullptr;
    MetaInfo* meta() const;
};

struct VELD_EXPORT EnumInfo : MetaInfo {
    std::vector<struct LiteralInfo*> literals;
    struct LiteralInfo* literalNamed(std::string_view n) const;
};

struct VELD_EXPORT LiteralInfo : MetaInfo {
    EnumInfo* enumeration = nullptr;
    std::uint32_t index = 0;
};

struct VELD_EXPORT PrimitiveInfo : MetaInfo {
    PrimitiveKind kind = PrimitiveKind::None;
};

class ImmutableClassObjectAccess;

struct VELD_EXPORT PropertyInfo : MetaInfo {
    std::uint32_t id = 0; // process-wide dense id, for per-class slot lookup
    ClassInfo* owner = nullptr;
    TypeRef type;
    bool composite = false;
    bool derived = false;
    bool readOnly = false;
    bool multi = false;
    std::int32_t lower = 0;
    std::int32_t upper = 1; // -1 for unlimited
    SlotKind kind = SlotKind::Int;
    SlotKind elementKind = SlotKind::Int; // for multi-valued properties
    bool hasDefault = false;
    Slot defaultValue{}; // strings owned by the property
    std::string defaultText;
    // Derived properties compute their values: a VELD::DeriveFunction, kept type-erased so that
    // this header needs no handle types.
    std::shared_ptr<const void> deriver;
};

struct VELD_EXPORT ClassInfo : MetaInfo {
    std::uint32_t id = 0;
    bool isAbstract = false;
    std::string hostTypeName; // "KITE.GraphNode" for library classes; qualified name otherwise
    std::vector<ClassInfo*> supers;
    std::vector<ClassInfo*> subs;
    std::vector<PropertyInfo*> owned;
    // Layout: every property, inherited ones included, gets one slot.
    std::vector<PropertyInfo*> slotProps;
    std::vector<SlotKind> slotKinds;
    std::vector<std::uint32_t> pointerSlots; // slots holding StrRep or MultiRep
    std::vector<std::int32_t> slotById;      // property id -> slot, -1 when absent
    std::vector<std::uint32_t> ancestorIds;  // sorted, self included
    std::uint32_t maskWords = 0;
    std::size_t stateBytes = 0;
    std::size_t coreBytes = 0;

    int slotOf(const PropertyInfo* p) const {
        return p && p->id < slotById.size() ? slotById[p->id] : -1;
    }
    bool isa(const ClassInfo* base) const;
    PropertyInfo* propertyNamed(std::string_view n) const; // inherited included
    PropertyInfo* ownedPropertyNamed(std::string_view n) const;
};

// --- states ---------------------------------------------------------------------------------

// An object's container and values. Followed in memory by the slots and the set-bit mask.
struct VELD_EXPORT State {
    ObjectCore* container = nullptr;
    std::uint32_t containerSlot = 0;
    std::uint32_t refs = 1; // heap states only: journals, deviants and reports share them

    Slot* slotValues() { return reinterpret_cast<Slot*>(this + 1); }
    const Slot* slotValues() const { return reinterpret_cast<const Slot*>(this + 1); }
    std::uint64_t* mask(const ClassInfo& c) {
        return reinterpret_cast<std::uint64_t*>(slotValues() + c.slotProps.size());
    }
    const std::uint64_t* mask(const ClassInfo& c) const {
        return reinterpret_cast<const std::uint64_t*>(slotValues() + c.slotProps.size());
    }
    bool isSet(const ClassInfo& c, std::uint32_t slot) const {
        return (mask(c)[slot >> 6] >> (slot & 63)) & 1u;
    }
    void setBit(const ClassInfo& c, std::uint32_t slot, bool on) {
        auto& w = mask(c)[slot >> 6];
        const std::uint64_t bit = std::uint64_t(1) << (slot & 63);
        w = on ? (w | bit) : (w & ~bit);
    }
};

// Heap states are shared by reference count; this is their owning pointer. A heap state keeps
// its class just before itself, so the pointer is one word (journals hold one per object).
class VELD_EXPORT StatePtr {
public:
    StatePtr() = default;
    explicit StatePtr(State* s) : state(s) {}
    StatePtr(const StatePtr& o) : state(o.state) {
        if (state)
            ++state->refs;
    }
    StatePtr(StatePtr&& o) noexcept : state(o.state) { o.state = nullptr; }
    StatePtr& operator=(StatePtr o) noexcept {
        std::swap(state, o.state);
        return *this;
    }
    ~StatePtr() { reset(); }
    void reset();
    State* get() const { return state; }
    State* operator->() const { return state; }
    explicit operator bool() const { return state != nullptr; }
    const ClassInfo* cls() const {
        return state ? reinterpret_cast<const ClassInfo* const*>(state)[-1] : nullptr;
    }

private:
    State* state = nullptr;
};

VELD_EXPORT StatePtr newState(const ClassInfo& c); // empty values
VELD_EXPORT StatePtr cloneState(const State& from, const ClassInfo& c);
VELD_EXPORT void copyContents(State& to, const State& from, const ClassInfo& c); // retains pointers
VELD_EXPORT void releaseContents(State& s, const ClassInfo& c); // releases pointers, zeroes values
VELD_EXPORT void swapContents(State& a, State& b, const ClassInfo& c);

// --- objects --------------------------------------------------------------------------------

enum ObjectFlags : std::uint32_t {
    ExistsInRoot = 1u << 0,
    TouchedInRootTransaction = 1u << 1,
    MetaObject = 1u << 2,
};

struct VELD_EXPORT ObjectCore {
    ClassInfo* cls = nullptr;
    ModelCore* model = nullptr;
    std::uint32_t flags = 0;
    std::uint32_t serial = 0; // creation number within the model; stable identity for files
    State root;               // the root's state, followed by its slots

    bool existsInRoot() const { return flags & ExistsInRoot; }
    bool isMeta() const { return flags & MetaObject; }
};

// --- views: the root, deviants, and the before-images of reports ----------------------------

enum class ViewKind : std::uint8_t { Root, Deviant, Before };

struct VELD_EXPORT ViewCore {
    std::uint32_t refs = 0;
    bool alive = true;
    ViewKind kind;
    ModelCore* model;
    ViewCore(ViewKind k, ModelCore* m);
    virtual ~ViewCore();
};

VELD_EXPORT void retainView(ViewCore* v);
VELD_EXPORT void releaseView(ViewCore* v);

// Counted pointer to a view; handles carry one.
class VELD_EXPORT ViewRef {
public:
    ViewRef() = default;
    ViewRef(ViewCore* v) : view(v) { retainView(view); }
    ViewRef(const ViewRef& o) : view(o.view) { retainView(view); }
    ViewRef(ViewRef&& o) noexcept : view(o.view) { o.view = nullptr; }
    ViewRef& operator=(ViewRef o) noexcept {
        std::swap(view, o.view);
        return *this;
    }
    ~ViewRef() { releaseView(view); }
    ViewCore* get() const { return view; }
    ViewCore* operator->() const { return view; }
    explicit operator bool() const { return view != nullptr; }
    bool operator==(const ViewRef& o) const { return view == o.view; }

private:
    ViewCore* view = nullptr;
};

// One object's replaced state in a transaction journal or an undo record.
struct VELD_EXPORT JournalEntry {
    ObjectCore* core = nullptr;
    StatePtr old;          // the state before; null when the object did not exist
    bool existed = false;  // whether it existed in the view before
    bool hadEntry = false; // deviants: whether the deviant had its own entry before
    bool wasOwn = false;   // deviants: whether that entry was the deviant's own change
};

// A deque: a transaction that makes a million objects journals them without the slack of a
// doubling vector, and the journal becomes the undo record as it is.
struct VELD_EXPORT Record {
    std::deque<JournalEntry> entries;
    // Root records: the transaction's name, and a number no other record of the model has.
    std::string name;
    std::uint64_t serial = 0;
};

class ListenerSink;

struct VELD_EXPORT TransactionState {
    int depth = 0;
    std::uint64_t generation = 0; // changes when an outermost transaction ends
    std::string name;
    Record journal;
    std::unordered_map<ObjectCore*, std::uint32_t> touched; // deviants only
};

// A deviant's own view of one object.
struct VELD_EXPORT DeviantEntry {
    StatePtr state;   // null when the object does not exist in the deviant
    bool own = false; // the deviant's own change (false: a pinned snapshot of the root)
};

struct VELD_EXPORT DeviantCore : ViewCore {
    std::string name;
    std::unordered_map<ObjectCore*, DeviantEntry> entries;
    TransactionState txn;
    std::vector<ListenerSink*> listeners;
    int delivering = 0;
    DeviantCore(ViewKind k, ModelCore* m, std::string n);
    // The deviant goes: its listeners hear so and leave, its states and transaction are dropped.
    void end();
};

// The deviant as it was before a transaction: the replaced states over the current view.
struct VELD_EXPORT BeforeCore : ViewCore {
    ViewRef base;
    std::shared_ptr<const Record> record;
    mutable std::unordered_map<ObjectCore*, const JournalEntry*> index; // built on first use
    BeforeCore(ViewRef b, std::shared_ptr<const Record> r);
    const JournalEntry* find(ObjectCore* c) const;
};

// Receives change reports of one deviant (implemented by the listener holders).
// A sink remembers where it is registered and leaves on destruction, so a listener that is
// destroyed without unregistering is never called again.
class VELD_EXPORT ListenerSink {
public:
    ListenerSink() = default;
    ListenerSink(const ListenerSink&) = delete;
    ListenerSink& operator=(const ListenerSink&) = delete;
    virtual ~ListenerSink();
    virtual void transactionCompleted(DeviantCore& deviant, const std::shared_ptr<const Record>& r,
                                      const ViewRef& before) = 0;
    virtual void deviantDestroyed() = 0;

    void attached(DeviantCore* d);
    void detached(DeviantCore* d);

private:
    std::vector<ViewRef> registeredOn;
};

// Takes listener off the deviant's list (safe while that list is being delivered to).
VELD_EXPORT void detachListener(DeviantCore& d, ListenerSink* listener);

// --- models ---------------------------------------------------------------------------------

// Bump allocation of object cores; cores live as long as the model's memory.
class VELD_EXPORT Arena {
public:
    ~Arena();
    void* allocate(std::size_t bytes);
    template <typename F> void forEachCore(F&& f); // in allocation order
    std::size_t bytesUsed() const { return used; }

private:
    struct Chunk {
        char* data;
        std::size_t size;
        std::size_t used;
    };
    std::vector<Chunk> chunks;
    std::size_t used = 0;
};

struct VELD_EXPORT ModelCore {
    std::uint32_t memRefs = 0; // views that point here
    std::uint32_t owners = 0;  // Model handles
    bool alive = true;
    bool meta = false; // the meta-data's own model: never destroyed
    std::string uri;
    PackageInfo* package = nullptr;
    ClassInfo* modelClass = nullptr;
    ObjectCore* rootObject = nullptr;
    Arena arena;
    std::uint32_t nextSerial = 1;
    DeviantCore* root = nullptr;        // the root deviant (a counted reference is held)
    std::vector<DeviantCore*> deviants; // named working copies (counted references held)
    std::vector<std::shared_ptr<Record>> undoStack;
    std::vector<std::shared_ptr<Record>> redoStack;
    std::uint64_t lastRecordSerial = 0;
    bool applyingHistory = false;

    ~ModelCore();
    void destroyContents(); // the model ends: every view and state goes
};

VELD_EXPORT void retainModelOwner(ModelCore* m);
VELD_EXPORT void releaseModelOwner(ModelCore* m);

// --- operations on views --------------------------------------------------------------------

// The state of an object as a view shows it; null when the object does not exist there.
VELD_EXPORT const State* lookup(const ViewCore* view, const ObjectCore* core);
inline bool exists(const ViewCore* view, const ObjectCore* core) {
    return core && view && lookup(view, core) != nullptr;
}

VELD_EXPORT DeviantCore& writableView(ViewCore* view,
                                      const char* operation); // throws unless in a txn
VELD_EXPORT State& journalAndWrite(DeviantCore& view, ObjectCore* core);
// The state to change, journalling its first touch in the transaction. Inline for the common
// case of an object the root's transaction has touched already.
inline State& writableState(DeviantCore& view, ObjectCore* core) {
    if (view.kind == ViewKind::Root && (core->flags & TouchedInRootTransaction))
        return core->root;
    return journalAndWrite(view, core);
}
// True when a root-deviant write of core may skip the checks: live root in a transaction, the
// object in it. Anything else takes the checked path.
inline bool fastRootWrite(const ViewCore* view, const ObjectCore* core) {
    return view && core && view->kind == ViewKind::Root && view->alive &&
           core->model == view->model && core->existsInRoot() &&
           static_cast<const DeviantCore*>(view)->txn.depth > 0;
}
VELD_EXPORT ObjectCore* createObject(DeviantCore& view, ClassInfo& cls);

// Deviant states of the meta-data's own model.
VELD_EXPORT ModelCore& metaModel();
VELD_EXPORT ViewCore* metaView();

// A file loader fills a new model as it was saved, read-only values included: while a scope
// lives on this thread, read-only (not derived) properties accept writes.
class VELD_EXPORT ReadOnlyWriteScope {
public:
    ReadOnlyWriteScope();
    ~ReadOnlyWriteScope();
    ReadOnlyWriteScope(const ReadOnlyWriteScope&) = delete;
    ReadOnlyWriteScope& operator=(const ReadOnlyWriteScope&) = delete;
    static bool active();
};

// Readable value helpers.
VELD_EXPORT std::string_view slotString(const State& s, const ClassInfo& c, std::uint32_t slot);

} // namespace VELD::detail
