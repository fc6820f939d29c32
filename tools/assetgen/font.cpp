// Font sheet builder: 5x8 glyph designs doubled into 16-pixel cells, plain and bold.
#include "font.h"

std::string GlyphName(int byte) {
    if (byte == 32) return "space";
    return std::string(1, (char)byte);
}

bool BuildFontSheet(const Sheet &glyphs, Picture *out, std::string *error) {
    *out = Picture(256, 256);
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++) out->set(x, y, 0x000000ff);
    for (int byte = 32; byte <= 126; byte++) {
        auto it = glyphs.frames.find(GlyphName(byte));
        if (it == glyphs.frames.end()) {
            *error = "font: no glyph for byte " + std::to_string(byte);
            return false;
        }
        const Picture &g = it->second;
        if (g.w != 5 || g.h != 8) {
            *error = "font: glyph for byte " + std::to_string(byte) + " is not 5 by 8";
            return false;
        }
        for (int style = 0; style < 2; style++) {
            int n = byte - 32 + 128 * style;
            int cellX = (n % 16) * 16, cellY = (n / 16) * 16;
            for (int gy = 0; gy < 8; gy++)
                for (int gx = 0; gx < 5; gx++) {
                    if (g.at(gx, gy)[0] < 128) continue;
                    // Doubled pixels from column 2: ink stays within columns 2..12 of the cell.
                    int width = style == 1 ? 3 : 2;
                    for (int dy = 0; dy < 2; dy++)
                        for (int dx = 0; dx < width; dx++)
                            out->set(cellX + 2 + 2 * gx + dx, cellY + 2 * gy + dy, 0xffffffff);
                }
        }
    }
    return true;
}
