// The TIFF writer's files are read back here by a small reader of the one
// directory, which decodes the strip by what the directory states, and are
// held against the offsets of the three layouts worked out by hand.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "output/Encoders.h"
#include "support/Bytes.h"

namespace kadrilo {
namespace {

using testing::Bytes;
using testing::ReadLe;

enum : uint16_t { Ascii = 2, Short = 3, Long = 4, Rational = 5 };

struct Entry {
    uint16_t tag, type;
    uint32_t count, value;
    bool operator==(const Entry&) const = default;
};

void PrintTo(const Entry& e, std::ostream* os) {
    *os << "{tag " << e.tag << ", type " << e.type << ", count " << e.count << ", value " << e.value << "}";
}

// ---- Reading --------------------------------------------------------------------

struct Tiff {
    Bytes file;
    uint32_t directory = 0, nextDirectory = 0;
    std::vector<Entry> entries;

    uint32_t Value(uint16_t tag) const {
        for (const Entry& e : entries)
            if (e.tag == tag) return e.value;
        throw std::runtime_error("no tag " + std::to_string(tag));
    }
};

// Header and directory. A SHORT whose count is 1 stands in the low two bytes
// of the value field; the reader keeps all four, so that stray upper bytes show.
Tiff ReadTiff(Bytes file) {
    Tiff tiff;
    tiff.file = std::move(file);
    if (ReadLe(tiff.file, 0, 2) != 0x4949 || ReadLe(tiff.file, 2, 2) != 42) throw std::runtime_error("no II*");
    tiff.directory = ReadLe(tiff.file, 4, 4);
    const uint32_t count = ReadLe(tiff.file, tiff.directory, 2);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = tiff.directory + 2 + 12 * i;
        tiff.entries.push_back({static_cast<uint16_t>(ReadLe(tiff.file, at, 2)),
                                static_cast<uint16_t>(ReadLe(tiff.file, at + 2, 2)), ReadLe(tiff.file, at + 4, 4),
                                ReadLe(tiff.file, at + 8, 4)});
    }
    tiff.nextDirectory = ReadLe(tiff.file, tiff.directory + 2 + 12 * count, 4);
    return tiff;
}

// The picture as 0x00RRGGBB, top row first, by what the directory states.
std::vector<uint32_t> DecodeStrip(const Tiff& tiff) {
    const uint32_t width = tiff.Value(256), height = tiff.Value(257), photometric = tiff.Value(262);
    const uint32_t samples = tiff.Value(277), strip = tiff.Value(273);
    const uint32_t bits = samples == 3 ? 8 : tiff.Value(258);
    const size_t rowBytes = (static_cast<size_t>(width) * samples * bits + 7) / 8;
    if (tiff.Value(279) != rowBytes * height) throw std::runtime_error("the strip's byte count is wrong");
    std::vector<uint32_t> colours;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const size_t row = strip + y * rowBytes;
            if (photometric == 2) {
                const size_t at = row + 3 * x;
                colours.push_back(ReadLe(tiff.file, at, 1) << 16 | ReadLe(tiff.file, at + 1, 1) << 8 |
                                  ReadLe(tiff.file, at + 2, 1));
                continue;
            }
            const uint32_t byte = ReadLe(tiff.file, row + x * bits / 8, 1);
            const uint32_t sample = (byte >> (8 - bits - x * bits % 8)) & ((1u << bits) - 1);
            if (photometric == 1) {
                colours.push_back(sample != 0 ? 0xFFFFFF : 0);
            } else {  // the colour map: each component's high byte
                const uint32_t map = tiff.Value(320), entries = 1u << bits;
                const auto component = [&](uint32_t part) {
                    return ReadLe(tiff.file, map + 2 * (part * entries + sample), 2) >> 8;
                };
                colours.push_back(component(0) << 16 | component(1) << 8 | component(2));
            }
        }
    return colours;
}

// ---- Test images ----------------------------------------------------------------

