// The world dump: every value it holds read back bit for bit.
#include "shell_fixture.h"

#include "shell/dump.h"

#include <cmath>
#include <random>

// Awkward floats: signed zero, the smallest subnormal, the largest, infinities, and randoms.
static float Awkward(std::mt19937 &rng) {
    static const float fixed[] = {-0.0f, 1.4e-45f, 3.4028235e38f, -1.0f / 3.0f, 0.1f, INFINITY, -INFINITY, 16777217.0f};
    const uint32_t pick = rng() % 16;
    if (pick < 8) return fixed[pick];
    for (;;) {
        uint32_t u = rng();
        float f;
        std::memcpy(&f, &u, 4);
        if (!std::isnan(f)) return f;
    }
}

// Every float and byte of a record, field by field: padding stays as ResetWorld left it.
static void FillRecord(ObjectRecord *r, std::mt19937 &rng) {
    float *floats[] = {&r->x, &r->y, &r->speed, &r->vy, &r->fallacc, &r->fallspd, &r->appear, &r->appearmax,
                       &r->appearspd, &r->frame, &r->framebeg, &r->frameend, &r->framespd, &r->w, &r->h,
                       &r->freq, &r->freqmax, &r->freqspd, &r->alarm, &r->alarmmax, &r->alarmspd,
                       &r->freqalarm, &r->freqalarmmax, &r->freqalarmspd, &r->rayx, &r->rayy, &r->raydx,
                       &r->raydy, &r->raydist, &r->shieldframe};
    for (float *f : floats) *f = Awkward(rng);
    for (uint8_t *b : {&r->active, &r->frameloop, &r->frameface, &r->face, &r->jumping, &r->hide, &r->shield})
        *b = rng() % 2;
}

class DumpTest : public ShellTest {};

TEST_F(DumpTest, EveryValueReadsBackBitForBitAndNotANumberStaysOne) {
    for (unsigned seed : {1u, 2u}) {
        SCOPED_TRACE(seed);
        SetUp();
        std::mt19937 rng(seed);
        for (int k = 0; k < KIND_COUNT; k++) {
            for (int i = 0; i < POOL_SIZE; i++) FillRecord(&KindPool(k)[i], rng);
            *KindCount(k) = (int32_t)(rng() % 120) - 20;
        }
        for (auto &r : ShotPool) FillRecord(&r, rng);
        for (auto &r : ExplosionPool) FillRecord(&r, rng);
        FillRecord(&HeroState, rng);
        for (auto &row : TileGrid)
            for (auto &cell : row) cell = (int32_t)rng();
        mapIndex = -3;
        Rem01 = Awkward(rng), Rem02 = -0.0f, Rem03 = 1.4e-45f, viewScale = -0.8749998f;
        showBackground = false, showInfo = true;
        const std::string text = WorldDumpText(1234567);

        SetUp();   // everything back to zero and the start settings
        int64_t frame = 0;
        std::string error;
        ASSERT_TRUE(LoadWorldDumpText(text, &frame, &error)) << error;
        EXPECT_EQ(frame, 1234567);
        EXPECT_TRUE(WorldDumpText(1234567) == text);   // what the dump holds, the golden dumps fix
    }
    HeroState.x = NAN;
    ShotPool[255].frame = -NAN;
    const std::string text = WorldDumpText(0);
    ResetWorld();
    int64_t frame;
    std::string error;
    ASSERT_TRUE(LoadWorldDumpText(text, &frame, &error)) << error;
    EXPECT_TRUE(std::isnan(HeroState.x));
    EXPECT_TRUE(std::isnan(ShotPool[255].frame));
}
