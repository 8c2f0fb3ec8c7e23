#include "utils/XMLFilterMatch.hpp"

#include "utils/FilterCaches_p.hpp"

#include <unordered_map>

namespace KITE::Util {

namespace {
const std::string kTree = "Tree";
const std::string kProperty = "Property";
} // namespace

struct XMLFilterMatch::RecentResults {
    struct Entry {
        std::string family;
        std::string mode;
        bool allowReadOnly = false;
        std::uint64_t generation = 0;
        std::string instanceKey;
        std::string className;
        // Weak: the cache owns the result, and the result's view owns this filter.
        std::weak_ptr<VELD::detail::SequenceImpl<VELD::ImmutableProperty>> result;
    };
    std::unordered_map<const void*, Entry> byClass;
};

XMLFilterMatch::XMLFilterMatch(std::string family, std::string nameSpace,
                               TAVI::XMLDB::DatabaseGetter getter, bool allowReadOnly)
    : XMLFilterBase(std::move(family), std::move(nameSpace), getter, allowReadOnly),
      recent(std::make_unique<RecentResults>()) {}

XMLFilterMatch::~XMLFilterMatch() = default;

VELD::ImmutableSequence<VELD::ImmutableProperty>
XMLFilterMatch::execute(const VELD::ImmutableClass& cls, const std::string& mode) {
    FilterCaches& caches = FilterCaches::instance();
    // The same question as before for this class: the cache's answer without forming its key.
    const auto known = recent->byClass.find(cls.core());
    if (known != recent->byClass.end()) {
        const RecentResults::Entry& e = known->second;
        if (e.generation == caches.generation && e.allowReadOnly == getAllowReadOnly() &&
            e.mode == mode && e.family == getFamily()) {
            if (auto result = e.result.lock()) {
                setFilterMode(mode);
                setInstanceKey(e.instanceKey);
                setDebugName(e.className);
                return VELD::ImmutableSequence<VELD::ImmutableProperty>(std::move(result));
            }
        }
    }

    setFilterMode(mode);
    setInstanceKey(buildUniqueFilterInstanceString());
    const std::string className = cls.getQualifiedName();
    std::string key = getInstanceKey();
    key += ';';
    key += className;
    key += getAllowReadOnly() ? ";true" : ";false";

    VELD::ImmutableSequence<VELD::ImmutableProperty> result;
    auto& cache = caches.attributes;
    if (const auto hit = cache.find(key); hit != cache.end()) {
        setDebugName(className);
        result = hit->second;
    } else {
        result = buildFilter(cls, mode) ? makeView(cls.getAllAttributes()) : cls.getAllAttributes();
        cache.emplace(std::move(key), result);
    }
    recent->byClass[cls.core()] = {
        getFamily(),      mode,      getAllowReadOnly(), caches.generation,
        getInstanceKey(), className, result.impl()};
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
