// Picture decoders: Targa and Windows bitmap bytes in, plain pixel rows out. No GL, no files.
//
// Both decoders read only from the buffer they are given, check every read against its end,
// and refuse, before allocating anything, a header that claims a picture too big to be real
// or more pixels than the file holds.
// The pixels they return come from malloc; the caller releases them with free().
#pragma once

#include <cstddef>
#include <cstdint>

#include "world/bytes.h"

// The most pixels a picture may have (8192 x 8192): the bound on what a decoder allocates.
constexpr uint64_t MAX_PICTURE_PIXELS = 64ull * 1024 * 1024;
// The largest picture file read: the biggest picture at 4 bytes a pixel, with room for the
// headers, a colour table and any trailer. Anything bigger cannot be a picture we take.
constexpr size_t PICTURE_FILE_LIMIT = size_t(MAX_PICTURE_PIXELS * 4 + (1u << 20));

// ---- Targa -------------------------------------------------------------------------------

// Why a Targa decode stopped. LoadTgaTexture turns these into its results 0..3.
enum TgaReason : int32_t {
    TGA_DECODED = 0,
    TGA_SHORT_HEADER,    // fewer than 18 bytes
    TGA_SHORT_DATA,      // the pixel data ends before the picture is full
    TGA_BAD_DEPTH,       // pixel depth other than 24 or 32
    TGA_BAD_TYPE,        // image type other than 2 (raw true-colour) or 10 (run-length)
    TGA_EMPTY,           // width or height 0
    TGA_TOO_LARGE,       // more than MAX_PICTURE_PIXELS
    TGA_NO_MEMORY,
};

struct TgaPicture {
    int32_t width, height;
    int32_t bytesPerPixel;   // 3: red, green, blue; 4: red, green, blue, alpha
    uint8_t *pixels;         // width x height x bytesPerPixel, no padding
};

// What a decoder found out about a picture, filled in as far as it read (0 where it did not
// get that far): the header's fields, and the pixels the header asks for and how many of them
// the file supplies (equal when it decoded). Reports about a file take their facts from here.
struct PictureFacts {
    int64_t width, height;   // as the header gives them (a bitmap's height is negative when top row first)
    uint32_t depth;          // bits per pixel
    uint32_t type;           // Targa: image type; bitmap: compression
    uint32_t headerSize;     // bitmap: size of the information header
    uint32_t headerAt;       // bitmap: where the information header starts (14 after "BM", else 0)
    uint64_t needed, supplied;
};

// Decodes a whole Targa file. Header bytes used: ID length, colour map type and its length
// and entry size (a colour map is skipped), image type, width, height, depth, descriptor.
// Run-length packets are one stream across rows; a packet that would pass the end of the
// picture is cut there. A file that cannot fill its picture ends early (TGA_SHORT_DATA),
// raw or run-length alike, and nothing is allocated for it: the packets are walked, without
// writing, before the picture is.
// Rows come out bottom row first when the descriptor says top row first (bit 5) and not
// right-to-left (bit 4); otherwise they stay in the file's order.
// On success picture->pixels is set; on any other reason it is null.
TgaReason DecodeTga(const uint8_t *data, size_t size, TgaPicture *picture, PictureFacts *facts = nullptr);

// ---- Windows bitmap ------------------------------------------------------------------------

// A decoded bitmap: red, green, blue per pixel, bottom row first, no padding between rows.
struct RgbImage {
    int32_t width;
    int32_t height;
    uint8_t *pixels;
};

// Why a bitmap decode stopped; each failure has its own message in LoadBmpImage.
enum BmpReason : int32_t {
    BMP_DECODED = 0,
    BMP_UNKNOWN_FORMAT,   // information header size other than 40 or 12, or cut short
    BMP_BAD_DATA,         // pixels that cannot be converted: truncated, bad run-length data,
                          // unsupported depth or compression, zero or negative width
    BMP_TOO_LARGE,        // more than MAX_PICTURE_PIXELS
    BMP_NO_MEMORY,
};

// Decodes a bitmap file, with or without its 14-byte "BM" file header. Takes the 40-byte
// and the 12-byte information headers; 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed,
// RLE8, RLE4 and bit-field masks. A palette index past the colour table gives black, and
// so do pixels a run-length stream skips over. A top-row-first file (negative height)
// comes out bottom row first like any other. A file that cannot fill its picture is
// refused (BMP_BAD_DATA) before the picture is allocated; an end-of-bitmap or a delta code
// is the run-length form's own way of leaving pixels out, and those pixels are black.
// On success image->pixels is set.
BmpReason DecodeBmp(const uint8_t *data, size_t size, RgbImage *image, PictureFacts *facts = nullptr);