// Every byte random, the padding of the rows included, and a random colour table.
Bitmap RandomImage(int width, int height, int bitsPerPixel, size_t paletteSize, unsigned seed) {
    std::mt19937 random(seed);
    Bitmap image = Bitmap::Blank(width, height, bitsPerPixel);
    for (uint8_t& byte : image.pixels) byte = static_cast<uint8_t>(random());
    for (size_t i = 0; i < paletteSize; ++i) image.palette.push_back(random() & 0xFFFFFF);
    return image;
}

uint32_t Widen5(uint32_t v) { return (v << 3) | (v >> 2); }

// What pixel (x, y from the top) of the input shows as 0x00RRGGBB. One bit
// is white or black whatever the table says; an index beyond the table is black.
uint32_t ColourAt(const Bitmap& image, int x, int y) {
    const uint8_t* row = image.Row(y);
    const auto entry = [&](uint32_t index) { return index < image.palette.size() ? image.palette[index] : 0u; };
    switch (image.bitsPerPixel) {
        case 1: return (row[x / 8] >> (7 - x % 8) & 1) != 0 ? 0xFFFFFF : 0;
        case 4: return entry(row[x / 2] >> (x % 2 == 0 ? 4 : 0) & 0x0F);
        case 8: return entry(row[x]);
        case 16: {
            const uint32_t word = row[2 * x] | row[2 * x + 1] << 8;
            return Widen5(word >> 10 & 31) << 16 | Widen5(word >> 5 & 31) << 8 | Widen5(word & 31);
        }
        default: {
            const uint8_t* pixel = row + x * (image.bitsPerPixel / 8);
            return uint32_t{pixel[2]} << 16 | pixel[1] << 8 | pixel[0];
        }
    }
}

// ---- The three layouts ----------------------------------------------------------

struct LayoutCase {
    const char* name;
    int width, height, bitsPerPixel;
    size_t paletteSize;
    // What the file must hold, worked out by hand: the width written, the
    // photometric value, samples per pixel, BitsPerSample (the offset of
    // 8, 8, 8 for RGB), the strip, the value blocks, the colour map's count
    // (0: none, else at 8), the directory and its entry count.
    uint32_t writtenWidth, photometric, samples, bitsPerSample, strip, stripBytes;
    uint32_t xResolution, yResolution, software, colorMapCount, directory, entryCount;
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

// The directory of the case, tag by tag in ascending order.
std::vector<Entry> ExpectedDirectory(const LayoutCase& c) {
    const uint32_t height = static_cast<uint32_t>(c.height);
    std::vector<Entry> entries = {
        {254, Long, 1, 0},                         // NewSubfileType
        {256, Short, 1, c.writtenWidth},           // ImageWidth
        {257, Short, 1, height},                   // ImageLength
        {258, Short, c.samples, c.bitsPerSample},  // BitsPerSample
        {259, Short, 1, 1},                        // Compression: none
        {262, Short, 1, c.photometric},            // PhotometricInterpretation
        {273, Long, 1, c.strip},                   // StripOffsets
        {277, Short, 1, c.samples},                // SamplesPerPixel
        {278, Long, 1, height},                    // RowsPerStrip
        {279, Long, 1, c.stripBytes},              // StripByteCounts
        {282, Rational, 1, c.xResolution},         // XResolution
        {283, Rational, 1, c.yResolution},         // YResolution
    };
    if (c.samples == 3) entries.push_back({284, Short, 1, 1});  // PlanarConfiguration: chunky
    entries.push_back({296, Short, 1, 2});                      // ResolutionUnit: inch
    entries.push_back({305, Ascii, 12, c.software});            // Software
    if (c.colorMapCount != 0) entries.push_back({320, Short, c.colorMapCount, 8});  // ColorMap
    return entries;
}

class Layouts : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(Layouts, OffsetsValuesAndPixelsTopRowFirst) {
    const LayoutCase& c = GetParam();
    const Bitmap image = RandomImage(c.width, c.height, c.bitsPerPixel, c.paletteSize, 5 * c.width + c.bitsPerPixel);
    const Tiff tiff = ReadTiff(EncodeTiff(image));

