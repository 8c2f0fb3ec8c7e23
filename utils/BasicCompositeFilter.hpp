#pragma once

#include "utils/ControlFilterBase.hpp"
#include "utils/FilterTestResult.hpp"
#include "utils/kite_utils_export.hpp"

#include <functional>
#include <string>

namespace KITE::Util {

// The fixed rule set of the model tree and the property browser: family "Tree" shows
// composite properties, "Property" the others; derived properties, properties named
// "factory" and, unless allowed, read-only properties are never shown. Any other family shows
// nothing. With trackHistory each decision is printed to the debugger output.
//
// The sequences it hands out are read-only views over the kernel's sequences that keep the
// filter alive; the filter must therefore be held by a boost::shared_ptr (execute throws
// TAVI::TypedException otherwise).
class KITE_UTILS_EXPORT BasicCompositeFilter : public ControlFilterBase {
public:
    BasicCompositeFilter(std::string family, bool allowReadOnly, bool trackHistory);
    ~BasicCompositeFilter() override;

    bool getAllowReadOnly() const { return allowReadOnly; }
    void setAllowReadOnly(bool value) { allowReadOnly = value; }
    bool getTrackHistory() const { return trackHistory; }
    void setTrackHistory(bool value) { trackHistory = value; }

    // The attributes of cls, inherited ones included, that pass doTestObject; the mode is not
    // used.
    VELD::ImmutableSequence<VELD::ImmutableProperty> execute(const VELD::ImmutableClass& cls,
                                                             const std::string& mode) override;
    const std::string& doGetOurName() const override;

    virtual std::string getDebugName() const;
    // Facts about a candidate, seen as a property (empty or false for anything else).
    virtual std::string doFetchName(const VELD::ImmutableObject& candidate) const;
    virtual bool doFetchIsComposite(const VELD::ImmutableObject& candidate) const;
    virtual bool doFetchIsReadOnly(const VELD::ImmutableObject& candidate) const;
    virtual bool doFetchIsDerived(const VELD::ImmutableObject& candidate) const;
    // The decision; each rejecting (and, in derived filters, accepting) step is recorded in
    // result when one is given.
    virtual bool doTestObject(const VELD::ImmutableObject& candidate,
                              FilterTestResult* result) const;
    // Prints the history of one decision (only with trackHistory and a result).
    virtual void dumpHistory(const std::string& name, const FilterTestResult* result,
                             bool accepted) const;

protected:
    using Predicate = std::function<bool(const VELD::ImmutableObject&)>;

    BasicCompositeFilter(const BasicCompositeFilter&) = default;

    // What a view applies to each element: an invalid element is dropped; otherwise
    // doTestObject decides, with a printed history when the filter tracks it.
    bool keep(const VELD::ImmutableObject& candidate) const;
    // The predicate of the views this filter hands out. It holds the filter.
    virtual Predicate makeViewPredicate();

    template <typename T>
    VELD::ImmutableSequence<T> makeView(const VELD::ImmutableSequence<T>& base) {
        Predicate test = makeViewPredicate();
        return VELD::MakeSequence::filter<T>(
            base, [test](const T& element) { return test(VELD::ImmutableObject(element)); });
    }

    // Adds a step to result, if any, under this filter's type name.
    void record(FilterTestResult* result, const char* method, std::string message, const char* file,
                int line, bool flag) const;

    // This filter as its shared owner holds it; TAVI::TypedException when there is none.
    boost::shared_ptr<BasicCompositeFilter> sharedSelf(const char* operation);

private:
    bool allowReadOnly;
    bool trackHistory;
};

} // namespace KITE::Util

// Records a step with the place it was decided.
#define KITE_FILTER_RECORD(result, method, message, flag)                                          \
    record((result), (method), (message), __FILE__, __LINE__, (flag))
