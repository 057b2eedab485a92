// The whole summary of a log given as bytes, as the fuzzer drives it and as its regression
// tests replay it: reading in blocks of varying size, the scan-rate index, and the table.
#pragma once

#include <cstddef>
#include <cstdint>

namespace statsstats::fuzz {

// Returns normally for any input; a fault shows as a sanitizer report or a failed check.
void summariseBytes(const std::uint8_t* data, std::size_t size);

}  // namespace statsstats::fuzz
