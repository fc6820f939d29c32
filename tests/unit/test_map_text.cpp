// Map text: number readers, the pattern matcher and the chunk and line readers.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "world/map_text.h"

static size_t ScanF(const std::string &s, float *v) { return ScanMapFloat(s.data(), s.size(), v); }
static size_t ScanI(const std::string &s, int32_t *v) { return ScanMapInt(s.data(), s.size(), v); }

TEST(MapNumbers, RealsAgreeWithTheCLibraryOnManyDecimals) {
    // A fixed pseudo-random spread of mantissas, fractions and exponents.
    uint32_t seed = 12345;
    auto next = [&seed]() { seed = seed * 1664525u + 1013904223u; return seed >> 8; };
    char text[64];
    for (int i = 0; i < 20000; i++) {
        unsigned whole = next() % 100000, frac = next() % 1000000;
        int exp = (int)(next() % 80) - 40;
        const char *sign = next() % 2 ? "-" : "";
        switch (i % 3) {
        case 0: std::snprintf(text, sizeof text, "%s%u.%06u", sign, whole, frac); break;
        case 1: std::snprintf(text, sizeof text, "%s%u.%ue%d", sign, whole, frac, exp); break;
        default: std::snprintf(text, sizeof text, "%s%u%06u%u", sign, whole, frac, next()); break;
        }
        float ours = -7.0f;
        std::string s = text;
        ASSERT_EQ(ScanF(s, &ours), s.size()) << s;
        float theirs = std::strtof(text, nullptr);
        // Beyond the float range we hold at the largest float where the library gives infinity.
        if (std::isinf(theirs)) theirs = std::copysign(FLT_MAX, theirs);
        ASSERT_EQ(ours, theirs) << s;
    }
}

TEST(MapNumbers, FormsLimitsAndNonNumbers) {
    // Characters used and value read; 0 characters means the value is left alone.
    struct Real { std::string text; size_t used; float value; };
    const Real reals[] = {
        {"  -0.25", 7, -0.25f}, {".5", 2, 0.5f}, {"5.", 2, 5.0f}, {"+60", 3, 60.0f}, {"2E3", 3, 2000.0f},
        {"1e6,", 3, 1e6f}, {"3e", 1, 3.0f}, {"3e+x", 1, 3.0f},    // an 'e' without digits is not taken
        {"1e50", 4, FLT_MAX}, {"-1e99999999999", 14, -FLT_MAX}, {std::string(400, '9'), 400, FLT_MAX},
        {"1e-60", 5, 0.0f}, {"0." + std::string(300, '0') + "1", 303, 0.0f}, {"1.5e-45", 7, 1.5e-45f},
        {"0x10", 1, 0.0f},                                          // hexadecimal: the 0 before the x
        {"", 0, 42}, {"   ", 0, 42}, {"-", 0, 42}, {".", 0, 42}, {"-.e5", 0, 42}, {"nan", 0, 42}, {"inf", 0, 42},
        {"x1", 0, 42}, {"e5", 0, 42},
    };
    for (const Real &r : reals) {
        float v = 42.0f;
        EXPECT_EQ(ScanF(r.text, &v), r.used) << r.text;
        EXPECT_EQ(v, r.value) << r.text;
    }
    struct Int { const char *text; size_t used; int32_t value; };
    const Int ints[] = {
        {"\t 17x", 4, 17}, {"-3", 2, -3}, {"+8", 2, 8}, {"1.9", 1, 1}, {"2147483647", 10, INT32_MAX},
        {"-2147483648", 11, INT32_MIN}, {"2147483648", 10, INT32_MAX}, {"-99999999999999999999999", 24, INT32_MIN},
        {"", 0, 5}, {"+", 0, 5}, {"-", 0, 5}, {" - 3", 0, 5}, {"x", 0, 5}, {",1", 0, 5},
    };
    for (const Int &i : ints) {
        int32_t v = 5;
        EXPECT_EQ(ScanI(i.text, &v), i.used) << i.text;
        EXPECT_EQ(v, i.value) << i.text;
    }
}

