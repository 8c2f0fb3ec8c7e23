#include "utils/XMLFilterNamedTypeMatch.hpp"

#include "utils/BuildClassList.hpp"
#include "utils/FilterCaches_p.hpp"

namespace KITE::Util {

XMLFilterNamedTypeMatch::XMLFilterNamedTypeMatch(std::string family, std::string nameSpace,
                                                 TAVI::XMLDB::DatabaseGetter getter,
                                                 bool allowReadOnly)
    : XMLFilterBase(std::move(family), std::move(nameSpace), getter, allowReadOnly) {}

XMLFilterNamedTypeMatch::~XMLFilterNamedTypeMatch() = default;

VELD::ImmutableSequence<VELD::ImmutableProperty>
XMLFilterNamedTypeMatch::execute(const VELD::ImmutableClass&, const std::string&) {
    return VELD::MakeSequence::empty<VELD::ImmutableProperty>();
}

VELD::Sequence<VELD::ImmutableClass> XMLFilterNamedTypeMatch::executePropertyFilter(
    const VELD::ImmutableClass& cls, const VELD::ImmutableProperty& property,
    const VELD::Sequence<VELD::ImmutableClass>& classes, const std::string& mode) {
    propertyName = property.isValid() ? property.getName() : std::string();
    buildFilter(cls, mode);
    // A read-only view: the kernel refuses insertions into it.
    return VELD::Sequence<VELD::ImmutableClass>(makeView<VELD::ImmutableClass>(classes).impl());
}

VELD::ImmutableSequence<VELD::ImmutableObject> XMLFilterNamedTypeMatch::executePropertyFilter(
    const VELD::ImmutableClass& cls, const VELD::ImmutableProperty& property,
    const VELD::ImmutableSequence<VELD::ImmutableObject>& values, const std::string& mode) {
    propertyName = property.isValid() ? property.getName() : std::string();
    buildFilter(cls, mode);
    return makeView(values);
}

std::string XMLFilterNamedTypeMatch::buildUniqueFilterInstanceString() {
    return XMLFilterBase::buildUniqueFilterInstanceString() + ";" + propertyName;
}

const std::string& XMLFilterNamedTypeMatch::doGetOurName() const {
    static const std::string name = "XMLFilterNamedTypeMatch";
    return name;
}

std::string XMLFilterNamedTypeMatch::doFetchName(const VELD::ImmutableObject& candidate) const {
    if (candidate.isClassObject()) {
        const VELD::ImmutableType type = candidate.asClassObject().asType();
        if (type.isValid())
            return type.getQualifiedName();
    }
    return candidate.getMetaType().getQualifiedName();
}

bool XMLFilterNamedTypeMatch::doTestObject(const VELD::ImmutableObject& candidate,
                                           FilterTestResult* result) const {
    if (!doTestName(doFetchName(candidate), result))
        return false;
    if (!getAllowReadOnly() && doFetchIsReadOnly(candidate)) {
        KITE_FILTER_RECORD(result, "testObject", "Failed readOnly check", false);
        return false;
    }
    return true;
}

bool XMLFilterNamedTypeMatch::buildFilter(const VELD::ImmutableClass& cls,
                                          const std::string& mode) {
    setFilterMode(mode);
    const std::string key = buildUniqueFilterInstanceString() + ";" + cls.getQualifiedName();
    setInstanceKey(key);
    setDebugName(key);
    auto& cache = FilterCaches::instance().rules;
    if (const auto hit = cache.find(key); hit != cache.end()) {
        setRuleList(hit->second);
        return true;
    }
    std::vector<VELD::ImmutableClass> classes;
    buildClassList(cls, classes);
    RuleList rules;
    TAVI::XMLDB::Database& db = getDatabase();
    for (const VELD::ImmutableClass& c : classes) {
        const std::string className = c.getQualifiedName();
        if (className.empty())
            continue;
        DataNodePtr include =
            db.getData(buildFilterKey(className, mode, propertyName + "_include"), false);
        DataNodePtr exclude =
            db.getData(buildFilterKey(className, mode, propertyName + "_exclude"), false);
        if (include || exclude)
            rules.emplace_back(std::move(include), std::move(exclude));
    }
    cache.emplace(key, rules);
    setRuleList(std::move(rules));
    return true;
}

bool XMLFilterNamedTypeMatch::doCompositeTest(const std::string&, bool,
                                              FilterTestResult* result) const {
    KITE_FILTER_RECORD(result, "compositeTest", "", true);
    return true;
}

bool XMLFilterNamedTypeMatch::doDerivedTest(const std::string&, bool,
                                            FilterTestResult* result) const {
    KITE_FILTER_RECORD(result, "derivedTest", "", true);
    return true;
}

bool XMLFilterNamedTypeMatch::doTestName(const std::string& name, FilterTestResult* result) const {
    auto& cache = FilterCaches::instance().names;
    std::string key = getInstanceKey() + ";" + name;
    if (const auto hit = cache.find(key); hit != cache.end())
        return hit->second;
    const bool verdict = XMLFilterBase::doTestName(name, result);
    cache.emplace(std::move(key), verdict);
    return verdict;
}

} // namespace KITE::Util
