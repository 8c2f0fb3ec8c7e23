#pragma once

#include "utils/XMLFilterBase.hpp"
#include "utils/kite_utils_export.hpp"

#include <memory>

namespace KITE::Util {

// The attribute filter driven by data. The tree ("Tree") shows composite properties and, by
// the lists, others; the property browser ("Property") shows plain properties, derived ones
// only in mode "All" or when listed as derived exceptions. Results are cached per filter
// instance key, class and read-only setting: equal filters share them until clearCacheMaps().
// The instance key of this filter and of classes derived from it depends only on the type
// name, the family and the mode.
class KITE_UTILS_EXPORT XMLFilterMatch : public XMLFilterBase {
public:
    XMLFilterMatch(std::string family, std::string nameSpace,
                   TAVI::XMLDB::DatabaseGetter getter = &TAVI::XMLDB::DefaultGetDatabase,
                   bool allowReadOnly = false);
    ~XMLFilterMatch() override;

    // The attributes of cls (inherited ones included) that pass; all of them, unfiltered, for
    // an invalid class.
    VELD::ImmutableSequence<VELD::ImmutableProperty> execute(const VELD::ImmutableClass& cls,
                                                             const std::string& mode) override;
    const std::string& doGetOurName() const override;
    bool doCompositeTest(const std::string& name, bool isComposite,
                         FilterTestResult* result) const override;
    bool doDerivedTest(const std::string& name, bool isDerived,
                       FilterTestResult* result) const override;

private:
    struct RecentResults;
    // The cached results this filter was handed, by class: a tree walk asks for the same few
    // classes again and again.
    std::unique_ptr<RecentResults> recent;
};

} // namespace KITE::Util
