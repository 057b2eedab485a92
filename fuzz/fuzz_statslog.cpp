// libFuzzer entry: arbitrary bytes through the reader and the whole summary.
#include <cstddef>
#include <cstdint>

#include "summarise_bytes.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    statsstats::fuzz::summariseBytes(data, size);
    return 0;
}
