// Map loader, the map sequence and the world log.
#include "world/map.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "world/files.h"
#include "world/map_text.h"
#include "world/schema.h"
#include "world/world.h"

// ---- world log ----

static FILE *worldLog;

void OpenWorldLog(const char *path) {
    CloseWorldLog();
    worldLog = std::fopen(path, "w");
}

void CloseWorldLog() {
    if (worldLog) std::fclose(worldLog);
    worldLog = nullptr;
}

void WorldLogLine(const char *line) {
    if (!worldLog) return;
    std::fputs(line, worldLog);
    std::fputc('\n', worldLog);
    std::fflush(worldLog);
}

// ---- problem reports ----

struct Problems {
    MapProblemFn fn;
    void *user;
    bool endReported;
};

static void Report(Problems &problems, int line, const char *format, ...) {
    if (!problems.fn) return;
    char message[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    problems.fn(problems.user, line, message);
}

// Text of a chunk or line for a message: escaped, cut after 60 characters.
static const char *Shown(const char *text, size_t len, char (&out)[300]) {
    return EscapedText(text, len, 60, out, sizeof out);
}

// A pattern as a reader would write the line: "cannon[<n>].crd.x <integer>".
static const char *PatternShown(const char *pattern, char (&out)[300]) {
    size_t o = 0;
    bool first = true;
    for (const char *p = pattern; *p && o + 12 < sizeof out; p++) {
        if (p[0] == '%' && (p[1] == 'd' || p[1] == 'f')) {
            const char *word = p[1] == 'f' ? "<number>" : first && std::strchr(pattern, '[') ? "<n>" : "<integer>";
            first = false;
            size_t n = std::strlen(word);
            std::memcpy(out + o, word, n);
            o += n;
            p++;
        } else if (*p == '\n') {
            break;
        } else {
            out[o++] = *p;
        }
    }
    while (o > 0 && out[o - 1] == ' ') o--;
    out[o] = '\0';
    return out;
}

// Whether what follows the last field is only blanks and at most one comma.
static bool OnlyTrailingComma(const char *text, size_t len, size_t p) {
    while (p < len && IsMapSpace(text[p])) p++;
    if (p < len && text[p] == ',') p++;
    while (p < len && IsMapSpace(text[p])) p++;
    return p >= len;
}

// Matches one line, reporting a line that does not fit or has more after its value.
static void MatchLine(Problems &problems, const char *text, size_t len, int line, const char *pattern,
                      const MatchField *fields, int fieldCount) {
    char shownText[300], shownPattern[300];
    if (len == 0) {
        if (!problems.endReported)
            Report(problems, 0, "the file ends before the line \"%s\"", PatternShown(pattern, shownPattern));
        problems.endReported = true;
        return;
    }
    MatchResult r = MatchPattern(text, len, pattern, fields, fieldCount);
    if (r.fields < fieldCount)
        Report(problems, line, "\"%s\" does not match \"%s\"", Shown(text, len, shownText),
               PatternShown(pattern, shownPattern));
    else if (!OnlyTrailingComma(text, len, r.stop))
        Report(problems, line, "\"%s\": unexpected text after the value", Shown(text, len, shownText));
}

// ---- the loader ----

// Grid: one chunk per cell; a chunk without a number repeats the cell before it.
static void ReadGrid(MapText &text, Problems &problems) {
    char buf[LINE_CHARS + 1];
    char shown[300];
    int32_t cell = 0;
    for (int row = 0; row < GRID_ROWS; row++) {
        for (int col = 0; col < GRID_COLS; col++) {
            int line;
            size_t len = ReadMapChunk(text, buf, &line);
            if (len == 0) {
                if (!problems.endReported)
                    Report(problems, 0, "the file ends before grid row %d column %d", row, col);
                problems.endReported = true;
            } else {
                MatchField field = {&cell, nullptr};
                MatchResult r = MatchPattern(buf, len, "%d,", &field, 1);
                if (r.fields == 0)
                    Report(problems, line, "grid row %d column %d: \"%s\" is not a tile code", row, col,
                           Shown(buf, len, shown));
                else if (!KnownTileCode(cell))
                    Report(problems, line, "grid row %d column %d: unknown tile code %d", row, col, (int)cell);
            }
            TileGrid[row][col] = cell;
        }
    }
}

// The five count lines, each kept inside 0 to the pool size as the kind's count; the lines
// they were read from go to countLines for later reports.
static void ReadCounts(MapText &text, Problems &problems, int32_t counts[KIND_COUNT], int countLines[KIND_COUNT]) {
    char buf[LINE_CHARS + 1];
    char pattern[MAP_PATTERN_CHARS];
    for (int k = 0; k < KIND_COUNT; k++) {
        size_t len = ReadMapLine(text, buf, &countLines[k]);
        MatchField field = {&counts[k], nullptr};
        MatchLine(problems, buf, len, countLines[k], CountLinePattern(mapKinds[k], pattern), &field, 1);
    }
    for (int k = 0; k < KIND_COUNT; k++) {
        if (counts[k] > POOL_SIZE) {
            Report(problems, countLines[k], "count %d of %s is above %d: cut to %d", (int)counts[k],
                   mapKinds[k].word, POOL_SIZE, POOL_SIZE);
            counts[k] = POOL_SIZE;
        } else if (counts[k] < 0) {
            Report(problems, countLines[k], "count %d of %s is below 0: no %s read", (int)counts[k],
                   mapKinds[k].word, mapKinds[k].word);
        }
        *KindCount(k) = counts[k];
    }
}

// What a group's lines set: the index and the values, integers and reals by record field.
// A line that does not match leaves them as they were, so they carry over from group to group
// and from kind to kind.
struct WorkingValues {
    int32_t index;
    int32_t ints[RECORD_FIELD_COUNT];
    ObjectRecord reals;
};

// Reads the lines of one group into the working values; gives the line of its first.
static int ReadGroup(MapText &text, Problems &problems, const MapKind &kind, WorkingValues &w) {
    char buf[LINE_CHARS + 1];
    char pattern[MAP_PATTERN_CHARS];
    int firstLine = 0;
    int32_t groupIndex = 0;
    for (int l = 0; l < kind.fieldCount; l++) {
        const MapField &mf = kind.fields[l];
        int line;
        size_t len = ReadMapLine(text, buf, &line);
        if (l == 0) firstLine = line;
        MatchField fields[2] = {{&w.index, nullptr}, {nullptr, nullptr}};
        if (mf.type == MAP_REAL) fields[1].f = &(w.reals.*mf.field->real);
        else fields[1].i = &w.ints[mf.field - recordFields];
        MatchLine(problems, buf, len, line, GroupLinePattern(kind, mf, pattern), fields, 2);
        if (l == 0) groupIndex = w.index;
        else if (len && w.index != groupIndex)
            Report(problems, line, "%s index %d differs from the group's first index %d", kind.word,
                   (int)w.index, (int)groupIndex);
    }
    return firstLine;
}

// The working values into a record: only the fields the kind's lines give.
static void StoreRecord(const MapKind &kind, const WorkingValues &w, ObjectRecord &rec) {
    rec.active = kind.active;
    for (int l = 0; l < kind.fieldCount; l++) {
        const RecordField &f = *kind.fields[l].field;
        const int32_t value = w.ints[&f - recordFields];
        switch (kind.fields[l].type) {
        case MAP_TILES: rec.*f.real = (float)((int64_t)value * TILE_SIZE); break;
        case MAP_FLAG: rec.*f.flag = value == 1; break;
        case MAP_REAL: rec.*f.real = w.reals.*f.real; break;
        }
    }
}

// Each kind's groups, as many as its count; each goes to the record its last index names.
static void ReadObjects(MapText &text, Problems &problems, const int32_t counts[KIND_COUNT],
                        const int countLines[KIND_COUNT]) {
    WorkingValues w;
    std::memset(&w, 0, sizeof w);
    for (int k = 0; k < KIND_COUNT; k++) {
        const MapKind &kind = mapKinds[k];
        bool written[POOL_SIZE] = {};
        for (int group = 0; group < counts[k]; group++) {
            const int firstLine = ReadGroup(text, problems, kind, w);
            if (w.index < 0 || w.index >= POOL_SIZE) {
                Report(problems, firstLine, "%s index %d is outside 0 to %d: group skipped", kind.word,
                       (int)w.index, POOL_SIZE - 1);
                continue;
            }
            written[w.index] = true;
            StoreRecord(kind, w, KindPool(k)[w.index]);
        }
        for (int i = 0; i < counts[k]; i++)
            if (!written[i])
                Report(problems, countLines[k], "%s %d is not given (the count is %d): it keeps an old record",
                       kind.word, i, (int)counts[k]);
    }
}

void LoadMapFromBuffer(const char *data, size_t size, MapProblemFn problemFn, void *user) {
    Problems problems = {problemFn, user, false};
    MapText text;
    OpenMapText(text, data, size);
    ReadGrid(text, problems);
    int32_t counts[KIND_COUNT] = {0, 0, 0, 0, 0};
    int countLines[KIND_COUNT] = {0, 0, 0, 0, 0};
    ReadCounts(text, problems, counts, countLines);
    ReadObjects(text, problems, counts, countLines);
}

static char mapFileBuffer[MAP_FILE_LIMIT];

void LoadMap(const char *path) {
    char line[600];
    size_t n = 0;
    FileReadResult read = ReadFileInto(path, mapFileBuffer, sizeof mapFileBuffer, &n);
    if (read == FILE_CANNOT_OPEN) {
        std::snprintf(line, sizeof line, "cannot open %s", path);
        WorldLogLine(line);
        return;
    }
    WorldLogLine("    loading scene");
    WorldLogLine("  loading scenegg objects");
    if (read == FILE_TOO_LARGE) {
        std::snprintf(line, sizeof line, "%s is larger than %zu bytes: not loaded", path, MAP_FILE_LIMIT);
        WorldLogLine(line);
        return;
    }
    if (read != FILE_READ_OK) {
        std::snprintf(line, sizeof line, "cannot read %s", path);
        WorldLogLine(line);
        return;
    }
    LoadMapFromBuffer(mapFileBuffer, n);
}

// ---- the map sequence ----

static const char *const mapFiles[MAP_COUNT] = {
    "map/map00.map", "map/map01.map", "map/map02.map", "map/map03.map", "map/map04.map",
};

const char *MapFileName(int index) {
    if (index < 0 || index >= MAP_COUNT) return nullptr;
    return mapFiles[index];
}

void LoadCurrentMap() {
    for (int i = 0; i < SHOT_POOL_SIZE; i++) ShotPool[i].active = 0;
    for (int i = 0; i < EXPLOSION_POOL_SIZE; i++) ExplosionPool[i].active = 0;
    const char *file = MapFileName(mapIndex);
    if (file) LoadMap(DataPath(file));
}
