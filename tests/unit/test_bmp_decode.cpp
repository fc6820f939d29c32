// Bitmap decoder on files made here with known pixels: every depth, palettes, masks,
// run-length data, header forms, row orders, refusals, and cut files.
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

struct BmpSpec {
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

Bytes BmpFile(const BmpSpec &s) {
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

// A colour for each pixel of a small picture.
uint32_t Colour(int x, int y) { return uint32_t((x * 40 + 7) << 16 | (y * 60 + 3) << 8 | (250 - x * 9 - y)); }

// 24-bit rows of Colour(), padded to 4 bytes; rows bottom first unless topDown.
Bytes Rows24(int w, int h, bool topDown) {
    Bytes b;
    for (int r = 0; r < h; r++) {
        int y = topDown ? h - 1 - r : r;
        for (int x = 0; x < w; x++) {
            uint32_t c = Colour(x, y);
            b.push_back(uint8_t(c));
            b.push_back(uint8_t(c >> 8));
            b.push_back(uint8_t(c >> 16));
        }
        while (b.size() % 4) b.push_back(0xAB);   // padding must never show up as pixels
    }
    return b;
}

void ExpectColours(const Decoded &d, int w, int h) {
    ASSERT_EQ(d.reason, BMP_DECODED);
    ASSERT_EQ(d.image.width, w);
    ASSERT_EQ(d.image.height, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) EXPECT_EQ(d.At(x, y), Colour(x, y)) << x << "," << y;
}

const std::vector<uint32_t> kPalette = {0x000000, 0xff0000, 0x00ff00, 0x0000ff, 0x123456, 0xfedcba,
                                        0x808080, 0xffffff, 0x010203, 0x0a0b0c, 0x111111, 0x222222,
                                        0x333333, 0x444444, 0x555555, 0x666666};

}   // namespace

TEST(BmpDecode, TrueColourRowsOfEveryPaddingAndBothRowOrders) {
    for (int w : {1, 2, 3, 4, 5}) {   // row padding 3, 2, 1, 0, 1 bytes
        BmpSpec s;
        s.width = w;
        s.height = 3;
        s.pixels = Rows24(w, 3, false);
        ExpectColours(Decoded(BmpFile(s)), w, 3);

        s.height = -3;
        s.pixels = Rows24(w, 3, true);
        ExpectColours(Decoded(BmpFile(s)), w, 3);
    }
}

TEST(BmpDecode, PaletteDepthsPickEntriesMostSignificantBitsFirst) {
    // 1 bit, 10 wide: indices spill into a second byte, then padding.
    BmpSpec one;
    one.bits = 1;
    one.width = 10;
    one.height = 2;
    one.palette = {0x102030, 0xa0b0c0};
    one.pixels = {0xA5, 0x80, 0, 0,    // bottom row: 1010 0101 10
                  0x5A, 0x40, 0, 0};   // top row:    0101 1010 01
    Decoded d1(BmpFile(one));
    ASSERT_EQ(d1.reason, BMP_DECODED);
    const int bottom[10] = {1, 0, 1, 0, 0, 1, 0, 1, 1, 0};
    const int top[10] = {0, 1, 0, 1, 1, 0, 1, 0, 0, 1};
    for (int x = 0; x < 10; x++) {
        EXPECT_EQ(d1.At(x, 0), one.palette[bottom[x]]) << x;
        EXPECT_EQ(d1.At(x, 1), one.palette[top[x]]) << x;
    }

    // 4 bits, 3 wide: the last index is a high nibble alone.
    BmpSpec four;
    four.bits = 4;
    four.width = 3;
    four.height = 1;
    four.palette = kPalette;
    four.pixels = {0x4F, 0x7E, 0, 0};
    Decoded d4(BmpFile(four));
    ASSERT_EQ(d4.reason, BMP_DECODED);
    EXPECT_EQ(d4.All(), (std::vector<uint32_t>{0x123456, 0x666666, 0xffffff}));

    // 8 bits through the 3-byte entries of the 12-byte header (always 256 of them).
    BmpSpec eight;
    eight.headerSize = 12;
    eight.bits = 8;
    eight.width = 2;
    eight.height = 2;
    eight.palette.assign(256, 0);
    for (int i = 0; i < 256; i++) eight.palette[i] = uint32_t(i * 0x010101) ^ 0x00ff00;
    eight.pixels = {7, 200, 0, 0, 255, 0, 0, 0};
    Decoded d8(BmpFile(eight));
    ASSERT_EQ(d8.reason, BMP_DECODED);
    EXPECT_EQ(d8.All(), (std::vector<uint32_t>{eight.palette[7], eight.palette[200], eight.palette[255],
                                               eight.palette[0]}));
}

TEST(BmpDecode, ColoursUsedSetsTheTableSizeAndIndexesPastItAreBlack) {
    // No file header: the pixels follow a 3-entry table directly.
    BmpSpec s;
    s.fileHeader = false;
    s.bits = 8;
    s.width = 4;
    s.height = 1;
    s.colorsUsed = 3;
    s.palette = {0x112233, 0x445566, 0x778899};
    s.pixels = {2, 0, 1, 3};
    Decoded d(BmpFile(s));
    ASSERT_EQ(d.reason, BMP_DECODED);
    EXPECT_EQ(d.All(), (std::vector<uint32_t>{0x778899, 0x112233, 0x445566, 0x000000}));

    // Without colours-used a 4-bit table has 16 entries, and a 24-bit picture none, even
    // without a file header to say where its pixels are.
    BmpSpec full = s;
    full.bits = 4;
    full.colorsUsed = 0;
    full.palette = kPalette;
    full.pixels = {0x5F, 0x10, 0, 0};
    Decoded d4(BmpFile(full));
    ASSERT_EQ(d4.reason, BMP_DECODED);
    EXPECT_EQ(d4.All(), (std::vector<uint32_t>{0xfedcba, 0x666666, 0xff0000, 0x000000}));
    BmpSpec rgb;
    rgb.fileHeader = false;
    rgb.pixels = Rows24(3, 2, false);
    ExpectColours(Decoded(BmpFile(rgb)), 3, 2);

    // With a file header its pixel offset wins: bytes between table and pixels are skipped.
    BmpSpec gap = s;
    gap.fileHeader = true;
    gap.gap = Bytes(37, 1);
    EXPECT_EQ(Decoded(BmpFile(gap)).All(), d.All());
}

TEST(BmpDecode, PackedPixelsUseDefaultOrGivenMasksScaledToFullRange) {
    // 16 bits, no masks: 5-5-5 with the top bit ignored; a full channel is 255.
    BmpSpec s;
    s.bits = 16;
    s.width = 4;
    s.height = 1;
    s.pixels = {0xff, 0x7f, 0x00, 0xfc, 0xe0, 0x03, 0x1f, 0x80};
    Decoded d(BmpFile(s));
    ASSERT_EQ(d.reason, BMP_DECODED);
    EXPECT_EQ(d.All(), (std::vector<uint32_t>{0xffffff, 0xff0000, 0x00ff00, 0x0000ff}));

    // 5-6-5 masks; green 32 of 63 is 130.
    s.compression = 3;
    s.masks = {0xf800, 0x07e0, 0x001f};
    s.pixels = {0x00, 0xf8, 0x00, 0x04, 0x1f, 0x00, 0xff, 0xff};
    Decoded d565(BmpFile(s));
    ASSERT_EQ(d565.reason, BMP_DECODED);
    EXPECT_EQ(d565.All(), (std::vector<uint32_t>{0xff0000, 0x008200, 0x0000ff, 0xffffff}));

    // 32 bits: by default blue, green, red, ignored; with masks in any order.
    BmpSpec w;
    w.bits = 32;
    w.width = 2;
    w.height = 1;
    w.pixels = {0x11, 0x22, 0x33, 0x99, 0x44, 0x55, 0x66, 0x00};
    Decoded d32(BmpFile(w));
    ASSERT_EQ(d32.reason, BMP_DECODED);
    EXPECT_EQ(d32.All(), (std::vector<uint32_t>{0x332211, 0x665544}));
    w.compression = 3;
    w.masks = {0x000000ff, 0xff000000, 0x0000ff00};
    Decoded dbf(BmpFile(w));
    ASSERT_EQ(dbf.reason, BMP_DECODED);
    EXPECT_EQ(dbf.All(), (std::vector<uint32_t>{0x119922, 0x440055}));

    // A mask with a hole in it is not a channel.
    w.masks = {0x00ff00ff, 0x0000ff00, 0xff000000};
    EXPECT_EQ(Decoded(BmpFile(w)).reason, BMP_BAD_DATA);
}

TEST(BmpDecode, RunLengthEightFollowsRunsLiteralsDeltasAndLineEnds) {
    BmpSpec s;
    s.bits = 8;
    s.compression = 1;
    s.width = 5;
    s.height = 4;
    s.palette = kPalette;
    s.pixels = {
        3, 1,                  // row 0: three of index 1
        0, 3, 4, 5, 6, 0,      // literal 4 5 6, padded to an even count
        0, 0,                  // end of line
        0, 2, 2, 1,            // delta: two right, one up -> row 2, x 2
        2, 7,                  // two of index 7
        9, 3,                  // a run past the right edge: clipped, not wrapped
        0, 0,                  // end of line -> row 3
        1, 2,                  // one of index 2
        0, 1,                  // end of bitmap
        5, 5,                  // never read
    };
    Decoded d(BmpFile(s));
    ASSERT_EQ(d.reason, BMP_DECODED);
    const uint32_t K = 0x000000;   // skipped pixels are black
    EXPECT_EQ(d.All(), (std::vector<uint32_t>{
                           0xff0000, 0xff0000, 0xff0000, 0x123456, 0xfedcba,   // row 0
                           K, K, K, K, K,                                      // row 1
                           K, K, 0xffffff, 0xffffff, 0x0000ff,                 // row 2
                           0x00ff00, K, K, K, K}));                            // row 3
}

TEST(BmpDecode, RunLengthFourAlternatesNibbles) {
    BmpSpec s;
    s.bits = 4;
    s.compression = 2;
    s.width = 7;
    s.height = 2;
    s.palette = kPalette;
    s.pixels = {
        5, 0x12,            // 1 2 1 2 1
        0, 3, 0x45, 0x60,   // literal 4 5 6 in two bytes (even: no padding); 6 is past the edge
        0, 0,               // end of line
        0, 3, 0x7f, 0xe0,   // literal 7 15 14
        0, 1,               // end of bitmap
    };
    Decoded d(BmpFile(s));
    ASSERT_EQ(d.reason, BMP_DECODED);
    auto p = [](int i) { return kPalette[i]; };
    EXPECT_EQ(d.All(), (std::vector<uint32_t>{p(1), p(2), p(1), p(2), p(1), p(4), p(5),   //
                                              p(7), p(15), p(14), 0, 0, 0, 0}));
}

TEST(BmpDecode, BadRunLengthDataIsRefusedOrClippedSafely) {
    BmpSpec s;
    s.bits = 8;
    s.compression = 1;
    s.width = 4;
    s.height = 2;
    s.palette = kPalette;
    auto reason = [&](const Bytes &px) {
        BmpSpec t = s;
        t.pixels = px;
        return Decoded(BmpFile(t)).reason;
    };
    EXPECT_EQ(reason({4, 1, 0, 0}), BMP_BAD_DATA);               // ends before the picture does
    EXPECT_EQ(reason({0, 5, 1, 2}), BMP_BAD_DATA);               // literal longer than the data
    EXPECT_EQ(reason({0, 2, 1}), BMP_BAD_DATA);                  // delta without its bytes
    EXPECT_EQ(reason({4, 1, 0}), BMP_BAD_DATA);                  // half an escape
    EXPECT_EQ(reason({0, 2, 255, 255}), BMP_DECODED);            // delta far past the corner
    EXPECT_EQ(reason({255, 1, 0, 0, 255, 2, 0, 0}), BMP_DECODED);   // runs far too long
    EXPECT_EQ(reason({0, 0, 0, 0, 0, 0, 0, 0}), BMP_DECODED);    // line ends past the top
    // Run-length pictures cannot be stored top row first, nor in the other depth.
    BmpSpec top = s;
    top.height = -2;
    top.pixels = {0, 1};
    EXPECT_EQ(Decoded(BmpFile(top)).reason, BMP_BAD_DATA);
    BmpSpec wrong = s;
    wrong.bits = 4;
    wrong.pixels = {0, 1};
    EXPECT_EQ(Decoded(BmpFile(wrong)).reason, BMP_BAD_DATA);
}

TEST(BmpDecode, HeadersAndDepthsOutsideWhatWeTakeAreRefused) {
    BmpSpec s;
    s.pixels = Rows24(3, 2, false);
    for (int size : {108, 124, 64, 56, 52, 16, 0}) {
        BmpSpec h = s;
        h.headerSize = size < 40 ? 40 : size;
        Bytes f = BmpFile(h);
        Put32(f, 14, uint32_t(size));
        EXPECT_EQ(Decoded(f).reason, BMP_UNKNOWN_FORMAT) << size;
    }
    Bytes good = BmpFile(s);
    EXPECT_EQ(Decoded(Bytes(good.begin(), good.begin() + 14 + 39)).reason, BMP_UNKNOWN_FORMAT);
    EXPECT_EQ(Decoded(Bytes(good.begin(), good.begin() + 16)).reason, BMP_UNKNOWN_FORMAT);
    EXPECT_EQ(Decoded(Bytes{'B', 'M'}).reason, BMP_UNKNOWN_FORMAT);
    EXPECT_EQ(Decoded(Bytes()).reason, BMP_UNKNOWN_FORMAT);

    for (int bits : {0, 2, 64, 30000}) {
        BmpSpec b = s;
        b.bits = bits;
        EXPECT_EQ(Decoded(BmpFile(b)).reason, BMP_BAD_DATA) << bits;
    }
    for (uint32_t compression : {4u, 5u, 6u, 3u}) {   // JPEG, PNG, alpha masks; masks at 24 bits
        BmpSpec c = s;
        c.compression = compression;
        EXPECT_EQ(Decoded(BmpFile(c)).reason, BMP_BAD_DATA) << compression;
    }
    for (int32_t width : {0, -3}) {
        BmpSpec w = s;
        w.width = width;
        EXPECT_EQ(Decoded(BmpFile(w)).reason, BMP_BAD_DATA) << width;
    }
    BmpSpec flat = s;
    flat.height = 0;
    EXPECT_EQ(Decoded(BmpFile(flat)).reason, BMP_BAD_DATA);

    // Sizes past the bound are refused before anything is allocated, whatever the file.
    BmpSpec huge = s;
    huge.width = 100000;
    huge.height = 100000;
    EXPECT_EQ(Decoded(BmpFile(huge)).reason, BMP_TOO_LARGE);
    huge.width = 0x7fffffff;
    huge.height = int32_t(0x80000000u);
    EXPECT_EQ(Decoded(BmpFile(huge)).reason, BMP_TOO_LARGE);
    huge.width = 8192;
    huge.height = 8193;
    huge.compression = 1;
    huge.bits = 8;
    EXPECT_EQ(Decoded(BmpFile(huge)).reason, BMP_TOO_LARGE);
}

TEST(BmpDecode, CutFilesAreRefusedExceptForTheLastRowsPadding) {
    BmpSpec s;
    s.width = 3;   // rows of 9 pixel bytes and 3 padding bytes
    s.pixels = Rows24(3, 2, false);
    Bytes good = BmpFile(s);
    ExpectColours(Decoded(Bytes(good.begin(), good.end() - 3)), 3, 2);
    EXPECT_EQ(Decoded(Bytes(good.begin(), good.end() - 4)).reason, BMP_BAD_DATA);

    // A pixel offset past the end, and a colour table the file does not hold.
    Bytes far = good;
    Put32(far, 10, uint32_t(good.size() + 1));
    EXPECT_EQ(Decoded(far).reason, BMP_BAD_DATA);
    BmpSpec pal;
    pal.fileHeader = false;
    pal.bits = 8;
    pal.palette = {1, 2, 3};   // colours-used 0: 256 entries are due
    EXPECT_EQ(Decoded(BmpFile(pal)).reason, BMP_BAD_DATA);

    // Every cut of small files of each kind: refused or decoded, never outside the buffer.
    std::vector<BmpSpec> kinds(4, s);
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
    for (const BmpSpec &k : kinds) {
        Bytes file = BmpFile(k);
        ASSERT_EQ(Decoded(file).reason, BMP_DECODED);
        for (size_t cut = 0; cut < file.size(); cut++) {
            Decoded d(Bytes(file.begin(), file.begin() + cut));
            if (d.reason == BMP_DECODED) EXPECT_GE(cut + 3, file.size());
            else EXPECT_EQ(d.image.pixels, nullptr);
        }
    }
}