    EXPECT_EQ(tiff.directory, c.directory);
    EXPECT_EQ(tiff.entries.size(), c.entryCount);
    EXPECT_EQ(tiff.entries, ExpectedDirectory(c));
    EXPECT_EQ(tiff.nextDirectory, 0u);
    EXPECT_EQ(tiff.file.size(), c.directory + 2 + 12 * c.entryCount + 4) << "the directory ends the file";

    for (uint32_t at : {c.xResolution, c.yResolution}) {
        EXPECT_EQ(ReadLe(tiff.file, at, 4), 877u);
        EXPECT_EQ(ReadLe(tiff.file, at + 4, 4), 10u);
    }
    EXPECT_EQ(std::string(tiff.file.begin() + c.software, tiff.file.begin() + c.software + 12), "kadrilio.exe");
    for (uint32_t i = 0; c.samples == 3 && i < 3; ++i) EXPECT_EQ(ReadLe(tiff.file, c.bitsPerSample + 2 * i, 2), 8u);
    for (uint32_t i = 0; i < c.colorMapCount / 3; ++i) {  // red, green, blue in the high bytes; black past the table
        const uint32_t colour = i < image.palette.size() ? image.palette[i] : 0;
        for (uint32_t part = 0; part < 3; ++part)
            EXPECT_EQ(ReadLe(tiff.file, 8 + 2 * (part * c.colorMapCount / 3 + i), 2),
                      (colour >> (16 - 8 * part) & 0xFF) << 8)
                << "entry " << i << " component " << part;
    }

