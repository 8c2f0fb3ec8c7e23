#include "platform/veld/detail/Meta.hpp"

#include "platform/veld/Exception.hpp"
#include "platform/veld/Meta.hpp"
#include "platform/veld/MetaModelBuilder.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>

namespace VELD::detail {

// --- text conversions -----------------------------------------------------------------------

const char* primitiveName(PrimitiveKind kind) {
    switch (kind) {
    case PrimitiveKind::Boolean:
        return "Boolean";
    case PrimitiveKind::Integer:
        return "Integer";
    case PrimitiveKind::Double:
        return "Double";
    case PrimitiveKind::String:
        return "String";
    case PrimitiveKind::UnlimitedNatural:
        return "UnlimitedNatural";
    case PrimitiveKind::None:
        break;
    }
    return "";
}

std::string formatDouble(double d) {
    if (std::isnan(d))
        return "NaN";
    if (std::isinf(d))
        return d > 0 ? "INF" : "-INF";
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, d); // shortest text that reads back exactly
    return std::string(buf, r.ptr);
}

std::string formatPrimitive(PrimitiveKind kind, const Slot& s) {
    switch (kind) {
    case PrimitiveKind::Boolean:
        return s.b ? "true" : "false";
    case PrimitiveKind::Integer:
        return std::to_string(s.i);
    case PrimitiveKind::UnlimitedNatural:
        return s.i < 0 ? "*" : std::to_string(s.i);
    case PrimitiveKind::Double:
        return formatDouble(s.d);
    case PrimitiveKind::String:
        return s.s ? std::string(s.s->view()) : std::string();
    case PrimitiveKind::None:
        break;
    }
    return {};
}

namespace {
template <typename N> bool parseNumber(std::string_view text, N& out) {
    if (text.empty())
        return false;
    const char* first = text.data();
    if (*first == '+')
        ++first;
    auto r = std::from_chars(first, text.data() + text.size(), out);
    return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}
} // namespace

bool parsePrimitive(PrimitiveKind kind, std::string_view text, Slot& out, std::string& owned) {
    switch (kind) {
    case PrimitiveKind::Boolean:
        if (equalsNoCase(text, "true") || text == "1")
            out.b = true;
        else if (equalsNoCase(text, "false") || text == "0")
            out.b = false;
        else
            return false;
        return true;
    case PrimitiveKind::Integer:
        return parseNumber(text, out.i);
    case PrimitiveKind::UnlimitedNatural:
        if (text == "*") {
            out.i = -1;
            return true;
        }
        return parseNumber(text, out.i) && out.i >= 0;
    case PrimitiveKind::Double:
        if (text == "NaN" || text == "nan") {
            out.d = std::nan("");
            return true;
        }
        if (text == "INF" || text == "inf") {
            out.d = HUGE_VAL;
            return true;
        }
        if (text == "-INF" || text == "-inf") {
            out.d = -HUGE_VAL;
            return true;
        }
        return parseNumber(text, out.d);
    case PrimitiveKind::String:
        owned = std::string(text);
        return true;
    case PrimitiveKind::None:
        break;
    }
    return false;
}

// --- layout ---------------------------------------------------------------------------------

MetaInfo* TypeRef::meta() const {
    if (cls)
        return cls;
    if (enumeration)
        return enumeration;
    return primitive == PrimitiveKind::None ? nullptr : detail::meta().primitives[int(primitive)];
}

SlotKind slotKindOf(const TypeRef& t) {
    if (t.cls)
        return SlotKind::Object;
    if (t.enumeration)
        return SlotKind::Literal;
    switch (t.primitive) {
    case PrimitiveKind::Boolean:
        return SlotKind::Bool;
    case PrimitiveKind::Double:
        return SlotKind::Double;
    case PrimitiveKind::String:
        return SlotKind::String;
    default:
        return SlotKind::Int;
    }
}

namespace {
void collectProperties(ClassInfo& c, std::vector<PropertyInfo*>& out, std::set<ClassInfo*>& seen) {
    if (!seen.insert(&c).second)
        return;
    for (ClassInfo* s : c.supers)
        collectProperties(*s, out, seen);
    for (PropertyInfo* p : c.owned)
        out.push_back(p);
}
} // namespace

