#include "tilesheet.h"

#include "sheet.h"

#include "world/schema.h"

#include <cstdio>

bool PaintTileSheet(const std::string &assetsDir, Picture *out, std::string *error) {
    std::string text;
    const std::string path = assetsDir + "/tiles.txt";
    if (!ReadTextFile(path, &text)) {
        *error = "cannot read " + path;
        return false;
    }
    Sheet sheet = ParseSheet(text, "assets/tiles.txt");
    if (!sheet.error.empty()) {
        *error = sheet.error;
        return false;
    }
    const int n = TILE_SHEET_PIXELS;
    Picture strip(TILE_SHEET_CODES * n, n);
    for (int code = 0; code < TILE_SHEET_CODES; code++) {
        char name[16];
        std::snprintf(name, sizeof name, "brick%02d", code);
        auto frame = sheet.frames.find(name);
        if (frame != sheet.frames.end()) {
            Picture tile = ResizeNearest(frame->second, n, n);
            for (int y = 0; y < n; y++)
                for (int x = 0; x < n; x++) {
                    const uint8_t *p = tile.at(x, y);
                    strip.set(code * n + x, y, (uint32_t)p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3]);
                }
        } else if (!KnownTileCode(code)) {   // a code the game has no use for: a red cross
            for (int i = 0; i < n; i++) {
                strip.set(code * n + i, i, 0xd02020ffu);
                strip.set(code * n + n - 1 - i, i, 0xd02020ffu);
            }
        }
    }
    *out = strip;
    return true;
}