    std::vector<uint32_t> expected;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < static_cast<int>(c.writtenWidth); ++x) expected.push_back(ColourAt(image, x, y));
    EXPECT_EQ(DecodeStrip(tiff), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tiff, Layouts,
    ::testing::Values(
        // name, size, depth, table; written width, photometric, samples, bits, strip, bytes;
        // resolutions, software, colour map, directory, entries
        LayoutCase{"Rgb24", 3, 2, 24, 0, 3, 2, 3, 24, 42, 18, 8, 16, 30, 0, 60, 15},
        LayoutCase{"Rgb32", 3, 2, 32, 0, 3, 2, 3, 24, 42, 18, 8, 16, 30, 0, 60, 15},
        LayoutCase{"Rgb16", 3, 2, 16, 0, 3, 2, 3, 24, 42, 18, 8, 16, 30, 0, 60, 15},
        LayoutCase{"Rgb24PaddedRows", 5, 3, 24, 0, 5, 2, 3, 24, 42, 45, 8, 16, 30, 0, 87, 15},
        LayoutCase{"Palette8", 5, 3, 8, 256, 5, 3, 1, 8, 1572, 15, 1544, 1552, 1560, 768, 1587, 15},
        LayoutCase{"Palette8ShortTable", 3, 2, 8, 3, 3, 3, 1, 8, 1572, 6, 1544, 1552, 1560, 768, 1578, 15},
        LayoutCase{"Palette4Width7", 7, 2, 4, 16, 4, 3, 1, 4, 132, 4, 104, 112, 120, 48, 136, 15},
        LayoutCase{"Palette4Width9", 9, 3, 4, 16, 8, 3, 1, 4, 132, 12, 104, 112, 120, 48, 144, 15},
        LayoutCase{"Bilevel10", 10, 3, 1, 2, 10, 1, 1, 1, 8, 6, 14, 22, 30, 0, 42, 14}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Single cases ---------------------------------------------------------------

// 24 bits, 32 bits with anything in the fourth byte, and 16 bits expanded the
// way the 24-bit image holds them: one file.
TEST(Tiff, EveryRgbDepthWritesTheFileOfItsColours) {
    const Bitmap rgb = RandomImage(5, 3, 24, 0, 1);
    Bitmap rgbx = RandomImage(5, 3, 32, 0, 2);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) std::memcpy(rgbx.Row(y) + 4 * x, rgb.Row(y) + 3 * x, 3);
    EXPECT_EQ(EncodeTiff(rgbx), EncodeTiff(rgb));

    const Bitmap words = RandomImage(5, 3, 16, 0, 3);
    Bitmap expanded = Bitmap::Blank(5, 3, 24);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const uint32_t colour = ColourAt(words, x, y);
            uint8_t* pixel = expanded.Row(y) + 3 * x;
            pixel[0] = static_cast<uint8_t>(colour), pixel[1] = static_cast<uint8_t>(colour >> 8);
            pixel[2] = static_cast<uint8_t>(colour >> 16);
        }
    EXPECT_EQ(EncodeTiff(words), EncodeTiff(expanded));
}

TEST(Tiff, PureRedIsRedInTheStripAndInTheMap) {
    Bitmap rgb = Bitmap::Blank(1, 1, 24);
    rgb.pixels[2] = 0xFF;  // blue, green, red
    const Bytes rgbFile = EncodeTiff(rgb);
    EXPECT_EQ(Bytes(rgbFile.begin() + 42, rgbFile.begin() + 45), (Bytes{255, 0, 0}));

    Bitmap indexed = Bitmap::Blank(1, 1, 8);
    indexed.palette = {0xFF0000};
    const Bytes map = EncodeTiff(indexed);
    EXPECT_EQ(ReadLe(map, 8, 2), 65280u);     // red of entry 0
    EXPECT_EQ(ReadLe(map, 8 + 512, 2), 0u);   // green
    EXPECT_EQ(ReadLe(map, 8 + 1024, 2), 0u);  // blue
    EXPECT_EQ(map.at(1572), 0);               // the pixel: index 0
}

// The width and height are SHORTs: 65535 is the largest of either.
TEST(Tiff, SixteenBitSizesAreWritten) {
    EXPECT_EQ(ReadTiff(EncodeTiff(Bitmap::Blank(65535, 1, 24))).Value(256), 65535u);
    EXPECT_EQ(ReadTiff(EncodeTiff(Bitmap::Blank(1, 65535, 1))).Value(257), 65535u);
}

struct RejectedCase {
    const char* name;
    int width, height, bitsPerPixel;
    size_t paletteSize;
    long pixelBytes;  // -1: as many as the image needs
};

void PrintTo(const RejectedCase& c, std::ostream* os) { *os << c.name; }

class RejectedByTiff : public ::testing::TestWithParam<RejectedCase> {};

TEST_P(RejectedByTiff, ThrowsEncodeError) {
    const RejectedCase& c = GetParam();
    Bitmap image;
    image.width = c.width, image.height = c.height, image.bitsPerPixel = c.bitsPerPixel;
    image.palette.assign(c.paletteSize, 0x123456);
    image.pixels.assign(c.pixelBytes >= 0 ? static_cast<size_t>(c.pixelBytes)
                                          : static_cast<size_t>(image.Stride()) * static_cast<size_t>(c.height),
                        0);
    EXPECT_THROW(EncodeTiff(image), EncodeError);
}

INSTANTIATE_TEST_SUITE_P(
    Tiff, RejectedByTiff,
    ::testing::Values(RejectedCase{"NoImage", 0, 0, 32, 0, 0}, RejectedCase{"NegativeHeight", 4, -4, 24, 0, 64},
                      RejectedCase{"Depth2", 4, 4, 2, 4, -1}, RejectedCase{"Depth15", 4, 4, 15, 0, -1},
                      RejectedCase{"Width65536", 65536, 1, 24, 0, -1}, RejectedCase{"Height65536", 1, 65536, 1, 2, -1},
                      RejectedCase{"TooLargeForLongOffsets", 65535, 65535, 32, 0, 0},
                      RejectedCase{"BufferOneByteShort", 5, 3, 24, 0, 47},
                      RejectedCase{"FourBitsNarrowerThanFour", 3, 2, 4, 16, -1},
                      RejectedCase{"NoColourTable", 4, 4, 8, 0, -1},
                      RejectedCase{"TableTooLongFor4Bits", 8, 4, 4, 17, -1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kadrilo
