// Bitmap files as plain pixel records, for the bitmap texture loader and its tests.
#pragma once

#include "render/decode.h"

// Reads and decodes a bitmap file. None (null) when there is no path or the file cannot be
// opened (silently), or after the picture failure handler was given the text of every other
// failure. The caller owns the record and its pixels and gives both back with ReleaseRgbImage.
RgbImage *LoadBmpImage(const char *path);
void ReleaseRgbImage(RgbImage *image);
