// BMP by hand; JPEG through libjpeg and PNG through libpng, both into memory.
//
// libjpeg and libpng report errors by calling a function that must not
// return. Both are C code, so a C++ exception must not pass through them:
// their error functions longjmp back into a small function that holds nothing
// with a destructor, and the caller, which owns every resource, turns the
// failure into an EncodeError.
#include "output/Encoders.h"
#include "output/PixelRows.h"
#include "output/PngRowFilter.h"

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>  // before jpeglib.h, which uses FILE
#include <cstdlib>
#include <string>

#include <jpeglib.h>
#include <png.h>

namespace kadrilo {
namespace {

// Throws EncodeError unless every byte the encoders read lies inside the image's
// buffers, so that no inconsistent bitmap can make them read past its end.
void CheckEncodable(const Bitmap& image) {
    const int depth = image.bitsPerPixel;
    if (!IsPaletteDepth(depth) && depth != 16 && depth != 24 && depth != 32)
        throw EncodeError("unsupported depth of " + std::to_string(depth) + " bits per pixel");
    if (image.Empty()) throw EncodeError("the image is empty");
    if (image.width > (INT32_MAX - 31) / depth) throw EncodeError("the image is too wide");
    if (image.pixels.size() < ImageBytes(image)) throw EncodeError("the pixel buffer is smaller than the image");
    if (IsPaletteDepth(depth)) {
        if (image.palette.empty()) throw EncodeError("the image has no colour table");
        if (image.palette.size() > (size_t{1} << depth))
            throw EncodeError("the colour table is larger than the depth allows");
    }
}

// ---- BMP ----------------------------------------------------------------------

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// ---- JPEG ---------------------------------------------------------------------

struct JpegErrors {
    jpeg_error_mgr manager;  // first, so that the library's pointer to it is one to this
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void JpegIgnoreMessage(j_common_ptr) {}  // warnings have nowhere to go

// Everything one compression owns; released by the destructor on every path.
struct JpegSession {
    jpeg_compress_struct compressor;
    JpegErrors errors;
    unsigned char* output = nullptr;  // malloc'd by jpeg_mem_dest
    unsigned long outputSize = 0;
    ~JpegSession() {
        jpeg_destroy_compress(&compressor);
        std::free(output);
    }
};

// The layout libjpeg-turbo reads straight from the image's rows: 24 bits as
// B, G, R and 32 bits as B, G, R, unused. The colour conversion then takes the
// same 8-bit R, G, B values as from converted rows, so the file is the same;
// only 16 bits and the palette depths are converted row by row first.
J_COLOR_SPACE DirectJpegInput(int bitsPerPixel) {
    switch (bitsPerPixel) {
        case 24: return JCS_EXT_BGR;
        case 32: return JCS_EXT_BGRX;
        default: return JCS_UNKNOWN;
    }
}

// Compresses the image into session.output; false (with session.errors.message)
// when libjpeg reported an error. No local here has a destructor, as longjmp
// may leave this function. `rgbRow` (3 * width bytes) is used unless the rows
// go to libjpeg as they are.
bool Compress(JpegSession& session, const Bitmap& image, int quality, uint8_t* rgbRow) {
    jpeg_compress_struct& compressor = session.compressor;
    compressor.err = jpeg_std_error(&session.errors.manager);
    session.errors.manager.error_exit = JpegErrorExit;
    session.errors.manager.output_message = JpegIgnoreMessage;
    if (setjmp(session.errors.jump) != 0) return false;

    jpeg_create_compress(&compressor);
    jpeg_mem_dest(&compressor, &session.output, &session.outputSize);
    compressor.image_width = static_cast<JDIMENSION>(image.width);
    compressor.image_height = static_cast<JDIMENSION>(image.height);
    const J_COLOR_SPACE direct = DirectJpegInput(image.bitsPerPixel);
    compressor.input_components = direct == JCS_UNKNOWN ? 3 : image.bitsPerPixel / 8;
    compressor.in_color_space = direct == JCS_UNKNOWN ? JCS_RGB : direct;
    jpeg_set_defaults(&compressor);  // YCbCr, as for RGB input
    jpeg_set_quality(&compressor, quality, TRUE);
    jpeg_start_compress(&compressor, TRUE);
    for (int32_t y = 0; y < image.height; ++y) {
        JSAMPROW row = nullptr;
        if (direct != JCS_UNKNOWN) {
            row = const_cast<JSAMPROW>(image.Row(y));  // libjpeg only reads it
        } else {
            ConvertRowToRgb(image, y, rgbRow);
            row = rgbRow;
        }
        jpeg_write_scanlines(&compressor, &row, 1);
    }
    jpeg_finish_compress(&compressor);
    return true;
}

// ---- PNG ----------------------------------------------------------------------

struct PngSession {
    png_structp writer = nullptr;
    png_infop info = nullptr;
    std::vector<uint8_t> output;
    char message[200] = "";
    ~PngSession() { png_destroy_write_struct(&writer, &info); }
};

void PngError(png_structp writer, png_const_charp message) {
    auto* session = static_cast<PngSession*>(png_get_error_ptr(writer));
    std::snprintf(session->message, sizeof session->message, "%s", message);
    png_longjmp(writer, 1);
}

void PngIgnoreWarning(png_structp, png_const_charp) {}

void PngWrite(png_structp writer, png_bytep data, size_t length) {
    auto* session = static_cast<PngSession*>(png_get_io_ptr(writer));
    bool stored = true;
    try {
        session->output.insert(session->output.end(), data, data + length);
    } catch (...) {
        stored = false;
    }
    if (!stored) png_error(writer, "out of memory");
}

void PngFlush(png_structp) {}

// The PLTE entries: the colour table, lengthened with black when a pixel uses
// an index beyond it (such a pixel is black in the other formats too).
std::vector<png_color> PngPalette(const Bitmap& image) {
    size_t count = image.palette.size();
    for (int32_t y = 0; y < image.height && count < (size_t{1} << image.bitsPerPixel); ++y) {
        const uint8_t* row = image.Row(y);
        for (int32_t x = 0; x < image.width; ++x)
            count = std::max<size_t>(count, PaletteIndex(row, x, image.bitsPerPixel) + size_t{1});
    }
    std::vector<png_color> entries(count, png_color{0, 0, 0});
    for (size_t i = 0; i < image.palette.size(); ++i) {
        const uint32_t entry = image.palette[i];
        entries[i] = png_color{static_cast<png_byte>(entry >> 16), static_cast<png_byte>(entry >> 8),
                               static_cast<png_byte>(entry)};
    }
    return entries;
}

// The flag of a filter for png_set_filter.
int PngFilterFlag(PngFilter filter) {
    switch (filter) {
        case PngFilter::Sub: return PNG_FILTER_SUB;
        case PngFilter::Up: return PNG_FILTER_UP;
        case PngFilter::Average: return PNG_FILTER_AVG;
        default: return PNG_FILTER_PAETH;
    }
}

// Writes the image into session.output; false (with session.message) when
// libpng reported an error. No local here has a destructor, as longjmp may
// leave this function. `rgbRows` (2 * 3 * width bytes) is used for 16 bits
// and more: the row and the one above it. There each row's filter is
// chosen here, as libpng would choose it among the four, and libpng applies
// just that one; libpng leaves out some filters itself for an image of one
// row or one column, and chooses for those.
bool WritePng(PngSession& session, const Bitmap& image, int level, const std::vector<png_color>& palette,
              uint8_t* rgbRows) {
    png_structp writer = session.writer;
    png_infop info = session.info;
    if (setjmp(png_jmpbuf(writer)) != 0) return false;

    png_set_write_fn(writer, &session, PngWrite, PngFlush);
    png_set_filter(writer, 0, PNG_FILTER_SUB | PNG_FILTER_UP | PNG_FILTER_AVG | PNG_FILTER_PAETH);
    png_set_compression_level(writer, level);
    const bool indexed = IsPaletteDepth(image.bitsPerPixel);
    png_set_IHDR(writer, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height),
                 indexed ? image.bitsPerPixel : 8, indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (indexed) png_set_PLTE(writer, info, palette.data(), static_cast<int>(palette.size()));
    png_write_info(writer, info);
    const size_t rowBytes = static_cast<size_t>(image.width) * 3;
    const bool chooseHere = !indexed && image.width > 1 && image.height > 1;
    for (int32_t y = 0; y < image.height; ++y) {
        if (indexed) {
            png_write_row(writer, image.Row(y));  // already packed MSB first, as PNG wants
            continue;
        }
        uint8_t* row = rgbRows + (y % 2) * rowBytes;
        ConvertRowToRgb(image, y, row);
        // The first row goes with all four, so that libpng sets up what Up,
        // Average and Paeth need (and chooses that row's filter itself).
        if (chooseHere && y > 0) {
            const uint8_t* above = rgbRows + ((y + 1) % 2) * rowBytes;
            png_set_filter(writer, 0, PngFilterFlag(ChoosePngFilter(row, above, rowBytes, 3)));
        }
        png_write_row(writer, row);
    }
    png_write_end(writer, info);
    return true;
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const Bitmap& image) {
    CheckEncodable(image);
    const uint64_t pixelBytes = ImageBytes(image);
    const bool indexed = IsPaletteDepth(image.bitsPerPixel);
    const uint32_t tableEntries = indexed ? static_cast<uint32_t>(image.palette.size()) : 0;
    const uint32_t pixelOffset = 14 + 40 + 4 * tableEntries;
    if (pixelOffset + pixelBytes > UINT32_MAX) throw EncodeError("the image is too large for a bitmap file");
    const bool fullTable = indexed && tableEntries == (uint32_t{1} << image.bitsPerPixel);

    std::vector<uint8_t> file;
    file.reserve(static_cast<size_t>(pixelOffset + pixelBytes));
    // BITMAPFILEHEADER
    file.push_back('B'), file.push_back('M');
    PutLe(file, static_cast<uint32_t>(pixelOffset + pixelBytes), 4);  // bfSize
    PutLe(file, 0, 4);                                                 // bfReserved1, bfReserved2
    PutLe(file, pixelOffset, 4);                                       // bfOffBits
    // BITMAPINFOHEADER
    PutLe(file, 40, 4);                                                 // biSize
    PutLe(file, static_cast<uint32_t>(image.width), 4);                 // biWidth
    PutLe(file, static_cast<uint32_t>(image.height), 4);                // biHeight: positive, bottom-up
    PutLe(file, 1, 2);                                                  // biPlanes
    PutLe(file, static_cast<uint32_t>(image.bitsPerPixel), 2);          // biBitCount
    PutLe(file, 0, 4);                                                  // biCompression: BI_RGB
    PutLe(file, static_cast<uint32_t>(pixelBytes), 4);                  // biSizeImage
    PutLe(file, 0, 4), PutLe(file, 0, 4);                               // biXPelsPerMeter, biYPelsPerMeter
    PutLe(file, fullTable ? 0 : tableEntries, 4);                       // biClrUsed: 0 means all 2^depth
    PutLe(file, 0, 4);                                                  // biClrImportant: all
    // The colour table: RGBQUADs, which are the palette's 0x00RRGGBB values.
    for (uint32_t i = 0; i < tableEntries; ++i) PutLe(file, image.palette[i] & 0x00FFFFFFu, 4);
    file.insert(file.end(), image.pixels.begin(), image.pixels.begin() + static_cast<ptrdiff_t>(pixelBytes));
    return file;
}

std::vector<uint8_t> EncodeJpeg(const Bitmap& image, int quality) {
    CheckEncodable(image);
    const bool direct = DirectJpegInput(image.bitsPerPixel) != JCS_UNKNOWN;
    std::vector<uint8_t> rgbRow(direct ? 0 : static_cast<size_t>(image.width) * 3);
    JpegSession session{};  // zeroed, so that destroying it is harmless whatever happens
    if (!Compress(session, image, std::clamp(quality, 1, 100), rgbRow.data()))
        throw EncodeError(std::string("JPEG: ") + session.errors.message);
    return std::vector<uint8_t>(session.output, session.output + session.outputSize);
}

std::vector<uint8_t> EncodePng(const Bitmap& image, int level) {
    CheckEncodable(image);
    const bool indexed = IsPaletteDepth(image.bitsPerPixel);
    const std::vector<png_color> palette = indexed ? PngPalette(image) : std::vector<png_color>{};
    std::vector<uint8_t> rgbRows(indexed ? 0 : static_cast<size_t>(image.width) * 3 * 2);  // two rows
    PngSession session;
    // Room for the file as large as the rows themselves: the output then grows
    // without being moved, and the part never written is never touched.
    session.output.reserve(static_cast<size_t>(ImageBytes(image)) + 4096);
    session.writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, &session, PngError, PngIgnoreWarning);
    if (session.writer != nullptr) session.info = png_create_info_struct(session.writer);
    if (session.info == nullptr) throw EncodeError("PNG: out of memory");
    if (!WritePng(session, image, std::clamp(level, 0, 9), palette, rgbRows.data()))
        throw EncodeError(std::string("PNG: ") + session.message);
    return std::move(session.output);
}

std::vector<uint8_t> EncodeForFormat(const Bitmap& image, int formatIndex, int qualityJpeg) {
    const int position = std::clamp(100 - qualityJpeg, 0, 100);
    switch (formatIndex) {
        case 1: return EncodeBmp(image);
        case 2: return EncodeJpeg(image, JpegQualityForPosition(position));
        case 3: return EncodePng(image, PngLevelForPosition(position));
        case 4: return EncodeTiff(image);
        default: throw EncodeError("this image format cannot be written");
    }
}

int JpegQualityForPosition(int position) { return std::max(1, 100 - std::clamp(position, 0, 100)); }

int PngLevelForPosition(int position) { return std::min(9, std::clamp(position, 0, 100) / 10); }

}  // namespace kadrilo
