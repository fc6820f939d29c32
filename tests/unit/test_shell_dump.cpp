// The world dump: every value it holds, by name, reads back bit for bit.
#include "shell_fixture.h"

#include "shell/dump.h"
#include "world/schema.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>
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

// A dumped float as a reader takes it: a number, or the name of a value JSON has no number for.
static float FloatOf(const nlohmann::json &j) {
    if (!j.is_string()) return (float)j.get<double>();
    const std::string name = j.get<std::string>();
    if (name == "NaN") return NAN;
    if (name == "Infinity" || name == "-Infinity") return name[0] == '-' ? -INFINITY : INFINITY;
    ADD_FAILURE() << "a float written as \"" << name << "\"";
    return 0.0f;
}

static bool SameFloat(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b)); }

// Every field of the record in the dump, by name, with the record's value.
static void ExpectRecord(const nlohmann::json &j, const ObjectRecord &r, const std::string &where) {
    for (const RecordField &f : recordFields) {
        ASSERT_TRUE(j.contains(f.name)) << where << ": no field " << f.name;
        if (f.real) EXPECT_TRUE(SameFloat(FloatOf(j[f.name]), r.*f.real)) << where << "." << f.name;
        else EXPECT_EQ(j[f.name].get<int>(), r.*f.flag) << where << "." << f.name;
    }
}

TEST_F(DumpTest, EveryValueIsWrittenToReadBackBitForBit) {
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
        HeroState.x = NAN;
        ShotPool[255].frame = -NAN;
        for (auto &row : TileGrid)
            for (auto &cell : row) cell = (int32_t)rng();
        mapIndex = -3;
        Rem01 = Awkward(rng), Rem02 = -0.0f, Rem03 = 1.4e-45f, viewScale = -0.8749998f;
        showBackground = false, showInfo = true;
        const nlohmann::json dump = nlohmann::json::parse(WorldDumpText(1234567));

        EXPECT_EQ(dump["frame"], 1234567);
        EXPECT_EQ(dump["mapIndex"], -3);
        ExpectRecord(dump["hero"], HeroState, "hero");
        for (int k = 0; k < KIND_COUNT; k++) {
            const char *word = mapKinds[k].word;
            EXPECT_EQ(dump["counts"][word], *KindCount(k)) << word;
            ASSERT_EQ(dump[word].size(), size_t(POOL_SIZE)) << word;
            for (int i = 0; i < POOL_SIZE; i++) ExpectRecord(dump[word][i], KindPool(k)[i], word + std::to_string(i));
        }
        ASSERT_EQ(dump["shots"].size(), size_t(SHOT_POOL_SIZE));
        for (int i = 0; i < SHOT_POOL_SIZE; i++) ExpectRecord(dump["shots"][i], ShotPool[i], "shot " + std::to_string(i));
        ASSERT_EQ(dump["explosions"].size(), size_t(EXPLOSION_POOL_SIZE));
        for (int i = 0; i < EXPLOSION_POOL_SIZE; i++)
            ExpectRecord(dump["explosions"][i], ExplosionPool[i], "explosion " + std::to_string(i));
        for (int r = 0; r < GRID_ROWS; r++)
            for (int c = 0; c < GRID_COLS; c++) ASSERT_EQ(dump["grid"][r][c], TileGrid[r][c]) << r << " " << c;
        const std::pair<const char *, float> floats[] = {
            {"Rem01", Rem01}, {"Rem02", Rem02}, {"Rem03", Rem03}, {"viewScale", viewScale}};
        for (const auto &f : floats) EXPECT_TRUE(SameFloat(FloatOf(dump[f.first]), f.second)) << f.first;
        EXPECT_EQ(dump["showBackground"], 0);
        EXPECT_EQ(dump["showInfo"], 1);
    }
}
