// Map soak: the game started as usual, then one map file (a real or a hostile one) loaded in
// place of the first screen, and many steps run with seeded keys. Prints the steps, the
// time and the longest single step, so a sanitizer build shows every bad access and a slow
// step shows up as a number.
//
//   kav_map_soak MAPFILE [STEPS] [SEED]     run where map/ is (the exits load the real maps)
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "shell/game_step.h"
#include "shell/state.h"
#include "world/map.h"
#include "world/world.h"

// Processor time of this thread, so a busy machine does not make a step look slow.
static double ThreadSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

// Park-Miller: the same keys for the same seed on every machine.
static uint32_t rng = 1;
static uint32_t Next() {
    rng = (uint32_t)((uint64_t)rng * 16807u % 2147483647u);
    return rng;
}

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: kav_map_soak MAPFILE [STEPS] [SEED]\n");
        return 2;
    }
    const char *mapFile = argv[1];
    long long steps = argc > 2 ? std::atoll(argv[2]) : 1000000;
    rng = (uint32_t)(argc > 3 ? std::strtoul(argv[3], nullptr, 10) % 2147483646u : 0) + 1;
    if (FILE *f = std::fopen(mapFile, "rb")) std::fclose(f);
    else {
        std::fprintf(stderr, "kav_map_soak: cannot open %s\n", mapFile);
        return 2;
    }

    haveWindow = false;
    ResetWorld();
    StartWorld();
    LoadMap(mapFile);

    // Keys held in runs of 1 to 60 steps, as hands would; never Escape, never F1.
    static const int keys[] = {VK_LEFT_, VK_RIGHT_, VK_UP_, VK_DOWN_, VK_SPACE_, 'M', 'N', VK_LEFT_,
                               VK_RIGHT_, VK_SPACE_, VK_PRIOR_, VK_NEXT_, 'G', 'F', '1', '2', 'I', 'B'};
    const int keyCount = (int)(sizeof keys / sizeof keys[0]);
    long long left = 0, mapChanges = 0;
    int32_t lastMap = mapIndex;
    double longest = 0;   // of the steps that did not change the map (a load reads a file)
    long long slow = 0;   // steps over a millisecond
    auto start = std::chrono::steady_clock::now();
    for (long long s = 0; s < steps; s++) {
        if (left == 0) {
            left = 1 + Next() % 60;
            std::memset(KeyState, 0, sizeof KeyState);
            for (int k = 0; k < keyCount; k++)
                if (Next() % 5 == 0) KeyState[keys[k]] = true;
        }
        left--;
        double before = ThreadSeconds();
        FrameUpdate();
        double took = ThreadSeconds() - before;
        if (mapIndex != lastMap) {
            mapChanges++;
            lastMap = mapIndex;
        } else {
            if (took > longest) longest = took;
            if (took > 1e-3) slow++;
        }
    }
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %lld steps in %.1f s (%.2f us a step; longest without a map change %.0f us of processor time, %lld over 1 ms), "
                "%lld map changes, map index %d\n",
                mapFile, steps, secs, steps ? secs * 1e6 / (double)steps : 0.0, longest * 1e6, slow, mapChanges,
                (int)mapIndex);
    return 0;
}
