#pragma once

#include "utils/XMLFilterBase.hpp"
#include "utils/kite_utils_export.hpp"

namespace KITE::Util {

// The value and class filter driven by data: values (or offered classes) of a property are
// matched by their type's qualified name against the lists "<property>_include" and
// "<property>_exclude" of the owning class and its ancestors. As an attribute filter it shows
// nothing. Rule lists and name decisions are cached until clearCacheMaps().
class KITE_UTILS_EXPORT XMLFilterNamedTypeMatch : public XMLFilterBase {
public:
    XMLFilterNamedTypeMatch(std::string family, std::string nameSpace,
                            TAVI::XMLDB::DatabaseGetter getter = &TAVI::XMLDB::DefaultGetDatabase,
                            bool allowReadOnly = false);
    ~XMLFilterNamedTypeMatch() override;

    // The empty sequence.
    VELD::ImmutableSequence<VELD::ImmutableProperty> execute(const VELD::ImmutableClass& cls,
                                                             const std::string& mode) override;
    VELD::Sequence<VELD::ImmutableClass>
    executePropertyFilter(const VELD::ImmutableClass& cls, const VELD::ImmutableProperty& property,
                          const VELD::Sequence<VELD::ImmutableClass>& classes,
                          const std::string& mode) override;
    VELD::ImmutableSequence<VELD::ImmutableObject>
    executePropertyFilter(const VELD::ImmutableClass& cls, const VELD::ImmutableProperty& property,
                          const VELD::ImmutableSequence<VELD::ImmutableObject>& values,
                          const std::string& mode) override;

    // The XML filter's instance string followed by ";" and the property being filtered.
    std::string buildUniqueFilterInstanceString() override;
    const std::string& doGetOurName() const override;
    // The candidate's qualified name when it is a type, else that of its meta-type.
    std::string doFetchName(const VELD::ImmutableObject& candidate) const override;
    bool doTestObject(const VELD::ImmutableObject& candidate,
                      FilterTestResult* result) const override;
    // Always true (and never reads the exception lists).
    bool buildFilter(const VELD::ImmutableClass& cls, const std::string& mode) override;
    bool doCompositeTest(const std::string& name, bool isComposite,
                         FilterTestResult* result) const override;
    bool doDerivedTest(const std::string& name, bool isDerived,
                       FilterTestResult* result) const override;
    bool doTestName(const std::string& name, FilterTestResult* result) const override;

    const std::string& getPropertyName() const { return propertyName; }

private:
    std::string propertyName;
};

} // namespace KITE::Util
