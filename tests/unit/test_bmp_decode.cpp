// Bitmap decoder on files made here with known pixels: what the public test pictures do not
// show (headerless tables, indexes past the table, clipped runs, odd masks, cut files, sizes
// at their limits) and the refusals.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "render/decode.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes &b, size_t at, uint32_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}
void Put32(Bytes &b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; i++) b[at + i] = uint8_t(v >> (8 * i));
}

struct BmpLayout {
    int headerSize = 40;
    bool fileHeader = true;
    int32_t width = 3, height = 2;
    int bits = 24;
    uint32_t compression = 0, colorsUsed = 0;
    std::vector<uint32_t> palette;   // 0xRRGGBB, written in the header's entry form
    std::vector<uint32_t> masks;     // written after a 40-byte header when present
    Bytes gap;                       // bytes between the colour table and the pixels
    Bytes pixels;                    // the pixel data exactly as stored
};

Bytes BmpFile(const BmpLayout &s) {
    Bytes f;
    if (s.fileHeader) f.assign(14, 0);
    size_t info = f.size();
    f.resize(info + s.headerSize, 0);
    Put32(f, info, uint32_t(s.headerSize));
    if (s.headerSize == 12) {
        Put16(f, info + 4, uint32_t(s.width));
        Put16(f, info + 6, uint32_t(s.height));
        Put16(f, info + 8, 1);
        Put16(f, info + 10, uint32_t(s.bits));
    } else {
        Put32(f, info + 4, uint32_t(s.width));
        Put32(f, info + 8, uint32_t(s.height));
        Put16(f, info + 12, 1);
        Put16(f, info + 14, uint32_t(s.bits));
        Put32(f, info + 16, s.compression);
        Put32(f, info + 32, s.colorsUsed);
    }
    for (uint32_t m : s.masks) {
        f.resize(f.size() + 4);
        Put32(f, f.size() - 4, m);
    }
    for (uint32_t c : s.palette) {
        f.push_back(uint8_t(c));
        f.push_back(uint8_t(c >> 8));
        f.push_back(uint8_t(c >> 16));
        if (s.headerSize != 12) f.push_back(0);
    }
    f.insert(f.end(), s.gap.begin(), s.gap.end());
    if (s.fileHeader) {
        f[0] = 'B';
        f[1] = 'M';
        Put32(f, 2, uint32_t(f.size() + s.pixels.size()));
        Put32(f, 10, uint32_t(f.size()));
    }
    f.insert(f.end(), s.pixels.begin(), s.pixels.end());
    return f;
}

struct Decoded {
    BmpReason reason;
    RgbImage image;
    Decoded(const Bytes &file) { reason = DecodeBmp(file.data(), file.size(), &image); }
    ~Decoded() { free(image.pixels); }
    // Red, green, blue of the pixel at column x, row y counted from the bottom.
    uint32_t At(int x, int y) const {
        const uint8_t *p = image.pixels + (size_t(y) * image.width + x) * 3;
        return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
    }
    // Every pixel as 0xRRGGBB, bottom row first.
    std::vector<uint32_t> All() const {
        std::vector<uint32_t> all;
        for (int y = 0; y < image.height; y++)
            for (int x = 0; x < image.width; x++) all.push_back(At(x, y));
        return all;
    }
};

const std::vector<uint32_t> kPalette = {0x000000, 0xff0000, 0x00ff00, 0x0000ff, 0x123456, 0xfedcba,
                                        0x808080, 0xffffff, 0x010203, 0x0a0b0c, 0x111111, 0x222222,
                                        0x333333, 0x444444, 0x555555, 0x666666};
using Colours = std::vector<uint32_t>;

}   // namespace

