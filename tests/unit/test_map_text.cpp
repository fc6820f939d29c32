// Map text: the number readers and the line reader's cut (the loader's tests cover the rest).
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
