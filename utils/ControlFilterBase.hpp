#pragma once

#include "utils/FilterBase.hpp"
#include "utils/kite_utils_export.hpp"

#include <string>

namespace KITE::Util {

// A filter for one family of views: "Tree" (the model tree, composite properties) or
// "Property" (the property browser, plain properties).
class KITE_UTILS_EXPORT ControlFilterBase : public FilterBase {
public:
    explicit ControlFilterBase(std::string family);
    ~ControlFilterBase() override;

    const std::string& getFamily() const { return family; }
    void setFamily(const std::string& value) { family = value; }

    // The key under which equal filters share cached results; by default the type name.
    virtual std::string buildUniqueFilterInstanceString();
    virtual const std::string& doGetOurName() const = 0;

private:
    std::string family;
};

} // namespace KITE::Util
