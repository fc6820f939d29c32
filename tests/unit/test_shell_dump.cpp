// The world dump: every value it holds read back bit for bit.
#include "shell_fixture.h"

#include "shell/dump.h"
#include "tests/unit/dump_reader.h"
#include "world/schema.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

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
    for (const RecordField &f : recordFields) {
        if (f.real) r->*f.real = Awkward(rng);
        else r->*f.flag = rng() % 2;
    }
}

class DumpTest : public ShellTest {};

// The field table is the whole record: every byte of ObjectRecord belongs to one field, but
// for the alignment of a float after a flag.
TEST(RecordFields, CoverEveryByteOfTheRecord) {
    ObjectRecord r;
    const char *base = reinterpret_cast<const char *>(&r);
    std::vector<std::pair<size_t, size_t>> spans;   // offset, size
    for (const RecordField &f : recordFields) {
        if (f.real) spans.push_back({size_t(reinterpret_cast<const char *>(&(r.*f.real)) - base), sizeof(float)});
        else spans.push_back({size_t(reinterpret_cast<const char *>(&(r.*f.flag)) - base), 1});
    }
    std::sort(spans.begin(), spans.end());
    size_t end = 0;
    for (const auto &s : spans) {
        EXPECT_GE(s.first, end) << "two fields at offset " << s.first;
        EXPECT_LT(s.first - std::min(s.first, end), alignof(float)) << "bytes " << end << " to " << s.first << " in no field";
        end = s.first + s.second;
    }
    EXPECT_LT(sizeof(ObjectRecord) - end, alignof(float)) << "bytes after " << end << " in no field";
}

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
        // Every record in the dump holds every field, by name.
        const nlohmann::json dump = nlohmann::json::parse(text);
        std::vector<std::string> pools = {"shots", "explosions"};
        for (const MapKind &kind : mapKinds) pools.push_back(kind.word);
        for (const std::string &pool : pools) {
            ASSERT_EQ(dump[pool].size(), pool == "shots" || pool == "explosions" ? 256u : size_t(POOL_SIZE)) << pool;
            for (const auto &record : dump[pool])
                for (const RecordField &f : recordFields) ASSERT_TRUE(record.contains(f.name)) << pool << ": " << f.name;
        }
        for (const RecordField &f : recordFields) ASSERT_TRUE(dump["hero"].contains(f.name)) << "hero: " << f.name;

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
