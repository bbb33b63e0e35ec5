// TIFF by hand: uncompressed, one strip, little-endian, one directory. The
// depth chooses the layout: bilevel (1 bit), palette (4 and 8 bits) or RGB
// (16, 24 and 32 bits, written as 8 bits a sample). The parts follow each
// other without padding, so offsets may be odd.
#include <algorithm>
#include <climits>
#include <string>
#include <utility>

#include "output/Encoders.h"
#include "output/PixelRows.h"

namespace kadrilo {
namespace {

// Field types.
constexpr uint16_t Ascii = 2, Short = 3, Long = 4, Rational = 5;

enum Tag : uint16_t {
    NewSubfileType = 254,
    ImageWidth = 256,
    ImageLength = 257,
    BitsPerSample = 258,
    Compression = 259,
    PhotometricInterpretation = 262,
    StripOffsets = 273,
    SamplesPerPixel = 277,
    RowsPerStrip = 278,
    StripByteCounts = 279,
    XResolution = 282,
    YResolution = 283,
    PlanarConfiguration = 284,
    ResolutionUnit = 296,
    Software = 305,
    ColorMap = 320,
};

constexpr uint32_t NoCompression = 1, BlackIsZero = 1, RgbColour = 2, PaletteColour = 3;
constexpr uint32_t Chunky = 1, Inch = 2;
constexpr uint32_t ResolutionNumerator = 877, ResolutionDenominator = 10;  // 87.7 pixels per inch
constexpr char ProgramName[] = "kadrilio.exe";                              // written without its zero
constexpr uint32_t ProgramNameLength = sizeof ProgramName - 1;
constexpr int32_t LargestShort = 65535;
// Everything but the strip stays below this: header, colour map, the value
// blocks and a directory of 15 entries.
constexpr uint64_t LargestOverhead = 4096;

struct Entry {
    uint16_t tag;
    uint16_t type;
    uint32_t count;
    uint32_t value;  // the value itself when it fits in 4 bytes, else its offset
};

// What differs between the layouts' directories.
struct Layout {
    uint32_t width = 0, height = 0;
    uint32_t samplesPerPixel = 1;
    uint32_t bitsPerSample = 0;  // the value, or with 3 samples the offset of 8, 8, 8
    uint32_t photometric = 0;
    uint32_t stripOffset = 0, stripByteCount = 0;
    uint32_t xResolution = 0, yResolution = 0, software = 0;
    uint32_t colorMapCount = 0, colorMap = 0;  // no colour map when the count is 0
};

// The directory in ascending tag order: 14 entries for bilevel, 15 for palette
// (with ColorMap) and RGB (with PlanarConfiguration).
std::vector<Entry> Directory(const Layout& layout) {
    std::vector<Entry> entries = {
        {NewSubfileType, Long, 1, 0},
        {ImageWidth, Short, 1, layout.width},
        {ImageLength, Short, 1, layout.height},
        {BitsPerSample, Short, layout.samplesPerPixel, layout.bitsPerSample},
        {Compression, Short, 1, NoCompression},
        {PhotometricInterpretation, Short, 1, layout.photometric},
        {StripOffsets, Long, 1, layout.stripOffset},
        {SamplesPerPixel, Short, 1, layout.samplesPerPixel},
        {RowsPerStrip, Long, 1, layout.height},
        {StripByteCounts, Long, 1, layout.stripByteCount},
        {XResolution, Rational, 1, layout.xResolution},
        {YResolution, Rational, 1, layout.yResolution},
    };
    if (layout.samplesPerPixel == 3) entries.push_back({PlanarConfiguration, Short, 1, Chunky});
    entries.push_back({ResolutionUnit, Short, 1, Inch});
    entries.push_back({Software, Ascii, ProgramNameLength, layout.software});
    if (layout.colorMapCount != 0) entries.push_back({ColorMap, Short, layout.colorMapCount, layout.colorMap});
    return entries;
}

// The file as it grows; the header comes first, the directory last.
class TiffFile {
public:
    explicit TiffFile(uint64_t stripBytes) {
        bytes_.reserve(static_cast<size_t>(stripBytes + LargestOverhead));
        Put(0x4949, 2);  // "II": little-endian
        Put(42, 2);
        Put(8, 4);  // the directory's offset, set by Finish
    }
    uint32_t Position() const { return static_cast<uint32_t>(bytes_.size()); }
    void Put(uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes_.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
    // Appends `count` bytes for the caller to fill.
    uint8_t* Grow(size_t count) {
        bytes_.resize(bytes_.size() + count);
        return bytes_.data() + bytes_.size() - count;
    }
    uint32_t PutResolution() {
        const uint32_t at = Position();
        Put(ResolutionNumerator, 4), Put(ResolutionDenominator, 4);
        return at;
    }
    uint32_t PutProgramName() {
        const uint32_t at = Position();
        bytes_.insert(bytes_.end(), ProgramName, ProgramName + ProgramNameLength);
        return at;
    }
    // Writes the directory here and points the header at it. A SHORT value
    // lies in the first two bytes of its field; the checks keep every SHORT
    // below 65536, so the other two are zero.
    std::vector<uint8_t> Finish(const std::vector<Entry>& entries) {
        const uint32_t at = Position();
        Put(static_cast<uint32_t>(entries.size()), 2);
        for (const Entry& entry : entries)
            Put(entry.tag, 2), Put(entry.type, 2), Put(entry.count, 4), Put(entry.value, 4);
        Put(0, 4);  // no next directory
        for (int i = 0; i < 4; ++i) bytes_[4 + i] = static_cast<uint8_t>(at >> (8 * i));
        return std::move(bytes_);
    }

private:
    std::vector<uint8_t> bytes_;
};

// The width the file states: the 4-bit layout drops up to 3 columns on the
// right, so that its rows are whole bytes of whole pixel pairs.
int32_t WrittenWidth(const Bitmap& image) { return image.bitsPerPixel == 4 ? image.width / 4 * 4 : image.width; }

// The bytes of one row in the strip.
uint64_t RowLength(const Bitmap& image) {
    const uint64_t width = static_cast<uint64_t>(WrittenWidth(image));
    switch (image.bitsPerPixel) {
        case 1: return (width + 7) / 8;
        case 4: return width / 2;
        case 8: return width;
        default: return width * 3;
    }
}

// Throws EncodeError for whatever this format cannot hold, and unless every
// byte read lies inside the image's buffers.
void CheckWritable(const Bitmap& image) {
    const int depth = image.bitsPerPixel;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
        throw EncodeError("TIFF: unsupported depth of " + std::to_string(depth) + " bits per pixel");
    if (image.Empty()) throw EncodeError("TIFF: the image is empty");
    if (image.width > LargestShort || image.height > LargestShort)
        throw EncodeError("TIFF: the image is wider or taller than 65535 pixels");
    if (WrittenWidth(image) == 0) throw EncodeError("TIFF: a 4-bit image needs at least 4 pixels a row");
    if (RowLength(image) * static_cast<uint64_t>(image.height) > UINT32_MAX - LargestOverhead)
        throw EncodeError("TIFF: the image is too large for a file of 32-bit offsets");
    if (image.pixels.size() < ImageBytes(image))
        throw EncodeError("TIFF: the pixel buffer is smaller than the image");
    if (depth == 4 || depth == 8) {
        if (image.palette.empty()) throw EncodeError("TIFF: the image has no colour table");
        if (image.palette.size() > (size_t{1} << depth))
            throw EncodeError("TIFF: the colour table is larger than the depth allows");
    }
}

// Every row, top row first, as the first RowLength bytes of the input row.
void PutRowsAsTheyAre(TiffFile& file, const Bitmap& image) {
    const size_t rowLength = static_cast<size_t>(RowLength(image));
    uint8_t* out = file.Grow(rowLength * static_cast<size_t>(image.height));
    for (int32_t y = 0; y < image.height; ++y, out += rowLength) {
        const uint8_t* row = image.Row(y);
        std::copy(row, row + rowLength, out);
    }
}

// Every row, top row first, as R, G, B bytes.
void PutRowsAsRgb(TiffFile& file, const Bitmap& image) {
    const size_t rowLength = static_cast<size_t>(RowLength(image));
    uint8_t* out = file.Grow(rowLength * static_cast<size_t>(image.height));
    for (int32_t y = 0; y < image.height; ++y, out += rowLength) ConvertRowToRgb(image, y, out);
}

// Header, strip, resolutions, program name, directory.
std::vector<uint8_t> WriteBilevel(const Bitmap& image) {
    const uint64_t stripBytes = RowLength(image) * static_cast<uint64_t>(image.height);
    TiffFile file(stripBytes);
    Layout layout;
    layout.width = static_cast<uint32_t>(image.width), layout.height = static_cast<uint32_t>(image.height);
    layout.bitsPerSample = 1;
    layout.photometric = BlackIsZero;  // 0 is black and 1 white, whatever the colour table says
    layout.stripOffset = file.Position(), layout.stripByteCount = static_cast<uint32_t>(stripBytes);
    PutRowsAsTheyAre(file, image);
    layout.xResolution = file.PutResolution();
    layout.yResolution = file.PutResolution();
    layout.software = file.PutProgramName();
    return file.Finish(Directory(layout));
}

// Header, colour map, resolutions, program name, strip, directory.
std::vector<uint8_t> WritePalette(const Bitmap& image) {
    const uint64_t stripBytes = RowLength(image) * static_cast<uint64_t>(image.height);
    const uint32_t colours = uint32_t{1} << image.bitsPerPixel;
    TiffFile file(stripBytes);
    Layout layout;
    layout.width = static_cast<uint32_t>(WrittenWidth(image)), layout.height = static_cast<uint32_t>(image.height);
    layout.bitsPerSample = static_cast<uint32_t>(image.bitsPerPixel);
    layout.photometric = PaletteColour;
    // All reds, then all greens, then all blues, each component in the high
    // byte; entries the colour table lacks are black.
    layout.colorMap = file.Position(), layout.colorMapCount = 3 * colours;
    for (int shift : {16, 8, 0})
        for (uint32_t i = 0; i < colours; ++i)
            file.Put(i < image.palette.size() ? ((image.palette[i] >> shift) & 0xFF) << 8 : 0, 2);
    layout.xResolution = file.PutResolution();
    layout.yResolution = file.PutResolution();
    layout.software = file.PutProgramName();
    layout.stripOffset = file.Position(), layout.stripByteCount = static_cast<uint32_t>(stripBytes);
    PutRowsAsTheyAre(file, image);
    return file.Finish(Directory(layout));
}

// Header, resolutions, bits per sample, program name, strip, directory.
std::vector<uint8_t> WriteRgb(const Bitmap& image) {
    const uint64_t stripBytes = RowLength(image) * static_cast<uint64_t>(image.height);
    TiffFile file(stripBytes);
    Layout layout;
    layout.width = static_cast<uint32_t>(image.width), layout.height = static_cast<uint32_t>(image.height);
    layout.samplesPerPixel = 3;
    layout.photometric = RgbColour;
    layout.xResolution = file.PutResolution();
    layout.yResolution = file.PutResolution();
    layout.bitsPerSample = file.Position();
    for (int sample = 0; sample < 3; ++sample) file.Put(8, 2);
    layout.software = file.PutProgramName();
    layout.stripOffset = file.Position(), layout.stripByteCount = static_cast<uint32_t>(stripBytes);
    PutRowsAsRgb(file, image);
    return file.Finish(Directory(layout));
}

}  // namespace

std::vector<uint8_t> EncodeTiff(const Bitmap& image) {
    CheckWritable(image);
    switch (image.bitsPerPixel) {
        case 1: return WriteBilevel(image);
        case 4:
        case 8: return WritePalette(image);
        default: return WriteRgb(image);
    }
}

}  // namespace kadrilo
