// Reading the bytes of a file the tests made.
#pragma once

#include <cstdint>
#include <vector>

namespace kadrilo::testing {

using Bytes = std::vector<uint8_t>;

// A little-endian number of `count` bytes at `at`.
inline uint32_t ReadLe(const Bytes& bytes, size_t at, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes.at(at + i);
    return value;
}

}  // namespace kadrilo::testing
