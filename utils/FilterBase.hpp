#pragma once

#include "platform/veld/Meta.hpp"
#include "platform/veld/Object.hpp"
#include "platform/veld/Sequence.hpp"
#include "utils/kite_utils_export.hpp"

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

#include <string>

namespace KITE::Util {

// A control filter: decides which attributes of a class a view shows, and which values of a
// property or which classes it offers. Filters are strategy objects held by boost::shared_ptr
// and shared between the views that use them; the sequences they hand out may keep them alive.
class KITE_UTILS_EXPORT FilterBase : public boost::enable_shared_from_this<FilterBase> {
public:
    virtual ~FilterBase();

    // The attributes of cls to show in the given filter mode.
    virtual VELD::ImmutableSequence<VELD::ImmutableProperty>
    execute(const VELD::ImmutableClass& cls, const std::string& mode) = 0;
    // The classes to offer for property; by default all of them.
    virtual VELD::Sequence<VELD::ImmutableClass>
    executePropertyFilter(const VELD::ImmutableClass& cls, const VELD::ImmutableProperty& property,
                          const VELD::Sequence<VELD::ImmutableClass>& classes,
                          const std::string& mode);
    // The values of property to show; by default all of them.
    virtual VELD::ImmutableSequence<VELD::ImmutableObject>
    executePropertyFilter(const VELD::ImmutableClass& cls, const VELD::ImmutableProperty& property,
                          const VELD::ImmutableSequence<VELD::ImmutableObject>& values,
                          const std::string& mode);

protected:
    FilterBase() = default;
    FilterBase(const FilterBase&) = default;
    FilterBase& operator=(const FilterBase&) = default;
};

using FilterBasePtr = boost::shared_ptr<FilterBase>;

} // namespace KITE::Util
