// The encoders' files are read back with means of their own: BMP by a small
// parser here, JPEG by libjpeg's decompressor, PNG by libpng's reader and, for
// the filter bytes and the zlib header, by walking the chunks and inflating.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <csetjmp>
#include <cstdio>  // before jpeglib.h
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>

#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include "output/Encoders.h"
#include "support/Bytes.h"

namespace kadrilo {
namespace {

using testing::Bytes;
using testing::ReadLe;

uint32_t ReadBe32(const uint8_t* p) { return uint32_t{p[0]} << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

// ---- Test images ---------------------------------------------------------------

// Stores the raw value of pixel (x, y from the top): a colour table index for 1,
// 4 and 8 bits, a 5-5-5 word for 16, 0x00RRGGBB for 24 and 32 (whose fourth byte
// is left as it was).
void SetPixel(Bitmap& image, int x, int y, uint32_t value) {
    uint8_t* row = image.Row(y);
    switch (image.bitsPerPixel) {
        case 1: {
            const uint8_t mask = static_cast<uint8_t>(0x80 >> (x % 8));
            row[x / 8] = static_cast<uint8_t>(value != 0 ? row[x / 8] | mask : row[x / 8] & ~mask);
            break;
        }
        case 4: {
            const int shift = x % 2 == 0 ? 4 : 0;
            row[x / 2] = static_cast<uint8_t>((row[x / 2] & ~(0x0F << shift)) | (value << shift));
            break;
        }
        case 8: row[x] = static_cast<uint8_t>(value); break;
        case 16: row[2 * x] = static_cast<uint8_t>(value), row[2 * x + 1] = static_cast<uint8_t>(value >> 8); break;
        default: {
            uint8_t* pixel = row + x * (image.bitsPerPixel / 8);
            pixel[0] = static_cast<uint8_t>(value), pixel[1] = static_cast<uint8_t>(value >> 8);
            pixel[2] = static_cast<uint8_t>(value >> 16);
        }
    }
}

// 5 bits to 8 by repeating the top bits, so that 0 and 31 become 0 and 255.
uint32_t Widen5(uint32_t v) { return (v << 3) | (v >> 2); }

// The colour a raw pixel value shows, as 0x00RRGGBB.
uint32_t ColourOf(const Bitmap& image, uint32_t raw) {
    switch (image.bitsPerPixel) {
        case 1: case 4: case 8: return image.palette.at(raw);
        case 16: return Widen5((raw >> 10) & 31) << 16 | Widen5((raw >> 5) & 31) << 8 | Widen5(raw & 31);
        default: return raw & 0xFFFFFF;
    }
}

// An image whose bytes, padding and unused bytes included, start random, with
// a random colour table and random raw pixel values (indices within the table).
struct TestImage {
    Bitmap bitmap;
    std::vector<uint32_t> raw;  // row by row from the top
};

TestImage RandomImage(int width, int height, int bitsPerPixel, size_t paletteSize, unsigned seed) {
    std::mt19937 random(seed);
    TestImage image{Bitmap::Blank(width, height, bitsPerPixel), {}};
    for (uint8_t& byte : image.bitmap.pixels) byte = static_cast<uint8_t>(random());
    for (size_t i = 0; i < paletteSize; ++i) image.bitmap.palette.push_back(random() & 0xFFFFFF);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t value = bitsPerPixel <= 8    ? random() % paletteSize
                                   : bitsPerPixel == 16 ? random() & 0xFFFF  // the top bit is unused
                                                        : random() & 0xFFFFFF;
            SetPixel(image.bitmap, x, y, value);
            image.raw.push_back(value);
        }
    return image;
}

// ---- JPEG reading ------------------------------------------------------------

struct JpegReader {
    jpeg_error_mgr errors;  // first, so that the library's pointer to it is one to this
    std::jmp_buf jump;
    jpeg_decompress_struct info;
    ~JpegReader() { jpeg_destroy_decompress(&info); }
};

void JpegReadFailed(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegReader*>(info->err)->jump, 1); }

struct DecodedJpeg {
    int width = 0, height = 0, components = 0;
    J_COLOR_SPACE colourSpace = JCS_UNKNOWN;
    bool progressive = true, arithmetic = true, jfif = false;
    unsigned restartInterval = 1;
    std::array<int, 6> sampling{};  // horizontal and vertical factor of each component
    std::array<bool, NUM_QUANT_TBLS> tableDefined{};
    std::array<std::array<int, DCTSIZE2>, NUM_QUANT_TBLS> tables{};  // natural order
    Bytes samples;  // top-down: R, G, B, or the luma alone
};

// No local here has a destructor: libjpeg's errors longjmp back into it.
bool RunJpegReader(JpegReader& reader, const Bytes& file, J_COLOR_SPACE colours, DecodedJpeg& out) {
    jpeg_decompress_struct& info = reader.info;
    info.err = jpeg_std_error(&reader.errors);
    reader.errors.error_exit = JpegReadFailed;
    if (setjmp(reader.jump) != 0) return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);
    out.width = static_cast<int>(info.image_width), out.height = static_cast<int>(info.image_height);
    out.components = info.num_components, out.colourSpace = info.jpeg_color_space;
    out.progressive = info.progressive_mode, out.arithmetic = info.arith_code, out.jfif = info.saw_JFIF_marker;
    out.restartInterval = info.restart_interval;
    for (int c = 0; c < info.num_components && c < 3; ++c)
        out.sampling[2 * c] = info.comp_info[c].h_samp_factor, out.sampling[2 * c + 1] = info.comp_info[c].v_samp_factor;
    for (int t = 0; t < NUM_QUANT_TBLS; ++t) {
        out.tableDefined[t] = info.quant_tbl_ptrs[t] != nullptr;
        for (int i = 0; out.tableDefined[t] && i < DCTSIZE2; ++i) out.tables[t][i] = info.quant_tbl_ptrs[t]->quantval[i];
    }
    info.out_color_space = colours;
    jpeg_start_decompress(&info);
    const size_t rowBytes = static_cast<size_t>(out.width) * info.out_color_components;
    out.samples.resize(rowBytes * out.height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.samples.data() + info.output_scanline * rowBytes;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

// Decodes to R, G, B, or with JCS_GRAYSCALE to the luma that the file holds at full resolution.
DecodedJpeg DecodeJpeg(const Bytes& file, J_COLOR_SPACE colours = JCS_RGB) {
    JpegReader reader{};
    DecodedJpeg out;
    if (!RunJpegReader(reader, file, colours, out)) throw std::runtime_error("libjpeg cannot read the file");
    return out;
}

// The start-of-frame markers of the stream (C0 baseline, C1 extended, C2 progressive, ...).
std::vector<int> FrameMarkers(const Bytes& file) {
    std::vector<int> frames;
    for (size_t at = 2; at + 4 <= file.size() && file[at] == 0xFF && file[at + 1] != 0xDA;
         at += 2 + (file[at + 2] << 8 | file[at + 3])) {
        const int marker = file[at + 1];
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            frames.push_back(marker);
    }
    return frames;
}

// ---- PNG reading -------------------------------------------------------------

struct PngReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    const Bytes* file = nullptr;
    size_t at = 0;
    Bytes rows;
    ~PngReader() { png_destroy_read_struct(&png, &info, nullptr); }
};

void ReadFromMemory(png_structp png, png_bytep data, size_t length) {
    auto* reader = static_cast<PngReader*>(png_get_io_ptr(png));
    if (reader->at + length > reader->file->size()) png_error(png, "the file ends early");
    std::memcpy(data, reader->file->data() + reader->at, length);
    reader->at += length;
}

struct DecodedPng {
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colourType = -1, interlace = -1;
    std::vector<uint32_t> palette;  // 0x00RRGGBB
    std::vector<uint32_t> pixels;   // index or 0x00RRGGBB, row by row from the top
};

// No local here has a destructor: libpng's errors longjmp back into it.
bool RunPngReader(PngReader& reader, DecodedPng& out) {
    if (setjmp(png_jmpbuf(reader.png)) != 0) return false;
    png_set_read_fn(reader.png, &reader, ReadFromMemory);
    png_read_info(reader.png, reader.info);
    png_get_IHDR(reader.png, reader.info, &out.width, &out.height, &out.bitDepth, &out.colourType, &out.interlace,
                 nullptr, nullptr);
    png_colorp entries = nullptr;
    int count = 0;
    if (png_get_PLTE(reader.png, reader.info, &entries, &count) != 0)
        for (int i = 0; i < count; ++i)
            out.palette.push_back(uint32_t{entries[i].red} << 16 | entries[i].green << 8 | entries[i].blue);
    png_set_packing(reader.png);  // one byte per index
    png_read_update_info(reader.png, reader.info);
    const size_t rowBytes = png_get_rowbytes(reader.png, reader.info);
    reader.rows.resize(rowBytes * out.height);
    for (png_uint_32 y = 0; y < out.height; ++y) png_read_row(reader.png, reader.rows.data() + y * rowBytes, nullptr);
    png_read_end(reader.png, nullptr);
    return true;
}

DecodedPng DecodePng(const Bytes& file) {
    PngReader reader;
    reader.file = &file;
    reader.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    reader.info = png_create_info_struct(reader.png);
    DecodedPng out;
    if (!RunPngReader(reader, out)) throw std::runtime_error("libpng cannot read the file");
    const bool rgb = out.colourType == PNG_COLOR_TYPE_RGB;
    for (size_t at = 0; at < reader.rows.size(); at += rgb ? 3 : 1)
        out.pixels.push_back(rgb ? uint32_t{reader.rows[at]} << 16 | reader.rows[at + 1] << 8 | reader.rows[at + 2]
                                 : reader.rows[at]);
    return out;
}

// The zlib stream of the IDAT chunks, joined.
Bytes ImageData(const Bytes& file) {
    Bytes data;
    for (size_t at = 8; at + 12 <= file.size();) {
        const uint32_t length = ReadBe32(&file[at]);
        if (std::memcmp(&file[at + 4], "IDAT", 4) == 0) data.insert(data.end(), &file[at + 8], &file[at + 8] + length);
        at += 12 + length;
    }
    return data;
}

// The filter type byte that starts each row of the inflated image data.
std::vector<int> FilterTypes(const Bytes& file, size_t rowBytes, size_t height) {
    const Bytes compressed = ImageData(file);
    Bytes raw((rowBytes + 1) * height + 1);
    uLongf size = raw.size();
    EXPECT_EQ(uncompress(raw.data(), &size, compressed.data(), compressed.size()), Z_OK);
    EXPECT_EQ(size, (rowBytes + 1) * height);
    std::vector<int> types;
    for (size_t y = 0; y < height; ++y) types.push_back(raw[y * (rowBytes + 1)]);
    return types;
}

// ---- Every depth ---------------------------------------------------------------

struct DepthCase {
    const char* name;
    int width, height, bitsPerPixel;
    size_t paletteSize;
    uint32_t bmpColoursUsed;  // biClrUsed expected: 0 for a full table or none
};

void PrintTo(const DepthCase& c, std::ostream* os) { *os << c.name; }

class EveryDepth : public ::testing::TestWithParam<DepthCase> {
protected:
    TestImage Random() const {
        const DepthCase& c = GetParam();
        return RandomImage(c.width, c.height, c.bitsPerPixel, c.paletteSize, 7 * c.width + c.bitsPerPixel);
    }
};

TEST_P(EveryDepth, BmpHoldsHeadersColourTableAndPixelsAsGiven) {
    const DepthCase& c = GetParam();
    TestImage image = Random();
    const size_t pixelBytes = static_cast<size_t>(image.bitmap.Stride()) * c.height;
    image.bitmap.pixels.resize(pixelBytes + 5, 0xEE);  // a buffer longer than the image: the rest is left out
    const Bytes file = EncodeBmp(image.bitmap);

    const size_t tableOffset = 14 + 40, pixelOffset = tableOffset + 4 * c.paletteSize;
    ASSERT_EQ(file.size(), pixelOffset + pixelBytes);
    EXPECT_EQ(ReadLe(file, 0, 2), 0x4D42u);  // "BM"
    EXPECT_EQ(ReadLe(file, 2, 4), file.size());
    EXPECT_EQ(ReadLe(file, 6, 4), 0u);
    EXPECT_EQ(ReadLe(file, 10, 4), pixelOffset);
    EXPECT_EQ(ReadLe(file, 14, 4), 40u);
    EXPECT_EQ(static_cast<int32_t>(ReadLe(file, 18, 4)), c.width);
    EXPECT_EQ(static_cast<int32_t>(ReadLe(file, 22, 4)), c.height);  // positive: bottom-up
    EXPECT_EQ(ReadLe(file, 26, 2), 1u);
    EXPECT_EQ(ReadLe(file, 28, 2), static_cast<uint32_t>(c.bitsPerPixel));
    EXPECT_EQ(ReadLe(file, 30, 4), 0u);  // BI_RGB
    EXPECT_EQ(ReadLe(file, 34, 4), pixelBytes);
    EXPECT_EQ(ReadLe(file, 46, 4), c.bmpColoursUsed);
    EXPECT_EQ(ReadLe(file, 50, 4), 0u);
    for (size_t i = 0; i < c.paletteSize; ++i) {
        const uint32_t colour = image.bitmap.palette[i];
        EXPECT_EQ(file[tableOffset + 4 * i], colour & 0xFF) << "entry " << i;  // blue, green, red, zero
        EXPECT_EQ(file[tableOffset + 4 * i + 1], (colour >> 8) & 0xFF) << "entry " << i;
        EXPECT_EQ(file[tableOffset + 4 * i + 2], (colour >> 16) & 0xFF) << "entry " << i;
        EXPECT_EQ(file[tableOffset + 4 * i + 3], 0) << "entry " << i;
    }
    EXPECT_TRUE(std::equal(file.begin() + pixelOffset, file.end(), image.bitmap.pixels.begin()));
}

TEST_P(EveryDepth, PngDecodesToTheSamePixels) {
    const DepthCase& c = GetParam();
    const TestImage image = Random();
    const Bytes file = EncodePng(image.bitmap, 6);
    const DecodedPng png = DecodePng(file);

    const bool indexed = c.bitsPerPixel <= 8;
    EXPECT_EQ(png.width, static_cast<png_uint_32>(c.width));
    EXPECT_EQ(png.height, static_cast<png_uint_32>(c.height));
    EXPECT_EQ(png.colourType, indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB);
    EXPECT_EQ(png.bitDepth, indexed ? c.bitsPerPixel : 8);
    EXPECT_EQ(png.interlace, PNG_INTERLACE_NONE);
    EXPECT_EQ(png.palette, indexed ? image.bitmap.palette : std::vector<uint32_t>{});
    std::vector<uint32_t> expected = image.raw;
    if (!indexed)
        for (uint32_t& value : expected) value = ColourOf(image.bitmap, value);
    EXPECT_EQ(png.pixels, expected);

    // With None left out, every row of an image that leaves the encoder a choice uses Sub, Up, Average or Paeth.
    if (c.width > 1 && c.height > 1) {
        const size_t rowBytes = indexed ? (c.width * c.bitsPerPixel + 7) / 8 : c.width * 3;
        for (int type : FilterTypes(file, rowBytes, c.height)) EXPECT_TRUE(type >= 1 && type <= 4) << type;
    }
}

// At quality 100 every quantiser is 1 and the luma, kept at full resolution,
// comes back within rounding: each pixel was read at its place and depth.
TEST_P(EveryDepth, JpegKeepsTheLumaOfEveryPixel) {
    const TestImage image = Random();
    const DecodedJpeg jpeg = DecodeJpeg(EncodeJpeg(image.bitmap, 100), JCS_GRAYSCALE);
    ASSERT_EQ(jpeg.samples.size(), image.raw.size());
    for (size_t i = 0; i < image.raw.size(); ++i) {
        const uint32_t colour = ColourOf(image.bitmap, image.raw[i]);
        const double luma = 0.299 * (colour >> 16) + 0.587 * ((colour >> 8) & 0xFF) + 0.114 * (colour & 0xFF);
        EXPECT_NEAR(jpeg.samples[i], luma, 3.0) << "pixel " << i % GetParam().width << "," << i / GetParam().width;
    }
}

// Two flat halves, aligned to the 16-pixel blocks of subsampled chroma, keep
// their colours: the depth is read right and the rows go in top first.
TEST_P(EveryDepth, JpegKeepsColoursInPlace) {
    const DepthCase& c = GetParam();
    Bitmap image = RandomImage(32, 32, c.bitsPerPixel, c.paletteSize, 11).bitmap;
    uint32_t top = 0xC86432, bottom = 0x3050D0;
    if (c.bitsPerPixel <= 8) {
        image.palette.front() = bottom, image.palette.back() = top;
        top = static_cast<uint32_t>(c.paletteSize - 1), bottom = 0;
    } else if (c.bitsPerPixel == 16) {
        top = 0x8000 | 25 << 10 | 12 << 5 | 6, bottom = 6 << 10 | 10 << 5 | 26;
    }
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) SetPixel(image, x, y, y < 16 ? top : bottom);

