#include "platform/zeph/Tool.hpp"

namespace ZEPH {

Tool::Tool() = default;
Tool::~Tool() = default;

void Tool::onRemoveFromStack() {}

bool Tool::isDone() const
{
    return false;
}

TAVI::StringID Tool::getDefaultRole() const
{
    return TAVI::StringID("Tool");
}

bool Tool::requiresKeyAutoRepeat() const
{
    return false;
}

Cursor Tool::overrideCursor() const
{
    return Cursor::NoOverride;
}

} // namespace ZEPH
