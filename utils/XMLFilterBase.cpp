#include "utils/XMLFilterBase.hpp"

#include "utils/BuildClassList.hpp"
#include "utils/FilterCaches_p.hpp"

#include <boost/make_shared.hpp>

#include <algorithm>
#include <unordered_map>

namespace KITE::Util {

struct XMLFilterBase::BuiltRules {
    std::string mode;
    std::string instanceKey;
    std::string debugName;
    RuleList rules;
    DataNodePtr compositeExceptions;
    DataNodePtr derivedExceptions;
};

namespace {
bool listed(const XMLFilterBase::DataNodePtr& node, const std::string& name) {
    if (!node || !node->hasDataList())
        return false;
    const auto& list = node->getDataList();
    return std::find(list.begin(), list.end(), name) != list.end();
}
} // namespace

std::string XMLFilterBase::getListKindName(int kind) {
    switch (kind) {
    case None:
        return "None";
    case Include:
        return "Include";
    case Exclude:
        return "Exclude";
    default:
        return "Invalid";
    }
}

XMLFilterBase::XMLFilterBase(std::string family, std::string ns,
                             TAVI::XMLDB::DatabaseGetter databaseGetter, bool allowReadOnly)
    : BasicCompositeFilter(std::move(family), allowReadOnly, false), nameSpace(std::move(ns)),
      getter(databaseGetter), built(boost::make_shared<BuiltRules>()) {}

XMLFilterBase::~XMLFilterBase() = default;

std::string XMLFilterBase::buildUniqueFilterInstanceString() {
    return doGetOurName() + ";" + getFamily() + ";" + built->mode;
}

const std::string& XMLFilterBase::doGetOurName() const {
    static const std::string name = "XMLFilterBase";
    return name;
}

std::string XMLFilterBase::getDebugName() const {
    return built->debugName;
}

bool XMLFilterBase::doTestObject(const VELD::ImmutableObject& candidate,
                                 FilterTestResult* result) const {
    const std::string name = doFetchName(candidate);
    if (!doCompositeTest(name, doFetchIsComposite(candidate), result))
        return false;
    if (!doDerivedTest(name, doFetchIsDerived(candidate), result))
        return false;
    if (!doTestName(name, result))
        return false;
    if (!getAllowReadOnly() && doFetchIsReadOnly(candidate)) {
        KITE_FILTER_RECORD(result, "testObject", "Failed readOnly check", false);
        return false;
    }
    return true;
}

bool XMLFilterBase::buildFilter(const VELD::ImmutableClass& cls, const std::string& mode) {
    setFilterMode(mode);
    setInstanceKey(buildUniqueFilterInstanceString());
    setRuleList({});
    // Joined without a separator check: an empty namespace gives a key that starts with "/".
    TAVI::XMLDB::Database& db = getDatabase();
    setExceptionNodes(db.getData(nameSpace + "/Filter/Exceptions/Composite/" + getFamily(), false),
                      db.getData(nameSpace + "/Filter/Exceptions/Derived/" + getFamily(), false));
    if (!cls.isValid())
        return false;
    setDebugName(cls.getQualifiedName());
    std::vector<VELD::ImmutableClass> classes;
    buildClassList(cls, classes);
    RuleList rules;
    const std::string includeTag = getListKindName(Include);
    const std::string excludeTag = getListKindName(Exclude);
    for (const VELD::ImmutableClass& c : classes) {
        const std::string className = c.getQualifiedName();
        if (className.empty())
            continue;
        DataNodePtr include = db.getData(buildFilterKey(className, mode, includeTag), false);
        DataNodePtr exclude = db.getData(buildFilterKey(className, mode, excludeTag), false);
        if (include || exclude)
            rules.emplace_back(std::move(include), std::move(exclude));
    }
    setRuleList(std::move(rules));
    return true;
}

std::string XMLFilterBase::buildFilterKey(const std::string& className, const std::string& mode,
                                          const std::string& listTag) const {
    std::string key = nameSpace.empty() ? std::string() : nameSpace + "/";
    key += "Filter/" + className + "/" + getFamily() + "/" + mode + "/" + listTag;
    return key;
}

bool XMLFilterBase::doCompositeTest(const std::string& name, bool, FilterTestResult* result) const {
    if (!listed(built->compositeExceptions, name))
        return false;
    KITE_FILTER_RECORD(result, "compositeTest", "was in composite exceptions", true);
    return true;
}

bool XMLFilterBase::doDerivedTest(const std::string& name, bool, FilterTestResult* result) const {
    if (!listed(built->derivedExceptions, name))
        return false;
    KITE_FILTER_RECORD(result, "derivedTest", "was in derived exceptions", true);
    return true;
}

bool XMLFilterBase::doTestName(const std::string& name, FilterTestResult* result) const {
    const RuleList& rules = built->rules;
    if (name.empty() || rules.empty())
        return true;
    bool value = true;
    bool answer = true;
    bool explicitFound = false;
    // From the most distant ancestor to the class itself: a later explicit decision is a more
    // specific one and overrides; an implied one counts only until something was explicit.
    for (int i = static_cast<int>(rules.size()) - 1; i >= 0; --i) {
        bool implied = false;
        if (doTest(name, rules[i], value, implied, result)) {
            answer = value;
            explicitFound = true;
            KITE_FILTER_RECORD(result,
                               ("doTestName, for: " + name + " loop[" + std::to_string(i) +
                                "] - SOLID value: " + (value ? "1" : "0"))
                                   .c_str(),
                               "SOLID", value);
        } else if (!explicitFound && implied) {
            answer = value;
            KITE_FILTER_RECORD(result,
                               ("doTestName, for: " + name + " loop[" + std::to_string(i) +
                                "] - IMPLIED value" + (value ? "1" : "0"))
                                   .c_str(),
                               "IMPLIED", value);
        }
    }
    return answer;
}

bool XMLFilterBase::doTest(const std::string& name, const RulePair& rule, bool& value,
                           bool& implied, FilterTestResult* result) const {
    bool decided = false;
    const bool hasInclude = rule.first && rule.first->hasDataList();
    if (hasInclude) {
        if (listed(rule.first, name)) {
            value = true;
            decided = true;
            KITE_FILTER_RECORD(result, "doTest", "Found in include list: " + rule.first->getName(),
                               true);
        } else {
            value = false;
            implied = true;
        }
    }
    if (rule.second && rule.second->hasDataList()) {
        // An exclusion beats an inclusion of the same class.
        if (listed(rule.second, name)) {
            value = false;
            decided = true;
            KITE_FILTER_RECORD(result, "doTest", "Found in EXCLUDE list: " + rule.second->getName(),
                               false);
        } else if (!hasInclude) {
            value = true;
            implied = true;
        }
    }
    return decided;
}

TAVI::XMLDB::Database& XMLFilterBase::getDatabase() const {
    return getter ? getter() : TAVI::XMLDB::Database::instance();
}

void XMLFilterBase::clearCacheMaps() {
    FilterCaches::instance().clear();
}

const std::string& XMLFilterBase::getFilterMode() const {
    return built->mode;
}
const std::string& XMLFilterBase::getInstanceKey() const {
    return built->instanceKey;
}
const XMLFilterBase::RuleList& XMLFilterBase::getRuleList() const {
    return built->rules;
}
const XMLFilterBase::DataNodePtr& XMLFilterBase::getCompositeExceptions() const {
    return built->compositeExceptions;
}
const XMLFilterBase::DataNodePtr& XMLFilterBase::getDerivedExceptions() const {
    return built->derivedExceptions;
}

void XMLFilterBase::setFilterMode(const std::string& mode) {
    if (built->mode != mode)
        writableRules().mode = mode;
}
void XMLFilterBase::setInstanceKey(const std::string& key) {
    if (built->instanceKey != key)
        writableRules().instanceKey = key;
}
void XMLFilterBase::setDebugName(const std::string& name) {
    if (built->debugName != name)
        writableRules().debugName = name;
}
void XMLFilterBase::setRuleList(RuleList rules) {
    writableRules().rules = std::move(rules);
}
void XMLFilterBase::setExceptionNodes(DataNodePtr composite, DataNodePtr derived) {
    BuiltRules& w = writableRules();
    w.compositeExceptions = std::move(composite);
    w.derivedExceptions = std::move(derived);
}

XMLFilterBase::BuiltRules& XMLFilterBase::writableRules() {
    // Views hold the rules they were made with: copy before changing shared ones.
    if (built.use_count() > 1)
        built = boost::make_shared<BuiltRules>(*built);
    return *built;
}

XMLFilterBase::Predicate XMLFilterBase::makeViewPredicate() {
    auto self = boost::static_pointer_cast<XMLFilterBase>(sharedSelf("XMLFilterBase::execute"));
    boost::shared_ptr<BuiltRules> rules = built;
    auto decided = boost::make_shared<std::unordered_map<const void*, bool>>();
    return [self, rules, decided](const VELD::ImmutableObject& candidate) {
        if (candidate.isClassObject() && !candidate.asClassObject().isValid())
            return false; // gone objects are dropped, and their identity is not remembered
        const bool remember = !self->getTrackHistory() && candidate.isClassObject();
        const void* identity = remember ? candidate.asClassObject().core() : nullptr;
        if (remember)
            if (const auto hit = decided->find(identity); hit != decided->end())
                return hit->second;
        // Decide with the rules this view was made with, whatever the filter holds now.
        boost::shared_ptr<BuiltRules> current = self->built;
        self->built = rules;
        bool verdict = false;
        try {
            verdict = self->keep(candidate);
        } catch (...) {
            self->built = current;
            throw;
        }
        self->built = current;
        if (remember)
            decided->emplace(identity, verdict);
        return verdict;
    };
}

} // namespace KITE::Util