void layoutClass(ClassInfo& c) {
    std::set<ClassInfo*> seen;
    c.slotProps.clear();
    collectProperties(c, c.slotProps, seen);
    c.slotKinds.clear();
    c.pointerSlots.clear();
    std::uint32_t maxId = 0;
    for (std::uint32_t i = 0; i < c.slotProps.size(); ++i) {
        PropertyInfo* p = c.slotProps[i];
        c.slotKinds.push_back(p->kind);
        if (p->kind == SlotKind::String || p->kind == SlotKind::Multi)
            c.pointerSlots.push_back(i);
        maxId = std::max(maxId, p->id + 1);
    }
    c.slotById.assign(maxId, -1);
    for (std::uint32_t i = 0; i < c.slotProps.size(); ++i)
        c.slotById[c.slotProps[i]->id] = static_cast<std::int32_t>(i);
    c.ancestorIds.clear();
    for (ClassInfo* a : seen)
        c.ancestorIds.push_back(a->id);
    std::sort(c.ancestorIds.begin(), c.ancestorIds.end());
    const std::size_t n = c.slotProps.size();
    c.maskWords = static_cast<std::uint32_t>((n + 63) / 64);
    c.stateBytes = sizeof(State) + n * sizeof(Slot) + c.maskWords * sizeof(std::uint64_t);
    c.coreBytes = offsetof(ObjectCore, root) + c.stateBytes;
}

// --- meta objects ---------------------------------------------------------------------------

namespace {
ObjectCore* newMetaCore(MetaRegistry& reg, ClassInfo& metaClass, MetaInfo& info) {
    ModelCore& m = metaModel();
    void* mem = m.arena.allocate(metaClass.coreBytes);
    std::memset(mem, 0, metaClass.coreBytes);
    auto* core = new (mem) ObjectCore();
    core->cls = &metaClass;
    core->model = &m;
    core->serial = m.nextSerial++;
    core->flags = ExistsInRoot | MetaObject;
    core->root.refs = 1;
    info.core = core;
    reg.byCore[core] = &info;
    return core;
}

void rawSetString(ObjectCore* core, std::string_view prop, std::string_view text) {
    PropertyInfo* p = core->cls->propertyNamed(prop);
    const int slot = core->cls->slotOf(p);
    StrRep::release(core->root.slotValues()[slot].s);
    core->root.slotValues()[slot].s = StrRep::make(text);
    core->root.setBit(*core->cls, slot, true);
}

void rawSetScalar(ObjectCore* core, std::string_view prop, Slot value) {
    PropertyInfo* p = core->cls->propertyNamed(prop);
    const int slot = core->cls->slotOf(p);
    core->root.slotValues()[slot] = value;
    core->root.setBit(*core->cls, slot, true);
}

void rawAppend(ObjectCore* core, std::string_view prop, ObjectCore* value) {
    if (!value)
        return;
    PropertyInfo* p = core->cls->propertyNamed(prop);
    const int slot = core->cls->slotOf(p);
    Slot& s = core->root.slotValues()[slot];
    if (!s.m)
        s.m = new MultiRep{1, SlotKind::Object, {}};
    Slot v;
    v.obj = value;
    s.m->items.push_back(v);
    if (p->composite) {
        value->root.container = core;
        value->root.containerSlot = static_cast<std::uint32_t>(slot);
    }
}

void fillMetaCores(MetaRegistry& reg, PackageInfo& pkg, const std::vector<MetaInfo*>& members) {
    for (MetaInfo* m : members) {
        switch (m->metaKind) {
        case MetaKind::Class:
            newMetaCore(reg, *reg.classClass, *m);
            break;
        case MetaKind::PrimitiveType:
            newMetaCore(reg, *reg.primitiveTypeClass, *m);
            break;
        case MetaKind::Enumeration:
            newMetaCore(reg, *reg.enumerationClass, *m);
            for (LiteralInfo* l : static_cast<EnumInfo*>(m)->literals)
                newMetaCore(reg, *reg.literalClass, *l);
            break;
        default:
            break;
        }
        if (m->metaKind == MetaKind::Class)
            for (PropertyInfo* p : static_cast<ClassInfo*>(m)->owned)
                newMetaCore(reg, *reg.propertyClass, *p);
    }
    newMetaCore(reg, *reg.packageClass, pkg);
    rawSetString(pkg.core, "name", pkg.name);
    rawSetString(pkg.core, "uri", pkg.uri);
    for (MetaInfo* m : members) {
        rawAppend(pkg.core, "ownedMembers", m->core);
        rawSetString(m->core, "name", m->name);
        if (m->metaKind == MetaKind::Class) {
            auto* c = static_cast<ClassInfo*>(m);
            Slot b;
            b.b = c->isAbstract;
            rawSetScalar(c->core, "isAbstract", b);
            for (ClassInfo* s : c->supers)
                rawAppend(c->core, "superClasses", s->core);
            for (PropertyInfo* p : c->owned) {
                rawAppend(c->core, "ownedAttributes", p->core);
                rawSetString(p->core, "name", p->name);
                Slot t;
                t.obj = p->type.meta() ? p->type.meta()->core : nullptr;
                rawSetScalar(p->core, "type", t);
                Slot v;
                v.b = p->composite;
                rawSetScalar(p->core, "isComposite", v);
                v.b = p->derived;
                rawSetScalar(p->core, "isDerived", v);
                v.b = p->readOnly;
                rawSetScalar(p->core, "isReadOnly", v);
                v.i = p->lower;
                rawSetScalar(p->core, "lowerBound", v);
                v.i = p->upper;
                rawSetScalar(p->core, "upperBound", v);
            }
        } else if (m->metaKind == MetaKind::Enumeration) {
            for (LiteralInfo* l : static_cast<EnumInfo*>(m)->literals) {
                rawAppend(m->core, "ownedLiterals", l->core);
                rawSetString(l->core, "name", l->name);
            }
        }
    }
}

// The kernel's own package: the root class, the generic model class and the classes of the
// meta-data themselves.
void bootstrap() {
    MetaModelBuilder b("VELD", "veld:kernel");
    b.addClass("ClassObject", {}, true);
    b.addClass("Model").attribute("name", "String").containment("contents", "ClassObject");
    b.addClass("Type", {}, true).attribute("name", "String");
    b.addClass("Class", {"Type"})
        .attribute("isAbstract", "Boolean")
        .reference("superClasses", "Class", true)
        .containment("ownedAttributes", "Property");
    b.addClass("PrimitiveType", {"Type"});
    b.addClass("Enumeration", {"Type"}).containment("ownedLiterals", "EnumerationLiteral");
    b.addClass("EnumerationLiteral").attribute("name", "String");
    b.addClass("Property")
        .attribute("name", "String")
        .reference("type", "Type")
        .attribute("isComposite", "Boolean")
        .attribute("isDerived", "Boolean")
        .attribute("isReadOnly", "Boolean")
        .attribute("lowerBound", "Integer")
        .attribute("upperBound", "UnlimitedNatural");
    b.addClass("Package")
        .attribute("name", "String")
        .attribute("uri", "String")
        .containment("ownedMembers", "ClassObject");
    b.setModelClass("Model");
    b.build();
}
} // namespace

