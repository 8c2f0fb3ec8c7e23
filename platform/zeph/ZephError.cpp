#include "platform/zeph/ZephError.hpp"

#include "platform/tavi/TypedException.hpp"

#include <string>

namespace ZEPH {

void throwError(int code) {
    throw TAVI::TypedException(TAVI_HERE, "ZEPH error " + std::to_string(code));
}

} // namespace ZEPH
