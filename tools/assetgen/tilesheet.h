// The tile sheet for map editors: every tile code's picture side by side in one strip.
#pragma once

#include "picture.h"

#include <string>

constexpr int TILE_SHEET_CODES = 10;   // codes 0 to 9, one decimal digit each in a map file
constexpr int TILE_SHEET_PIXELS = 8;   // one tile, one pixel per playfield unit

// Paints codes 0 to 9 from left to right, TILE_SHEET_PIXELS square each, from the tile frames
// ("brick01", ...) of assetsDir/tiles.txt. A code without a picture of its own is clear, except
// the codes with no role in the game (4 to 7), which get a red cross so an editor shows them.
// False with *error when the sheet cannot be read.
bool PaintTileSheet(const std::string &assetsDir, Picture *out, std::string *error);
