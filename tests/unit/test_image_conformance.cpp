// Both picture decoders over the public test pictures in tests/fixtures/images, each file
// held to its line of tests/fixtures/images/expectations.txt.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "render/decode.h"
#include "render/png.h"
#include "tests/unit/test_bmp_tga_png.h"

namespace {

struct Expectation {
    std::string file, result, size, check, other;
};

std::vector<Expectation> ReadExpectations() {
    std::vector<Expectation> all;
    std::ifstream in(FixtureImages() + "/expectations.txt");
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        Expectation e;
        std::istringstream(line) >> e.file >> e.result >> e.size >> e.check >> e.other;
        if (!e.file.empty()) all.push_back(e);
    }
    return all;
}

// A decoded picture of either kind, bottom row first; the answer's name as the file says it.
struct Decoded {
    std::string result;
    int width = 0, height = 0, bpp = 0;
    uint8_t *pixels = nullptr;
    explicit Decoded(const std::string &file) {
        std::vector<uint8_t> bytes = ReadBytes(FixtureImages() + "/" + file);
        if (file.compare(0, 4, "tga/") == 0) {
            static const char *const names[] = {"decoded", "short-header", "short-data", "bad-depth",
                                                "bad-type", "empty",        "too-large",  "no-memory"};
            TgaPicture p;
            result = names[DecodeTga(bytes.data(), bytes.size(), &p)];
            width = p.width, height = p.height, bpp = p.bytesPerPixel, pixels = p.pixels;
        } else {
            static const char *const names[] = {"decoded", "unknown-format", "bad-data", "too-large", "no-memory"};
            RgbImage image;
            result = names[DecodeBmp(bytes.data(), bytes.size(), &image)];
            width = image.width, height = image.height, bpp = 3, pixels = image.pixels;
        }
    }
    ~Decoded() { free(pixels); }
    size_t Bytes() const { return size_t(width) * height * bpp; }
};

void Check(const Expectation &e, const Decoded &d) {
    const uint8_t *px = d.pixels;
    if (e.check == "like" || e.check.rfind("like~", 0) == 0 || e.check == "mirrored" || e.check == "turned") {
        ReferencePng ref;
        ASSERT_TRUE(ReadReferencePng(FixtureImages() + "/" + e.other, &ref)) << e.other;
        RefOrientation how = e.check == "mirrored" ? REF_MIRRORED : e.check == "turned" ? REF_TURNED : REF_SAME;
        int tolerance = e.check.size() > 5 ? std::atoi(e.check.c_str() + 5) : 0;
        EXPECT_EQ(ComparePicture(px, d.width, d.height, d.bpp, ref, how, tolerance), "");
    } else if (e.check == "same") {
        Decoded other(e.other);
        ASSERT_EQ(other.result, "decoded");
        ASSERT_EQ(other.Bytes(), d.Bytes());
        EXPECT_EQ(memcmp(other.pixels, px, d.Bytes()), 0);
    } else if (e.check == "black-white") {
        size_t odd = 0, white = 0;
        for (size_t i = 0; i < d.Bytes(); i += d.bpp) {
            bool black = px[i] == 0 && px[i + 1] == 0 && px[i + 2] == 0;
            bool w = px[i] == 255 && px[i + 1] == 255 && px[i + 2] == 255;
            odd += !black && !w;
            white += w;
        }
        EXPECT_EQ(odd, 0u);
        EXPECT_GT(white, 0u);
        EXPECT_LT(white, d.Bytes() / d.bpp);
    } else {
        EXPECT_EQ(e.check, "") << "unknown check";
    }
}

}   // namespace

TEST(ImageConformance, EveryFileHasExactlyOneExpectation) {
    std::vector<std::string> listed;
    for (const Expectation &e : ReadExpectations()) listed.push_back(e.file);
    ASSERT_GT(listed.size(), 150u);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(PictureFilesUnder(FixtureImages()), listed);
}

TEST(ImageConformance, EachFileDecodesAsExpectedOrIsRefusedForItsReason) {
    for (const Expectation &e : ReadExpectations()) {
        SCOPED_TRACE(e.file);
        Decoded d(e.file);
        ASSERT_EQ(d.result, e.result);
        if (e.result != "decoded") {
            EXPECT_EQ(d.pixels, nullptr);
            continue;
        }
        ASSERT_EQ(std::to_string(d.width) + "x" + std::to_string(d.height) + "x" + std::to_string(d.bpp), e.size);
        if (!e.check.empty()) Check(e, d);
    }
}

// Our own PNG writer (Windows and browser screenshots, the icons) read back by libpng: RGB
// and RGBA, a picture of one pixel, and one whose data spans several stored blocks.
TEST(StoredPng, LibpngReadsBackEveryPixel) {
    const std::string dir = testing::TempDir();
    for (int channels : {3, 4})
        for (int size : {1, 200}) {
            std::vector<uint8_t> pixels((size_t)size * size * channels);
            for (size_t i = 0; i < pixels.size(); i++) pixels[i] = (uint8_t)(i * 7 + i / 613);
            const std::vector<uint8_t> file = EncodeStoredPng(pixels.data(), size, size, channels);
            const std::string path = dir + "/stored.png";
            std::ofstream(path, std::ios::binary).write((const char *)file.data(), file.size());
            ReferencePng read;
            ASSERT_TRUE(ReadReferencePng(path, &read)) << channels << " channels, " << size;
            ASSERT_EQ(read.width, size);
            ASSERT_EQ(read.height, size);
            for (int y = 0; y < size; y++)
                for (int x = 0; x < size; x++)
                    for (int k = 0; k < 4; k++)
                        ASSERT_EQ(read.At(x, y)[k], k < channels ? pixels[((size_t)y * size + x) * channels + k] : 255)
                            << x << "," << y << " channel " << k;
        }
    EXPECT_TRUE(EncodeStoredPng(nullptr, 0, 5, 3).empty());
}
