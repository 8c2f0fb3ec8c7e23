#include "utils/XMLFilterMatch.hpp"

#include "utils/FilterCaches_p.hpp"

namespace KITE::Util {

namespace {
const std::string kTree = "Tree";
const std::string kProperty = "Property";
} // namespace

XMLFilterMatch::XMLFilterMatch(std::string family, std::string nameSpace,
                               TAVI::XMLDB::DatabaseGetter getter, bool allowReadOnly)
    : XMLFilterBase(std::move(family), std::move(nameSpace), getter, allowReadOnly) {}

XMLFilterMatch::~XMLFilterMatch() = default;

VELD::ImmutableSequence<VELD::ImmutableProperty>
XMLFilterMatch::execute(const VELD::ImmutableClass& cls, const std::string& mode) {
    setFilterMode(mode);
    setInstanceKey(buildUniqueFilterInstanceString());
    const std::string className = cls.getQualifiedName();
    std::string key = getInstanceKey();
    key += ';';
    key += className;
    key += getAllowReadOnly() ? ";true" : ";false";

    auto& cache = FilterCaches::instance().attributes;
    if (const auto hit = cache.find(key); hit != cache.end()) {
        setDebugName(className);
        return hit->second;
    }
    VELD::ImmutableSequence<VELD::ImmutableProperty> result =
        buildFilter(cls, mode) ? makeView(cls.getOwnedAttributes()) : cls.getOwnedAttributes();
    cache.emplace(std::move(key), result);
    return result;
}

const std::string& XMLFilterMatch::doGetOurName() const {
    static const std::string name = "XMLFilterMatch";
    return name;
}

bool XMLFilterMatch::doCompositeTest(const std::string& name, bool isComposite,
                                     FilterTestResult* result) const {
    const std::string& family = getFamily();
    if (family == kTree && isComposite) {
        KITE_FILTER_RECORD(result, "compositeTest", "IsTree and IS composite", true);
        return true;
    }
    if (family == kProperty && !isComposite) {
        KITE_FILTER_RECORD(result, "compositeTest", "IsProperty and IS NOT composite", true);
        return true;
    }
    return XMLFilterBase::doCompositeTest(name, isComposite, result);
}

bool XMLFilterMatch::doDerivedTest(const std::string& name, bool isDerived,
                                   FilterTestResult* result) const {
    const std::string& family = getFamily();
    if (family == kTree)
        return true;
    if (family == kProperty) {
        if (!isDerived)
            return true;
        return getFilterMode() == "All" || XMLFilterBase::doDerivedTest(name, isDerived, result);
    }
    return false;
}

} // namespace KITE::Util
