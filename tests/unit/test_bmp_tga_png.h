// Test helpers for the picture decoders: whole files as bytes, and reference PNGs as RGBA.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The bytes of a file; empty when it cannot be read.
inline std::vector<uint8_t> ReadTestFile(const std::string &path) {
    std::vector<uint8_t> bytes;
    FILE *f = fopen(path.c_str(), "rb");
    if (!f) return bytes;
    uint8_t chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    fclose(f);
    return bytes;
}

inline bool WriteTestFile(const std::string &path, const std::vector<uint8_t> &bytes) {
    FILE *f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

// A reference picture: 8-bit red, green, blue, alpha, top row first as PNG stores it. The
// stored sample values are taken as they stand: no gamma or colour-space conversion.
struct ReferencePng {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    const uint8_t *At(int x, int rowFromTop) const { return &rgba[(size_t(rowFromTop) * width + x) * 4]; }
};

inline bool ReadReferencePng(const std::string &path, ReferencePng *out) {
    FILE *f = fopen(path.c_str(), "rb");
    if (!f) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_read_info(png, info);
    png_set_expand(png);         // palette and low-depth grey to 8-bit, tRNS to alpha
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    out->width = int(png_get_image_width(png, info));
    out->height = int(png_get_image_height(png, info));
    out->rgba.assign(size_t(out->width) * out->height * 4, 0);
    std::vector<png_bytep> rows(out->height);
    for (int y = 0; y < out->height; y++) rows[y] = &out->rgba[size_t(y) * out->width * 4];
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    fclose(f);
    return true;
}
