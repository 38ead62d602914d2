// Fuzzes the LZH decoder with arbitrary bit streams: the first four bytes are
// the size to decode (kept within what the bytes could hold), the rest the
// bit stream.
#include <cstddef>
#include <cstdint>

#include "skin/data/lzh_codec.h"
#include "skin/data/skin_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    std::int32_t want = ReadLE32(data);
    const std::int64_t limit = 48 * static_cast<std::int64_t>(size - 4) + 64;
    if (want > limit) want = static_cast<std::int32_t>(limit);
    const auto out = LzhUnpackBuffer(data + 4, size - 4, want);
    if (want > 0 && out.size() != static_cast<std::size_t>(want)) __builtin_trap();
    return 0;
}
