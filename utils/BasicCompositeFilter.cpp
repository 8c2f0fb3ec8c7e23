#include "utils/BasicCompositeFilter.hpp"

#include "platform/tavi/DebugOutput.hpp"
#include "platform/tavi/TypedException.hpp"

#include <boost/make_shared.hpp>

namespace KITE::Util {

namespace {
const std::string kTree = "Tree";
const std::string kProperty = "Property";

bool isValidElement(const VELD::ImmutableObject& candidate) {
    if (candidate.isNull())
        return false;
    return !candidate.isClassObject() || candidate.asClassObject().isValid();
}

VELD::ImmutableProperty asProperty(const VELD::ImmutableObject& candidate) {
    return candidate.isClassObject() ? candidate.asClassObject().asProperty()
                                     : VELD::ImmutableProperty();
}
} // namespace

BasicCompositeFilter::BasicCompositeFilter(std::string family, bool allowRO, bool track)
    : ControlFilterBase(std::move(family)), allowReadOnly(allowRO), trackHistory(track) {}

BasicCompositeFilter::~BasicCompositeFilter() = default;

VELD::ImmutableSequence<VELD::ImmutableProperty>
BasicCompositeFilter::execute(const VELD::ImmutableClass& cls, const std::string&) {
    return makeView(cls.getAllAttributes());
}

const std::string& BasicCompositeFilter::doGetOurName() const {
    static const std::string name = "BasicCompositeFilter";
    return name;
}

std::string BasicCompositeFilter::getDebugName() const {
    return {};
}

std::string BasicCompositeFilter::doFetchName(const VELD::ImmutableObject& candidate) const {
    const VELD::ImmutableProperty p = asProperty(candidate);
    return p.isValid() ? p.getName() : std::string();
}

bool BasicCompositeFilter::doFetchIsComposite(const VELD::ImmutableObject& candidate) const {
    const VELD::ImmutableProperty p = asProperty(candidate);
    return p.isValid() && p.isComposite();
}

bool BasicCompositeFilter::doFetchIsReadOnly(const VELD::ImmutableObject& candidate) const {
    const VELD::ImmutableProperty p = asProperty(candidate);
    return p.isValid() && p.isReadOnly();
}

bool BasicCompositeFilter::doFetchIsDerived(const VELD::ImmutableObject& candidate) const {
    const VELD::ImmutableProperty p = asProperty(candidate);
    return p.isValid() && p.isDerived();
}

bool BasicCompositeFilter::doTestObject(const VELD::ImmutableObject& candidate,
                                        FilterTestResult* result) const {
    const std::string& family = getFamily();
    const bool composite = doFetchIsComposite(candidate);
    if (!((family == kTree && composite) || (family == kProperty && !composite))) {
        KITE_FILTER_RECORD(result, "testObject",
                           "didn't match (Tree && composite) || (property && !composite)", false);
        return false;
    }
    if (!asProperty(candidate).isValid()) {
        KITE_FILTER_RECORD(result, "testObject", "not a property", false);
        return false;
    }
    if (doFetchIsDerived(candidate)) {
        KITE_FILTER_RECORD(result, "testObject", "this IS derived, and we don't want that.", false);
        return false;
    }
    if (!allowReadOnly && doFetchIsReadOnly(candidate)) {
        KITE_FILTER_RECORD(result, "testObject", "readOnlyProperty", false);
        return false;
    }
    if (doFetchName(candidate) == "factory") {
        KITE_FILTER_RECORD(result, "testObject", "isAFactory", false);
        return false;
    }
    return true;
}

void BasicCompositeFilter::dumpHistory(const std::string& name, const FilterTestResult* result,
                                       bool accepted) const {
    if (!trackHistory || !result)
        return;
    std::string head =
        "\n\n------------------------------\nFilter: " + getDebugName() + "(" + getFamily() + ")";
    head += accepted ? " ************************] ACCEPTED: {" + name + "}"
                     : " rejected {" + name + "}";
    head += "\n";
    std::string detailed =
        head +
        "        =====] Transactions. (Final result the bottom, dbl click lines to navigate to "
        "history marker) [===== \n";
    std::string brief = head + "        =====] Transactions [===== \n";
    for (const FilterTestResult::Entry& e : result->getEntries()) {
        const std::string step = std::string(e.flag ? "[TRUE] - {" : "[FALSE] - {") + e.typeName +
                                 "}, {" + e.method + "}, {" + e.message + "}\n";
        detailed += e.file + " (" + std::to_string(e.line) + ") : " + step;
        brief += step;
    }
    TAVI::outputToDebugger(detailed, true, false);
    TAVI::outputToDebugger(brief, false, true);
}

bool BasicCompositeFilter::keep(const VELD::ImmutableObject& candidate) const {
    if (!isValidElement(candidate))
        return false;
    if (!trackHistory)
        return doTestObject(candidate, nullptr);
    FilterTestResult result;
    const bool verdict = doTestObject(candidate, &result);
    dumpHistory(doFetchName(candidate), &result, verdict);
    return verdict;
}

BasicCompositeFilter::Predicate BasicCompositeFilter::makeViewPredicate() {
    boost::shared_ptr<BasicCompositeFilter> self = sharedSelf("BasicCompositeFilter::execute");
    return [self](const VELD::ImmutableObject& candidate) { return self->keep(candidate); };
}

void BasicCompositeFilter::record(FilterTestResult* result, const char* method, std::string message,
                                  const char* file, int line, bool flag) const {
    if (result)
        result->add(doGetOurName(), method, std::move(message), file, line, flag);
}

boost::shared_ptr<BasicCompositeFilter> BasicCompositeFilter::sharedSelf(const char* operation) {
    // Views outlive the call that made them, so they must share ownership of the filter.
    boost::shared_ptr<FilterBase> self = weak_from_this().lock();
    if (!self)
        throw TAVI::TypedException(
            TAVI_HERE, std::string(operation) + ": the filter is not held by a boost::shared_ptr");
    return boost::static_pointer_cast<BasicCompositeFilter>(self);
}

} // namespace KITE::Util
