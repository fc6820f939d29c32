// Simulation benchmark: one FrameUpdate with all 256 shots in flight against 50 objects of every
// kind, all active, every gun due to fire into the full shot pool and every ray traced to the floor.
#include <benchmark/benchmark.h>

#include <cstring>

#include "shell/frame.h"
#include "sim/sim.h"
#include "world/world.h"

// The shots hang still in open air on rows 12 to 16, away from every object, so each of them is
// moved and tested against all 250 objects in every step and none ever ends. The objects stand
// on the floor rows below, the ceiling guns under the top row with their rays reaching the hero.
static void WorstCaseWorld() {
    ResetWorld();
    std::memset(KeyState, 0, sizeof KeyState);
    ResetSimLatches();
    SetHeroStart();
    for (int c = 0; c < GRID_COLS; c++) SetGridCell(23 - 1, c, TILE_SOLID);   // floor, row 1

    for (int i = 0; i < SHOT_POOL_SIZE; i++) {
        ObjectRecord &s = ShotPool[i];
        s.active = 1;
        s.x = 4.0f + (float)(i % 60) * 4.0f;
        s.y = 100.0f + (float)(i / 60) * 8.0f;
        s.frame = s.framebeg = 10.0f;
        s.frameend = 17.0f;
        s.framespd = 0.25f;
        s.frameloop = 1;
    }
    for (int i = 0; i < EXPLOSION_POOL_SIZE; i++) {
        ObjectRecord &e = ExplosionPool[i];
        e.active = 1;
        e.frame = e.framebeg = 4.0f;
        e.frameend = 11.0f;   // framespd 0: they never end
    }
    for (int k = 0; k < KIND_COUNT; k++) {
        *KindCount(k) = POOL_SIZE;
        for (int i = 0; i < POOL_SIZE; i++) {
            ObjectRecord &o = KindPool(k)[i];
            o.active = 1;
            o.x = 12.0f + (float)(i % 25) * 9.0f;
            o.y = 16.0f + (float)(i / 25) * 24.0f;   // rows 2 to 5: below the shots
            o.face = (uint8_t)(i & 1);
            o.frameface = (uint8_t)(i & 1);
            o.freqmax = -1.0f;   // cannons and two-way guns fire in every step
            o.frameend = 11.0f;
            o.framespd = 0.25f;
        }
    }
    for (int i = 0; i < POOL_SIZE; i++) {
        ObjectRecord &g = CeilingPool[i];
        g.x = 128.0f + (float)(i % 3) * 4.0f;   // rays down columns 16 and 17: beside and on the hero
        g.y = 180.0f;
        g.frame = 2.0f;          // straight down
        g.raydist = 1000.0f;
        g.alarmmax = 1e9f;       // the ray sees the hero: alarmed in every step
        g.alarmspd = 1.0f;
        g.freqalarmmax = 1.0f;   // freqalarm stays 0: a volley in every step
    }
    for (int i = 0; i < POOL_SIZE; i++) ProbePool[i].y = 16.0f;   // patrol the floor
    for (int i = 0; i < POOL_SIZE; i++) TrainPool[i].y = 16.0f;
    AimCeilingRays();
}

static void BM_WorstCaseStep(benchmark::State &state) {
    WorstCaseWorld();
    for (auto _ : state) {
        FrameUpdate();
        benchmark::ClobberMemory();
    }
    // The world must still be at its worst after the run, or the figure means nothing.
    int shots = 0, objects = 0;
    for (const ObjectRecord &s : ShotPool) shots += s.active ? 1 : 0;
    for (int k = 0; k < KIND_COUNT; k++)
        for (int i = 0; i < POOL_SIZE; i++) objects += KindPool(k)[i].active ? 1 : 0;
    state.counters["shots"] = shots;
    state.counters["objects"] = objects;
    int alarmed = 0;
    for (const ObjectRecord &g : CeilingPool) alarmed += g.alarm > 0.0f ? 1 : 0;
    state.counters["alarmed"] = alarmed;
}
BENCHMARK(BM_WorstCaseStep);

// The same step with the shot pool empty, for comparison.
static void BM_EmptyShotPoolStep(benchmark::State &state) {
    WorstCaseWorld();
    for (auto _ : state) {
        state.PauseTiming();
        std::memset(ShotPool, 0, sizeof ShotPool);
        for (int k = 0; k < KIND_COUNT; k++)
            for (int i = 0; i < POOL_SIZE; i++) KindPool(k)[i].active = 1;
        state.ResumeTiming();
        FrameUpdate();
    }
}
BENCHMARK(BM_EmptyShotPoolStep);

BENCHMARK_MAIN();
