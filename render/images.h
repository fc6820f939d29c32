// Bitmap files as plain pixel records, for the bitmap texture loader and its tests.
#pragma once

#include "render/decode.h"

// Reads and decodes a bitmap file. Returns the record, or null: silently when there is no
// path or the file cannot be opened, and after the picture failure handler was given the
// text of every other failure (so a null result never needs a second message). The caller
// owns the record and its pixels and gives both back with ReleaseRgbImage.
RgbImage *LoadBmpImage(const char *path);
void ReleaseRgbImage(RgbImage *image);

// The bound 2-D texture's picture and all its mipmap levels, as gluBuild2DMipmaps builds them;
// the caller has set the unpack alignment to match the rows (no padding here).
void BuildMipmaps(int32_t components, int32_t width, int32_t height, unsigned int format,
                  const uint8_t *pixels);
