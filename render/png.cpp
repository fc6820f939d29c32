// PNG files with stored deflate blocks: signature, IHDR, one IDAT, IEND.
#include "render/png.h"

#include <cstddef>

static uint32_t Crc32(const uint8_t *p, size_t n, uint32_t crc = 0) {
    static uint32_t table[256];
    if (!table[1])
        for (uint32_t i = 0; i < 256; i++) {
            uint32_t c = i;
            for (int k = 0; k < 8; k++) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
    crc = ~crc;
    for (size_t i = 0; i < n; i++) crc = table[(crc ^ p[i]) & 255] ^ (crc >> 8);
    return ~crc;
}

static void PutBig32(std::vector<uint8_t> &out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back((uint8_t)(v >> shift));
}

static void PutChunk(std::vector<uint8_t> &out, const char *type, const std::vector<uint8_t> &data) {
    PutBig32(out, (uint32_t)data.size());
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBig32(out, Crc32(out.data() + start, out.size() - start));
}

std::vector<uint8_t> EncodeStoredPng(const uint8_t *pixels, int width, int height, int channels) {
    std::vector<uint8_t> out;
    if (width <= 0 || height <= 0 || (channels != 3 && channels != 4)) return out;
    const size_t row = (size_t)width * channels;
    if ((row + 1) * (size_t)height > (size_t)1 << 30) return out;

    // The image data as the filter sees it: each row led by filter type 0 (none).
    std::vector<uint8_t> raw;
    raw.reserve((row + 1) * height);
    for (int y = 0; y < height; y++) {
        raw.push_back(0);
        raw.insert(raw.end(), pixels + row * y, pixels + row * (y + 1));
    }
    // zlib: header, stored blocks of at most 65535 bytes, Adler-32 of the raw data.
    std::vector<uint8_t> z = {0x78, 0x01};
    uint32_t a = 1, b = 0;
    for (uint8_t v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    size_t at = 0;
    do {
        const size_t n = raw.size() - at < 65535 ? raw.size() - at : 65535;
        z.push_back(at + n == raw.size() ? 1 : 0);   // last block?
        z.push_back((uint8_t)n);
        z.push_back((uint8_t)(n >> 8));
        z.push_back((uint8_t)~n);
        z.push_back((uint8_t)(~n >> 8));
        z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
        at += n;
    } while (at < raw.size());
    PutBig32(z, (b << 16) | a);

    static const uint8_t SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    out.assign(SIGNATURE, SIGNATURE + 8);
    std::vector<uint8_t> header;
    PutBig32(header, (uint32_t)width);
    PutBig32(header, (uint32_t)height);
    header.push_back(8);                          // bits per channel
    header.push_back(channels == 4 ? 6 : 2);      // RGBA or RGB
    header.push_back(0);                          // deflate
    header.push_back(0);                          // adaptive filters
    header.push_back(0);                          // no interlace
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", z);
    PutChunk(out, "IEND", {});
    return out;
}
