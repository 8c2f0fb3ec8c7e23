#include "platform/veld/Meta.hpp"

#include "platform/veld/Exception.hpp"
#include "platform/veld/Sequence.hpp"
#include "platform/veld/detail/Meta.hpp"

namespace VELD {

using namespace detail;

namespace {
MetaInfo* infoOf(const ImmutableClassObject& o) {
    return o.core() && o.core()->isMeta() ? meta().find(o.core()) : nullptr;
}

template <typename H> H handleOf(MetaKind kind, const ImmutableClassObject& o) {
    MetaInfo* info = infoOf(o);
    return info && info->metaKind == kind ? H(o) : H();
}
} // namespace

ImmutableType::ImmutableType(const ImmutableClassObject& o) {
    MetaInfo* info = infoOf(o);
    if (!info || (info->metaKind != MetaKind::Class && info->metaKind != MetaKind::PrimitiveType &&
                  info->metaKind != MetaKind::Enumeration))
        return;
    objectCore = o.core();
    deviantView = ViewRef(metaView());
    record = info;
}

std::string ImmutableType::getName() const {
    return record ? record->name : std::string();
}
std::string ImmutableType::getQualifiedName() const {
    return getQualifiedNameWithSeperator(".");
}
std::string ImmutableType::getQualifiedNameWithSeperator(std::string_view separator) const {
    return record ? record->qualifiedName(separator) : std::string();
}
bool ImmutableType::isPrimitive() const {
    return record && record->metaKind == MetaKind::PrimitiveType;
}
bool ImmutableType::isEnumeration() const {
    return record && record->metaKind == MetaKind::Enumeration;
}
bool ImmutableType::isClass() const {
    return record && record->metaKind == MetaKind::Class;
}

ImmutableClass::ImmutableClass(const ImmutableClassObject& o) : ImmutableType(o) {
    if (!isClass()) {
        objectCore = nullptr;
        deviantView = ViewRef();
        record = nullptr;
    }
}

ClassInfo* ImmutableClass::classInfo() const {
    return static_cast<ClassInfo*>(record);
}
bool ImmutableClass::isAbstract() const {
    return record && classInfo()->isAbstract;
}

namespace {
template <typename T, typename Info>
ImmutableSequence<T> sequenceOf(const std::vector<Info*>& infos) {
    auto out = MakeSequence::create<T>();
    for (Info* i : infos)
        out.append(T(metaHandle(i)));
    return out;
}
} // namespace

ImmutableSequence<ImmutableProperty> ImmutableClass::getOwnedAttributes() const {
    return record ? sequenceOf<ImmutableProperty>(classInfo()->owned)
                  : MakeSequence::create<ImmutableProperty>();
}

ImmutableSequence<ImmutableProperty> ImmutableClass::getAllAttributes() const {
    return record ? sequenceOf<ImmutableProperty>(classInfo()->slotProps)
                  : MakeSequence::create<ImmutableProperty>();
}

ImmutableProperty ImmutableClass::getOwnedAttributeByName(std::string_view name) const {
    return record ? ImmutableProperty(metaHandle(classInfo()->ownedPropertyNamed(name)))
                  : ImmutableProperty();
}

ImmutableProperty ImmutableClass::getAttributeByName(std::string_view name) const {
    return record ? ImmutableProperty(metaHandle(classInfo()->propertyNamed(name)))
                  : ImmutableProperty();
}

ImmutableProperty ImmutableClass::getProperty(std::string_view name) const {
    return getAttributeByName(name);
}

ImmutableSequence<ImmutableClass> ImmutableClass::getSuperClasses() const {
    return record ? sequenceOf<ImmutableClass>(classInfo()->supers)
                  : MakeSequence::create<ImmutableClass>();
}

ImmutableSequence<ImmutableClass> ImmutableClass::getSubClasses() const {
    return record ? sequenceOf<ImmutableClass>(classInfo()->subs)
                  : MakeSequence::create<ImmutableClass>();
}

ImmutableNamespace ImmutableClass::getNamespace() const {
    return record ? ImmutableNamespace(metaHandle(record->package)) : ImmutableNamespace();
}

const char* ImmutableClass::getHostTypeName() const {
    return record ? classInfo()->hostTypeName.c_str() : "";
}

ImmutableProperty::ImmutableProperty(const ImmutableClassObject& o) {
    MetaInfo* info = infoOf(o);
    if (!info || info->metaKind != MetaKind::Property)
        return;
    objectCore = o.core();
    deviantView = ViewRef(metaView());
    record = static_cast<PropertyInfo*>(info);
}

std::string ImmutableProperty::getName() const {
    return record ? record->name : std::string();
}
ImmutableType ImmutableProperty::getType() const {
    return record ? ImmutableType(metaHandle(record->type.meta())) : ImmutableType();
}
ImmutableClass ImmutableProperty::getOwner() const {
    return record ? ImmutableClass(metaHandle(record->owner)) : ImmutableClass();
}
bool ImmutableProperty::isComposite() const {
    return record && record->composite;
}
bool ImmutableProperty::isDerived() const {
    return record && record->derived;
}
bool ImmutableProperty::isMultivalued() const {
    return record && record->multi;
}
bool ImmutableProperty::isReadOnly() const {
    return record && record->readOnly;
}
int ImmutableProperty::lowerBound() const {
    return record ? record->lower : 0;
}
int ImmutableProperty::upperBound() const {
    return record ? record->upper : 0;
}
bool ImmutableProperty::isReference() const {
    return record && record->type.cls;
}

ImmutableEnumerationLiteral::ImmutableEnumerationLiteral(const ImmutableClassObject& o) {
    MetaInfo* info = infoOf(o);
    if (!info || info->metaKind != MetaKind::Literal)
        return;
    objectCore = o.core();
    deviantView = ViewRef(metaView());
    record = static_cast<LiteralInfo*>(info);
}

std::string ImmutableEnumerationLiteral::getName() const {
    return record ? record->name : std::string();
}
ImmutableEnumeration ImmutableEnumerationLiteral::getEnumeration() const {
    return record ? ImmutableEnumeration(metaHandle(record->enumeration)) : ImmutableEnumeration();
}

ImmutableEnumeration::ImmutableEnumeration(const ImmutableClassObject& o) : ImmutableType(o) {
    if (!isEnumeration()) {
        objectCore = nullptr;
        deviantView = ViewRef();
        record = nullptr;
    }
}

ImmutableSequence<ImmutableEnumerationLiteral> ImmutableEnumeration::getOwnedLiterals() const {
    return record
               ? sequenceOf<ImmutableEnumerationLiteral>(static_cast<EnumInfo*>(record)->literals)
               : MakeSequence::create<ImmutableEnumerationLiteral>();
}

ImmutableEnumerationLiteral ImmutableEnumeration::getLiteral(std::string_view name) const {
    return record ? ImmutableEnumerationLiteral(
                        metaHandle(static_cast<EnumInfo*>(record)->literalNamed(name)))
                  : ImmutableEnumerationLiteral();
}

ImmutableNamespace::ImmutableNamespace(const ImmutableClassObject& o) {
    MetaInfo* info = infoOf(o);
    if (!info || info->metaKind != MetaKind::Package)
        return;
    objectCore = o.core();
    deviantView = ViewRef(metaView());
}

PackageInfo* ImmutableNamespace::packageInfo() const {
    return static_cast<PackageInfo*>(infoOf(*this));
}
std::string ImmutableNamespace::getName() const {
    return packageInfo() ? packageInfo()->name : std::string();
}
std::string ImmutableNamespace::getQualifiedNameWithSeperator(std::string_view separator) const {
    return packageInfo() ? packageInfo()->qualifiedName(separator) : std::string();
}
std::string ImmutableNamespace::getUri() const {
    return packageInfo() ? packageInfo()->uri : std::string();
}
ImmutableSequence<ImmutableClassObject> ImmutableNamespace::getOwnedMembers() const {
    return packageInfo() ? sequenceOf<ImmutableClassObject>(packageInfo()->members)
                         : MakeSequence::create<ImmutableClassObject>();
}
ImmutableSequence<ImmutableClassObject> ImmutableNamespace::getImportedMembers() const {
    return packageInfo() ? sequenceOf<ImmutableClassObject>(packageInfo()->imported)
                         : MakeSequence::create<ImmutableClassObject>();
}
ImmutableClass ImmutableNamespace::getClass(std::string_view simpleName) const {
    PackageInfo* p = packageInfo();
    if (!p)
        return {};
    for (MetaInfo* m : p->members)
        if (m->metaKind == MetaKind::Class && m->name == simpleName)
            return ImmutableClass(metaHandle(m));
    return {};
}
ImmutableClass ImmutableNamespace::getModelClass() const {
    return packageInfo() ? ImmutableClass(metaHandle(packageInfo()->modelClass)) : ImmutableClass();
}

bool isa(const ImmutableClass& cls, const ImmutableClass& baseClass) {
    return cls.classInfo() && baseClass.classInfo() && cls.classInfo()->isa(baseClass.classInfo());
}

void getAllSubClasses(const ImmutableClass& cls, Sequence<ImmutableClass>& out, bool includeSelf) {
    ClassInfo* c = cls.classInfo();
    if (!c)
        return;
    if (includeSelf)
        out.append(cls);
    // Breadth first, each class once even when it inherits from cls along several paths.
    std::vector<ClassInfo*> queue(c->subs.begin(), c->subs.end());
    std::unordered_map<ClassInfo*, bool> seen{{c, true}};
    for (std::size_t i = 0; i < queue.size(); ++i) {
        if (seen[queue[i]])
            continue;
        seen[queue[i]] = true;
        out.append(ImmutableClass(metaHandle(queue[i])));
        queue.insert(queue.end(), queue[i]->subs.begin(), queue[i]->subs.end());
    }
}

} // namespace VELD