ModelCore& metaModel() {
    static ModelCore* m = [] {
        auto* core = new ModelCore();
        core->meta = true;
        core->uri = "veld:meta";
        core->root = new DeviantCore(ViewKind::Root, core, "");
        retainView(core->root);
        return core;
    }();
    return *m;
}

ViewCore* metaView() {
    return metaModel().root;
}

MetaRegistry& meta() {
    static MetaRegistry* reg = nullptr;
    if (!reg) {
        reg = new MetaRegistry();
        bootstrap();
    }
    return *reg;
}

ImmutableClassObject metaHandle(const MetaInfo* info) {
    if (!info || !info->core)
        return {};
    return ImmutableClassObject(info->core, ViewRef(metaView()));
}

// --- names ----------------------------------------------------------------------------------

bool splitUriName(std::string_view name, std::string_view& uri, std::string_view& simple) {
    // Names hold no braces, so the last '}' ends the URI even if the URI holds one.
    if (name.size() < 3 || name.front() != '{')
        return false;
    const std::size_t close = name.rfind('}');
    if (close == 0 || close + 1 >= name.size())
        return false;
    uri = name.substr(1, close - 1);
    simple = name.substr(close + 1);
    return true;
}

MetaInfo* memberNamed(const PackageInfo& package, std::string_view simple) {
    for (MetaInfo* m : package.members)
        if (m->name == simple)
            return m;
    return nullptr;
}