TEST(BmpDecode, TableSizeAndPixelOffsetWithAndWithoutAFileHeader) {
    // No file header: the pixels follow a 3-entry table; index 3 is past it, so black.
    BmpLayout s;
    s.fileHeader = false;
    s.bits = 8;
    s.width = 4;
    s.height = 1;
    s.colorsUsed = 3;
    s.palette = {0x112233, 0x445566, 0x778899};
    s.pixels = {2, 0, 1, 3};
    EXPECT_EQ(Decoded(BmpFile(s)).All(), (Colours{0x778899, 0x112233, 0x445566, 0}));

    // Without colours-used a 4-bit table has 16 entries; a 16-bit picture has none.
    BmpLayout four = s;
    four.bits = 4;
    four.colorsUsed = 0;
    four.palette = kPalette;
    four.pixels = {0x5F, 0x10, 0, 0};
    EXPECT_EQ(Decoded(BmpFile(four)).All(), (Colours{0xfedcba, 0x666666, 0xff0000, 0}));
    BmpLayout packed = s;
    packed.bits = 16;
    packed.colorsUsed = 0;
    packed.palette = {};
    packed.pixels = {0x00, 0x7c, 0xe0, 0x03, 0x1f, 0x00, 0xff, 0x7f};
    EXPECT_EQ(Decoded(BmpFile(packed)).All(), (Colours{0xff0000, 0x00ff00, 0x0000ff, 0xffffff}));

    // With a file header its offset wins: bytes between table and pixels are skipped.
    BmpLayout gap = s;
    gap.fileHeader = true;
    gap.gap = Bytes(37, 1);
    EXPECT_EQ(Decoded(BmpFile(gap)).All(), (Colours{0x778899, 0x112233, 0x445566, 0}));
}

TEST(BmpDecode, MasksInAnyOrderAndWidthAndOnlyUnbrokenOnes) {
    BmpLayout w;
    w.bits = 32;
    w.width = 2;
    w.height = 1;
    w.compression = 3;
    w.masks = {0x000000ff, 0xff000000, 0x0000ff00};
    w.pixels = {0x11, 0x22, 0x33, 0x99, 0x44, 0x55, 0x66, 0x00};
    EXPECT_EQ(Decoded(BmpFile(w)).All(), (Colours{0x119922, 0x440055}));
    w.masks = {0xffffffff, 0, 0x1};   // a full-width channel, a missing one
    EXPECT_EQ(Decoded(BmpFile(w)).All(), (Colours{0x9900ff, 0x000000}));
    w.masks = {0x00ff00ff, 0x0000ff00, 0xff000000};   // a hole in the red mask
    EXPECT_EQ(Decoded(BmpFile(w)).reason, BMP_BAD_DATA);
}

TEST(BmpDecode, RunLengthRunsAreClippedAtTheRightEdgeAndSkippedPixelsAreBlack) {
    BmpLayout s;
    s.bits = 8;
    s.compression = 1;
    s.width = 5;
    s.height = 3;
    s.palette = kPalette;
    s.pixels = {
        0, 3, 4, 5, 6, 0,   // literal 4 5 6, padded to an even count
        9, 3,               // a run past the right edge: clipped, not wrapped
        0, 0,               // end of line
        0, 2, 1, 1,         // delta: one right, one up -> row 2, x 1
        1, 2,               // one of index 2
        0, 1,               // end of bitmap
        5, 5,               // never read
    };
    const uint32_t K = 0;
    EXPECT_EQ(Decoded(BmpFile(s)).All(), (Colours{0x123456, 0xfedcba, 0x808080, 0x0000ff, 0x0000ff,   //
                                                  K, K, K, K, K,                                       //
                                                  K, 0x00ff00, K, K, K}));
    // Four bits: runs alternate nibbles, a literal of 3 takes two bytes, past the edge dropped.
    s.bits = 4;
    s.compression = 2;
    s.width = 4;
    s.height = 1;
    s.pixels = {3, 0x12, 0, 3, 0x45, 0x60, 0, 1};
    EXPECT_EQ(Decoded(BmpFile(s)).All(), (Colours{kPalette[1], kPalette[2], kPalette[1], kPalette[4]}));

    auto reason = [&](const Bytes &px) {
        BmpLayout t = s;
        t.bits = 8;
        t.compression = 1;
        t.height = 2;
        t.pixels = px;
        return Decoded(BmpFile(t)).reason;
    };
    EXPECT_EQ(reason({4, 1, 0, 0}), BMP_BAD_DATA);                  // ends before the picture does
    EXPECT_EQ(reason({0, 5, 1, 2}), BMP_BAD_DATA);                  // literal longer than the data
    EXPECT_EQ(reason({0, 2, 1}), BMP_BAD_DATA);                     // delta without its bytes
    EXPECT_EQ(reason({0, 2, 255, 255}), BMP_DECODED);               // delta far past the corner
    EXPECT_EQ(reason({255, 1, 0, 0, 255, 2, 0, 0}), BMP_DECODED);   // runs far too long
    EXPECT_EQ(reason({0, 0, 0, 0, 0, 0, 0, 0}), BMP_DECODED);       // line ends past the top
}

