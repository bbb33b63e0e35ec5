// The image encoders: a Bitmap in, the bytes of a complete file out. They
// throw EncodeError when the image cannot be encoded.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "platform/Bitmap.h"

namespace kadrilo {

struct EncodeError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A Windows bitmap file at the image's own depth: BI_RGB, rows bottom-up and
// padded to 4 bytes, with a colour table for 1, 4 and 8 bits per pixel.
std::vector<uint8_t> EncodeBmp(const Bitmap& image);

// JPEG of the image converted to 24-bit colour; quality 1..100 applied with
// baseline tables on top of the library's defaults; nothing else set.
std::vector<uint8_t> EncodeJpeg(const Bitmap& image, int quality);

// PNG with the filters Sub, Up, Average and Paeth, zlib level 0..9, not
// interlaced; 8-bit RGB for 16 bits per pixel and more, a palette image of the
// same depth for 1, 4 and 8 bits.
std::vector<uint8_t> EncodePng(const Bitmap& image, int level);

// An uncompressed little-endian TIFF file with one strip: bilevel for 1 bit per
// pixel (0 black, 1 white), a colour map for 4 and 8 bits (a 4-bit image loses
// up to 3 columns on the right, to a multiple of 4), 8-bit RGB for 16, 24 and
// 32 bits. Width and height must fit in 16 bits.
std::vector<uint8_t> EncodeTiff(const Bitmap& image);

// The file of a format (1 BMP, 2 JPEG, 3 PNG, 4 TIFF), the JPEG and PNG
// compression from the settings' JPEG quality (the compression shown is 100 - quality).
std::vector<uint8_t> EncodeForFormat(const Bitmap& image, int formatIndex, int qualityJpeg);

// The compression level of the settings (0..100) as JPEG quality: 100 - position,
// except that 100 gives 1.
int JpegQualityForPosition(int position);
// The compression level of the settings (0..100) as zlib level: position div 10,
// 9 for 100.
int PngLevelForPosition(int position);

}  // namespace kadrilo