std::vector<MetaInfo*> MetaRegistry::findAllQualified(std::string_view name) const {
    std::string_view uri, simple;
    if (splitUriName(name, uri, simple)) {
        auto pkg = byUri.find(uri);
        MetaInfo* m = pkg == byUri.end() ? nullptr : memberNamed(*pkg->second, simple);
        return m ? std::vector<MetaInfo*>{m} : std::vector<MetaInfo*>{};
    }
    auto it = byQualifiedName.find(name);
    return it == byQualifiedName.end() ? std::vector<MetaInfo*>{} : it->second;
}

std::string ambiguityMessage(std::string_view name, const std::vector<MetaInfo*>& candidates) {
    std::string out = "'" + std::string(name) + "' is ambiguous: meta-models of different URIs " +
                      "share its package name; write one of";
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos) { // a package name: its URIs tell the packages apart
        for (std::size_t i = 0; i < candidates.size(); ++i)
            out += (i ? ", '" : " the URIs '") +
                   static_cast<const PackageInfo*>(candidates[i])->uri + "'";
        return out;
    }
    const std::string_view simple = dot == std::string_view::npos ? name : name.substr(dot + 1);
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const PackageInfo* pkg = candidates[i]->package;
        out += i ? ", '{" : " '{";
        out += pkg ? pkg->uri : std::string();
        out += "}" + std::string(simple) + "'";
    }
    return out;
}

// --- building a package ---------------------------------------------------------------------

namespace {
struct Staging {
    MetaRegistry& reg;
    std::string pkgName;
    std::string pkgUri;
    std::unique_ptr<PackageInfo> pkg;
    std::vector<std::unique_ptr<MetaInfo>> infos;
    std::unordered_map<std::string, MetaInfo*> local;
    std::uint32_t nextClassId;
    std::uint32_t nextPropertyId;
    bool bootstrapping;

    [[noreturn]] void fail(const std::string& what) const {
        throw Exception("MetaModelBuilder::build: meta-model '" + pkgName + "': " + what);
    }

    // A simple name of this package, this package's own qualified or URI-qualified name, or
    // the name of a registered meta-datum. The package's own names resolve while it is built,
    // and they come first: "lib.Book" in package "lib" is this package's Book even when another
    // registered meta-model is named "lib" too.
    MetaInfo* findName(std::string_view name, const std::string& where) const {
        auto it = local.find(std::string(name));
        if (it != local.end())
            return it->second;
        std::string_view uri, simple;
        if (splitUriName(name, uri, simple) && uri == pkgUri)
            return findLocal(simple);
        if (name.size() > pkgName.size() && name.substr(0, pkgName.size()) == pkgName &&
            name[pkgName.size()] == '.')
            return findLocal(name.substr(pkgName.size() + 1));
        const std::vector<MetaInfo*> all = reg.findAllQualified(name);
        if (all.size() > 1)
            fail(where + ": " + ambiguityMessage(name, all));
        return all.empty() ? nullptr : all.front();
    }

    MetaInfo* findLocal(std::string_view simple) const {
        auto it = local.find(std::string(simple));
        return it == local.end() ? nullptr : it->second;
    }

    TypeRef resolveType(const std::string& name, const std::string& where) const {
        TypeRef t;
        for (int k = 1; k <= 5; ++k)
            if (name == primitiveName(PrimitiveKind(k)) ||
                name == std::string("VELD.") + primitiveName(PrimitiveKind(k))) {
                t.primitive = PrimitiveKind(k);
                return t;
            }
        MetaInfo* m = findName(name, where);
        if (m && m->metaKind == MetaKind::Class)
            t.cls = static_cast<ClassInfo*>(m);
        else if (m && m->metaKind == MetaKind::Enumeration)
            t.enumeration = static_cast<EnumInfo*>(m);
        else
            fail(where + ": unknown type '" + name + "'");
        return t;
    }

    ClassInfo* resolveClass(const std::string& name, const std::string& where) const {
        MetaInfo* m = findName(name, where);
        if (!m || m->metaKind != MetaKind::Class)
            fail(where + ": unknown class '" + name + "'");
        return static_cast<ClassInfo*>(m);
    }

