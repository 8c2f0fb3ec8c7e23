#pragma once

#include "platform/tavi/xmldb/Database.hpp"
#include "utils/BasicCompositeFilter.hpp"
#include "utils/kite_utils_export.hpp"

#include <boost/shared_ptr.hpp>

#include <string>
#include <utility>
#include <vector>

namespace KITE::Util {

// A filter driven by data: include and exclude lists per class, view family and filter mode,
// read from the toolkit's XML database under
//   [namespace/]Filter/<class qualified name>/<family>/<mode>/<list tag>
// and the exception lists <namespace>/Filter/Exceptions/Composite/<family> and
// <namespace>/Filter/Exceptions/Derived/<family>. buildFilter gathers the lists of a class
// and its ancestors; doTestName decides a name from them, the most specific class's explicit
// listing first. Missing data is no error: a class without lists contributes no rule.
//
// Views handed out decide with the rules built for their class, even after the filter was
// rebuilt for another one. Decisions of a view are remembered (unless the history is tracked)
// as long as the view lives, as the caches remember them until clearCacheMaps().
class KITE_UTILS_EXPORT XMLFilterBase : public BasicCompositeFilter {
public:
    enum ListKind { None = 0, Include = 1, Exclude = 2 };
    // "None", "Include", "Exclude"; "Invalid" for any other value.
    static std::string getListKindName(int kind);

    using DataNodePtr = boost::shared_ptr<TAVI::XMLDB::DataNode>;
    using RulePair = std::pair<DataNodePtr, DataNodePtr>; // include node, exclude node
    using RuleList = std::vector<RulePair>;               // the class first, ancestors after

    XMLFilterBase(std::string family, std::string nameSpace,
                  TAVI::XMLDB::DatabaseGetter getter = &TAVI::XMLDB::DefaultGetDatabase,
                  bool allowReadOnly = false);
    ~XMLFilterBase() override;

    const std::string& getNamespace() const { return nameSpace; }
    void setNamespace(const std::string& value) { nameSpace = value; }
    TAVI::XMLDB::DatabaseGetter getDatabaseInterface() const { return getter; }
    void setDatabaseInterface(TAVI::XMLDB::DatabaseGetter value) { getter = value; }

    // doGetOurName() + ";" + family + ";" + mode.
    std::string buildUniqueFilterInstanceString() override;
    const std::string& doGetOurName() const override;
    std::string getDebugName() const override;
    bool doTestObject(const VELD::ImmutableObject& candidate,
                      FilterTestResult* result) const override;

    // Gathers the rules of cls and its ancestors for mode; false (and no rules) for an
    // invalid class.
    virtual bool buildFilter(const VELD::ImmutableClass& cls, const std::string& mode);
    virtual std::string buildFilterKey(const std::string& className, const std::string& mode,
                                       const std::string& listTag) const;
    virtual bool doCompositeTest(const std::string& name, bool isComposite,
                                 FilterTestResult* result) const;
    virtual bool doDerivedTest(const std::string& name, bool isDerived,
                               FilterTestResult* result) const;
    virtual bool doTestName(const std::string& name, FilterTestResult* result) const;
    // Applies one class's lists to name; true when they decide it explicitly.
    virtual bool doTest(const std::string& name, const RulePair& rule, bool& value, bool& implied,
                        FilterTestResult* result) const;
    virtual TAVI::XMLDB::Database& getDatabase() const;

    // Empties the four process-wide caches of the filters, so that changed data takes effect.
    static void clearCacheMaps();

    // What the latest buildFilter (or execute) left.
    const std::string& getFilterMode() const;
    const std::string& getInstanceKey() const;
    const RuleList& getRuleList() const;
    const DataNodePtr& getCompositeExceptions() const;
    const DataNodePtr& getDerivedExceptions() const;

protected:
    void setFilterMode(const std::string& mode);
    void setInstanceKey(const std::string& key);
    void setDebugName(const std::string& name);
    void setRuleList(RuleList rules);
    void setExceptionNodes(DataNodePtr composite, DataNodePtr derived);

    Predicate makeViewPredicate() override;

private:
    struct BuiltRules;
    BuiltRules& writableRules();

    std::string nameSpace;
    TAVI::XMLDB::DatabaseGetter getter;
    // Shared with the views made from it; replaced, never changed, once shared.
    boost::shared_ptr<BuiltRules> built;
};

} // namespace KITE::Util
