// The asset list and the generator that writes gfx/ from assets/ and map/.
#include "catalogue.h"

#include "font.h"
#include "painters.h"
#include "picture.h"
#include "sheet.h"
#include "world/map.h"
#include "world/world.h"

#include <cstdio>
#include <functional>
#include <map>

namespace {

enum class Kind { Sheet, Font, Backdrop, Overlay, Explosion, Shield };

struct Entry {
    std::string file;
    Kind kind;
    std::string sheet;        // sheet file under assets/ (Kind::Sheet)
    std::string frame;        // frame name in the sheet; map index / frame number otherwise
    int logicalW, logicalH;   // size of the design in playfield units
    int texW, texH;           // stored size
    bool bitmap;              // .bmp rather than .tga
    TgaForm form;
};

TgaForm Form(int type, int bits, bool topFirst, const std::string &id = "") {
    TgaForm f;
    f.type = type;
    f.bits = bits;
    f.topFirst = topFirst;
    f.id = id;
    return f;
}

std::string Two(int n) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

std::vector<Entry> BuildEntries() {
    std::vector<Entry> s;
    auto sheet = [&](const std::string &file, const std::string &sheetFile, int lw, int lh, int tw, int th, TgaForm form) {
        std::string frame = file.substr(0, file.size() - 4);
        s.push_back({file, Kind::Sheet, sheetFile, frame, lw, lh, tw, th, false, form});
    };
    s.push_back({"font.bmp", Kind::Font, "font.txt", "", 256, 256, 256, 256, true, {}});
    sheet("kavhide01.tga", "hero.txt", 32, 24, 64, 64, Form(10, 32, false, "Kav hiding"));
    for (int i = 1; i <= 8; i++)
        sheet("kavwalk" + Two(i) + ".tga", "hero.txt", 32, 24, 64, 64, Form(10, 32, i % 2 == 0));
    sheet("kavjump01.tga", "hero.txt", 32, 24, 64, 64, Form(10, 32, true));
    for (int i = 1; i <= 4; i++)
        s.push_back({"kavshield" + Two(i) + ".tga", Kind::Shield, "", std::to_string(i - 1), 32, 24, 64, 64, false,
                     Form(2, 32, false)});
    sheet("brick01.tga", "tiles.txt", 8, 8, 32, 32, Form(2, 24, false));
    sheet("brick02.tga", "tiles.txt", 8, 8, 32, 32, Form(2, 24, false));
    sheet("brick03.tga", "tiles.txt", 8, 8, 32, 32, Form(10, 24, true, "cover"));
    sheet("brick08.tga", "tiles.txt", 8, 8, 32, 32, Form(10, 24, false));
    sheet("brick09.tga", "tiles.txt", 8, 8, 32, 32, Form(10, 24, false));
    s.push_back({"back.bmp", Kind::Backdrop, "", "", 256, 192, 256, 256, true, {}});
    for (int i = 0; i < 5; i++)
        s.push_back({"back" + Two(i) + "over.tga", Kind::Overlay, "", std::to_string(i), 256, 192, 512, 512, false,
                     Form(10, 32, i % 2 == 1, i % 2 == 1 ? "screen " + Two(i) : "")});
    sheet("craftkav.tga", "hero.txt", 32, 24, 64, 64, Form(2, 24, true, "Kav's craft"));
    for (int i = 1; i <= 3; i++) sheet("shot" + Two(i) + ".tga", "shots.txt", 8, 8, 32, 32, Form(2, 32, true, "shot"));
    for (int i = 1; i <= 8; i++) sheet("missle" + Two(i) + ".tga", "shots.txt", 8, 8, 32, 32, Form(10, 32, false));
    for (int i = 1; i <= 4; i++)
        s.push_back({"explow" + Two(i) + ".tga", Kind::Explosion, "small", std::to_string(i - 1), 8, 8, 32, 32, false,
                     Form(10, 32, true)});
    for (int i = 1; i <= 8; i++)
        s.push_back({"expbig" + Two(i) + ".tga", Kind::Explosion, "big", std::to_string(i - 1), 24, 24, 64, 64, false,
                     Form(10, 32, false)});
    sheet("cannon01.tga", "objects.txt", 16, 16, 64, 64, Form(10, 32, false));
    sheet("twoways01.tga", "objects.txt", 16, 16, 64, 64, Form(10, 32, false));
    for (int i = 1; i <= 5; i++) sheet("celling" + Two(i) + ".tga", "objects.txt", 16, 16, 64, 64, Form(10, 32, true));
    for (int i = 1; i <= 4; i++) sheet("sonda" + Two(i) + ".tga", "objects.txt", 16, 16, 64, 64, Form(2, 32, false, "probe"));
    for (const char *part : {"beg", "mid", "end"})
        for (int i = 1; i <= 4; i++)
            sheet(std::string("train") + part + Two(i) + ".tga", "trains.txt", 16, 16, 64, 64, Form(10, 32, true));
    return s;
}

const std::vector<Entry> &Entries() {
    static const std::vector<Entry> entries = BuildEntries();
    return entries;
}

struct MapProblems {
    std::string first;
};
void CollectProblem(void *user, int line, const char *message) {
    MapProblems *p = (MapProblems *)user;
    if (p->first.empty()) p->first = "line " + std::to_string(line) + ": " + message;
}

// Reads a map file with the game's own loader and copies out its grid, ceiling guns and cars.
bool ReadMapGrid(const std::string &path, ScreenGrid *grid, std::string *error) {
    std::string text;
    if (!ReadTextFile(path, &text)) {
        *error = path + ": cannot read";
        return false;
    }
    ResetWorld();
    MapProblems problems;
    LoadMapFromBuffer(text.data(), text.size(), CollectProblem, &problems);
    if (!problems.first.empty()) {
        *error = path + ": " + problems.first;
        return false;
    }
    for (int r = 0; r < 24; r++)
        for (int c = 0; c < 32; c++) grid->cell[r][c] = TileGrid[r][c];
    for (int i = 0; i < KindLimit(KIND_CELLING); i++)
        grid->guns.push_back({CeilingPool[i].x, CeilingPool[i].y, CeilingPool[i].raydist});
    for (int i = 0; i < KindLimit(KIND_TRAIN); i++)
        grid->cars.push_back({TrainPool[i].x, TrainPool[i].y, TrainPool[i].frameface != 0});
    return true;
}

}  // namespace