TEST(MapPattern, BlanksLiteralsAndPartialMatches) {
    int32_t a = -1, b = -1;
    float f = -1;
    MatchField ab[2] = {{&a, nullptr}, {&b, nullptr}};
    MatchField af[2] = {{&a, nullptr}, {nullptr, &f}};
    auto match = [](const std::string &t, const char *p, const MatchField *fl, int n) {
        return MatchPattern(t.data(), t.size(), p, fl, n);
    };

    // A blank in the pattern takes any white space, none included.
    MatchResult r = match("nofcan7", "nof can %d \n", ab, 1);
    EXPECT_EQ(r.fields, 1); EXPECT_EQ(a, 7); EXPECT_TRUE(r.complete);
    r = match("nof \t  can     12   \n", "nof can %d \n", ab, 1);
    EXPECT_EQ(a, 12); EXPECT_TRUE(r.complete);

    // Case counts: nothing is assigned.
    a = -1;
    r = match("NOF can 3", "nof can %d \n", ab, 1);
    EXPECT_EQ(r.fields, 0); EXPECT_EQ(a, -1); EXPECT_FALSE(r.complete);

    // Stops at the first misfit: the index is read, the value keeps its old contents.
    r = match("cannon[4].crd.y 9", "cannon[%d].crd.x %d \n,", ab, 2);
    EXPECT_EQ(r.fields, 1); EXPECT_EQ(a, 4); EXPECT_EQ(b, -1); EXPECT_EQ(r.stop, 14u);

    // Text ending before the trailing comma still gives both fields.
    r = match("cannon[2].crd.freq 1.5", "cannon[%d].crd.freq %f \n,", af, 2);
    EXPECT_EQ(r.fields, 2); EXPECT_EQ(a, 2); EXPECT_EQ(f, 1.5f); EXPECT_FALSE(r.complete);
    r = match("cannon[3].crd.freq 2.5   ,\n", "cannon[%d].crd.freq %f \n,", af, 2);
    EXPECT_EQ(f, 2.5f); EXPECT_TRUE(r.complete);

    // A field slot of the wrong type stops the match rather than writing anywhere.
    a = -1;
    r = match("5", "%d", af + 1, 1);
    EXPECT_EQ(r.fields, 0);
    // More fields in the pattern than slots given: the extra ones are not read.
    r = match("1 2", "%d %d", ab, 1);
    EXPECT_EQ(r.fields, 1); EXPECT_EQ(a, 1); EXPECT_FALSE(r.complete);
}

TEST(MapReaders, ChunksFoldCrLfAndSkipCommentStarts) {
    const std::string src = "1,2\r\n\r\n/x#y a,\n";
    MapText t;
    OpenMapText(t, src.data(), src.size());
    char buf[LINE_CHARS + 1];
    int line = 0;
    std::string got;
    size_t n;
    while ((n = ReadMapChunk(t, buf, &line)) > 0) got += "[" + std::string(buf, n) + "]" + std::to_string(line);
    // "1,", "2\n"; the newline alone, "/x", "#y" are thrown away; " a" kept; ",\n" kept.
    EXPECT_EQ(got, "[1,]1[2\n]1[ a]3[,\n]3");
    EXPECT_EQ(ReadMapChunk(t, buf, &line), 0u);
    EXPECT_EQ(ReadMapChunk(t, buf, &line), 0u);
}

TEST(MapReaders, LinesAreCutAt254AndSkippedByTheirFirstCharacter) {
    std::string longComment = "//" + std::string(252, 'c') + "REST\n";
    const std::string src = "\n# hash\n" + longComment + " blank first\nlast";
    MapText t;
    OpenMapText(t, src.data(), src.size());
    char buf[LINE_CHARS + 1];
    int line = 0;
    size_t n = ReadMapLine(t, buf, &line);
    // The comment's first 254 characters are thrown away; its rest is a line of its own.
    EXPECT_EQ(std::string(buf, n), "REST\n"); EXPECT_EQ(line, 3);
    n = ReadMapLine(t, buf, &line);
    EXPECT_EQ(std::string(buf, n), " blank first\n"); EXPECT_EQ(line, 4);
    n = ReadMapLine(t, buf, &line);
    EXPECT_EQ(std::string(buf, n), "last");
    EXPECT_EQ(ReadMapLine(t, buf, &line), 0u);

    // A lone CR is kept as a character; only the pair folds.
    const std::string cr = "a\rb\r\n";
    OpenMapText(t, cr.data(), cr.size());
    n = ReadMapLine(t, buf, &line);
    EXPECT_EQ(std::string(buf, n), "a\rb\n");
}
