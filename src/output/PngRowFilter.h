// The filter of one PNG row, chosen as libpng chooses among Sub, Up, Average
// and Paeth: the one whose filtered bytes, each read as a signed value, have
// the smallest sum of magnitudes, the earlier one on a tie. libpng computes
// every candidate row byte by byte; this does the same sums 16 bytes at a time,
// after which libpng is told the one filter to apply, and the file is the
// same as with libpng's own choice.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kadrilo {

// PNG's filter types.
enum class PngFilter { Sub = 1, Up = 2, Average = 3, Paeth = 4 };

// `row` and `previous` (all zero for the first row) hold `rowBytes` bytes of
// pixels of `bytesPerPixel` bytes each.
PngFilter ChoosePngFilter(const uint8_t* row, const uint8_t* previous, size_t rowBytes, int bytesPerPixel);

}  // namespace kadrilo
