// Map files to Tiled maps and back. Going out, the game's own loader reads the map, so the
// Tiled map shows what the game sees; coming back, every value is checked before a byte of
// the map file is written.
#include "tiled.h"

#include "tilesheet.h"
#include "world/files.h"
#include "world/map.h"
#include "world/schema.h"
#include "world/world.h"

#include <nlohmann/json.hpp>
#include <png.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/stat.h>
#include <vector>

using nlohmann::json;

namespace {

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

// One object's values as map text, in the kind's line order (x and y first).
struct Group {
    std::vector<std::string> values;
};

// An object's "id" when it is a whole number Tiled could have written (0 to 2^53); else
// nothing, and the object is named by its place in the layer.
bool ObjectId(const json &object, long long *id) {
    if (!object.is_object() || !object.contains("id")) return false;
    const json &v = object["id"];
    const double most = 9007199254740992.0;
    if (v.is_number_unsigned()) {
        if (v.get<uint64_t>() > (uint64_t)most) return false;
        *id = (long long)v.get<uint64_t>();
        return true;
    }
    if (v.is_number_integer()) {
        if (v.get<int64_t>() < 0 || v.get<int64_t>() > (int64_t)most) return false;
        *id = v.get<int64_t>();
        return true;
    }
    if (!v.is_number_float()) return false;
    const double d = v.get<double>();
    if (!(d >= 0 && d <= most) || d != std::floor(d)) return false;
    *id = (long long)d;
    return true;
}

void ReadObjectLayer(const json &layer, int k, const std::string &layerWhere, std::vector<Group> *groups) {
    const MapKind &kind = mapKinds[k];
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
        long long id;
        where += ObjectId(object, &id) ? std::to_string(id) : "#" + std::to_string(i + 1);
        const json &props = Member(object, "properties", where);
        if (!props.is_array()) Refuse(where, "\"properties\" is not a list");
        // Every property once, known to the kind: each line of its group but x and y (the
        // object's place), and "index".
        const int indexSlot = kind.fieldCount;
        std::vector<const json *> value(kind.fieldCount + 1, nullptr);
        for (const json &p : props) {
            const json &name = Member(p, "name", where);
            if (!name.is_string()) Refuse(where, "a property name is not text");
            const std::string n = name.get<std::string>();
            const std::string propWhere = where + ", property \"" + Shown(n) + "\"";
            int slot = n == "index" ? indexSlot : -1;
            for (int f = 0; f < kind.fieldCount; f++)
                if (kind.fields[f].type != MAP_TILES && n == kind.fields[f].field->name) slot = f;
            if (slot < 0) Refuse(propWhere, std::string("not a property of a ") + kind.word);
            if (value[slot]) Refuse(propWhere, "given twice");
            value[slot] = &Member(p, "value", propWhere);
        }
        for (int f = 0; f <= kind.fieldCount; f++)
            if (!value[f] && (f == indexSlot || kind.fields[f].type != MAP_TILES))
                Refuse(where, std::string("property \"") + (f < indexSlot ? kind.fields[f].field->name : "index") +
                                  "\" is missing");
        const long index = WholeNumber(*value[indexSlot], where + ", property \"index\"", 0,
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
        for (int f = 0; f < kind.fieldCount; f++) {
            const RecordField &field = *kind.fields[f].field;
            const std::string propWhere = where + ", property \"" + field.name + "\"";
            switch (kind.fields[f].type) {
            case MAP_TILES:   // the map counts rows from the bottom
                g.values.push_back(std::to_string(field.real == &ObjectRecord::x ? col : BOTTOM_ROW - row));
                break;
            case MAP_FLAG: g.values.push_back(std::to_string(WholeNumber(*value[f], propWhere, 0, 1))); break;
            case MAP_REAL: {
                if (!value[f]->is_number()) Refuse(propWhere, "not a number");
                const double d = value[f]->get<double>();
                if (!std::isfinite(d) || std::fabs(d) > FLT_MAX) Refuse(propWhere, "outside the range of a real");
                g.values.push_back(RealText((float)d));
                break;
            }
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
            if (data.size() != size_t(GRID_ROWS) * GRID_COLS)
                Refuse(where, std::to_string(data.size()) + " cells, not 768");
            for (int i = 0; i < GRID_ROWS * GRID_COLS; i++) {
                const int row = i / GRID_COLS, col = i % GRID_COLS;
                const std::string cell = where + ", row " + std::to_string(row) + " column " + std::to_string(col);
                const long gid = WholeNumber(data[i], cell, 0, 0xFFFFFFFFL);
                const long code = gid == 0 ? 0 : gid - firstgid;
                if (!KnownTileCode(code))
                    Refuse(cell, "tile " + std::to_string(gid) + " is not a tile code of the game");
                grid[row][col] = code;
            }
            continue;
        }
        int k = 0;
        while (k < KIND_COUNT && n != mapKinds[k].word) k++;
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
        text += std::string(mapKinds[k].countKey) + " " + std::to_string(groups[k].size()) + "\n";
    for (int k = 0; k < KIND_COUNT; k++) {
        const MapKind &kind = mapKinds[k];
        for (size_t i = 0; i < groups[k].size(); i++) {
            const std::string head = std::string(kind.word) + "[" + std::to_string(i) + "].crd.";
            for (int f = 0; f < kind.fieldCount; f++)
                text += head + kind.fields[f].field->name + " " + groups[k][i].values[f] + "\n";
        }
    }
    return text;
}

// Walks a text as JSON without building it: refuses, by returning false from the event, a
// text nested deeper or holding more values than a Tiled map of the game can.
struct Measure : nlohmann::json_sax<json> {
    int depth = 0;
    size_t values = 0;
    std::string refusal;

    bool Value() {
        if (++values <= TILED_VALUE_LIMIT) return true;
        refusal = "more than " + std::to_string(TILED_VALUE_LIMIT) + " values: not a Tiled map of the game";
        return false;
    }
    bool Open() {
        if (!Value()) return false;
        if (++depth <= TILED_DEPTH_LIMIT) return true;
        refusal = "nested more than " + std::to_string(TILED_DEPTH_LIMIT) + " deep: not a Tiled map of the game";
        return false;
    }
    bool null() override { return Value(); }
    bool boolean(bool) override { return Value(); }
    bool number_integer(number_integer_t) override { return Value(); }
    bool number_unsigned(number_unsigned_t) override { return Value(); }
    bool number_float(number_float_t, const string_t &) override { return Value(); }
    bool string(string_t &) override { return Value(); }
    bool binary(binary_t &) override { return Value(); }
    bool start_object(std::size_t) override { return Open(); }
    bool key(string_t &) override { return true; }
    bool end_object() override { depth--; return true; }
    bool start_array(std::size_t) override { return Open(); }
    bool end_array() override { depth--; return true; }
    bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &) override { return false; }
};

void CollectProblem(void *user, int line, const char *message) {
    auto *problems = static_cast<std::string *>(user);
    if (problems->empty()) *problems = "line " + std::to_string(line) + ": " + message;
}

}  // namespace

bool TiledTextToMapText(const std::string &tmjText, std::string *mapText, std::string *error) {
    try {
        // Measured before anything is built from it.
        Measure measure;
        if (!json::sax_parse(tmjText, &measure)) {
            *error = measure.refusal.empty() ? "not JSON" : measure.refusal;
            return false;
        }
        json map = json::parse(tmjText, nullptr, false);
        if (map.is_discarded()) {
            *error = "not JSON";
            return false;
        }
        *mapText = MapTextOf(map);
    } catch (const Refusal &r) {
        *error = r.message;
        return false;
    } catch (const std::bad_alloc &) {
        *error = "out of memory";
        return false;
    }
    return true;
}

bool TiledToMap(const std::string &tmjPath, const std::string &outPath, std::string *error) {
    uint8_t *data = nullptr;
    size_t size = 0;
    FileReadResult read = ReadFileAlloc(tmjPath.c_str(), TILED_FILE_LIMIT, &data, &size);
    if (read != FILE_READ_OK) {
        *error = tmjPath + ": " + FileReadText(read);
        if (read == FILE_TOO_LARGE) *error += " (" + std::to_string(TILED_FILE_LIMIT >> 20) + " MB)";
        return false;
    }
    try {
        std::string text((const char *)data, size), mapText;
        std::free(data);
        data = nullptr;
        if (!TiledTextToMapText(text, &mapText, error)) {
            *error = tmjPath + ": " + *error;
            return false;
        }
        return WriteText(outPath, mapText, error);
    } catch (const std::bad_alloc &) {
        std::free(data);
        *error = tmjPath + ": out of memory";
        return false;
    }
}

namespace {

bool ConvertMapToTiled(const std::string &mapPath, const std::string &outPath, const std::string &assetsDir,
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
        const MapKind &kind = mapKinds[k];
        json objects = json::array();
        for (int i = 0; i < KindLimit(k); i++) {
            const ObjectRecord &rec = KindPool(k)[i];
            json props = json::array();
            props.push_back({{"name", "index"}, {"type", "int"}, {"value", i}});
            for (int f = 0; f < kind.fieldCount; f++) {
                const RecordField &field = *kind.fields[f].field;
                if (kind.fields[f].type == MAP_FLAG)
                    props.push_back({{"name", field.name}, {"type", "int"}, {"value", (int)(rec.*field.flag)}});
                else if (kind.fields[f].type == MAP_REAL)
                    props.push_back({{"name", field.name}, {"type", "float"}, {"value", (double)(rec.*field.real)}});
            }
            const long col = std::lround(rec.x / TILE_SIZE), up = std::lround(rec.y / TILE_SIZE);
            objects.push_back({{"id", nextObject++},
                               {"name", std::string(kind.word) + " " + std::to_string(i)},
                               {"x", col * TILE_SIZE},
                               {"y", (BOTTOM_ROW - up) * TILE_SIZE},
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
    // OUT is checked (and its new file made) before the tileset is written beside it, so a
    // refused OUT leaves nothing behind.
    const std::string text = map.dump(1) + "\n";
    AtomicFile out;
    if (!BeginAtomicFile(&out, outPath.c_str(), error)) return false;
    bool tileset;
    try {
        tileset = WriteTileset(Folder(outPath), assetsDir, error);
    } catch (...) {
        AbandonAtomicFile(&out);
        throw;
    }
    if (!tileset) {
        AbandonAtomicFile(&out);
        return false;
    }
    return WriteAndFinishAtomicFile(&out, text.data(), text.size(), error);
}

}   // namespace

bool MapToTiled(const std::string &mapPath, const std::string &outPath, const std::string &assetsDir,
                std::string *error) {
    try {
        return ConvertMapToTiled(mapPath, outPath, assetsDir, error);
    } catch (const std::bad_alloc &) {
        *error = mapPath + ": out of memory";
        return false;
    }
}
