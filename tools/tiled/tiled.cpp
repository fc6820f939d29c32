// Map files to Tiled maps and back. Going out, the game's own loader reads the map, so the
// Tiled map shows what the game sees; coming back, every value is checked before a byte of
// the map file is written.
#include "tiled.h"

#include "tilesheet.h"
#include "world/files.h"
#include "world/map.h"
#include "world/world.h"

#include <nlohmann/json.hpp>
#include <png.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <vector>

using nlohmann::json;

namespace {

// One value of a kind's group after x and y: a flag byte (read as an integer) or a real.
struct Field {
    const char *key;
    uint8_t ObjectRecord::*flag;
    float ObjectRecord::*real;
};

#define FLAG(k) {#k, &ObjectRecord::k, nullptr}
#define REAL(k) {#k, nullptr, &ObjectRecord::k}
const Field gunFields[] = {FLAG(face), REAL(freq), REAL(freqmax), REAL(freqspd)};
const Field cellingFields[] = {FLAG(face),      REAL(freq),         REAL(freqmax),      REAL(freqspd),
                               REAL(alarm),     REAL(alarmmax),     REAL(alarmspd),     REAL(freqalarm),
                               REAL(freqalarmmax), REAL(freqalarmspd), REAL(raydist)};
const Field sondaFields[] = {FLAG(frameface), FLAG(face)};
const Field trainFields[] = {FLAG(frameface), FLAG(face),     REAL(appear),   REAL(appearmax), REAL(appearspd),
                             REAL(frame),     REAL(framebeg), REAL(frameend), REAL(framespd)};
#undef FLAG
#undef REAL

struct Kind {
    const char *word;       // layer name and map line prefix
    const char *countKey;   // "nof can"
    const Field *fields;
    int fieldCount;
};
#define KIND(w, c, f) {w, c, f, (int)(sizeof f / sizeof f[0])}
const Kind kinds[KIND_COUNT] = {
    KIND("cannon", "nof can", gunFields),   KIND("twoways", "nof two", gunFields),
    KIND("celling", "nof cel", cellingFields), KIND("sonda", "nof son", sondaFields),
    KIND("train", "nof tra", trainFields),
};
#undef KIND

bool KnownCode(long code) {
    return code == TILE_EMPTY || code == TILE_SOLID || code == TILE_LEDGE || code == TILE_COVER ||
           code == TILE_RAY || code == TILE_EXIT;
}

bool Exists(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::string Folder(const std::string &path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Text from the Tiled file made safe for a message.
std::string Shown(const std::string &text) {
    char out[200];
    return EscapedText(text.data(), text.size(), 40, out, sizeof out);
}

void EmptyWorld() {
    std::memset(TileGrid, 0, sizeof TileGrid);
    for (int k = 0; k < KIND_COUNT; k++) {
        std::memset(KindPool(k), 0, sizeof(ObjectRecord) * POOL_SIZE);
        *KindCount(k) = 0;
    }
}

// ---- the tile sheet as a PNG, encoded in memory ----

void AppendPng(png_structp png, png_bytep data, png_size_t size) {
    auto *out = static_cast<std::vector<uint8_t> *>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

bool EncodePng(const Picture &pic, std::vector<uint8_t> *out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, AppendPng, nullptr);
    png_set_IHDR(png, info, (png_uint_32)pic.w, (png_uint_32)pic.h, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < pic.h; y++) png_write_row(png, const_cast<png_bytep>(pic.at(0, y)));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

// The writer's messages name the file already.
bool WriteText(const std::string &path, const std::string &text, std::string *error) {
    return WriteFileAtomically(path.c_str(), text.data(), text.size(), error);
}

// The tileset and its sheet in folder, each written only when it is not there yet.
bool WriteTileset(const std::string &folder, const std::string &assetsDir, std::string *error) {
    const std::string sheetPath = folder + TILESHEET_FILE;
    if (!Exists(sheetPath)) {
        Picture sheet;
        std::vector<uint8_t> png;
        if (!PaintTileSheet(assetsDir, &sheet, error)) return false;
        if (!EncodePng(sheet, &png)) {
            *error = "cannot encode the tile sheet";
            return false;
        }
        if (!WriteFileAtomically(sheetPath.c_str(), png.data(), png.size(), error)) return false;
    }
    const std::string tilesetPath = folder + TILESET_FILE;
    if (Exists(tilesetPath)) return true;
    json ts = {{"type", "tileset"},
               {"version", "1.10"},
               {"name", "kav-tiles"},
               {"tilewidth", TILE_SHEET_PIXELS},
               {"tileheight", TILE_SHEET_PIXELS},
               {"tilecount", TILE_SHEET_CODES},
               {"columns", TILE_SHEET_CODES},
               {"margin", 0},
               {"spacing", 0},
               {"image", TILESHEET_FILE},
               {"imagewidth", TILE_SHEET_CODES * TILE_SHEET_PIXELS},
               {"imageheight", TILE_SHEET_PIXELS}};
    return WriteText(tilesetPath, ts.dump(1) + "\n", error);
}

// ---- reading a Tiled map: every check names where it failed ----

struct Refusal {
    std::string message;
};

[[noreturn]] void Refuse(const std::string &where, const std::string &what) {
    throw Refusal{where + ": " + what};
}

const json &Member(const json &object, const char *key, const std::string &where) {
    if (!object.is_object() || !object.contains(key)) Refuse(where, std::string("\"") + key + "\" is missing");
    return object[key];
}

long WholeNumber(const json &value, const std::string &where, long lo, long hi) {
    if (!value.is_number()) Refuse(where, "not a number");
    double d = value.get<double>();
    if (d != std::floor(d) || d < (double)lo || d > (double)hi)
        Refuse(where, "not a whole number from " + std::to_string(lo) + " to " + std::to_string(hi));
    return (long)d;
}

// The tile a pixel position falls nearest to (an object dragged off the tile corners
// snaps back to the closest one).
long TileOf(const json &value, const std::string &where) {
    if (!value.is_number()) Refuse(where, "not a number");
    const double d = value.get<double>();
    if (!std::isfinite(d) || std::fabs(d) > 1e6) Refuse(where, "far outside the map");
    return std::lround(d / TILE_SIZE);
}

// Shortest text of a float that reads back as the same float.
std::string RealText(float value) {
    char buf[40];
    for (int digits = 1; digits <= 9; digits++) {
        std::snprintf(buf, sizeof buf, "%.*g", digits, (double)value);
        if (std::strtof(buf, nullptr) == value) break;
    }
    return buf;
}

struct Group {
    long x, y;
    std::vector<std::string> values;   // in the kind's line order after x and y
};

void ReadObjectLayer(const json &layer, int k, const std::string &layerWhere, std::vector<Group> *groups) {
    const Kind &kind = kinds[k];
    if (Member(layer, "type", layerWhere) != "objectgroup") Refuse(layerWhere, "not an object layer");
    const json &objects = Member(layer, "objects", layerWhere);
    if (!objects.is_array()) Refuse(layerWhere, "\"objects\" is not a list");
    if (objects.size() > (size_t)POOL_SIZE)
        Refuse(layerWhere, std::to_string(objects.size()) + " objects, more than " + std::to_string(POOL_SIZE));
    groups->assign(objects.size(), Group());
    std::vector<bool> taken(objects.size(), false);
    for (size_t i = 0; i < objects.size(); i++) {
        const json &object = objects[i];
        std::string where = layerWhere + ", object ";
        where += object.is_object() && object.contains("id") && object["id"].is_number()
                     ? std::to_string(object["id"].get<long long>())
                     : "#" + std::to_string(i + 1);
        const json &props = Member(object, "properties", where);
        if (!props.is_array()) Refuse(where, "\"properties\" is not a list");
        // Every property once, known to the kind.
        std::vector<const json *> value(kind.fieldCount + 1, nullptr);   // last: "index"
        for (const json &p : props) {
            const json &name = Member(p, "name", where);
            if (!name.is_string()) Refuse(where, "a property name is not text");
            const std::string n = name.get<std::string>();
            const std::string propWhere = where + ", property \"" + Shown(n) + "\"";
            int slot = -1;
            if (n == "index") slot = kind.fieldCount;
            for (int f = 0; f < kind.fieldCount; f++)
                if (n == kind.fields[f].key) slot = f;
            if (slot < 0) Refuse(propWhere, std::string("not a property of a ") + kind.word);
            if (value[slot]) Refuse(propWhere, "given twice");
            value[slot] = &Member(p, "value", propWhere);
        }
        for (int f = 0; f <= kind.fieldCount; f++)
            if (!value[f])
                Refuse(where, std::string("property \"") + (f < kind.fieldCount ? kind.fields[f].key : "index") +
                                  "\" is missing");
        const long index = WholeNumber(*value[kind.fieldCount], where + ", property \"index\"", 0,
                                       (long)objects.size() - 1);
        where += " (index " + std::to_string(index) + ")";
        if (taken[index]) Refuse(where, "another object has the same index");
        taken[index] = true;
        Group &g = (*groups)[index];
        const long col = TileOf(Member(object, "x", where), where + ", x");
        const long row = TileOf(Member(object, "y", where), where + ", y");
        if (col < 0 || col >= GRID_COLS || row < 0 || row >= GRID_ROWS)
            Refuse(where, "its tile (column " + std::to_string(col) + ", row " + std::to_string(row) +
                              ") is outside the grid");
        g.x = col;
        g.y = GRID_ROWS - 1 - row;   // the map counts rows from the bottom
        for (int f = 0; f < kind.fieldCount; f++) {
            const std::string propWhere = where + ", property \"" + kind.fields[f].key + "\"";
            if (kind.fields[f].flag) {
                g.values.push_back(std::to_string(WholeNumber(*value[f], propWhere, 0, 1)));
            } else {
                if (!value[f]->is_number()) Refuse(propWhere, "not a number");
                const double d = value[f]->get<double>();
                if (!std::isfinite(d) || std::fabs(d) > FLT_MAX) Refuse(propWhere, "outside the range of a real");
                g.values.push_back(RealText((float)d));
            }
        }
    }
}

std::string MapTextOf(const json &map) {
    const std::string top = "the map";
    if (!map.is_object()) Refuse(top, "not a JSON object");
    if (Member(map, "orientation", top) != "orthogonal") Refuse(top, "not an orthogonal map");
    if (WholeNumber(Member(map, "width", top), top + ", width", 0, 1000000) != GRID_COLS ||
        WholeNumber(Member(map, "height", top), top + ", height", 0, 1000000) != GRID_ROWS)
        Refuse(top, "not 32 by 24 tiles");
    if (Member(map, "infinite", top) != false) Refuse(top, "an infinite map");
    const json &tilesets = Member(map, "tilesets", top);
    if (!tilesets.is_array() || tilesets.size() != 1) Refuse(top, "not exactly one tileset");
    const long firstgid = WholeNumber(Member(tilesets[0], "firstgid", top + ", tileset"), top + ", tileset firstgid",
                                      1, 1000000);
    const json &layers = Member(map, "layers", top);
    if (!layers.is_array()) Refuse(top, "\"layers\" is not a list");

    bool haveGrid = false;
    long grid[GRID_ROWS][GRID_COLS];
    bool haveKind[KIND_COUNT] = {};
    std::vector<Group> groups[KIND_COUNT];
    for (size_t l = 0; l < layers.size(); l++) {
        const json &name = Member(layers[l], "name", "layer #" + std::to_string(l + 1));
        const std::string n = name.is_string() ? name.get<std::string>() : std::string("?");
        const std::string where = "layer \"" + Shown(n) + "\"";
        if (n == "grid") {
            if (haveGrid) Refuse(where, "given twice");
            haveGrid = true;
            if (Member(layers[l], "type", where) != "tilelayer") Refuse(where, "not a tile layer");
            const json &data = Member(layers[l], "data", where);
            if (!data.is_array()) Refuse(where, "the data is not a list of numbers (keep the layer format CSV)");
            if (data.size() != (size_t)(GRID_ROWS * GRID_COLS))
                Refuse(where, std::to_string(data.size()) + " cells, not 768");
            for (int i = 0; i < GRID_ROWS * GRID_COLS; i++) {
                const int row = i / GRID_COLS, col = i % GRID_COLS;
                const std::string cell = where + ", row " + std::to_string(row) + " column " + std::to_string(col);
                const long gid = WholeNumber(data[i], cell, 0, 0xFFFFFFFFL);
                const long code = gid == 0 ? 0 : gid - firstgid;
                if (!KnownCode(code))
                    Refuse(cell, "tile " + std::to_string(gid) + " is not a tile code of the game");
                grid[row][col] = code;
            }
            continue;
        }
        int k = 0;
        while (k < KIND_COUNT && n != kinds[k].word) k++;
        if (k == KIND_COUNT) Refuse(where, "not a layer of the game (grid, cannon, twoways, celling, sonda, train)");
        if (haveKind[k]) Refuse(where, "given twice");
        haveKind[k] = true;
        ReadObjectLayer(layers[l], k, where, &groups[k]);
    }
    if (!haveGrid) Refuse(top, "the tile layer \"grid\" is missing");

    std::string text;
    for (int row = 0; row < GRID_ROWS; row++) {
        for (int col = 0; col < GRID_COLS; col++) text += std::to_string(grid[row][col]) + ",";
        text += "\n";
    }
    for (int k = 0; k < KIND_COUNT; k++)
        text += std::string(kinds[k].countKey) + " " + std::to_string(groups[k].size()) + "\n";
    for (int k = 0; k < KIND_COUNT; k++) {
        const Kind &kind = kinds[k];
        for (size_t i = 0; i < groups[k].size(); i++) {
            const std::string head = std::string(kind.word) + "[" + std::to_string(i) + "].crd.";
            text += head + "x " + std::to_string(groups[k][i].x) + "\n";
            text += head + "y " + std::to_string(groups[k][i].y) + "\n";
            for (int f = 0; f < kind.fieldCount; f++)
                text += head + kind.fields[f].key + " " + groups[k][i].values[f] + "\n";
        }
    }
    return text;
}

void CollectProblem(void *user, int line, const char *message) {
    auto *problems = static_cast<std::string *>(user);
    if (problems->empty()) *problems = "line " + std::to_string(line) + ": " + message;
}

}  // namespace

bool TiledTextToMapText(const std::string &tmjText, std::string *mapText, std::string *error) {
    json map = json::parse(tmjText, nullptr, false);
    if (map.is_discarded()) {
        *error = "not JSON";
        return false;
    }
    try {
        *mapText = MapTextOf(map);
    } catch (const Refusal &r) {
        *error = r.message;
        return false;
    }
    return true;
}

bool TiledToMap(const std::string &tmjPath, const std::string &outPath, std::string *error) {
    uint8_t *data = nullptr;
    size_t size = 0;
    FileReadResult read = ReadFileAlloc(tmjPath.c_str(), MAP_FILE_LIMIT * 16, &data, &size);
    if (read != FILE_READ_OK) {
        *error = tmjPath + ": " + FileReadText(read);
        return false;
    }
    std::string text((const char *)data, size), mapText;
    std::free(data);
    if (!TiledTextToMapText(text, &mapText, error)) {
        *error = tmjPath + ": " + *error;
        return false;
    }
    return WriteText(outPath, mapText, error);
}

bool MapToTiled(const std::string &mapPath, const std::string &outPath, const std::string &assetsDir,
                std::string *error) {
    uint8_t *data = nullptr;
    size_t size = 0;
    FileReadResult read = ReadFileAlloc(mapPath.c_str(), MAP_FILE_LIMIT, &data, &size);
    if (read != FILE_READ_OK) {
        *error = mapPath + ": " + FileReadText(read);
        return false;
    }
    // The game's loader, into an empty world; a map it finds fault with is not converted,
    // since the Tiled map could not say the same thing.
    EmptyWorld();
    std::string problem;
    LoadMapFromBuffer((const char *)data, size, CollectProblem, &problem);
    std::free(data);
    if (!problem.empty()) {
        *error = mapPath + ": " + problem;
        return false;
    }

    json gridData = json::array();
    for (int row = 0; row < GRID_ROWS; row++)
        for (int col = 0; col < GRID_COLS; col++) gridData.push_back(TileGrid[row][col] + 1);
    json layers = json::array();
    layers.push_back({{"id", 1},
                      {"name", "grid"},
                      {"type", "tilelayer"},
                      {"width", GRID_COLS},
                      {"height", GRID_ROWS},
                      {"x", 0},
                      {"y", 0},
                      {"opacity", 1},
                      {"visible", true},
                      {"data", gridData}});
    int nextObject = 1;
    for (int k = 0; k < KIND_COUNT; k++) {
        const Kind &kind = kinds[k];
        json objects = json::array();
        for (int i = 0; i < KindLimit(k); i++) {
            const ObjectRecord &rec = KindPool(k)[i];
            json props = json::array();
            props.push_back({{"name", "index"}, {"type", "int"}, {"value", i}});
            for (int f = 0; f < kind.fieldCount; f++) {
                const Field &field = kind.fields[f];
                if (field.flag)
                    props.push_back({{"name", field.key}, {"type", "int"}, {"value", (int)(rec.*field.flag)}});
                else
                    props.push_back({{"name", field.key}, {"type", "float"}, {"value", (double)(rec.*field.real)}});
            }
            const long col = std::lround(rec.x / TILE_SIZE), up = std::lround(rec.y / TILE_SIZE);
            objects.push_back({{"id", nextObject++},
                               {"name", std::string(kind.word) + " " + std::to_string(i)},
                               {"x", col * TILE_SIZE},
                               {"y", (GRID_ROWS - 1 - up) * TILE_SIZE},
                               {"width", TILE_SIZE},
                               {"height", TILE_SIZE},
                               {"rotation", 0},
                               {"visible", true},
                               {"properties", props}});
        }
        layers.push_back({{"id", k + 2},
                          {"name", kind.word},
                          {"type", "objectgroup"},
                          {"draworder", "index"},
                          {"x", 0},
                          {"y", 0},
                          {"opacity", 1},
                          {"visible", true},
                          {"objects", objects}});
    }
    json map = {{"type", "map"},
                {"version", "1.10"},
                {"orientation", "orthogonal"},
                {"renderorder", "right-down"},
                {"width", GRID_COLS},
                {"height", GRID_ROWS},
                {"tilewidth", TILE_SIZE},
                {"tileheight", TILE_SIZE},
                {"infinite", false},
                {"compressionlevel", -1},
                {"nextlayerid", KIND_COUNT + 2},
                {"nextobjectid", nextObject},
                {"layers", layers},
                {"tilesets", json::array({{{"firstgid", 1}, {"source", TILESET_FILE}}})}};
    if (!WriteTileset(Folder(outPath), assetsDir, error)) return false;
    return WriteText(outPath, map.dump(1) + "\n", error);
}
