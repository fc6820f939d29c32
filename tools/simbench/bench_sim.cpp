// Simulation benchmark: the cost of one FrameUpdate, at its worst and along the walkthrough.
//
//   kav_bench_sim SRC_DIR [ROUNDS [worst|typical]]
//
// SRC_DIR holds map/ and tests/fixtures/walkthrough.txt. Prints one line per figure,
// "BENCH <name> <value> <unit>". The worst step is the median of many batches in processor
// time of this thread, which other work on a shared machine does not count; the steps of the
// walkthrough, far too short for that clock, are timed alone on the wall clock, and each keeps
// its fastest of several passes.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "shell/game_step.h"
#include "shell/script.h"
#include "sim/sim.h"
#include "world/world.h"

namespace {

double NowUs() {
    using namespace std::chrono;
    return (double)duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count() * 1e-3;
}

double ThreadCpuUs() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return (double)t.tv_sec * 1e6 + (double)t.tv_nsec * 1e-3;
}

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    size_t i = (size_t)(p * (double)(v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)];
}

// All 256 shots hang still in open air on rows 12 to 16, away from every object, so each of
// them is moved and tested against all 250 objects in every step and none ever ends. The
// objects stand on the floor rows below; every cannon and two-way gun fires into the full shot
// pool in every step, and the ceiling guns under the top row are alarmed by rays that reach the
// hero and fire a volley in every step.
void WorstCaseWorld() {
    ResetWorld();
    std::memset(KeyState, 0, sizeof KeyState);
    ResetSimLatches();
    SetHeroStart();
    for (int c = 0; c < GRID_COLS; c++) SetGridCell(BOTTOM_ROW - 1, c, TILE_SOLID);   // floor, row 1

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

// False, with a message, when the world is no longer at its worst: the figure would mean nothing.
bool StillWorst() {
    int shots = 0, objects = 0, alarmed = 0;
    for (const ObjectRecord &s : ShotPool) shots += s.active ? 1 : 0;
    for (int k = 0; k < KIND_COUNT; k++)
        for (int i = 0; i < POOL_SIZE; i++) objects += KindPool(k)[i].active ? 1 : 0;
    for (const ObjectRecord &g : CeilingPool) alarmed += g.alarm > 0.0f ? 1 : 0;
    if (shots == SHOT_POOL_SIZE && objects == KIND_COUNT * POOL_SIZE && alarmed == POOL_SIZE) return true;
    fprintf(stderr, "worst case fell apart: %d shots, %d objects, %d alarmed\n", shots, objects, alarmed);
    return false;
}

// Median over `rounds` batches of 20 steps of the worst case, in processor microseconds per step.
double WorstStep(int rounds) {
    WorstCaseWorld();
    for (int i = 0; i < 20; i++) FrameUpdate();
    const int batch = 20;
    std::vector<double> perStep;
    for (int r = 0; r < rounds; r++) {
        const double t0 = ThreadCpuUs();
        for (int i = 0; i < batch; i++) FrameUpdate();
        perStep.push_back((ThreadCpuUs() - t0) / batch);
    }
    return StillWorst() ? Percentile(perStep, 0.5) : -1.0;
}

// The walkthrough on the real screens, `passes` times over, each step timed alone. Each
// step's figure is its fastest pass (what the step costs, not what the machine added), and the
// median and 99th percentile are taken over the steps.
struct StepTime {
    double us;
    int screen;   // the screen the step began on
};

bool TypicalSteps(const std::vector<InputRun> &runs, int passes, std::vector<StepTime> *best) {
    for (int pass = 0; pass < passes; pass++) {
        ResetWorld();
        ResetSimLatches();
        StartWorld();
        ScriptCursor cursor = {&runs, 0, 0};
        uint64_t keys = 0;
        for (size_t step = 0; NextScriptStep(&cursor, &keys); step++) {
            HoldScriptKeys(keys);
            const int screen = (int)mapIndex;
            const double t0 = NowUs();
            FrameUpdate();
            const double t = NowUs() - t0;
            if (step == best->size()) best->push_back({t, screen});
            else (*best)[step].us = std::min((*best)[step].us, t);
        }
    }
    if (mapIndex != MAP_COUNT - 1) {
        fprintf(stderr, "the walkthrough ended on screen %d, not on the last one\n", (int)mapIndex);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: kav_bench_sim SRC_DIR [ROUNDS [worst|typical]]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 201;
    const std::string only = argc > 3 ? argv[3] : "";
    if (only != "typical") {
        const double worst = WorstStep(rounds);
        if (worst < 0.0) return 1;
        printf("BENCH step_worst_us %.2f us\n", worst);
    }
    if (only == "worst") return 0;

    std::vector<InputRun> runs;
    std::string error;
    if (chdir(argv[1]) != 0 ||
        !ReadKeyScript("tests/fixtures/walkthrough.txt", &runs, &error)) {
        fprintf(stderr, "cannot read the walkthrough under %s %s\n", argv[1], error.c_str());
        return 1;
    }
    std::vector<StepTime> best;
    if (!TypicalSteps(runs, std::max(3, rounds / 20), &best)) return 1;
    std::vector<double> all, screen[MAP_COUNT];
    for (const StepTime &s : best) {
        all.push_back(s.us);
        if (s.screen >= 0 && s.screen < MAP_COUNT) screen[s.screen].push_back(s.us);
    }
    printf("BENCH step_typical_median_us %.3f us\n", Percentile(all, 0.5));
    printf("BENCH step_typical_p99_us %.3f us\n", Percentile(all, 0.99));
    for (int m = 0; m < MAP_COUNT; m++) {
        if (screen[m].empty()) continue;
        printf("BENCH step_typical_map%d_median_us %.3f us\n", m, Percentile(screen[m], 0.5));
        printf("BENCH step_typical_map%d_p99_us %.3f us\n", m, Percentile(screen[m], 0.99));
    }
    return 0;
}
