#pragma once

#include "platform/host/host_export.hpp"
#include "platform/tavi/StringID.hpp"

namespace NOX {

// An interned host name (of a package, class or method): cheap to copy, compare and hash.
class HOST_EXPORT COSNameID {
public:
    COSNameID() = default;
    COSNameID(const char* name) : interned(name) {}
    COSNameID(const std::string& name) : interned(name) {}
    const std::string& getString() const { return interned.getString(); }
    const char* c_str() const { return interned.c_str(); }
    bool operator==(const COSNameID& other) const { return interned == other.interned; }
    std::size_t hash() const { return interned.hash(); }

private:
    TAVI::StringID interned;
};

} // namespace NOX

template <> struct std::hash<NOX::COSNameID> {
    std::size_t operator()(const NOX::COSNameID& id) const noexcept { return id.hash(); }
};
