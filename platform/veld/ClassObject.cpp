#include "platform/veld/ClassObject.hpp"

#include "platform/veld/Exception.hpp"
#include "platform/veld/Meta.hpp"
#include "platform/veld/MetaModelBuilder.hpp"
#include "platform/veld/Model.hpp"
#include "platform/veld/Object.hpp"
#include "platform/veld/Sequence.hpp"
#include "platform/veld/detail/Meta.hpp"

#include <algorithm>

namespace VELD {

using namespace detail;

namespace {
thread_local int readOnlyWriteScopes = 0;
} // namespace

ReadOnlyWriteScope::ReadOnlyWriteScope() {
    ++readOnlyWriteScopes;
}
ReadOnlyWriteScope::~ReadOnlyWriteScope() {
    --readOnlyWriteScopes;
}
bool ReadOnlyWriteScope::active() {
    return readOnlyWriteScopes > 0;
}

namespace {

PropertyInfo* propertyOf(const ImmutableProperty& property, const char* operation) {
    PropertyInfo* p = property.propertyInfo();
    if (!p)
        throw Exception(std::string(operation) + ": invalid property handle");
    return p;
}

std::uint32_t slotOf(const ObjectCore* core, const PropertyInfo* p, const char* operation) {
    const int slot = core->cls->slotOf(p);
    if (slot < 0)
        throw Exception(std::string(operation) + ": class '" + core->cls->qualifiedName(".") +
                        "' has no property '" + p->qualifiedName(".") + "' (owned by '" +
                        p->owner->qualifiedName(".") + "')");
    return static_cast<std::uint32_t>(slot);
}

const DeriveFunction& deriverOf(const PropertyInfo* p) {
    return *static_cast<const DeriveFunction*>(p->deriver.get());
}

ImmutableObject slotValue(const PropertyInfo* p, SlotKind kind, const Slot& s, ViewCore* view) {
    switch (kind) {
    case SlotKind::Object:
        if (!exists(view, s.obj))
            return {}; // references to objects gone from this view read as unset
        return ImmutableObject(ImmutableClassObject(s.obj, ViewRef(view)));
    case SlotKind::Literal:
        return s.obj ? ImmutableObject(ImmutableEnumerationLiteral(
                           ImmutableClassObject(s.obj, ViewRef(metaView()))))
                     : ImmutableObject();
    case SlotKind::Bool:
        return ImmutableObject::fromBoolean(s.b);
    case SlotKind::Double:
        return ImmutableObject::fromDouble(s.d);
    case SlotKind::String:
        return ImmutableObject::fromString(s.s ? s.s->view() : std::string_view{});
    case SlotKind::Int:
        return p->type.primitive == PrimitiveKind::UnlimitedNatural
                   ? ImmutableObject::fromUnlimitedNatural(s.i)
                   : ImmutableObject::fromInteger(s.i);
    case SlotKind::Multi:
        break;
    }
    return {};
}

// Whether the view shows an item of a multi-valued slot: references to objects gone from the
// view are skipped.
bool itemVisible(SlotKind kind, const Slot& item, ViewCore* view) {
    return kind != SlotKind::Object || exists(view, item.obj);
}

// Only plain references can hold objects a view no longer shows: a containment list loses its
// child when the child goes. The other lists are read by position without a search.
bool mayHoldHidden(const PropertyInfo* p) {
    return p->elementKind == SlotKind::Object && !p->composite;
}

// Converts a value for storage in property p, checking its type. Strings are made owned.
Slot toSlot(const PropertyInfo* p, const ImmutableObject& v, ViewCore* view,
            const char* operation) {
    Slot s{};
    // Only a failure needs the text: values are stored far more often than refused.
    const auto where = [&] { return std::string(operation) + ": property '" + p->name + "'"; };
    if (p->type.cls) {
        const ImmutableClassObject& o = v.objectHandle();
        if (!v.isClassObject() || !exists(view, o.core()))
            throw Exception(where() + " needs a valid object of class '" +
                            p->type.cls->qualifiedName(".") + "'");
        if (!o.core()->cls->isa(p->type.cls))
            throw Exception(where() + ": an object of class '" + o.core()->cls->qualifiedName(".") +
                            "' is not a '" + p->type.cls->qualifiedName(".") + "'");
        if (o.core()->model != view->model)
            throw Exception(where() + ": the object belongs to another model");
        s.obj = o.core();
        return s;
    }
    if (p->type.enumeration) {
        const LiteralInfo* l = v.literal();
        if (v.isPrimitive() && v.primitiveKind() == PrimitiveKind::String)
            l = p->type.enumeration->literalNamed(v.toStringValue());
        if (!l || l->enumeration != p->type.enumeration)
            throw Exception(where() + " needs a literal of '" +
                            p->type.enumeration->qualifiedName(".") + "', not '" + v.toString() +
                            "'");
        s.obj = l->core;
        return s;
    }
    const PrimitiveKind want = p->type.primitive;
    const PrimitiveKind have = v.isPrimitive() ? v.primitiveKind() : PrimitiveKind::None;
    const bool integral = have == PrimitiveKind::Integer || have == PrimitiveKind::UnlimitedNatural;
    switch (want) {
    case PrimitiveKind::Boolean:
        if (have == PrimitiveKind::Boolean) {
            s.b = v.toBoolean();
            return s;
        }
        break;
    case PrimitiveKind::Integer:
        if (integral) {
            s.i = v.toInteger();
            return s;
        }
        break;
    case PrimitiveKind::UnlimitedNatural:
        if (integral && v.toInteger() >= -1) {
            s.i = v.toInteger();
            return s;
        }
        break;
    case PrimitiveKind::Double:
        if (have == PrimitiveKind::Double || integral) {
            s.d = v.toDouble();
            return s;
        }
        break;
    case PrimitiveKind::String:
        if (have == PrimitiveKind::String) {
            s.s = StrRep::make(std::get<std::string>(v.raw()));
            return s;
        }
        break;
    case PrimitiveKind::None:
        break;
    }
    throw Exception(
        where() + " needs a " + primitiveName(want) + " value, not '" + v.toString() + "'" +
        (have == PrimitiveKind::None ? "" : std::string(" (") + primitiveName(have) + ")"));
}

void releaseSlot(SlotKind kind, Slot& s) {
    if (kind == SlotKind::String)
        StrRep::release(s.s);
    s.bits = 0;
}

MultiRep*& writableMulti(State& st, std::uint32_t slot, SlotKind elementKind) {
    MultiRep*& m = st.slotValues()[slot].m;
    if (!m)
        m = new MultiRep{1, elementKind, {}};
    else if (m->refs > 1) {
        MultiRep* copy = m->clone();
        MultiRep::release(m);
        m = copy;
    }
    return m;
}

DeviantCore& checkedWritable(const ImmutableClassObject& o, const PropertyInfo* p, const char* op) {
    DeviantCore& d = writableView(o.view(), op);
    if (!o.isValid())
        throw Exception(std::string(op) + ": invalid object handle");
    // Every view shows meta-data; a write through one would journal them into that model.
    if (o.core()->isMeta())
        throw Exception(std::string(op) + ": meta-data are read-only; MetaModelBuilder makes them");
    if (p && p->readOnly && (p->derived || !ReadOnlyWriteScope::active()))
        throw Exception(std::string(op) + ": property '" + p->name + "' is " +
                        (p->derived ? "derived" : "read-only"));
    return d;
}

// Takes child out of its container's slot (the child's own state is left to the caller).
void detachFromContainer(DeviantCore& d, ObjectCore* child) {
    const State* cs = lookup(&d, child);
    ObjectCore* container = cs ? cs->container : nullptr;
    if (!container || !exists(&d, container))
        return;
    const std::uint32_t slot = cs->containerSlot;
    State& w = writableState(d, container);
    const ClassInfo& c = *container->cls;
    if (c.slotKinds[slot] == SlotKind::Multi) {
        MultiRep*& m = writableMulti(w, slot, SlotKind::Object);
        auto it = std::find_if(m->items.begin(), m->items.end(),
                               [&](const Slot& s) { return s.obj == child; });
        if (it != m->items.end())
            m->items.erase(it);
    } else if (w.slotValues()[slot].obj == child) {
        w.slotValues()[slot].obj = nullptr;
        w.setBit(c, slot, false);
    }
}

// Prepares child to go into (owner, slot): refuses cycles, takes it from its old container.
void adoptChild(DeviantCore& d, ObjectCore* owner, std::uint32_t slot, ObjectCore* child,
                const char* op) {
    for (ObjectCore* up = owner; up;) {
        if (up == child)
            throw Exception(std::string(op) +
                            ": an object cannot be put into itself or its own descendant");
        const State* s = lookup(&d, up);
        up = s ? s->container : nullptr;
    }
    detachFromContainer(d, child);
    State& cs = writableState(d, child);
    cs.container = owner;
    cs.containerSlot = slot;
}

void orphan(DeviantCore& d, ObjectCore* child) {
    if (!exists(&d, child))
        return;
    State& cs = writableState(d, child);
    cs.container = nullptr;
    cs.containerSlot = 0;
}

void setSingle(DeviantCore& d, const ImmutableClassObject& o, const PropertyInfo* p,
               std::uint32_t slot, const ImmutableObject& value, const char* op) {
    ObjectCore* core = o.core();
    if (value.isNull()) {
        const State* cur = lookup(&d, core);
        ObjectCore* oldChild =
            p->composite && cur->isSet(*core->cls, slot) ? cur->slotValues()[slot].obj : nullptr;
        State& w = writableState(d, core);
        releaseSlot(p->kind, w.slotValues()[slot]);
        w.setBit(*core->cls, slot, false);
        if (oldChild)
            orphan(d, oldChild);
        return;
    }
    Slot s = toSlot(p, value, &d, op);
    if (p->composite) {
        const State* cur = lookup(&d, core);
        ObjectCore* oldChild = cur->isSet(*core->cls, slot) ? cur->slotValues()[slot].obj : nullptr;
        if (oldChild == s.obj)
            return;
        adoptChild(d, core, slot, s.obj, op);
        if (oldChild)
            orphan(d, oldChild);
    }
    State& w = writableState(d, core);
    releaseSlot(p->kind, w.slotValues()[slot]);
    w.slotValues()[slot] = s;
    w.setBit(*core->cls, slot, true);
}

// Inserts at a raw position of a multi-valued slot (-1: at the end).
void insertMulti(DeviantCore& d, const ImmutableClassObject& o, const PropertyInfo* p,
                 std::uint32_t slot, int rawIndex, const ImmutableObject& value, const char* op) {
    ObjectCore* core = o.core();
    if (p->upper > 1) {
        const State* cur = lookup(&d, core);
        const MultiRep* m = cur->slotValues()[slot].m;
        int count = 0;
        if (m)
            for (const Slot& it : m->items)
                count += itemVisible(p->elementKind, it, &d) ? 1 : 0;
        // A child of this very list only moves within it: the count stays.
        const State* child = p->composite && value.isClassObject()
                                 ? lookup(&d, value.objectHandle().core())
                                 : nullptr;
        const bool moving = child && child->container == core && child->containerSlot == slot;
        if (count >= p->upper && !moving)
            throw Exception(std::string(op) + ": property '" + p->name + "' holds at most " +
                            std::to_string(p->upper) + " values");
    }
    Slot s = toSlot(p, value, &d, op);
    if (p->composite) {
        // The child tells whether it is in this list already: no search of a long list.
        const State* child = lookup(&d, s.obj);
        if (child && child->container == core && child->containerSlot == slot) {
            const MultiRep* m = lookup(&d, core)->slotValues()[slot].m;
            const auto at = std::find_if(m->items.begin(), m->items.end(),
                                         [&](const Slot& it) { return it.obj == s.obj; });
            // Moving within the same list: it is taken out first, so later places shift.
            if (at != m->items.end() && rawIndex > static_cast<int>(at - m->items.begin()))
                --rawIndex;
        }
        adoptChild(d, core, slot, s.obj, op);
    }
    State& w = writableState(d, core);
    MultiRep*& m = writableMulti(w, slot, p->elementKind);
    if (rawIndex < 0 || rawIndex >= static_cast<int>(m->items.size()))
        m->items.push_back(s);
    else
        m->items.insert(m->items.begin() + rawIndex, s);
    w.setBit(*core->cls, slot, true);
}

void eraseMulti(DeviantCore& d, const ImmutableClassObject& o, const PropertyInfo* p,
                std::uint32_t slot, int rawIndex) {
    ObjectCore* core = o.core();
    State& w = writableState(d, core);
    MultiRep*& m = writableMulti(w, slot, p->elementKind);
    if (rawIndex < 0 || rawIndex >= static_cast<int>(m->items.size()))
        return;
    Slot removed = m->items[rawIndex];
    m->items.erase(m->items.begin() + rawIndex);
    if (p->composite)
        orphan(d, removed.obj);
    else
        releaseSlot(p->elementKind, removed);
}

// A property's values as a live sequence: reads follow the model, writes change it.
template <typename T> class PropertySequence : public SequenceImpl<T> {
public:
    PropertySequence(ImmutableClassObject owner, PropertyInfo* p, std::uint32_t slot)
        : ownerObject(std::move(owner)), property(p), slotIndex(slot) {}

    int size() const override {
        if (property->deriver)
            return static_cast<int>(derived().size());
        const State* s = lookup(ownerObject.view(), ownerObject.core());
        if (!s)
            return 0;
        if (!property->multi)
            return single(*s).isNull() ? 0 : 1;
        const MultiRep* m = s->slotValues()[slotIndex].m;
        if (!m)
            return 0;
        if (!mayHoldHidden(property))
            return static_cast<int>(m->items.size());
        int n = 0;
        for (const Slot& it : m->items)
            n += itemVisible(property->elementKind, it, ownerObject.view()) ? 1 : 0;
        return n;
    }
    T at(int index) const override {
        if (property->deriver) {
            // Computed again for this read: the caller's bounds check saw an earlier computation.
            const std::vector<ImmutableObject> values = derived();
            return index >= 0 && index < static_cast<int>(values.size()) ? T(values[index]) : T();
        }
        const State* s = lookup(ownerObject.view(), ownerObject.core());
        if (!s)
            return T();
        if (!property->multi)
            return T(single(*s));
        const int raw = rawIndex(*s, index);
        return raw < 0 ? T()
                       : T(slotValue(property, property->elementKind,
                                     s->slotValues()[slotIndex].m->items[raw], ownerObject.view()));
    }
    bool insert(int index, const T& value) override {
        static const char* op = "Sequence::insert";
        if (!property->multi) {
            const State* s = lookup(ownerObject.view(), ownerObject.core());
            if (s && !single(*s).isNull())
                throw Exception(std::string(op) + ": single-valued property '" + property->name +
                                "' has a value already");
            setSingle(checkedWritable(ownerObject, property, op), ownerObject, property, slotIndex,
                      value, op);
            return true;
        }
        const State* s = lookup(ownerObject.view(), ownerObject.core());
        insertMulti(checkedWritable(ownerObject, property, op), ownerObject, property, slotIndex,
                    s ? rawIndex(*s, index) : -1, value, op);
        return true;
    }
    void erase(int index) override {
        if (!property->multi) {
            setSingle(checkedWritable(ownerObject, property, "Sequence::erase"), ownerObject,
                      property, slotIndex, ImmutableObject(), "Sequence::erase");
            return;
        }
        const State* s = lookup(ownerObject.view(), ownerObject.core());
        if (s)
            eraseMulti(checkedWritable(ownerObject, property, "Sequence::erase"), ownerObject,
                       property, slotIndex, rawIndex(*s, index));
    }
    void clear() override {
        while (size() > 0)
            erase(size() - 1);
    }
    bool readOnly() const override { return property->readOnly; }
    const char* readOnlyMessage() const override { return "the property is read-only or derived"; }

private:
    ImmutableObject single(const State& s) const {
        if (!s.isSet(*ownerObject.core()->cls, slotIndex))
            return {};
        return slotValue(property, property->kind, s.slotValues()[slotIndex], ownerObject.view());
    }
    int rawIndex(const State& s, int index) const {
        const MultiRep* m = s.slotValues()[slotIndex].m;
        if (!m)
            return index == 0 ? 0 : -1;
        if (!mayHoldHidden(property))
            return index <= static_cast<int>(m->items.size()) ? index : -1;
        int seen = 0;
        for (std::size_t i = 0; i < m->items.size(); ++i) {
            if (!itemVisible(property->elementKind, m->items[i], ownerObject.view()))
                continue;
            if (seen++ == index)
                return static_cast<int>(i);
        }
        return index == seen ? static_cast<int>(m->items.size()) : -1;
    }
    std::vector<ImmutableObject> derived() const {
        if (!ownerObject.isValid())
            return {};
        return deriverOf(property)(ownerObject);
    }

    ImmutableClassObject ownerObject;
    PropertyInfo* property;
    std::uint32_t slotIndex;
};

template <typename T>
std::shared_ptr<SequenceImpl<T>>
propertySequence(const ImmutableClassObject& o, const ImmutableProperty& property, const char* op) {
    if (!o.isValid())
        throw Exception(std::string(op) + ": invalid object handle");
    PropertyInfo* p = propertyOf(property, op);
    return std::make_shared<PropertySequence<T>>(o, p, slotOf(o.core(), p, op));
}

// The object value may go into p of core on the root: it is a live object of the same model
// whose class fits. Anything else takes the checked path, which explains the refusal.
bool fitsFast(const PropertyInfo* p, const ObjectCore* core, const ObjectCore* value) {
    return value && value->model == core->model && value->existsInRoot() && p->type.cls &&
           value->cls->isa(p->type.cls) && !p->readOnly;
}

// Appends a root object without a container to a containment list of another root object.
bool appendChildFast(const ClassObject& owner, const PropertyInfo* p, ObjectCore* child) {
    ObjectCore* core = owner.core();
    if (!p->composite || !p->multi || p->upper > 1 || !fitsFast(p, core, child) ||
        child->root.container)
        return false;
    for (const ObjectCore* up = core; up; up = up->root.container)
        if (up == child)
            return false; // a cycle: the checked path refuses it
    const int slot = core->cls->slotOf(p);
    if (slot < 0)
        return false;
    auto& d = *static_cast<DeviantCore*>(owner.view());
    State& cs = writableState(d, child);
    cs.container = core;
    cs.containerSlot = static_cast<std::uint32_t>(slot);
    State& w = writableState(d, core);
    writableMulti(w, static_cast<std::uint32_t>(slot), SlotKind::Object)
        ->items.push_back(Slot{.obj = child});
    w.setBit(*core->cls, static_cast<std::uint32_t>(slot), true);
    return true;
}

} // namespace

// --- reading --------------------------------------------------------------------------------

ImmutableClass ImmutableClassObject::MetaClass() {
    return ImmutableClass(metaHandle(meta().classObjectClass));
}

const State& ImmutableClassObject::state(const char* operation) const {
    const State* s = lookup(deviantView.get(), objectCore);
    if (!s)
        throw Exception(std::string(operation) + ": invalid object handle");
    return *s;
}

ImmutableClass ImmutableClassObject::getMetaClass() const {
    if (!isValid())
        return {};
    return ImmutableClass(metaHandle(objectCore->cls));
}

bool ImmutableClassObject::isa(const ImmutableClass& cls) const {
    return isValid() && cls.classInfo() && objectCore->cls->isa(cls.classInfo());
}

ImmutableClassObject ImmutableClassObject::getContainerVELD() const {
    const State* s = lookup(deviantView.get(), objectCore);
    if (!s || !s->container || !exists(deviantView.get(), s->container))
        return {};
    return ImmutableClassObject(s->container, deviantView);
}

ImmutableProperty ImmutableClassObject::getContainingProperty() const {
    const State* s = lookup(deviantView.get(), objectCore);
    if (!s || !s->container)
        return {};
    return ImmutableProperty(metaHandle(s->container->cls->slotProps[s->containerSlot]));
}

ImmutableSequence<ImmutableClassObject> ImmutableClassObject::getContaineeVELDs() const {
    auto out = MakeSequence::create<ImmutableClassObject>();
    const State* s = lookup(deviantView.get(), objectCore);
    if (!s)
        return out;
    const ClassInfo& c = *objectCore->cls;
    for (std::uint32_t i = 0; i < c.slotProps.size(); ++i) {
        if (!c.slotProps[i]->composite || c.slotProps[i]->derived)
            continue;
        const Slot& slot = s->slotValues()[i];
        if (c.slotKinds[i] == SlotKind::Multi) {
            if (slot.m)
                for (const Slot& it : slot.m->items)
                    if (exists(deviantView.get(), it.obj))
                        out.append(ImmutableClassObject(it.obj, deviantView));
        } else if (s->isSet(c, i) && exists(deviantView.get(), slot.obj)) {
            out.append(ImmutableClassObject(slot.obj, deviantView));
        }
    }
    return out;
}

ImmutableSequence<ImmutableObject>
ImmutableClassObject::get(const ImmutableProperty& property) const {
    return ImmutableSequence<ImmutableObject>(
        propertySequence<ImmutableObject>(*this, property, "ClassObject::get"));
}

ImmutableObject ImmutableClassObject::getOne(const ImmutableProperty& property) const {
    static const char* op = "ClassObject::getOne";
    const State& s = state(op);
    PropertyInfo* p = propertyOf(property, op);
    const std::uint32_t slot = slotOf(objectCore, p, op);
    if (p->deriver) {
        auto values = deriverOf(p)(*this);
        return values.empty() ? ImmutableObject() : values.front();
    }
    if (p->multi) {
        if (const MultiRep* m = s.slotValues()[slot].m)
            for (const Slot& it : m->items)
                if (itemVisible(p->elementKind, it, deviantView.get()))
                    return slotValue(p, p->elementKind, it, deviantView.get());
        return {};
    }
    if (!s.isSet(*objectCore->cls, slot)) {
        if (!p->hasDefault)
            return {};
        return slotValue(p, p->kind, p->defaultValue, deviantView.get());
    }
    return slotValue(p, p->kind, s.slotValues()[slot], deviantView.get());
}

ImmutableObject ImmutableClassObject::getOne(std::string_view propertyName) const {
    const State& s = state("ClassObject::getOne");
    (void)s;
    PropertyInfo* p = objectCore->cls->propertyNamed(propertyName);
    if (!p)
        throw Exception("ClassObject::getOne: class '" + objectCore->cls->qualifiedName(".") +
                        "' has no property '" + std::string(propertyName) + "'");
    return getOne(ImmutableProperty(metaHandle(p)));
}

bool ImmutableClassObject::isSet(const ImmutableProperty& property) const {
    static const char* op = "ClassObject::isSet";
    const State& s = state(op);
    PropertyInfo* p = propertyOf(property, op);
    const std::uint32_t slot = slotOf(objectCore, p, op);
    if (p->multi) {
        const MultiRep* m = s.slotValues()[slot].m;
        return m && std::any_of(m->items.begin(), m->items.end(), [&](const Slot& it) {
                   return itemVisible(p->elementKind, it, deviantView.get());
               });
    }
    if (p->kind == SlotKind::Object)
        return s.isSet(*objectCore->cls, slot) &&
               exists(deviantView.get(), s.slotValues()[slot].obj);
    return s.isSet(*objectCore->cls, slot);
}

namespace {
template <typename R>
R typedRead(const ImmutableClassObject& o, const ImmutableProperty& property, SlotKind want,
            const char* op, R (*pick)(const Slot&)) {
    const State* s = lookup(o.view(), o.core());
    if (!s)
        throw Exception(std::string(op) + ": invalid object handle");
    PropertyInfo* p = propertyOf(property, op);
    const std::uint32_t slot = slotOf(o.core(), p, op);
    if (p->kind != want || p->deriver)
        throw Exception(std::string(op) + ": property '" + p->name + "' is not of that type");
    if (!s->isSet(*o.core()->cls, slot))
        return p->hasDefault ? pick(p->defaultValue) : R();
    return pick(s->slotValues()[slot]);
}
} // namespace

bool ImmutableClassObject::getBoolean(const ImmutableProperty& property) const {
    return typedRead<bool>(*this, property, SlotKind::Bool, "ClassObject::getBoolean",
                           [](const Slot& s) { return s.b; });
}

std::int64_t ImmutableClassObject::getInteger(const ImmutableProperty& property) const {
    return typedRead<std::int64_t>(*this, property, SlotKind::Int, "ClassObject::getInteger",
                                   [](const Slot& s) { return s.i; });
}

double ImmutableClassObject::getDouble(const ImmutableProperty& property) const {
    return typedRead<double>(*this, property, SlotKind::Double, "ClassObject::getDouble",
                             [](const Slot& s) { return s.d; });
}

std::string ImmutableClassObject::getString(const ImmutableProperty& property) const {
    return typedRead<std::string>(
        *this, property, SlotKind::String, "ClassObject::getString",
        [](const Slot& s) { return s.s ? std::string(s.s->view()) : std::string(); });
}

ImmutableClassObject ImmutableClassObject::getObject(const ImmutableProperty& property) const {
    ObjectCore* target =
        typedRead<ObjectCore*>(*this, property, SlotKind::Object, "ClassObject::getObject",
                               [](const Slot& s) { return s.obj; });
    if (!exists(deviantView.get(), target))
        return {};
    return ImmutableClassObject(target, deviantView);
}

ImmutableModel ImmutableClassObject::getModelVELD() const {
    if (!deviantView)
        return {};
    return ImmutableModel(deviantView);
}

ImmutableModel ImmutableClassObject::getRootModel() const {
    if (!objectCore || !deviantView || !deviantView->alive)
        return {};
    ModelCore* m = objectCore->isMeta() ? &metaModel() : deviantView->model;
    if (!m->alive || !m->root)
        return {};
    return ImmutableModel(ViewRef(m->root));
}

ImmutableClassObject ImmutableClassObject::asDeviant(const ImmutableModel& deviant) const {
    if (!objectCore)
        return {};
    // A handle keeps its object's memory through its view: a view of another model, or none,
    // would let it dangle once its own model ends. Meta-data live for good.
    if (!objectCore->isMeta() && (!deviant.view() || deviant.modelCore() != objectCore->model))
        return {};
    return ImmutableClassObject(objectCore, deviant.viewRef());
}

const char* ImmutableClassObject::getFullyQualifiedNoxTypeName() const {
    return objectCore ? objectCore->cls->hostTypeName.c_str() : "VELD.ClassObject";
}

std::string ImmutableClassObject::toString() const {
    if (!objectCore)
        return "<null>";
    std::string out = objectCore->cls->qualifiedName(".");
    const State* s = lookup(deviantView.get(), objectCore);
    if (!s)
        return out + "#" + std::to_string(objectCore->serial) + " (invalid)";
    if (PropertyInfo* name = objectCore->cls->propertyNamed("name")) {
        const int slot = objectCore->cls->slotOf(name);
        if (name->kind == SlotKind::String && s->isSet(*objectCore->cls, slot))
            return out + " '" + std::string(slotString(*s, *objectCore->cls, slot)) + "'";
    }
    return out + "#" + std::to_string(objectCore->serial);
}

ImmutableClass ImmutableClassObject::asClass() const {
    return ImmutableClass(*this);
}
ImmutableProperty ImmutableClassObject::asProperty() const {
    return ImmutableProperty(*this);
}
ImmutableType ImmutableClassObject::asType() const {
    return ImmutableType(*this);
}
ImmutableEnumeration ImmutableClassObject::asEnumeration() const {
    return ImmutableEnumeration(*this);
}
ImmutableEnumerationLiteral ImmutableClassObject::asEnumerationLiteral() const {
    return ImmutableEnumerationLiteral(*this);
}
ImmutableNamespace ImmutableClassObject::asNamespace() const {
    return ImmutableNamespace(*this);
}

// --- changing -------------------------------------------------------------------------------

ClassObject ClassObject::getContainerVELD() const {
    return ClassObject(ImmutableClassObject::getContainerVELD());
}

ClassObject ClassObject::asDeviant(const ImmutableModel& deviant) const {
    return ClassObject(ImmutableClassObject::asDeviant(deviant));
}

Sequence<Object> ClassObject::get(const ImmutableProperty& property) const {
    return Sequence<Object>(propertySequence<Object>(*this, property, "ClassObject::get"));
}

void ClassObject::set(const ImmutableProperty& property, const ImmutableObject& value) const {
    static const char* op = "ClassObject::set";
    PropertyInfo* p = propertyOf(property, op);
    DeviantCore& d = checkedWritable(*this, p, op);
    const std::uint32_t slot = slotOf(objectCore, p, op);
    if (p->multi)
        throw Exception(std::string(op) + ": property '" + p->name +
                        "' is multi-valued; use add or get()");
    setSingle(d, *this, p, slot, value, op);
}

void ClassObject::setOrAdd(const ImmutableProperty& property, const ImmutableObject& value) const {
    static const char* op = "ClassObject::setOrAdd";
    PropertyInfo* p = propertyOf(property, op);
    DeviantCore& d = checkedWritable(*this, p, op);
    const std::uint32_t slot = slotOf(objectCore, p, op);
    if (p->multi)
        insertMulti(d, *this, p, slot, -1, value, op);
    else
        setSingle(d, *this, p, slot, value, op);
}

void ClassObject::add(const ImmutableProperty& property, const ImmutableObject& value) const {
    static const char* op = "ClassObject::add";
    PropertyInfo* p = property.propertyInfo();
    if (p && value.isClassObject() && fastRootWrite(view(), objectCore) &&
        appendChildFast(*this, p, value.objectHandle().core()))
        return;
    p = propertyOf(property, op);
    DeviantCore& d = checkedWritable(*this, p, op);
    const std::uint32_t slot = slotOf(objectCore, p, op);
    if (p->multi) {
        insertMulti(d, *this, p, slot, -1, value, op);
        return;
    }
    if (isSet(property))
        throw Exception(std::string(op) + ": single-valued property '" + p->name +
                        "' has a value already");
    setSingle(d, *this, p, slot, value, op);
}

void ClassObject::unset(const ImmutableProperty& property) const {
    static const char* op = "ClassObject::unset";
    PropertyInfo* p = propertyOf(property, op);
    DeviantCore& d = checkedWritable(*this, p, op);
    const std::uint32_t slot = slotOf(objectCore, p, op);
    if (!p->multi) {
        setSingle(d, *this, p, slot, ImmutableObject(), op);
        return;
    }
    Sequence<Object>(propertySequence<Object>(*this, property, op)).clear();
}

namespace {
template <typename F>
void typedWrite(const ClassObject& o, const ImmutableProperty& property, SlotKind want,
                const char* op, F&& store) {
    PropertyInfo* p = property.propertyInfo();
    ObjectCore* core = o.core();
    if (p && p->kind == want && !p->readOnly && fastRootWrite(o.view(), core)) {
        const int slot = core->cls->slotOf(p);
        if (slot >= 0) {
            State& w = writableState(*static_cast<DeviantCore*>(o.view()), core);
            store(w.slotValues()[slot]);
            w.setBit(*core->cls, static_cast<std::uint32_t>(slot), true);
            return;
        }
    }
    p = propertyOf(property, op);
    DeviantCore& d = checkedWritable(o, p, op);
    const std::uint32_t slot = slotOf(core, p, op);
    if (p->kind != want)
        throw Exception(std::string(op) + ": property '" + p->name + "' is not of that type");
    State& w = writableState(d, core);
    store(w.slotValues()[slot]);
    w.setBit(*core->cls, slot, true);
}
} // namespace

void ClassObject::setBoolean(const ImmutableProperty& property, bool value) const {
    typedWrite(*this, property, SlotKind::Bool, "ClassObject::setBoolean",
               [&](Slot& s) { s.b = value; });
}

void ClassObject::setInteger(const ImmutableProperty& property, std::int64_t value) const {
    PropertyInfo* p = propertyOf(property, "ClassObject::setInteger");
    if (p->type.primitive == PrimitiveKind::UnlimitedNatural && value < -1)
        throw Exception("ClassObject::setInteger: " + std::to_string(value) +
                        " is not an UnlimitedNatural");
    typedWrite(*this, property, SlotKind::Int, "ClassObject::setInteger",
               [&](Slot& s) { s.i = value; });
}

void ClassObject::setDouble(const ImmutableProperty& property, double value) const {
    typedWrite(*this, property, SlotKind::Double, "ClassObject::setDouble",
               [&](Slot& s) { s.d = value; });
}

void ClassObject::setString(const ImmutableProperty& property, std::string_view value) const {
    StrRep* rep = nullptr;
    typedWrite(*this, property, SlotKind::String, "ClassObject::setString", [&](Slot& s) {
        rep = StrRep::make(value);
        StrRep::release(s.s);
        s.s = rep;
    });
}

void ClassObject::setObject(const ImmutableProperty& property,
                            const ImmutableClassObject& value) const {
    // References (not containments) to live root objects skip the general path.
    const PropertyInfo* p = property.propertyInfo();
    if (p && !p->composite && !p->multi && fastRootWrite(view(), objectCore) &&
        fitsFast(p, objectCore, value.core())) {
        const int slot = objectCore->cls->slotOf(p);
        if (slot >= 0) {
            State& w = writableState(*static_cast<DeviantCore*>(view()), objectCore);
            w.slotValues()[slot].obj = value.core();
            w.setBit(*objectCore->cls, static_cast<std::uint32_t>(slot), true);
            return;
        }
    }
    set(property, value.isNull() ? ImmutableObject() : ImmutableObject(value));
}

void ClassObject::destroy() const {
    static const char* op = "ClassObject::destroy";
    DeviantCore& d = checkedWritable(*this, nullptr, op);
    if (objectCore->isMeta())
        throw Exception(std::string(op) + ": meta-data cannot be destroyed");
    if (deviantView->model->rootObject == objectCore)
        throw Exception(std::string(op) + ": the root object of a model cannot be destroyed");
    std::vector<ObjectCore*> subtree{objectCore};
    for (std::size_t i = 0; i < subtree.size(); ++i) {
        const ImmutableClassObject node(subtree[i], deviantView);
        for (const ImmutableClassObject& child : node.getContaineeVELDs())
            subtree.push_back(child.core());
    }
    detachFromContainer(d, objectCore);
    for (ObjectCore* o : subtree) {
        writableState(d, o);
        if (d.kind == ViewKind::Root) {
            releaseContents(o->root, *o->cls);
            o->flags &= ~ExistsInRoot;
        } else {
            d.entries[o].state.reset();
        }
    }
}

} // namespace VELD
