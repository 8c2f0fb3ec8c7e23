// libFuzzer entry: built only with clang (KITE_BUILD_FUZZ), run by hand, e.g.
//   veld_io_fuzz -max_total_time=60 corpus/
#include "tests/platform/veld/io/FuzzTarget.hpp"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = (veldIoFuzzSetUp(), true);
    (void)ready;
    veldIoFuzzOne(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
