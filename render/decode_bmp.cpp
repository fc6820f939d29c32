// Windows bitmap decoder: 40- and 12-byte information headers, palettes, masks, RLE4/RLE8.
#include "render/decode.h"

#include <cstdlib>
#include <cstring>

namespace {

enum : uint32_t { BI_RGB_ = 0, BI_RLE8_ = 1, BI_RLE4_ = 2, BI_BITFIELDS_ = 3 };


// One colour channel of a packed pixel: where it sits and how many bits it has.
struct Channel {
    uint32_t mask, shift, bits;
};

// False when the mask's bits are not one unbroken run (a zero mask is a channel of 0 bits).
bool MakeChannel(uint32_t mask, Channel *c) {
    c->mask = mask;
    c->shift = c->bits = 0;
    if (!mask) return true;
    while (!((mask >> c->shift) & 1)) c->shift++;
    uint32_t rest = mask >> c->shift;
    while (c->bits < 32 && ((rest >> c->bits) & 1)) c->bits++;
    return c->bits == 32 || (rest >> c->bits) == 0;
}

// The channel's value stretched to 0..255, so that a full channel is 255 whatever its width.
uint8_t ChannelValue(const Channel &c, uint32_t pixel) {
    if (!c.bits) return 0;
    uint64_t v = (pixel & c.mask) >> c.shift;
    uint64_t max = (uint64_t(1) << c.bits) - 1;
    return uint8_t((v * 255 + max / 2) / max);
}

// What the headers say, gathered before any pixel is touched.
struct BmpLayout {
    bool fileHeader;              // the 14-byte "BM" header is there
    uint64_t info;                // where the information header begins
    uint32_t headerSize;          // 40 or 12
    uint64_t tableStart;          // the masks' and colour table's first byte
    uint64_t tableEntries, entrySize;
    int64_t width, rows;
    bool topDown;
    uint32_t bits, compression;
    uint64_t pixelOffset;
    uint8_t palette[256][3];   // red, green, blue; entries past the colour table stay black
    Channel red, green, blue;
};

inline void PutRgb(uint8_t *p, const uint8_t *rgb) {
    p[0] = rgb[0];
    p[1] = rgb[1];
    p[2] = rgb[2];
}

void DecodeRows(const uint8_t *data, const BmpLayout &L, uint8_t *out) {
    uint64_t stride = ((uint64_t(L.width) * L.bits + 31) / 32) * 4;
    for (int64_t r = 0; r < L.rows; r++) {
        const uint8_t *src = data + L.pixelOffset + uint64_t(r) * stride;
        int64_t outRow = L.topDown ? L.rows - 1 - r : r;
        uint8_t *dst = out + uint64_t(outRow) * uint64_t(L.width) * 3;
        for (int64_t x = 0; x < L.width; x++, dst += 3) {
            switch (L.bits) {
            case 1: PutRgb(dst, L.palette[(src[x >> 3] >> (7 - (x & 7))) & 1]); break;
            case 4: PutRgb(dst, L.palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15]); break;
            case 8: PutRgb(dst, L.palette[src[x]]); break;
            case 24:
                dst[0] = src[x * 3 + 2];
                dst[1] = src[x * 3 + 1];
                dst[2] = src[x * 3];
                break;
            default: {
                uint32_t pixel = L.bits == 16 ? ReadLe16(src + x * 2) : ReadLe32(src + x * 4);
                dst[0] = ChannelValue(L.red, pixel);
                dst[1] = ChannelValue(L.green, pixel);
                dst[2] = ChannelValue(L.blue, pixel);
            }
            }
        }
    }
}

