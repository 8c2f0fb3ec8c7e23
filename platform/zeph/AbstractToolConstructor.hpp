#pragma once

#include "platform/zeph/BaseToolConstructor.hpp"
#include "platform/zeph/ZephError.hpp"

namespace ZEPH {

// Makes the role of tool class T (T::staticGetDefaultRole()) known to a scene
// without making tools of it: those are made elsewhere (by a palette, say), and
// asking this constructor for one throws the canvas's error 0x6B0011.
template <class T> class AbstractToolConstructor : public BaseToolConstructor {
public:
    static constexpr int cannotConstructError = 0x6B0011;

    TAVI::StringID getRole() const override { return T::staticGetDefaultRole(); }
    TAVI::Holder<Tool> createTool() const override { throwError(cannotConstructError); }
};

} // namespace ZEPH
