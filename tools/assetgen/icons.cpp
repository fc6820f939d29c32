// The icon: the hero on a plate, at every size the desktops ask for.
#include "icons.h"

#include "painters.h"
#include "render/png.h"
#include "sheet.h"

#include <algorithm>
#include <filesystem>

static const int ICON_SIZES[] = {16, 24, 32, 48, 64, 128, 256};

Picture PaintIcon(const Picture &hero, int size) {
    Picture pic(size, size);
    // The hero's painted part.
    int x0 = hero.w, y0 = hero.h, x1 = -1, y1 = -1;
    for (int y = 0; y < hero.h; y++)
        for (int x = 0; x < hero.w; x++)
            if (hero.at(x, y)[3]) x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    if (x1 < 0) return pic;
    const int hw = x1 - x0 + 1, hh = y1 - y0 + 1;
    // The plate: rounded corners, a light rim, dark blue growing lighter towards the top.
    const double r = size * 0.2, rim = std::max(1.0, size / 24.0);
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            double cx = std::clamp(x + 0.5, r, size - r), cy = std::clamp(y + 0.5, r, size - r);
            double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            if (d > r) continue;
            Rgb c = Mix(Hex(0x365892), Hex(0x121e36), (y + 0.5) / size);
            bool edge = d > r - rim || x + 0.5 < rim || y + 0.5 < rim || x + 0.5 > size - rim || y + 0.5 > size - rim;
            Put(pic, x, y, edge ? Hex(0x40ffc8) : c, 1.0);
        }
    // The hero, in whole pixels where at least one of his fits; shrunk by sampling below that.
    const double room = size * 0.8;
    double scale = std::min(room / hw, room / hh);
    if (scale >= 1.0) scale = std::floor(scale);
    const int w = std::max(1, (int)(hw * scale)), h = std::max(1, (int)(hh * scale));
    const int left = (size - w) / 2, top = (size - h) / 2 + (int)(size * 0.04);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const uint8_t *p = hero.at(x0 + std::min(hw - 1, (int)(x / scale)), y0 + std::min(hh - 1, (int)(y / scale)));
            if (p[3]) Put(pic, left + x, top + y, Rgb{p[0] / 255.0, p[1] / 255.0, p[2] / 255.0}, 1.0);
        }
    return pic;
}

static void Put16(std::vector<uint8_t> &out, int v) {
    out.push_back((uint8_t)v);
    out.push_back((uint8_t)(v >> 8));
}
static void Put32(std::vector<uint8_t> &out, uint32_t v) {
    for (int i = 0; i < 4; i++) out.push_back((uint8_t)(v >> (8 * i)));
}

bool GenerateIcons(const std::string &sourceDir, const std::string &outDir, std::string *error) {
    std::string text, path = sourceDir + "/assets/hero.txt";
    if (!ReadTextFile(path, &text)) {
        *error = path + ": cannot read";
        return false;
    }
    Sheet sheet = ParseSheet(text, "assets/hero.txt");
    auto frame = sheet.frames.find("kavwalk01");
    if (!sheet.error.empty() || frame == sheet.frames.end()) {
        *error = sheet.error.empty() ? "assets/hero.txt: no frame kavwalk01" : sheet.error;
        return false;
    }
    std::vector<std::vector<uint8_t>> pngs;
    for (int size : ICON_SIZES) {
        Picture pic = PaintIcon(frame->second, size);
        pngs.push_back(EncodeStoredPng(pic.rgba.data(), size, size, 4));
        const std::string folder = outDir + "/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (ec || !WriteFile(folder + "/kav.png", pngs.back())) {
            *error = folder + "/kav.png: cannot write";
            return false;
        }
    }
    // The .ico: a directory of entries, each a whole PNG file (size 256 is written as 0).
    std::vector<uint8_t> ico;
    Put16(ico, 0);
    Put16(ico, 1);
    Put16(ico, (int)pngs.size());
    uint32_t offset = 6 + 16 * (uint32_t)pngs.size();
    for (size_t i = 0; i < pngs.size(); i++) {
        ico.push_back((uint8_t)(ICON_SIZES[i] & 255));
        ico.push_back((uint8_t)(ICON_SIZES[i] & 255));
        ico.push_back(0);   // no palette
        ico.push_back(0);
        Put16(ico, 1);      // planes
        Put16(ico, 32);     // bits per pixel
        Put32(ico, (uint32_t)pngs[i].size());
        Put32(ico, offset);
        offset += (uint32_t)pngs[i].size();
    }
    for (const std::vector<uint8_t> &png : pngs) ico.insert(ico.end(), png.begin(), png.end());
    if (!WriteFile(outDir + "/kav.ico", ico)) {
        *error = outDir + "/kav.ico: cannot write";
        return false;
    }
    return true;
}