// Run-length data, 8 or 4 bits per index, bottom row first. Pixels a run would put past the
// right edge are dropped; a delta or end of line below the top row ends the picture early;
// pixels never written stay black. Data that ends before the picture does is refused, with
// *reached set to the pixels it got to. With out null nothing is written: the stream is only
// walked, to learn whether it is whole before the picture is allocated.
bool DecodeRle(const uint8_t *data, size_t size, const BmpLayout &L, uint8_t *out, uint64_t *reached) {
    bool four = L.compression == BI_RLE4_;
    uint64_t pos = L.pixelOffset;
    uint64_t x = 0, y = 0;
    auto put = [&](uint32_t index) {
        if (out && x < uint64_t(L.width)) PutRgb(out + (y * uint64_t(L.width) + x) * 3, L.palette[index]);
        x++;
    };
    auto ranOut = [&]() {
        uint64_t w = uint64_t(L.width);
        *reached = y >= uint64_t(L.rows) ? uint64_t(L.rows) * w : y * w + (x < w ? x : w);
        return false;
    };
    while (y < uint64_t(L.rows)) {
        if (size - pos < 2) return ranOut();
        uint32_t a = data[pos], b = data[pos + 1];
        pos += 2;
        if (a > 0) {   // a run of a pixels
            for (uint32_t i = 0; i < a; i++) put(four ? ((i & 1) ? b & 15 : b >> 4) : b);
        } else if (b == 0) {   // end of line
            x = 0;
            y++;
        } else if (b == 1) {   // end of bitmap
            return true;
        } else if (b == 2) {   // delta: move right and up
            if (size - pos < 2) return ranOut();
            x += data[pos];
            y += data[pos + 1];
            pos += 2;
            if (x > uint64_t(L.width)) x = L.width;
        } else {   // b indexes stored as they stand, padded to an even byte count
            uint64_t bytes = four ? (b + 1) / 2 : b;
            if (size - pos < bytes) return ranOut();
            for (uint32_t i = 0; i < b; i++) {
                uint32_t v = four ? data[pos + i / 2] : data[pos + i];
                put(four ? ((i & 1) ? v & 15 : v >> 4) : v);
            }
            pos += bytes + (bytes & 1);
            if (pos > size) pos = size;
        }
    }
    return true;
}

// Step 1: the file header, if any, and the information header: size, depth, compression,
// how big the colour table is.
BmpReason ReadBmpHeaders(const uint8_t *data, size_t size, BmpLayout &L) {
    L.fileHeader = size >= 2 && data[0] == 'B' && data[1] == 'M';
    L.info = L.fileHeader ? 14 : 0;
    if (size < L.info + 4) return BMP_UNKNOWN_FORMAT;
    L.headerSize = ReadLe32(data + L.info);
    if (L.headerSize != 40 && L.headerSize != 12) return BMP_UNKNOWN_FORMAT;
    if (size - L.info < L.headerSize) return BMP_UNKNOWN_FORMAT;

    const uint8_t *h = data + L.info;
    int64_t height;
    if (L.headerSize == 40) {
        L.width = int32_t(ReadLe32(h + 4));
        height = int32_t(ReadLe32(h + 8));
        L.bits = ReadLe16(h + 14);
        L.compression = ReadLe32(h + 16);
        uint32_t used = ReadLe32(h + 32);
        L.tableEntries = used ? used : (L.bits == 1 ? 2 : L.bits == 4 ? 16 : L.bits == 8 ? 256 : 0);
        L.entrySize = 4;
    } else {
        L.width = ReadLe16(h + 4);
        height = ReadLe16(h + 6);
        L.bits = ReadLe16(h + 10);
        L.compression = BI_RGB_;
        L.tableEntries = L.bits == 1 ? 2 : L.bits == 4 ? 16 : L.bits == 8 ? 256 : 0;
        L.entrySize = 3;
    }
    L.topDown = height < 0;
    L.rows = height < 0 ? -height : height;
    L.tableStart = L.info + L.headerSize;
    return BMP_DECODED;
}

bool IsRle(const BmpLayout &L) { return L.compression == BI_RLE8_ || L.compression == BI_RLE4_; }

// Step 2: the forms the decoder takes, and the bound on the picture's size.
BmpReason CheckBmpForm(const BmpLayout &L) {
    if (L.width <= 0 || L.rows == 0) return BMP_BAD_DATA;
    uint32_t b = L.bits, c = L.compression;
    if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32) return BMP_BAD_DATA;
    if (!(c == BI_RGB_ || (c == BI_RLE8_ && b == 8) || (c == BI_RLE4_ && b == 4) ||
          (c == BI_BITFIELDS_ && (b == 16 || b == 32))))
        return BMP_BAD_DATA;
    if (IsRle(L) && L.topDown) return BMP_BAD_DATA;   // run-length pictures are bottom row first
    if (uint64_t(L.width) * uint64_t(L.rows) > MAX_PICTURE_PIXELS) return BMP_TOO_LARGE;
    return BMP_DECODED;
}

// Step 3: the channel masks of packed pixels: three 32-bit fields after the 40-byte header,
// or the defaults.
BmpReason ReadBmpMasks(const uint8_t *data, size_t size, BmpLayout &L) {
    uint32_t masks[3] = {0x7c00, 0x03e0, 0x001f};
    if (L.bits == 32) {
        masks[0] = 0xff0000;
        masks[1] = 0xff00;
        masks[2] = 0xff;
    }
    if (L.compression == BI_BITFIELDS_) {
        if (size - L.tableStart < 12) return BMP_BAD_DATA;
        for (int i = 0; i < 3; i++) masks[i] = ReadLe32(data + L.tableStart + 4 * size_t(i));
        L.tableStart += 12;
    }
    if (!MakeChannel(masks[0], &L.red) || !MakeChannel(masks[1], &L.green) || !MakeChannel(masks[2], &L.blue))
        return BMP_BAD_DATA;
    return BMP_DECODED;
}

