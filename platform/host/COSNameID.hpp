#pragma once

#include "platform/tavi/StringID.hpp"

namespace NOX {

// An interned host name (of a package, class or method): cheap to copy, compare and hash.
class COSNameID {
public:
    COSNameID() = default;
    COSNameID(const char* name) : m_id(name) {}
    COSNameID(const std::string& name) : m_id(name) {}
    const std::string& getString() const { return m_id.getString(); }
    const char* c_str() const { return m_id.c_str(); }
    bool operator==(const COSNameID& other) const { return m_id == other.m_id; }
    std::size_t hash() const { return m_id.hash(); }

private:
    TAVI::StringID m_id;
};

} // namespace NOX

template <> struct std::hash<NOX::COSNameID> {
    std::size_t operator()(const NOX::COSNameID& id) const noexcept { return id.hash(); }
};
