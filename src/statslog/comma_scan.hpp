// Finding the commas of a line, 64 bytes at a time.
#pragma once

#include <cstdint>

namespace statsstats {

// One bit for each of the 64 bytes at p (bit i for byte i), set where the byte is a comma.
// Uses SSE2, which every x86-64 processor has, where the compiler offers it.
std::uint64_t commaMask64(const char* p);

// The same in portable code, eight bytes at a time: what other processors run.
std::uint64_t commaMask64Portable(const char* p);

}  // namespace statsstats
