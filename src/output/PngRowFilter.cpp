#include "output/PngRowFilter.h"

#include <array>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kadrilo {
namespace {

// The magnitude of a filtered byte read as signed: v below 128, else 256 - v.
inline unsigned Magnitude(unsigned v) {
    v &= 0xFF;
    return v < 128 ? v : 256 - v;
}

inline unsigned PaethPredictor(int a, int b, int c) {
    const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
    return static_cast<unsigned>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

using Sums = std::array<size_t, 4>;  // Sub, Up, Average, Paeth

// The sums of bytes [from, to), with a the byte one pixel to the left, b the
// one above and c the one above a (0 left of the row).
void AddScalar(const uint8_t* x, const uint8_t* up, size_t from, size_t to, size_t bpp, Sums& sums) {
    for (size_t i = from; i < to; ++i) {
        const int a = i >= bpp ? x[i - bpp] : 0, b = up[i], c = i >= bpp ? up[i - bpp] : 0;
        sums[0] += Magnitude(x[i] - a);
        sums[1] += Magnitude(x[i] - b);
        sums[2] += Magnitude(x[i] - ((a + b) >> 1));
        sums[3] += Magnitude(x[i] - PaethPredictor(a, b, c));
    }
}

#if defined(__SSE2__)

// The magnitudes of 16 filtered bytes, added up in two 64-bit halves.
inline __m128i MagnitudeSums(__m128i v) {
    const __m128i zero = _mm_setzero_si128();
    return _mm_sad_epu8(_mm_min_epu8(v, _mm_sub_epi8(zero, v)), zero);
}

inline __m128i Abs16(__m128i v) { return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v)); }

// The Paeth predictor of 8 pixels' bytes held as 16-bit lanes.
inline __m128i Paeth16(__m128i a, __m128i b, __m128i c) {
    const __m128i pa = Abs16(_mm_sub_epi16(b, c));
    const __m128i pb = Abs16(_mm_sub_epi16(a, c));
    const __m128i pc = Abs16(_mm_sub_epi16(_mm_add_epi16(a, b), _mm_add_epi16(c, c)));
    // a where pa <= pb and pa <= pc; else b where pb <= pc; else c.
    const __m128i takeA = _mm_andnot_si128(_mm_or_si128(_mm_cmpgt_epi16(pa, pb), _mm_cmpgt_epi16(pa, pc)),
                                           _mm_set1_epi16(-1));
    const __m128i takeB = _mm_andnot_si128(_mm_cmpgt_epi16(pb, pc), _mm_set1_epi16(-1));
    const __m128i bOrC = _mm_or_si128(_mm_and_si128(takeB, b), _mm_andnot_si128(takeB, c));
    return _mm_or_si128(_mm_and_si128(takeA, a), _mm_andnot_si128(takeA, bOrC));
}

// The sums of bytes [from, from + 16 * n), from >= bpp.
void AddVector(const uint8_t* x, const uint8_t* up, size_t from, size_t n, size_t bpp, Sums& sums) {
    const __m128i zero = _mm_setzero_si128();
    __m128i sub = zero, upSum = zero, average = zero, paeth = zero;
    for (size_t k = 0, i = from; k < n; ++k, i += 16) {
        const __m128i xv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(x + i));
        const __m128i av = _mm_loadu_si128(reinterpret_cast<const __m128i*>(x + i - bpp));
        const __m128i bv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(up + i));
        const __m128i cv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(up + i - bpp));
        sub = _mm_add_epi64(sub, MagnitudeSums(_mm_sub_epi8(xv, av)));
        upSum = _mm_add_epi64(upSum, MagnitudeSums(_mm_sub_epi8(xv, bv)));
        // floor((a + b) / 2): the rounded-up average less the dropped low bit.
        const __m128i floorAverage =
            _mm_sub_epi8(_mm_avg_epu8(av, bv), _mm_and_si128(_mm_xor_si128(av, bv), _mm_set1_epi8(1)));
        average = _mm_add_epi64(average, MagnitudeSums(_mm_sub_epi8(xv, floorAverage)));
        const __m128i low = Paeth16(_mm_unpacklo_epi8(av, zero), _mm_unpacklo_epi8(bv, zero),
                                    _mm_unpacklo_epi8(cv, zero));
        const __m128i high = Paeth16(_mm_unpackhi_epi8(av, zero), _mm_unpackhi_epi8(bv, zero),
                                     _mm_unpackhi_epi8(cv, zero));
        paeth = _mm_add_epi64(paeth, MagnitudeSums(_mm_sub_epi8(xv, _mm_packus_epi16(low, high))));
    }
    const auto add = [](size_t& sum, __m128i halves) {
        sum += static_cast<size_t>(_mm_cvtsi128_si64(halves)) +
               static_cast<size_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(halves, halves)));
    };
    add(sums[0], sub), add(sums[1], upSum), add(sums[2], average), add(sums[3], paeth);
}

#endif

}  // namespace

PngFilter ChoosePngFilter(const uint8_t* row, const uint8_t* previous, size_t rowBytes, int bytesPerPixel) {
    const size_t bpp = static_cast<size_t>(bytesPerPixel);
    Sums sums{};
    size_t done = 0;
#if defined(__SSE2__)
    if (rowBytes > bpp) {
        AddScalar(row, previous, 0, bpp, bpp, sums);
        const size_t blocks = (rowBytes - bpp) / 16;
        AddVector(row, previous, bpp, blocks, bpp, sums);
        done = bpp + 16 * blocks;
    }
#endif
    AddScalar(row, previous, done, rowBytes, bpp, sums);
    size_t best = 0;
    for (size_t i = 1; i < sums.size(); ++i)
        if (sums[i] < sums[best]) best = i;  // strictly smaller: the earlier wins a tie
    return static_cast<PngFilter>(best + 1);
}

}  // namespace kadrilo