TEST(BmpDecode, RefusedHeadersAndSizesAndEveryCutOfASmallFile) {
    BmpLayout s;
    s.pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0};
    auto reason = [](const BmpLayout &layout) {
        Decoded d(BmpFile(layout));
        EXPECT_EQ(d.image.pixels == nullptr, d.reason != BMP_DECODED);
        return d.reason;
    };
    ASSERT_EQ(reason(s), BMP_DECODED);
    Bytes good = BmpFile(s);
    EXPECT_EQ(Decoded(Bytes(good.begin(), good.begin() + 14 + 39)).reason, BMP_UNKNOWN_FORMAT);
    EXPECT_EQ(Decoded(Bytes{'B', 'M'}).reason, BMP_UNKNOWN_FORMAT);
    BmpLayout v = s;
    v.height = 0;
    EXPECT_EQ(reason(v), BMP_BAD_DATA);
    v = s;
    v.width = -3;
    EXPECT_EQ(reason(v), BMP_BAD_DATA);
    v = s;
    v.bits = 8;
    v.palette = {1, 2, 3};   // colours-used 0: 256 entries are due
    v.fileHeader = false;
    EXPECT_EQ(reason(v), BMP_BAD_DATA);

    // Sizes past the bound are refused before anything is allocated, whatever the file.
    for (int32_t height : {100000, int32_t(0x80000000u)}) {
        BmpLayout huge = s;
        huge.width = height == 100000 ? 100000 : 0x7fffffff;
        huge.height = height;
        EXPECT_EQ(reason(huge), BMP_TOO_LARGE) << height;
    }
    BmpLayout rle = s;
    rle.width = 8192;
    rle.height = 8193;
    rle.compression = 1;
    rle.bits = 8;
    EXPECT_EQ(reason(rle), BMP_TOO_LARGE);

    // Every cut of small files of each kind: refused, or decoded when only the last row's
    // padding is missing; never a read outside the buffer.
    std::vector<BmpLayout> kinds(4, s);
    kinds[1].bits = 4;
    kinds[1].palette = kPalette;
    kinds[1].pixels = {0x12, 0x30, 0, 0, 0x45, 0x60, 0, 0};
    kinds[2].bits = 8;
    kinds[2].compression = 1;
    kinds[2].palette = kPalette;
    kinds[2].pixels = {2, 3, 0, 3, 1, 2, 3, 0, 0, 0, 3, 4, 0, 1};
    kinds[3].bits = 16;
    kinds[3].compression = 3;
    kinds[3].masks = {0xf800, 0x07e0, 0x001f};
    kinds[3].pixels = Bytes(16, 0x5a);
    for (const BmpLayout &k : kinds) {
        Bytes file = BmpFile(k);
        ASSERT_EQ(Decoded(file).reason, BMP_DECODED);
        for (size_t cut = 0; cut < file.size(); cut++) {
            Decoded d(Bytes(file.begin(), file.begin() + cut));
            if (d.reason == BMP_DECODED) EXPECT_GE(cut + 3, file.size()) << cut;
            else EXPECT_EQ(d.image.pixels, nullptr);
        }
    }
}
