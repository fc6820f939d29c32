// A PNG writer of our own for builds without libpng (Windows, the browser) and for the asset
// tool's icons: the pixels go into stored (uncompressed) deflate blocks, so the file is as
// big as the pixels, but every PNG reader takes it. No GL, no files.
#pragma once

#include <cstdint>
#include <vector>

// Rows of width * channels bytes, the top row first; channels 3 (RGB) or 4 (RGBA). Returns
// the bytes of the PNG file; empty for a size of 0 or a picture over 2^30 bytes.
std::vector<uint8_t> EncodeStoredPng(const uint8_t *pixels, int width, int height, int channels);
