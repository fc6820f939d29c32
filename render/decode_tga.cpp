// Targa decoder: true-colour pictures, raw or run-length encoded, 24 or 32 bits per pixel.
#include "render/decode.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>


// Walks the packet stream in data[pos .. size) without writing anything and returns how many
// pixels it fills, at most total: a stream that runs out first fills fewer.
static uint64_t CountTgaPackets(const uint8_t *data, size_t size, size_t pos, uint64_t total, uint32_t bpp) {
    uint64_t done = 0;
    while (done < total && pos < size) {
        uint8_t header = data[pos++];
        uint64_t count = uint64_t(header & 0x7f) + 1;
        if (count > total - done) count = total - done;   // cut at the picture's end
        uint64_t whole = (size - pos) / bpp;                // pixels the file still holds
        if (header & 0x80) {
            if (whole == 0) break;   // the run's pixel is missing
            pos += bpp;
            done += count;
        } else {
            uint64_t take = count < whole ? count : whole;
            pos += size_t(take * bpp);
            done += take;
            if (take < count) break;
        }
    }
    return done;
}

// Pixels as stored, blue-green-red(-alpha), copied as red-green-blue(-alpha). A fixed pixel
// size lets the compiler unroll and widen the loops.
template <uint32_t BPP>
static void CopySwapped(uint8_t *dst, const uint8_t *src, uint64_t count) {
    for (uint64_t i = 0; i < count; i++, dst += BPP, src += BPP) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
        if (BPP == 4) dst[3] = src[3];
    }
}

// Fills out[0 .. total), in red-green-blue order, from a packet stream that CountTgaPackets
// found long enough.
template <uint32_t BPP>
static void DecodeTgaPackets(const uint8_t *data, size_t pos, uint8_t *out, uint64_t total) {
    uint64_t done = 0;
    while (done < total) {
        uint8_t header = data[pos++];
        uint64_t count = uint64_t(header & 0x7f) + 1;
        if (count > total - done) count = total - done;
        uint8_t *dst = out + done * BPP;
        if (header & 0x80) {
            uint8_t pixel[BPP];
            CopySwapped<BPP>(pixel, data + pos, 1);
            for (uint64_t i = 0; i < count; i++) memcpy(dst + i * BPP, pixel, BPP);
            pos += BPP;
        } else {
            CopySwapped<BPP>(dst, data + pos, count);
            pos += size_t(count * BPP);
        }
        done += count;
    }
}

TgaReason DecodeTga(const uint8_t *data, size_t size, TgaPicture *picture, PictureFacts *facts) {
    PictureFacts ignored;
    if (!facts) facts = &ignored;
    *facts = PictureFacts{};
    picture->width = picture->height = picture->bytesPerPixel = 0;
    picture->pixels = nullptr;
    if (!data || size < 18) return TGA_SHORT_HEADER;

    uint32_t idLength = data[0];
    uint32_t mapType = data[1];
    uint32_t imageType = data[2];
    uint32_t mapLength = ReadLe16(data + 5);
    uint32_t mapEntryBits = data[7];
    uint32_t width = ReadLe16(data + 12);
    uint32_t height = ReadLe16(data + 14);
    uint32_t depth = data[16];
    uint32_t descriptor = data[17];
    facts->width = width;
    facts->height = height;
    facts->depth = depth;
    facts->type = imageType;

    if (depth != 24 && depth != 32) return TGA_BAD_DEPTH;
    if (imageType != 2 && imageType != 10) return TGA_BAD_TYPE;
    if (width == 0 || height == 0) return TGA_EMPTY;
    uint32_t bpp = depth / 8;
    uint64_t total = uint64_t(width) * height;
    uint64_t bytes = total * bpp;

    // Image ID, then the colour map if the file carries one: neither is pixel data.
    uint64_t pos = 18 + uint64_t(idLength);
    if (mapType == 1) pos += uint64_t(mapLength) * ((mapEntryBits + 7) / 8);

    // What the file holds, found before anything is allocated: raw pixels need all their
    // bytes; run-length packets are walked (a packet of 1 + bpp bytes fills at most 128 pixels,
    // so a few bytes cannot stand for a big picture).
    uint64_t held = pos < size ? size - pos : 0;
    facts->needed = total;
    facts->supplied = imageType == 2 ? (held < bytes ? held / bpp : total)
                                     : CountTgaPackets(data, size, size_t(pos), total, bpp);
    if (facts->supplied < total) return TGA_SHORT_DATA;
    if (total > MAX_PICTURE_PIXELS) return TGA_TOO_LARGE;

    uint8_t *pixels = static_cast<uint8_t *>(malloc(size_t(bytes)));
    if (!pixels) return TGA_NO_MEMORY;
    if (imageType == 2) {
        if (bpp == 4) CopySwapped<4>(pixels, data + pos, total);
        else CopySwapped<3>(pixels, data + pos, total);
    } else {
        if (bpp == 4) DecodeTgaPackets<4>(data, size_t(pos), pixels, total);
        else DecodeTgaPackets<3>(data, size_t(pos), pixels, total);
    }

    // Top row first and left to right: turn the rows round so the bottom row comes first.
    if ((descriptor & 0x20) && !(descriptor & 0x10)) {
        size_t rowBytes = size_t(width) * bpp;
        for (uint32_t i = 0; i < height / 2; i++) {
            uint8_t *a = pixels + size_t(i) * rowBytes;
            uint8_t *b = pixels + size_t(height - 1 - i) * rowBytes;
            std::swap_ranges(a, a + rowBytes, b);
        }
    }

    picture->width = int32_t(width);
    picture->height = int32_t(height);
    picture->bytesPerPixel = int32_t(bpp);
    picture->pixels = pixels;
    return TGA_DECODED;
}
