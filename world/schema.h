// The map format and the object record as tables: every field of ObjectRecord, and for each
// kind of level object its word, its count key and the lines of its group. The loader, the
// data checker, the dump and the Tiled converter all walk these tables; a field or a kind
// is written down here and nowhere else.
#pragma once

#include <cstdint>

#include "world/world.h"

// One field of ObjectRecord: a float, or a byte flag (exactly one of the two is set).
struct RecordField {
    const char *name;              // as in the record and in the dump: "freqmax"
    float ObjectRecord::*real;
    uint8_t ObjectRecord::*flag;
};

// Every field of ObjectRecord, in the record's order.
constexpr int RECORD_FIELD_COUNT = 37;
extern const RecordField recordFields[RECORD_FIELD_COUNT];

// How a group line's value is read and stored.
enum MapValueType {
    MAP_TILES,   // an integer count of tiles, stored as 8 times that in a float field (x, y)
    MAP_FLAG,    // an integer of which only 1 sets the byte flag (face, frameface)
    MAP_REAL,    // a real, stored as read
};

// One line of a kind's group: "cannon[0].crd.<key> <value>".
struct MapField {
    const RecordField *field;   // the record field it sets; its name is the line's key
    MapValueType type;
};

struct MapKind {
    const char *word;        // the lines' prefix, the dump's key and the Tiled layer: "cannon"
    const char *countKey;    // its count line's key: "nof can"
    const MapField *fields;  // its group's lines, in file order (x and y first)
    int fieldCount;
    uint8_t active;          // what a loaded record's `active` becomes (trains wait for their timer)
};

// The five kinds in the order the map file lists them (ObjectKind).
extern const MapKind mapKinds[KIND_COUNT];

// The tile codes a map may hold (TILE_EMPTY ... TILE_EXIT).
constexpr int MAP_TILE_CODE_COUNT = 6;
extern const int32_t mapTileCodes[MAP_TILE_CODE_COUNT];
bool KnownTileCode(long long code);

// The pattern of a group line as the loader matches it ("cannon[%d].crd.x %d \n,") and of a
// count line ("nof can %d \n"), written into out; at most MAP_PATTERN_CHARS characters.
constexpr int MAP_PATTERN_CHARS = 64;
const char *GroupLinePattern(const MapKind &kind, const MapField &field, char (&out)[MAP_PATTERN_CHARS]);
const char *CountLinePattern(const MapKind &kind, char (&out)[MAP_PATTERN_CHARS]);
