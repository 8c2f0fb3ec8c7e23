#include "platform/zeph/GestureTool.hpp"

namespace ZEPH {

GestureTool::GestureTool() = default;
GestureTool::~GestureTool() = default;

} // namespace ZEPH