    template <typename T> T* make(MetaKind kind, const std::string& name) {
        auto info = std::make_unique<T>();
        info->metaKind = kind;
        info->name = name;
        info->package = pkg.get();
        T* raw = info.get();
        infos.push_back(std::move(info));
        return raw;
    }
};

// Braces are kept out of names so that "{uri}Name" always reads one way.
bool validName(const std::string& n) {
    return !n.empty() && n.find_first_of(". \t\r\n/{}") == std::string::npos;
}

void checkAcyclic(Staging& st, ClassInfo* c, std::set<ClassInfo*>& done, std::set<ClassInfo*>& path,
                  std::vector<ClassInfo*>& order) {
    if (done.count(c))
        return;
    if (!path.insert(c).second)
        st.fail("class '" + c->name + "' inherits from itself");
    for (ClassInfo* s : c->supers)
        checkAcyclic(st, s, done, path, order);
    path.erase(c);
    done.insert(c);
    order.push_back(c);
}
} // namespace

} // namespace VELD::detail

namespace VELD {

using namespace detail;

ClassSpec& ClassSpec::attribute(std::string propertyName, std::string typeName, bool many) {
    PropertySpec p;
    p.name = std::move(propertyName);
    p.type = std::move(typeName);
    p.upperBound = many ? -1 : 1;
    return property(std::move(p));
}

ClassSpec& ClassSpec::reference(std::string propertyName, std::string className, bool many) {
    return attribute(std::move(propertyName), std::move(className), many);
}

ClassSpec& ClassSpec::containment(std::string propertyName, std::string className, bool many) {
    PropertySpec p;
    p.name = std::move(propertyName);
    p.type = std::move(className);
    p.composite = true;
    p.upperBound = many ? -1 : 1;
    return property(std::move(p));
}

ClassSpec& ClassSpec::property(PropertySpec definition) {
    properties.push_back(std::move(definition));
    return *this;
}

MetaModelBuilder::MetaModelBuilder(std::string packageName, std::string uri)
    : packageName(std::move(packageName)), packageUri(std::move(uri)) {}

ClassSpec& MetaModelBuilder::addClass(std::string name, std::vector<std::string> superClasses,
                                      bool isAbstract) {
    classSpecs.push_back(ClassSpec{std::move(name), std::move(superClasses), isAbstract, {}, {}});
    return classSpecs.back();
}

void MetaModelBuilder::addEnumeration(std::string name, std::vector<std::string> literals) {
    enumSpecs.emplace_back(std::move(name), std::move(literals));
}

void MetaModelBuilder::setModelClass(std::string className) {
    modelClassName = std::move(className);
}

void MetaModelBuilder::importPackage(std::string uri) {
    importedUris.push_back(std::move(uri));
}

ImmutableNamespace MetaModelBuilder::build() {
    MetaRegistry& reg = detail::meta();
    const bool bootstrapping = reg.classObjectClass == nullptr;
    Staging st{reg,
               packageName,
               packageUri,
               std::make_unique<PackageInfo>(),
               {},
               {},
               static_cast<std::uint32_t>(reg.classes.size()),
               reg.nextPropertyId,
               bootstrapping};
    if (!validName(packageName))
        st.fail("the package name must be a non-empty name without '.', '/', braces or spaces");
    if (packageUri.empty())
        st.fail("the URI is empty");
    if (reg.byUri.count(packageUri))
        st.fail("a meta-model with URI '" + packageUri + "' is registered already");
    // Meta-models written apart may share a package name; their URIs tell them apart. The
    // kernel's own name stays its own, so that "VELD.Model" and the primitive types always
    // mean one thing.
    if (!bootstrapping && packageName == reg.kernelPackage->name)
        st.fail("the name '" + packageName + "' is the kernel's own");

    PackageInfo& pkg = *st.pkg;
    pkg.metaKind = MetaKind::Package;
    pkg.name = packageName;
    pkg.uri = packageUri;
    std::vector<MetaInfo*> members;

    if (bootstrapping) {
        for (int k = 1; k <= 5; ++k) {
            auto* p =
                st.make<PrimitiveInfo>(MetaKind::PrimitiveType, primitiveName(PrimitiveKind(k)));
            p->kind = PrimitiveKind(k);
            reg.primitives[k] = p;
            st.local[p->name] = p;
            members.push_back(p);
        }
    }
    for (auto& [ename, literals] : enumSpecs) {
        if (!validName(ename))
            st.fail("invalid enumeration name '" + ename + "'");
        if (st.local.count(ename))
            st.fail("'" + ename + "' is defined twice");
        auto* e = st.make<EnumInfo>(MetaKind::Enumeration, ename);
        std::set<std::string> seen;
        for (const std::string& l : literals) {
            if (l.empty() || !seen.insert(l).second)
                st.fail("enumeration '" + ename + "': empty or repeated literal '" + l + "'");
            auto* li = st.make<LiteralInfo>(MetaKind::Literal, l);
            li->enumeration = e;
            li->index = static_cast<std::uint32_t>(e->literals.size());
            li->package = nullptr;
            e->literals.push_back(li);
        }
        st.local[ename] = e;
        members.push_back(e);
    }
    std::vector<ClassInfo*> classes;
    for (const ClassSpec& def : classSpecs) {
        if (!validName(def.name))
            st.fail("invalid class name '" + def.name + "'");
        if (st.local.count(def.name))
            st.fail("'" + def.name + "' is defined twice");
        auto* c = st.make<ClassInfo>(MetaKind::Class, def.name);
        c->id = st.nextClassId++;
        c->isAbstract = def.isAbstract;
        c->hostTypeName =
            def.hostTypeName.empty() ? packageName + "." + def.name : def.hostTypeName;
        st.local[def.name] = c;
        classes.push_back(c);
        members.push_back(c);
    }
    ClassInfo* rootClass =
        bootstrapping ? static_cast<ClassInfo*>(st.local.at("ClassObject")) : reg.classObjectClass;
    for (std::size_t i = 0; i < classes.size(); ++i) {
        ClassInfo* c = classes[i];
        const ClassSpec& def = classSpecs[i];
        for (const std::string& s : def.superClasses) {
            ClassInfo* sup = st.resolveClass(s, "class '" + def.name + "'");
            if (std::find(c->supers.begin(), c->supers.end(), sup) != c->supers.end())
                st.fail("class '" + def.name + "' names superclass '" + s + "' twice");
            c->supers.push_back(sup);
        }
        if (c->supers.empty() && c != rootClass)
            c->supers.push_back(rootClass);
    }
    std::set<ClassInfo*> done, path;
    std::vector<ClassInfo*> order;
    for (ClassInfo* c : classes)
        checkAcyclic(st, c, done, path, order);

    for (std::size_t i = 0; i < classes.size(); ++i) {
        ClassInfo* c = classes[i];
        const ClassSpec& def = classSpecs[i];
        for (const PropertySpec& ps : def.properties) {
            const std::string where = "property '" + def.name + "." + ps.name + "'";
            if (!validName(ps.name))
                st.fail(where + ": invalid name");
            if (c->ownedPropertyNamed(ps.name))
                st.fail(where + ": defined twice");
            auto* p = st.make<PropertyInfo>(MetaKind::Property, ps.name);
            p->package = nullptr;
            p->id = st.nextPropertyId++;
            p->owner = c;
            p->type = st.resolveType(ps.type, where);
            p->composite = ps.composite;
            p->derived = ps.derived;
            p->readOnly = ps.readOnly || ps.derived;
            p->lower = ps.lowerBound;
            p->upper = ps.upperBound;
            p->multi = ps.upperBound < 0 || ps.upperBound > 1;
            if (ps.lowerBound < 0 || (ps.upperBound >= 0 && ps.upperBound < ps.lowerBound) ||
                ps.upperBound == 0)
                st.fail(where + ": invalid multiplicity");
            if (p->composite && !p->type.cls)
                st.fail(where + ": a containment must have a class type");
            if (p->derived && !ps.deriver)
                st.fail(where + ": a derived property needs a function that computes it");
            if (ps.deriver)
                p->deriver = std::make_shared<const DeriveFunction>(ps.deriver);
            const SlotKind k = slotKindOf(p->type);
            p->elementKind = k;
            p->kind = p->multi ? SlotKind::Multi : k;
            if (ps.defaultValue) {
                if (p->multi || p->type.cls)
                    st.fail(
                        where +
                        ": only single-valued primitive or enumeration properties have defaults");
                if (p->type.enumeration) {
                    LiteralInfo* l = p->type.enumeration->literalNamed(*ps.defaultValue);
                    if (!l)
                        st.fail(where + ": default '" + *ps.defaultValue + "' is not a literal");
                    p->defaultValue.obj = nullptr; // literal cores exist only after commit
                    p->defaultText = *ps.defaultValue;
                } else {
                    std::string text;
                    if (!parsePrimitive(p->type.primitive, *ps.defaultValue, p->defaultValue, text))
                        st.fail(where + ": default '" + *ps.defaultValue + "' is not a valid " +
                                primitiveName(p->type.primitive));
                    p->defaultText = *ps.defaultValue;
                    if (p->type.primitive == PrimitiveKind::String)
                        p->defaultValue.s = nullptr; // made below, once nothing can fail
                }
                p->hasDefault = true;
            }
            c->owned.push_back(p);
        }
    }
    // A property may not hide an inherited one of the same name.
    for (ClassInfo* c : order) {
        std::set<ClassInfo*> seen;
        std::vector<PropertyInfo*> all;
        collectProperties(*c, all, seen);
        std::set<std::string> names;
        for (PropertyInfo* p : all)
            if (!names.insert(p->name).second)
                st.fail("class '" + c->name + "' has two properties named '" + p->name + "'");
    }
    std::vector<MetaInfo*> imports;
    for (const std::string& uri : importedUris) {
        if (uri == packageUri) {
            imports.push_back(&pkg);
            continue;
        }
        const auto found = reg.byUri.find(uri);
        if (found == reg.byUri.end())
            st.fail("imports the meta-model '" + uri + "', which is not registered");
        imports.push_back(found->second);
    }
    ClassInfo* modelClass = nullptr;
    if (!modelClassName.empty())
        modelClass = st.resolveClass(modelClassName, "model class");
    if (modelClass && modelClass->isAbstract)
        st.fail("the model class '" + modelClassName + "' is abstract");

    // Nothing can fail from here on: register everything.
    for (ClassInfo* c : order)
        if (c->package == &pkg)
            layoutClass(*c);
    for (auto& info : st.infos)
        if (info->metaKind == MetaKind::Property) {
            auto* p = static_cast<PropertyInfo*>(info.get());
            if (p->hasDefault && p->type.primitive == PrimitiveKind::String)
                p->defaultValue.s = StrRep::make(p->defaultText);
        }
    pkg.members = members;
    pkg.imported = imports;
    pkg.modelClass = modelClass ? modelClass : (bootstrapping ? nullptr : reg.modelClass);
    PackageInfo* pkgRaw = st.pkg.get();
    reg.owned.push_back(std::move(st.pkg));
    for (auto& info : st.infos) {
        MetaInfo* m = info.get();
        if (m->metaKind == MetaKind::Class || m->metaKind == MetaKind::Enumeration ||
            m->metaKind == MetaKind::PrimitiveType)
            reg.byQualifiedName[m->qualifiedName(".")].push_back(m);
        reg.owned.push_back(std::move(info));
    }
    reg.byQualifiedName[packageName].push_back(pkgRaw);
    reg.byUri[packageUri] = pkgRaw;
    for (ClassInfo* c : classes) {
        if (reg.classes.size() <= c->id)
            reg.classes.resize(c->id + 1);
        reg.classes[c->id] = c;
        for (ClassInfo* s : c->supers)
            s->subs.push_back(c);
    }
    reg.nextPropertyId = st.nextPropertyId;

    if (bootstrapping) {
        auto cls = [&](const char* n) { return static_cast<ClassInfo*>(st.local.at(n)); };
        reg.kernelPackage = pkgRaw;
        reg.classObjectClass = cls("ClassObject");
        reg.modelClass = cls("Model");
        reg.classClass = cls("Class");
        reg.propertyClass = cls("Property");
        reg.primitiveTypeClass = cls("PrimitiveType");
        reg.enumerationClass = cls("Enumeration");
        reg.literalClass = cls("EnumerationLiteral");
        reg.packageClass = cls("Package");
        pkgRaw->modelClass = reg.modelClass;
    }
    fillMetaCores(reg, *pkgRaw, members);
    // Literal defaults point at literal objects, which exist now.
    for (ClassInfo* c : classes)
        for (PropertyInfo* p : c->owned)
            if (p->hasDefault && p->type.enumeration)
                p->defaultValue.obj = p->type.enumeration->literalNamed(p->defaultText)->core;
    return ImmutableNamespace(metaHandle(pkgRaw));
}

} // namespace VELD
