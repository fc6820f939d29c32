// Test helpers for the picture decoders: reference PNGs as RGBA, pictures compared, the fixture pictures.
#pragma once

#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/unit/test_files.h"

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

// Where a decoded pixel (x, y from the bottom) finds its reference pixel.
enum RefOrientation {
    REF_SAME,       // the picture as it should look
    REF_MIRRORED,   // decoded picture is the reference flipped left to right
    REF_TURNED,     // decoded picture is the reference turned half a circle
};

// Compares a decoded picture (bottom row first, bpp 3 or 4) with a reference. Channels may
// differ by up to `tolerance`; alpha is compared only for bpp 4. Returns "" when they agree,
// otherwise the number of differing pixels and the first of them.
inline std::string ComparePicture(const uint8_t *pixels, int width, int height, int bpp,
                                  const ReferencePng &ref, RefOrientation how, int tolerance) {
    if (width != ref.width || height != ref.height)
        return "size " + std::to_string(width) + "x" + std::to_string(height) + " against " +
               std::to_string(ref.width) + "x" + std::to_string(ref.height);
    int differing = 0;
    std::string first;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            int rx = how == REF_SAME ? x : width - 1 - x;
            int ry = how == REF_TURNED ? y : height - 1 - y;
            const uint8_t *a = pixels + (size_t(y) * width + x) * bpp;
            const uint8_t *b = ref.At(rx, ry);
            bool same = true;
            for (int c = 0; c < bpp; c++) same = same && std::abs(int(a[c]) - int(b[c])) <= tolerance;
            if (same) continue;
            if (differing++ == 0)
                first = "pixel " + std::to_string(x) + "," + std::to_string(y) + " is " + std::to_string(a[0]) +
                        " " + std::to_string(a[1]) + " " + std::to_string(a[2]) + ", reference " +
                        std::to_string(b[0]) + " " + std::to_string(b[1]) + " " + std::to_string(b[2]);
        }
    return differing ? std::to_string(differing) + " pixels differ; first " + first : "";
}

// Every picture file (.bmp, .dib, .tga) under a folder, as paths relative to it, sorted.
inline std::vector<std::string> PictureFilesUnder(const std::string &root) {
    std::vector<std::string> found;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(root, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        std::string ext = it->path().extension().string();
        if (ext == ".bmp" || ext == ".dib" || ext == ".tga")
            found.push_back(std::filesystem::relative(it->path(), root).generic_string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

inline std::string FixtureImages() { return std::string(KAV_TESTDATA_DIR) + "/fixtures/images"; }
