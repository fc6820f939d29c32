// Soak driver: runs the game headless for many steps with seeded keys on every map file and on
// worlds filled with hostile values, so a sanitizer build can watch every table access.
//
//   kav_soak [steps] [seed]      (run from the directory that holds map/)
#include <cfloat>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/frame.h"
#include "shell/keys.h"
#include "sim/sim.h"
#include "world/map.h"
#include "world/world.h"

// xorshift64*: small, seeded, the same sequence on every machine.
static uint64_t rngState = 1;
static uint32_t Next() {
    rngState ^= rngState >> 12;
    rngState ^= rngState << 25;
    rngState ^= rngState >> 27;
    return (uint32_t)((rngState * 2685821657736338717ULL) >> 32);
}
static int Below(int n) { return (int)(Next() % (uint32_t)n); }

// Values a careless or broken map could hand the game.
static float HostileFloat() {
    static const float palette[] = {
        0.0f, -0.0f, 1.0f, -1.0f, 0.5f, 0.25f, 100.0f, -100.0f, 255.9f, 256.0f, 192.0f, -8.0f,
        1e-45f, -1e-45f, 16777216.0f, 3e9f, -3e9f, 1e30f, -1e30f, FLT_MAX, -FLT_MAX,
        INFINITY, -INFINITY, NAN};
    int n = (int)(sizeof palette / sizeof palette[0]);
    if (Below(3) == 0) return palette[Below(n)];
    return (float)Below(2600) / 10.0f - 10.0f;   // ordinary positions and timers
}

static int32_t HostileCount() {
    static const int32_t counts[] = {-5, 0, 1, 7, 49, 50, 51, 1000, INT32_MAX, INT32_MIN};
    return Below(2) ? Below(51) : counts[Below(10)];
}

// Fills every field a map file can give, plus the ones that carry over between maps (frame,
// frameface). The ray cursor and step are the ceiling guns' own: only the aim writes them.
static void HostileRecord(ObjectRecord &o) {
    float *fields[] = {&o.x, &o.y, &o.appear, &o.appearmax, &o.appearspd, &o.frame,
                       &o.framebeg, &o.frameend, &o.framespd, &o.freq, &o.freqmax, &o.freqspd,
                       &o.alarm, &o.alarmmax, &o.alarmspd, &o.freqalarm, &o.freqalarmmax,
                       &o.freqalarmspd, &o.raydist};
    for (float *f : fields) *f = HostileFloat();
    o.active = (uint8_t)Below(256);
    o.face = (uint8_t)Below(256);
    o.frameface = (uint8_t)Below(256);
}

static void HostileWorld() {
    static const int32_t codes[] = {0, 0, 0, 0, 1, 1, 2, 3, 8, 9, 4, 7, -1, 1000000, INT32_MIN};
    for (int r = 0; r < GRID_ROWS; r++)
        for (int c = 0; c < GRID_COLS; c++) TileGrid[r][c] = codes[Below(15)];
    for (int k = 0; k < KIND_COUNT; k++) {
        *KindCount(k) = HostileCount();
        for (int i = 0; i < POOL_SIZE; i++) HostileRecord(KindPool(k)[i]);
    }
    mapIndex = Below(3) ? Below(5) : (Below(2) ? -7 : 1000);
}

// A real map file with a few bytes changed, read through the loader.
static char mapText[MAP_FILE_LIMIT];
static bool MutatedMap(int index) {
    FILE *f = std::fopen(MapFileName(index), "rb");
    if (!f) return false;
    size_t n = std::fread(mapText, 1, sizeof mapText, f);
    std::fclose(f);
    for (int k = Below(20); k > 0 && n > 0; k--) mapText[Below((int)n)] = (char)("0123456789-.e \n"[Below(15)]);
    LoadMapFromBuffer(mapText, n);
    return true;
}

// Keys held for a while, as a player's hands would: each key flips now and then.
static void StepKeys() {
    static const int keys[] = {VK_LEFT_, VK_RIGHT_, VK_UP_, VK_DOWN_, VK_SPACE_, KEY_RISE, KEY_SHIELD};
    for (int vk : keys)
        if (Below(12) == 0) KeyState[vk] = !KeyState[vk];
}

int main(int argc, char **argv) {
    long steps = argc > 1 ? std::atol(argv[1]) : 1000000;
    rngState = argc > 2 ? std::strtoull(argv[2], nullptr, 10) | 1 : 0x9E3779B97F4A7C15ULL;
    const long perWorld = 5000;

    ResetWorld();
    ResetSimLatches();
    StartWorld();
    int mapsFound = 0;
    for (int i = 0; i < MAP_COUNT; i++) {
        FILE *f = std::fopen(MapFileName(i), "rb");
        if (f) {
            mapsFound++;
            std::fclose(f);
        }
    }

    long done = 0, worlds = 0, realWorlds = 0, hostileWorlds = 0, mutatedWorlds = 0;
    long shotsSeen = 0, explosionsSeen = 0;
    auto start = std::chrono::steady_clock::now();
    while (done < steps) {
        // Turn by turn: each real map as the game loads it, a mutated map, a hostile world.
        int kind = (int)(worlds % 7);
        if (kind < MAP_COUNT) {
            mapIndex = kind;
            LoadCurrentMap();
            realWorlds++;
        } else if (kind == 5 && mapsFound > 0 && MutatedMap(Below(MAP_COUNT))) {
            mutatedWorlds++;
        } else {
            HostileWorld();
            hostileWorlds++;
        }
        if (Below(4) == 0) SetHeroStart();
        worlds++;
        for (long s = 0; s < perWorld && done < steps; s++, done++) {
            StepKeys();
            FrameUpdate();
            if ((done & 255) == 0) {
                for (const ObjectRecord &r : ShotPool) shotsSeen += r.active ? 1 : 0;
                for (const ObjectRecord &r : ExplosionPool) explosionsSeen += r.active ? 1 : 0;
            }
        }
    }
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("soak: %ld steps in %.1f s (%.2f us/step), %ld worlds: %ld map loads (%d map files), "
                "%ld mutated maps, %ld hostile worlds; sampled active shots %ld, explosions %ld\n",
                done, secs, secs * 1e6 / (double)(done ? done : 1), worlds, realWorlds, mapsFound,
                mutatedWorlds, hostileWorlds, shotsSeen, explosionsSeen);
    return 0;
}