// Step 4: where the pixels begin, and the colour table. The file header's offset is taken
// unless it points into the headers themselves (or onto the colour table's first byte),
// which no writer means: then, as without a file header, the pixels follow the colour table.
// Only the entries an index of this depth can reach are read.
BmpReason ReadBmpPalette(const uint8_t *data, size_t size, BmpLayout &L) {
    uint32_t b = L.bits;
    uint64_t usable = b <= 8 ? (L.tableEntries < (1u << b) ? L.tableEntries : (1u << b)) : 0;
    uint64_t offset = L.fileHeader ? ReadLe32(data + 10) : 0;
    if (L.fileHeader && (offset > L.tableStart || (b > 8 && offset == L.tableStart))) {
        if ((offset - L.tableStart) / L.entrySize < usable) usable = (offset - L.tableStart) / L.entrySize;
        L.pixelOffset = offset;
    } else {
        L.pixelOffset = L.tableStart + L.tableEntries * L.entrySize;
    }
    if (L.tableStart > size || (size - L.tableStart) / L.entrySize < usable) return BMP_BAD_DATA;
    for (uint64_t i = 0; i < usable; i++) {
        const uint8_t *e = data + L.tableStart + i * L.entrySize;
        L.palette[i][0] = e[2];
        L.palette[i][1] = e[1];
        L.palette[i][2] = e[0];
    }
    return BMP_DECODED;
}

// Step 5: whether the file holds the whole picture, before it is allocated. Raw rows must
// all be there but the last row's padding; run-length data is walked to its end.
// *supplied gets how many pixels the file holds.
BmpReason CheckBmpPixelData(const uint8_t *data, size_t size, const BmpLayout &L, uint64_t *supplied) {
    uint64_t total = uint64_t(L.width) * uint64_t(L.rows);
    *supplied = 0;
    if (L.pixelOffset > size) return BMP_BAD_DATA;
    uint64_t held = size - L.pixelOffset;
    if (IsRle(L)) {
        if (!DecodeRle(data, size, L, nullptr, supplied)) return BMP_BAD_DATA;
    } else {
        uint64_t stride = ((uint64_t(L.width) * L.bits + 31) / 32) * 4;
        uint64_t lastRow = (uint64_t(L.width) * L.bits + 7) / 8;
        if (held < stride * uint64_t(L.rows - 1) + lastRow) {
            uint64_t rows = held / stride;
            uint64_t part = (held - rows * stride) * 8 / L.bits;
            *supplied = rows * uint64_t(L.width) + (part < uint64_t(L.width) ? part : uint64_t(L.width));
            return BMP_BAD_DATA;
        }
    }
    *supplied = total;
    return BMP_DECODED;
}

}   // namespace

BmpReason DecodeBmp(const uint8_t *data, size_t size, RgbImage *image, PictureFacts *facts) {
    image->width = image->height = 0;
    image->pixels = nullptr;
    PictureFacts ignored;
    if (!facts) facts = &ignored;
    *facts = PictureFacts{};
    if (!data) return BMP_UNKNOWN_FORMAT;

    BmpLayout L;
    memset(&L, 0, sizeof L);
    BmpReason reason = ReadBmpHeaders(data, size, L);
    facts->headerAt = uint32_t(L.info);
    facts->headerSize = L.headerSize;
    facts->width = L.width;
    facts->height = L.topDown ? -int64_t(L.rows) : int64_t(L.rows);
    facts->depth = L.bits;
    facts->type = L.compression;
    if (reason == BMP_DECODED) reason = CheckBmpForm(L);
    if (reason != BMP_DECODED) return reason;
    facts->needed = uint64_t(L.width) * uint64_t(L.rows);
    reason = ReadBmpMasks(data, size, L);
    if (reason == BMP_DECODED) reason = ReadBmpPalette(data, size, L);
    if (reason == BMP_DECODED) reason = CheckBmpPixelData(data, size, L, &facts->supplied);
    if (reason != BMP_DECODED) return reason;

    uint8_t *out = static_cast<uint8_t *>(calloc(size_t(facts->needed * 3), 1));
    if (!out) return BMP_NO_MEMORY;
    uint64_t reached;
    if (IsRle(L)) DecodeRle(data, size, L, out, &reached);   // whole: walked in step 5
    else DecodeRows(data, L, out);
    image->width = int32_t(L.width);
    image->height = int32_t(L.rows);
    image->pixels = out;
    return BMP_DECODED;
}
