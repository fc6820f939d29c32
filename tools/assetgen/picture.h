// Pictures in memory and the two file writers (Targa and Windows bitmap) of the asset tool.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// RGBA pixels, row 0 at the TOP of the picture (as it is painted and as a viewer shows it).
struct Picture {
    int w = 0, h = 0;
    std::vector<uint8_t> rgba;
    Picture() = default;
    Picture(int width, int height) : w(width), h(height), rgba((size_t)width * height * 4, 0) {}
    uint8_t *at(int x, int y) { return &rgba[((size_t)y * w + x) * 4]; }
    const uint8_t *at(int x, int y) const { return &rgba[((size_t)y * w + x) * 4]; }
    void set(int x, int y, uint32_t rgbaValue);
};

// How a Targa file is stored: image type 2 (raw) or 10 (run-length), 24 or 32 bits,
// rows from the top or from the bottom, and an optional image ID.
struct TgaForm {
    int type = 10;
    int bits = 32;
    bool topFirst = false;
    std::string id;
};

std::vector<uint8_t> EncodeTga(const Picture &pic, const TgaForm &form);
// 24-bit bitmap with the 14-byte file header and the 40-byte information header.
std::vector<uint8_t> EncodeBmp24(const Picture &pic);
// 8-bit palette bitmap; the palette is the picture's distinct colours (at most 256),
// ordered by first appearance from the bottom row up. Empty result when there are more.
std::vector<uint8_t> EncodeBmp8(const Picture &pic);

bool WriteFile(const std::string &path, const std::vector<uint8_t> &bytes);

// Nearest-neighbour resize: each target pixel takes the source pixel under its centre.
Picture ResizeNearest(const Picture &src, int w, int h);
