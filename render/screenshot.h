// Screenshots: the picture just drawn, read back from GL and written as a PNG file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The back buffer over the whole viewport as RGB rows, the top row first. False when
// there is nothing to read (no viewport).
bool ReadScreenPixels(std::vector<uint8_t> *rgb, int *width, int *height);

// RGB rows, top row first, as the bytes of a PNG file (libpng's, or uncompressed where the
// build has no libpng). False with *error when the writer failed.
bool EncodePng(const uint8_t *rgb, int width, int height, std::vector<uint8_t> *png, std::string *error);

// The picture just drawn into the file at path, written whole or not at all (an earlier file
// there stays as it was on failure). False with *error naming the file.
bool SaveScreenshot(const char *path, std::string *error);
