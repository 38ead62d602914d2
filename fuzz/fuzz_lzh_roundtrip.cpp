// Fuzzes the LZH encoder against the decoder: every input must come back
// byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "skin/data/lzh_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto packed = LzhPack(data, size);
    const auto back = LzhUnpackBuffer(packed.data(), packed.size(), static_cast<std::int32_t>(size));
    if (back.size() != size || (size > 0 && std::memcmp(back.data(), data, size) != 0)) __builtin_trap();
    return 0;
}