const std::vector<AssetEntry> &AssetCatalogue() {
    static std::vector<AssetEntry> list;
    if (list.empty())
        for (const Entry &s : Entries()) list.push_back({s.file, s.sheet.empty() ? s.frame : s.sheet + ":" + s.frame});
    return list;
}

bool GenerateAll(const std::string &sourceDir, const std::string &outDir, std::string *error) {
    std::map<std::string, Sheet> sheets;
    auto loadSheet = [&](const std::string &name) -> const Sheet * {
        auto it = sheets.find(name);
        if (it != sheets.end()) return &it->second;
        std::string text, path = sourceDir + "/assets/" + name;
        if (!ReadTextFile(path, &text)) {
            *error = path + ": cannot read";
            return nullptr;
        }
        Sheet sh = ParseSheet(text, "assets/" + name);
        if (!sh.error.empty()) {
            *error = sh.error;
            return nullptr;
        }
        return &(sheets[name] = sh);
    };

    for (const Entry &s : Entries()) {
        Picture pic;
        switch (s.kind) {
        case Kind::Sheet: {
            const Sheet *sh = loadSheet(s.sheet);
            if (!sh) return false;
            auto it = sh->frames.find(s.frame);
            if (it == sh->frames.end()) {
                *error = "assets/" + s.sheet + ": no frame " + s.frame;
                return false;
            }
            if (it->second.w != s.logicalW || it->second.h != s.logicalH) {
                *error = "assets/" + s.sheet + ": frame " + s.frame + " should be " + std::to_string(s.logicalW) + " by " +
                         std::to_string(s.logicalH);
                return false;
            }
            pic = ResizeNearest(it->second, s.texW, s.texH);
            break;
        }
        case Kind::Font: {
            const Sheet *sh = loadSheet(s.sheet);
            if (!sh || !BuildFontSheet(*sh, &pic, error)) return false;
            break;
        }
        case Kind::Backdrop:
            pic = PaintBackdrop(s.texW, s.texH);
            break;
        case Kind::Overlay: {
            const Sheet *font = loadSheet("font.txt");
            if (!font) return false;
            ScreenGrid grid;
            grid.font = &font->frames;
            grid.index = std::stoi(s.frame);
            if (!ReadMapGrid(sourceDir + "/map/map" + Two(std::stoi(s.frame)) + ".map", &grid, error)) return false;
            pic = PaintOverlay(grid, s.texW, s.texH);
            break;
        }
        case Kind::Explosion: {
            bool big = s.sheet == "big";
            pic = PaintExplosion(s.texW, std::stoi(s.frame), big ? 8 : 4, big);
            break;
        }
        case Kind::Shield:
            pic = PaintShield(s.texW, s.texH, std::stoi(s.frame));
            break;
        }
        std::vector<uint8_t> bytes;
        if (!s.bitmap) bytes = EncodeTga(pic, s.form);
        else if (s.file == "font.bmp") bytes = EncodeBmp8(pic);
        else bytes = EncodeBmp24(pic);
        if (bytes.empty()) {
            *error = s.file + ": too many colours for a palette";
            return false;
        }
        if (!WriteFile(outDir + "/" + s.file, bytes)) {
            *error = outDir + "/" + s.file + ": cannot write";
            return false;
        }
    }
    return true;
}
