// The map format and the object record as tables.
#include "world/schema.h"

#include <cstdio>

#define REAL(name) {#name, &ObjectRecord::name, nullptr}
#define FLAG(name) {#name, nullptr, &ObjectRecord::name}
const RecordField recordFields[RECORD_FIELD_COUNT] = {
    REAL(x),        REAL(y),         REAL(speed),       REAL(vy),           REAL(fallacc),
    REAL(fallspd),  FLAG(active),    REAL(appear),      REAL(appearmax),    REAL(appearspd),
    REAL(frame),    REAL(framebeg),  REAL(frameend),    REAL(framespd),     FLAG(frameloop),
    FLAG(frameface), FLAG(face),     REAL(w),           REAL(h),            REAL(freq),
    REAL(freqmax),  REAL(freqspd),   REAL(alarm),       REAL(alarmmax),     REAL(alarmspd),
    REAL(freqalarm), REAL(freqalarmmax), REAL(freqalarmspd), REAL(rayx),    REAL(rayy),
    REAL(raydx),    REAL(raydy),     REAL(raydist),     FLAG(jumping),      FLAG(hide),
    FLAG(shield),   REAL(shieldframe),
};
#undef REAL
#undef FLAG

namespace {

// Index of each field in recordFields, for the group tables below.
enum {
    F_X, F_Y, F_SPEED, F_VY, F_FALLACC, F_FALLSPD, F_ACTIVE, F_APPEAR, F_APPEARMAX, F_APPEARSPD,
    F_FRAME, F_FRAMEBEG, F_FRAMEEND, F_FRAMESPD, F_FRAMELOOP, F_FRAMEFACE, F_FACE, F_W, F_H, F_FREQ,
    F_FREQMAX, F_FREQSPD, F_ALARM, F_ALARMMAX, F_ALARMSPD, F_FREQALARM, F_FREQALARMMAX, F_FREQALARMSPD,
    F_RAYX, F_RAYY, F_RAYDX, F_RAYDY, F_RAYDIST, F_JUMPING, F_HIDE, F_SHIELD, F_SHIELDFRAME, F_COUNT
};
static_assert(F_COUNT == RECORD_FIELD_COUNT, "one index per record field");

#define TILES(f) {&recordFields[F_##f], MAP_TILES}
#define FLAG(f) {&recordFields[F_##f], MAP_FLAG}
#define REAL(f) {&recordFields[F_##f], MAP_REAL}
const MapField gunLines[] = {TILES(X), TILES(Y), FLAG(FACE), REAL(FREQ), REAL(FREQMAX), REAL(FREQSPD)};
const MapField cellingLines[] = {TILES(X),         TILES(Y),         FLAG(FACE),      REAL(FREQ),
                                 REAL(FREQMAX),    REAL(FREQSPD),    REAL(ALARM),     REAL(ALARMMAX),
                                 REAL(ALARMSPD),   REAL(FREQALARM),  REAL(FREQALARMMAX), REAL(FREQALARMSPD),
                                 REAL(RAYDIST)};
const MapField sondaLines[] = {TILES(X), TILES(Y), FLAG(FRAMEFACE), FLAG(FACE)};
const MapField trainLines[] = {TILES(X),      TILES(Y),        FLAG(FRAMEFACE), FLAG(FACE),
                               REAL(APPEAR),  REAL(APPEARMAX), REAL(APPEARSPD), REAL(FRAME),
                               REAL(FRAMEBEG), REAL(FRAMEEND), REAL(FRAMESPD)};
#undef TILES
#undef FLAG
#undef REAL

}   // namespace

#define KIND(word, key, lines, active) {word, key, lines, int(sizeof(lines) / sizeof((lines)[0])), active}
const MapKind mapKinds[KIND_COUNT] = {
    KIND("cannon", "nof can", gunLines, 1),       KIND("twoways", "nof two", gunLines, 1),
    KIND("celling", "nof cel", cellingLines, 1),  KIND("sonda", "nof son", sondaLines, 1),
    KIND("train", "nof tra", trainLines, 0),
};
#undef KIND

const int32_t mapTileCodes[MAP_TILE_CODE_COUNT] = {TILE_EMPTY, TILE_SOLID, TILE_LEDGE, TILE_COVER, TILE_RAY, TILE_EXIT};

bool KnownTileCode(long long code) {
    for (int32_t known : mapTileCodes)
        if (code == known) return true;
    return false;
}

const char *GroupLinePattern(const MapKind &kind, const MapField &field, char (&out)[MAP_PATTERN_CHARS]) {
    std::snprintf(out, sizeof out, "%s[%%d].crd.%s %s \n,", kind.word, field.field->name,
                  field.type == MAP_REAL ? "%f" : "%d");
    return out;
}

const char *CountLinePattern(const MapKind &kind, char (&out)[MAP_PATTERN_CHARS]) {
    std::snprintf(out, sizeof out, "%s %%d \n", kind.countKey);
    return out;
}