    const DecodedJpeg jpeg = DecodeJpeg(EncodeJpeg(image, 100));
    ASSERT_EQ(jpeg.width, 32);
    ASSERT_EQ(jpeg.height, 32);
    for (int y : {0, 5, 11, 20, 26, 31})
        for (int x : {0, 9, 17, 31}) {
            const uint32_t colour = ColourOf(image, y < 16 ? top : bottom);
            for (int channel = 0; channel < 3; ++channel) {
                const int want = (colour >> (16 - 8 * channel)) & 0xFF;
                const int got = jpeg.samples[(static_cast<size_t>(y) * 32 + x) * 3 + channel];
                EXPECT_NEAR(got, want, 4) << "pixel " << x << "," << y << " channel " << channel;
            }
        }
}

INSTANTIATE_TEST_SUITE_P(
    Encoders, EveryDepth,
    ::testing::Values(DepthCase{"Bits1", 13, 5, 1, 2, 0}, DepthCase{"Bits1OneEntry", 9, 2, 1, 1, 1},
                      DepthCase{"Bits4", 7, 4, 4, 16, 0}, DepthCase{"Bits4ShortTable", 5, 3, 4, 9, 9},
                      DepthCase{"Bits8", 5, 3, 8, 256, 0}, DepthCase{"Bits8ShortTable", 3, 4, 8, 3, 3},
                      DepthCase{"Bits16", 3, 4, 16, 0, 0}, DepthCase{"Bits24", 5, 3, 24, 0, 0},
                      DepthCase{"Bits24OneRow", 6, 1, 24, 0, 0}, DepthCase{"Bits32", 2, 3, 32, 0, 0},
                      DepthCase{"Bits32OnePixel", 1, 1, 32, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- JPEG quality --------------------------------------------------------------

// The example tables of the JPEG standard (ITU-T T.81, Annex K), in natural order.
constexpr std::array<int, 64> kLuminance = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,  14, 13, 16, 24, 40,  57,
    69, 56, 14, 17, 22,  29,  51,  87,  80, 62, 18, 22, 37,  56,  68,  109, 103, 77, 24, 35, 55, 64,
    81, 104, 113, 92, 49, 64, 78,  87,  103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr std::array<int, 64> kChrominance = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// A standard table at a quality: scaled by 5000 / q below 50, by 200 - 2q from
// 50, rounded, and kept within 1..255 as a baseline file needs.
std::array<int, 64> Scaled(const std::array<int, 64>& table, int quality) {
    const int percent = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    std::array<int, 64> scaled{};
    for (size_t i = 0; i < table.size(); ++i) scaled[i] = std::clamp((table[i] * percent + 50) / 100, 1, 255);
    return scaled;
}

struct QualityCase {
    const char* name;
    int given, applied;
};

void PrintTo(const QualityCase& c, std::ostream* os) { *os << c.name; }

class JpegQuality : public ::testing::TestWithParam<QualityCase> {};

TEST_P(JpegQuality, BaselineStandardTablesScaledOnTheDefaults) {
    const Bytes file = EncodeJpeg(RandomImage(21, 13, 24, 0, 3).bitmap, GetParam().given);
    const DecodedJpeg jpeg = DecodeJpeg(file);

    EXPECT_EQ(FrameMarkers(file), std::vector<int>{0xC0});  // baseline
    EXPECT_EQ(jpeg.width, 21);
    EXPECT_EQ(jpeg.height, 13);
    EXPECT_EQ(jpeg.components, 3);
    EXPECT_EQ(jpeg.colourSpace, JCS_YCbCr);
    // The library's defaults otherwise: JFIF, Huffman coding, 2x2 subsampled chroma, no restarts.
    EXPECT_TRUE(jpeg.jfif);
    EXPECT_FALSE(jpeg.progressive);
    EXPECT_FALSE(jpeg.arithmetic);
    EXPECT_EQ(jpeg.restartInterval, 0u);
    EXPECT_EQ(jpeg.sampling, (std::array<int, 6>{2, 2, 1, 1, 1, 1}));

    EXPECT_EQ(jpeg.tableDefined, (std::array<bool, NUM_QUANT_TBLS>{true, true, false, false}));
    EXPECT_EQ(jpeg.tables[0], Scaled(kLuminance, GetParam().applied));
    EXPECT_EQ(jpeg.tables[1], Scaled(kChrominance, GetParam().applied));
}

INSTANTIATE_TEST_SUITE_P(Encoders, JpegQuality,
                         ::testing::Values(QualityCase{"Q75", 75, 75}, QualityCase{"Q1", 1, 1},
                                           QualityCase{"Q100", 100, 100}, QualityCase{"Q50", 50, 50},
                                           QualityCase{"Q49", 49, 49}, QualityCase{"ZeroRaisedTo1", 0, 1},
                                           QualityCase{"NegativeRaisedTo1", INT_MIN, 1},
                                           QualityCase{"AboveLoweredTo100", 250, 100}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- JPEG from the rows as they are ------------------------------------------

struct JpegWriter {
    jpeg_error_mgr errors;  // first, so that the library's pointer to it is one to this
    std::jmp_buf jump;
    jpeg_compress_struct info;
    unsigned char* output = nullptr;
    unsigned long outputSize = 0;
    ~JpegWriter() {
        jpeg_destroy_compress(&info);
        std::free(output);
    }
};

void JpegWriteFailed(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegWriter*>(info->err)->jump, 1); }

// No local here has a destructor: libjpeg's errors longjmp back into it.
bool RunJpegWriter(JpegWriter& writer, const Bytes& rgb, int width, int height, int quality) {
    jpeg_compress_struct& info = writer.info;
    info.err = jpeg_std_error(&writer.errors);
    writer.errors.error_exit = JpegWriteFailed;
    if (setjmp(writer.jump) != 0) return false;
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &writer.output, &writer.outputSize);
    info.image_width = static_cast<JDIMENSION>(width), info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3, info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    for (int y = 0; y < height; ++y) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.data() + static_cast<size_t>(y) * width * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

// The file libjpeg makes of the image's colours handed over as R, G, B rows.
Bytes JpegOfRgbRows(const TestImage& image, int quality) {
    Bytes rgb;
    for (const uint32_t raw : image.raw) {
        const uint32_t colour = ColourOf(image.bitmap, raw);
        rgb.push_back(static_cast<uint8_t>(colour >> 16)), rgb.push_back(static_cast<uint8_t>(colour >> 8));
        rgb.push_back(static_cast<uint8_t>(colour));
    }
    JpegWriter writer{};
    if (!RunJpegWriter(writer, rgb, image.bitmap.width, image.bitmap.height, quality))
        throw std::runtime_error("libjpeg cannot write the reference file");
    return Bytes(writer.output, writer.output + writer.outputSize);
}

// 24 and 32-bit rows go to libjpeg in their own B, G, R (and unused) layout:
// the decoded pixels are those of the same colours given as R, G, B rows. The
// fourth bytes are random and must play no part; the widths leave rows padded.
TEST(JpegEncoder, RowsInTheirOwnLayoutDecodeAsRgbRowsDo) {
    for (const int depth : {24, 32})
        for (const int quality : {75, 100, 1}) {
            const TestImage image = RandomImage(37, 21, depth, 0, 5u * depth + quality);
            const DecodedJpeg got = DecodeJpeg(EncodeJpeg(image.bitmap, quality));
            const DecodedJpeg want = DecodeJpeg(JpegOfRgbRows(image, quality));
            ASSERT_EQ(got.width, want.width);
            ASSERT_EQ(got.height, want.height);
            EXPECT_TRUE(got.samples == want.samples) << depth << " bits, quality " << quality;
        }
}

// ---- PNG specifics -------------------------------------------------------------

// ---- PNG with libpng choosing every row's filter --------------------------------

struct PngWriter {
    png_structp png = nullptr;
    png_infop info = nullptr;
    Bytes file;
    ~PngWriter() { png_destroy_write_struct(&png, &info); }
};

void AppendToFile(png_structp png, png_bytep data, size_t length) {
    auto* writer = static_cast<PngWriter*>(png_get_io_ptr(png));
    writer->file.insert(writer->file.end(), data, data + length);
}

void NoFlush(png_structp) {}

// No local here has a destructor: libpng's errors longjmp back into it.
bool RunPngWriter(PngWriter& writer, const Bytes& rgb, int width, int height, int level) {
    if (setjmp(png_jmpbuf(writer.png)) != 0) return false;
    png_set_write_fn(writer.png, &writer, AppendToFile, NoFlush);
    png_set_filter(writer.png, 0, PNG_FILTER_SUB | PNG_FILTER_UP | PNG_FILTER_AVG | PNG_FILTER_PAETH);
    png_set_compression_level(writer.png, level);
    png_set_IHDR(writer.png, writer.info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(writer.png, writer.info);
    for (int y = 0; y < height; ++y)
        png_write_row(writer.png, const_cast<png_bytep>(rgb.data() + static_cast<size_t>(y) * width * 3));
    png_write_end(writer.png, writer.info);
    return true;
}

// The file libpng makes of the image's colours as R, G, B rows, choosing each
// row's filter among the four itself.
Bytes PngOfRgbRows(const TestImage& image, int level) {
    Bytes rgb;
    for (const uint32_t raw : image.raw) {
        const uint32_t colour = ColourOf(image.bitmap, raw);
        rgb.push_back(static_cast<uint8_t>(colour >> 16)), rgb.push_back(static_cast<uint8_t>(colour >> 8));
        rgb.push_back(static_cast<uint8_t>(colour));
    }
    PngWriter writer;
    writer.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    writer.info = png_create_info_struct(writer.png);
    if (!writer.info || !RunPngWriter(writer, rgb, image.bitmap.width, image.bitmap.height, level))
        throw std::runtime_error("libpng cannot write the reference file");
    return writer.file;
}

// The encoder chooses each row's filter itself, as libpng would: the file is
// byte for byte the one libpng writes when it chooses. Noise, smooth ramps
// (where the four filters differ little) and flat rows (all four tie at zero)
// at every true-colour depth; widths below and above the 16-byte steps of the
// sums, one row and one column, where libpng leaves filters out itself.
TEST(PngEncoder, RowFiltersAreTheOnesLibpngChooses) {
    const struct {
        int width, height, depth;
        const char* content;
    } cases[] = {{37, 19, 24, "noise"}, {64, 9, 32, "noise"}, {23, 7, 16, "noise"}, {5, 4, 24, "noise"},
                 {41, 17, 32, "ramps"}, {33, 6, 24, "flat"},   {29, 1, 32, "noise"}, {1, 12, 24, "noise"}};
    for (const auto& c : cases) {
        TestImage image = RandomImage(c.width, c.height, c.depth, 0, static_cast<unsigned>(c.width * c.height));
        if (std::string(c.content) != "noise") {
            for (int y = 0; y < c.height; ++y)
                for (int x = 0; x < c.width; ++x) {
                    const uint32_t value = std::string(c.content) == "flat"
                                               ? (y % 3 == 0 ? 0x808080u : 0x20C0F0u)
                                               : (uint32_t(x * 6 + y) & 0xFF) << 16 | (uint32_t(y * 9) & 0xFF) << 8 |
                                                     (uint32_t(x * 3 + y * 5) & 0xFF);
                    const uint32_t raw = c.depth == 16 ? (value >> 19 & 31) << 10 | (value >> 11 & 31) << 5 |
                                                             (value >> 3 & 31)
                                                       : value;
                    SetPixel(image.bitmap, x, y, raw);
                    image.raw[static_cast<size_t>(y) * c.width + x] = raw;
                }
        }
        for (const int level : {2, 9})
            EXPECT_TRUE(EncodePng(image.bitmap, level) == PngOfRgbRows(image, level))
                << c.width << "x" << c.height << " at " << c.depth << " bits, " << c.content << ", level " << level;
    }
}

TEST(PngEncoder, CompressionLevelReachesZlib) {
    // The zlib header's FLEVEL: 0 for levels 0 and 1, 1 for 2..5, 2 for 6, 3 for 7..9.
    const struct {
        int level, flevel;
    } cases[] = {{0, 0}, {1, 0}, {2, 1}, {5, 1}, {6, 2}, {7, 3}, {9, 3}, {-4, 0}, {42, 3}};
    const Bitmap image = RandomImage(40, 20, 24, 0, 5).bitmap;
    for (const auto& c : cases) {
        const Bytes data = ImageData(EncodePng(image, c.level));
        ASSERT_GE(data.size(), 3u);
        EXPECT_EQ(data[1] >> 6, c.flevel) << "level " << c.level;
        if (c.level <= 0) {
            EXPECT_EQ((data[2] >> 1) & 3, 0) << "level " << c.level << ": stored, not compressed";
        }
    }
}

TEST(PngEncoder, SixteenBitChannelsSpanTheFullRange) {
    const struct {
        uint16_t word;
        uint32_t colour;
    } cases[] = {{0x0000, 0x000000}, {0x7FFF, 0xFFFFFF}, {0xFFFF, 0xFFFFFF}, {0x7C00, 0xFF0000},
                 {0x03E0, 0x00FF00}, {0x001F, 0x0000FF}, {0x4210, 0x848484}, {0x8C63, 0x181818}};
    Bitmap image = Bitmap::Blank(std::size(cases), 1, 16);
    for (size_t x = 0; x < std::size(cases); ++x) SetPixel(image, static_cast<int>(x), 0, cases[x].word);
    const DecodedPng png = DecodePng(EncodePng(image, 9));
    ASSERT_EQ(png.pixels.size(), std::size(cases));
    for (size_t x = 0; x < std::size(cases); ++x) EXPECT_EQ(png.pixels[x], cases[x].colour) << std::hex << cases[x].word;
}

// ---- Damaged images ------------------------------------------------------------

// An index beyond a short colour table has no colour of its own: it is black,
// the PNG palette grows to hold it, and nothing is read past the table.
TEST(Encoders, IndexBeyondTheColourTableIsBlack) {
    Bitmap image = Bitmap::Blank(32, 16, 8);
    image.palette = {0x0000FF, 0x00FF00, 0xFF0000};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) SetPixel(image, x, y, x < 16 ? 1 : 200);

    const DecodedPng png = DecodePng(EncodePng(image, 6));
    ASSERT_EQ(png.palette.size(), 201u);
    EXPECT_EQ(std::vector<uint32_t>(png.palette.begin(), png.palette.begin() + 3), image.palette);
    EXPECT_EQ(png.palette.back(), 0u);
    EXPECT_EQ(png.pixels[31], 200u);

    const DecodedJpeg jpeg = DecodeJpeg(EncodeJpeg(image, 100));
    for (int channel = 0; channel < 3; ++channel) {
        EXPECT_NEAR(jpeg.samples[(8 * 32 + 4) * 3 + channel], channel == 1 ? 255 : 0, 4);
        EXPECT_NEAR(jpeg.samples[(8 * 32 + 28) * 3 + channel], 0, 4);
    }
}

struct RejectedCase {
    const char* name;
    Bitmap image;
};

void PrintTo(const RejectedCase& c, std::ostream* os) { *os << c.name; }

RejectedCase Rejected(const char* name, int width, int height, int bitsPerPixel, size_t paletteSize,
                      long pixelBytesDelta = 0) {
    Bitmap image;
    image.width = width, image.height = height, image.bitsPerPixel = bitsPerPixel;
    image.palette.assign(paletteSize, 0x123456);
    const long stride = width > 0 && width < 1 << 20 && bitsPerPixel > 0 ? Bitmap::StrideFor(width, bitsPerPixel) : 4;
    image.pixels.assign(static_cast<size_t>(std::max(0L, stride * std::clamp(height, 0, 64) + pixelBytesDelta)), 0);
    return {name, image};
}

class RejectedImages : public ::testing::TestWithParam<RejectedCase> {};

TEST_P(RejectedImages, EveryEncoderThrows) {
    const Bitmap& image = GetParam().image;
    EXPECT_THROW(EncodeBmp(image), EncodeError);
    EXPECT_THROW(EncodeJpeg(image, 75), EncodeError);
    EXPECT_THROW(EncodePng(image, 6), EncodeError);
}

INSTANTIATE_TEST_SUITE_P(
    Encoders, RejectedImages,
    ::testing::Values(Rejected("Default", 0, 0, 32, 0), Rejected("ZeroWidth", 0, 4, 24, 0),
                      Rejected("ZeroHeight", 4, 0, 24, 0), Rejected("NegativeHeight", 4, -4, 24, 0, 64),
                      Rejected("BufferOneByteShort", 5, 3, 24, 0, -1), Rejected("NoBuffer", 5, 3, 8, 256, -60),
                      Rejected("HeightBeyondBuffer", 1, INT_MAX, 8, 2),
                      Rejected("StrideOverflows", INT_MAX - 8, 1, 32, 0, 64),
                      Rejected("Depth0", 4, 4, 0, 0), Rejected("Depth2", 4, 4, 2, 4),
                      Rejected("Depth15", 4, 4, 15, 0), Rejected("Depth48", 4, 4, 48, 0),
                      Rejected("NoColourTable", 4, 4, 8, 0), Rejected("TableTooLongForDepth", 4, 4, 1, 3),
                      Rejected("TableTooLongFor4Bits", 4, 4, 4, 17)),
    [](const auto& info) { return std::string(info.param.name); });

// What libjpeg and libpng refuse becomes an EncodeError, not an exit or a jump
// into nowhere: JPEG ends at 65500 pixels, libpng's default limit is a million.
TEST(Encoders, LibraryRefusalsBecomeEncodeError) {
    const Bitmap wide = Bitmap::Blank(65501, 1, 24);
    EXPECT_THROW(EncodeJpeg(wide, 75), EncodeError);
    EXPECT_NO_THROW(EncodePng(wide, 1));

    Bitmap wider = Bitmap::Blank(1000001, 1, 1);
    wider.palette = {0, 0xFFFFFF};
    EXPECT_THROW(EncodePng(wider, 1), EncodeError);
    EXPECT_NO_THROW(EncodeBmp(wider));
}

// ---- Settings position ---------------------------------------------------------

TEST(CompressionPosition, MapsToJpegQualityAndPngLevel) {
    const struct {
        int position, quality, level;
    } cases[] = {{0, 100, 0},  {1, 99, 0},  {9, 91, 0},   {10, 90, 1},  {25, 75, 2},      {50, 50, 5},
                 {89, 11, 8},  {90, 10, 9}, {99, 1, 9},   {100, 1, 9},  {-1, 100, 0},     {101, 1, 9},
                 {INT_MIN, 100, 0}, {INT_MAX, 1, 9}};
    for (const auto& c : cases) {
        EXPECT_EQ(JpegQualityForPosition(c.position), c.quality) << "position " << c.position;
        EXPECT_EQ(PngLevelForPosition(c.position), c.level) << "position " << c.position;
    }
}

}  // namespace
}  // namespace kadrilo
