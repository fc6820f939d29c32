// The font sheet: 16 by 16 cells of 16 by 16 pixels, white glyphs on black.
#pragma once

#include "sheet.h"

#include <string>

// Frame name of the glyph of a printable byte in the font source ("space" for 32).
std::string GlyphName(int byte);
// Builds the sheet from the glyph frames (5 wide, 8 high, top row first, lit where the
// picture is white). Cell (c, r) from the top holds glyph 16r + c; glyph n is byte n + 32
// in the plain style, glyph 128 + n the same byte in bold. Fails with a message when a
// printable byte has no frame or a frame has the wrong size.
bool BuildFontSheet(const Sheet &glyphs, Picture *out, std::string *error);
