// Targa and bitmap writers for the asset tool, byte for byte deterministic.
#include "picture.h"

#include <cstdio>
#include <map>

#include "world/files.h"

void Picture::set(int x, int y, uint32_t v) {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    uint8_t *p = at(x, y);
    p[0] = (uint8_t)(v >> 24);
    p[1] = (uint8_t)(v >> 16);
    p[2] = (uint8_t)(v >> 8);
    p[3] = (uint8_t)v;
}

static void Put16(std::vector<uint8_t> &out, int v) {
    out.push_back((uint8_t)(v & 255));
    out.push_back((uint8_t)((v >> 8) & 255));
}
static void Put32(std::vector<uint8_t> &out, uint32_t v) {
    for (int i = 0; i < 4; i++) out.push_back((uint8_t)((v >> (8 * i)) & 255));
}

// One stored pixel: blue, green, red (and alpha).
static void PixelBytes(const Picture &pic, int x, int y, int bytes, uint8_t *px) {
    const uint8_t *p = pic.at(x, y);
    px[0] = p[2];
    px[1] = p[1];
    px[2] = p[0];
    if (bytes == 4) px[3] = p[3];
}

std::vector<uint8_t> EncodeTga(const Picture &pic, const TgaForm &form) {
    std::vector<uint8_t> out;
    int bytes = form.bits / 8;
    out.push_back((uint8_t)form.id.size());
    out.push_back(0);                          // no colour map
    out.push_back((uint8_t)form.type);
    for (int i = 0; i < 5; i++) out.push_back(0);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, pic.w);
    Put16(out, pic.h);
    out.push_back((uint8_t)form.bits);
    uint8_t descriptor = (uint8_t)(form.bits == 32 ? 8 : 0);   // alpha bits
    if (form.topFirst) descriptor |= 32;
    out.push_back(descriptor);
    out.insert(out.end(), form.id.begin(), form.id.end());

    // Stored row order: the file's first row is the top row when topFirst, else the bottom.
    std::vector<uint8_t> stream;
    stream.reserve((size_t)pic.w * pic.h * bytes);
    for (int i = 0; i < pic.h; i++) {
        int y = form.topFirst ? i : pic.h - 1 - i;
        for (int x = 0; x < pic.w; x++) {
            uint8_t px[4];
            PixelBytes(pic, x, y, bytes, px);
            stream.insert(stream.end(), px, px + bytes);
        }
    }
    if (form.type == 2) {
        out.insert(out.end(), stream.begin(), stream.end());
        return out;
    }
    // Run-length packets, each within one row, as readers that decode row by row expect.
    auto same = [&](size_t a, size_t b) {
        for (int k = 0; k < bytes; k++)
            if (stream[a * bytes + k] != stream[b * bytes + k]) return false;
        return true;
    };
    for (size_t row = 0; row < (size_t)pic.h; row++) {
        size_t i = row * pic.w, end = i + pic.w;
        while (i < end) {
            size_t run = 1;
            while (i + run < end && run < 128 && same(i, i + run)) run++;
            if (run >= 2) {
                out.push_back((uint8_t)(0x80 | (run - 1)));
                out.insert(out.end(), stream.begin() + i * bytes, stream.begin() + (i + 1) * bytes);
                i += run;
                continue;
            }
            size_t raw = 1;
            while (i + raw < end && raw < 128 && !(i + raw + 1 < end && same(i + raw, i + raw + 1))) raw++;
            out.push_back((uint8_t)(raw - 1));
            out.insert(out.end(), stream.begin() + i * bytes, stream.begin() + (i + raw) * bytes);
            i += raw;
        }
    }
    return out;
}

static void BmpHeaders(std::vector<uint8_t> &out, const Picture &pic, int bits, int paletteSize,
                       size_t pixelBytes) {
    uint32_t offset = 14 + 40 + 4 * (uint32_t)paletteSize;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + (uint32_t)pixelBytes);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, (uint32_t)pic.w);
    Put32(out, (uint32_t)pic.h);          // positive: bottom row first
    Put16(out, 1);
    Put16(out, bits);
    Put32(out, 0);                        // no compression
    Put32(out, (uint32_t)pixelBytes);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, (uint32_t)paletteSize);
    Put32(out, 0);
}

std::vector<uint8_t> EncodeBmp24(const Picture &pic) {
    int stride = (pic.w * 3 + 3) & ~3;
    std::vector<uint8_t> out;
    BmpHeaders(out, pic, 24, 0, (size_t)stride * pic.h);
    for (int y = pic.h - 1; y >= 0; y--) {
        for (int x = 0; x < pic.w; x++) {
            uint8_t px[4];
            PixelBytes(pic, x, y, 3, px);
            out.insert(out.end(), px, px + 3);
        }
        for (int k = pic.w * 3; k < stride; k++) out.push_back(0);
    }
    return out;
}

std::vector<uint8_t> EncodeBmp8(const Picture &pic) {
    std::map<uint32_t, int> index;
    std::vector<uint32_t> colours;
    for (int y = pic.h - 1; y >= 0; y--)
        for (int x = 0; x < pic.w; x++) {
            const uint8_t *p = pic.at(x, y);
            uint32_t c = ((uint32_t)p[0] << 16) | ((uint32_t)p[1] << 8) | p[2];
            if (index.count(c)) continue;
            if (colours.size() == 256) return {};
            index[c] = (int)colours.size();
            colours.push_back(c);
        }
    int stride = (pic.w + 3) & ~3;
    std::vector<uint8_t> out;
    BmpHeaders(out, pic, 8, (int)colours.size(), (size_t)stride * pic.h);
    for (uint32_t c : colours) {
        out.push_back((uint8_t)(c & 255));
        out.push_back((uint8_t)((c >> 8) & 255));
        out.push_back((uint8_t)((c >> 16) & 255));
        out.push_back(0);
    }
    for (int y = pic.h - 1; y >= 0; y--) {
        for (int x = 0; x < pic.w; x++) {
            const uint8_t *p = pic.at(x, y);
            uint32_t c = ((uint32_t)p[0] << 16) | ((uint32_t)p[1] << 8) | p[2];
            out.push_back((uint8_t)index[c]);
        }
        for (int k = pic.w; k < stride; k++) out.push_back(0);
    }
    return out;
}

bool WriteFile(const std::string &path, const std::vector<uint8_t> &bytes) {
    std::string error;
    return WriteFileAtomically(path.c_str(), bytes.data(), bytes.size(), &error);
}

Picture ResizeNearest(const Picture &src, int w, int h) {
    Picture out(w, h);
    for (int y = 0; y < h; y++) {
        int sy = (int)(((long long)y * 2 + 1) * src.h / (2LL * h));
        for (int x = 0; x < w; x++) {
            int sx = (int)(((long long)x * 2 + 1) * src.w / (2LL * w));
            const uint8_t *p = src.at(sx, sy);
            uint8_t *q = out.at(x, y);
            q[0] = p[0];
            q[1] = p[1];
            q[2] = p[2];
            q[3] = p[3];
        }
    }
    return out;
}
