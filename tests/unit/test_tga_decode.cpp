// Targa decoder on files made here with known pixels: what the public test pictures do not
// show (skipped fields, odd row counts, packets cut short, the size bound) and every refusal.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "render/decode.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes operator+(Bytes a, const Bytes &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Header (ID length from id, colour map of mapLength entries of mapBits filled with 0xEE).
struct TgaHeader {
    int type = 2, width = 4, height = 3, depth = 24, descriptor = 0;
    Bytes id;
    int mapType = 0, mapLength = 0, mapBits = 0;
};

Bytes TgaFile(const TgaHeader &h, const Bytes &body) {
    Bytes f = {uint8_t(h.id.size()), uint8_t(h.mapType), uint8_t(h.type), 0, 0, uint8_t(h.mapLength),
               uint8_t(h.mapLength >> 8), uint8_t(h.mapBits), 0, 0, 0, 0, uint8_t(h.width), uint8_t(h.width >> 8),
               uint8_t(h.height), uint8_t(h.height >> 8), uint8_t(h.depth), uint8_t(h.descriptor)};
    f.insert(f.end(), h.id.begin(), h.id.end());
    if (h.mapType == 1) f.insert(f.end(), size_t(h.mapLength) * ((h.mapBits + 7) / 8), 0xEE);
    f.insert(f.end(), body.begin(), body.end());
    return f;
}

// Pixel i of a picture as decoded (red, green, blue, alpha cut to bpp) and as stored.
Bytes Want(int i, int bpp) {
    Bytes c = {uint8_t(10 + i * 20), uint8_t(5 + i * 3), uint8_t(200 - i), uint8_t(50 + i * 7)};
    c.resize(bpp);
    return c;
}
Bytes Stored(int i, int bpp) {
    Bytes p = Want(i, bpp);
    std::swap(p[0], p[2]);
    return p;
}

// Raw rows of a w x h picture whose pixel y * w + x (y from the bottom) is Want(y * w + x).
Bytes RawBody(int w, int h, int bpp, bool topRowFirst) {
    Bytes body;
    for (int r = 0; r < h; r++)
        for (int x = 0; x < w; x++) {
            Bytes p = Stored((topRowFirst ? h - 1 - r : r) * w + x, bpp);
            body.insert(body.end(), p.begin(), p.end());
        }
    return body;
}

struct Decoded {
    TgaReason reason;
    TgaPicture picture;
    explicit Decoded(const Bytes &file) { reason = DecodeTga(file.data(), file.size(), &picture); }
    ~Decoded() { free(picture.pixels); }
    Bytes Pixel(int i) const {
        const uint8_t *p = picture.pixels + size_t(i) * picture.bytesPerPixel;
        return Bytes(p, p + picture.bytesPerPixel);
    }
    Bytes All() const {
        if (!picture.pixels) return {};
        return Bytes(picture.pixels, picture.pixels + size_t(picture.width) * picture.height * picture.bytesPerPixel);
    }
};

// Every pixel i of a w x h picture is Want(i), bottom row first.
Bytes WantAll(int w, int h, int bpp) {
    Bytes all;
    for (int i = 0; i < w * h; i++) {
        Bytes p = Want(i, bpp);
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

}   // namespace

TEST(TgaDecode, RowOrderImageIdAndColourMapOfTrueColourFiles) {
    for (int bpp : {3, 4}) {
        TgaHeader h;
        h.depth = bpp * 8;
        h.height = 5;   // odd: the middle row stays where it is
        EXPECT_EQ(Decoded(TgaFile(h, RawBody(4, 5, bpp, false))).All(), WantAll(4, 5, bpp));
        h.descriptor = 0x20;
        EXPECT_EQ(Decoded(TgaFile(h, RawBody(4, 5, bpp, true))).All(), WantAll(4, 5, bpp));
        h.descriptor = 0x30;   // right to left as well: rows stay as stored
        EXPECT_EQ(Decoded(TgaFile(h, RawBody(4, 5, bpp, false))).All(), WantAll(4, 5, bpp));
    }

    // An image ID and a colour map (24- and 15-bit entries) come before the pixels; colour
    // map fields without a colour map (type 0) describe nothing.
    TgaHeader h;
    h.id = {1, 2, 3, 4, 5};
    EXPECT_EQ(Decoded(TgaFile(h, RawBody(4, 3, 3, false))).All(), WantAll(4, 3, 3));
    h.mapType = 1;
    for (int bits : {24, 15}) {
        h.mapLength = 3;
        h.mapBits = bits;
        EXPECT_EQ(Decoded(TgaFile(h, RawBody(4, 3, 3, false))).All(), WantAll(4, 3, 3)) << bits;
    }
    h.mapType = 0;
    EXPECT_EQ(Decoded(TgaFile(h, RawBody(4, 3, 3, false))).All(), WantAll(4, 3, 3));

    // A run-length picture behind a 255-byte ID.
    TgaHeader rle;
    rle.type = 10;
    rle.depth = 32;
    rle.width = 2;
    rle.height = 1;
    rle.id = Bytes(255, 0x80);
    Bytes p = Stored(0, 4);
    EXPECT_EQ(Decoded(TgaFile(rle, {0x81, p[0], p[1], p[2], p[3]})).All(), WantAll(1, 1, 4) + WantAll(1, 1, 4));
}

TEST(TgaDecode, RunLengthPacketsRunAcrossRowsAndStopAtThePictureEnd) {
    for (int bpp : {3, 4}) {
        // 4 x 3: a run of 5 (into row 1), a raw packet of 2, a run of one, then a raw packet
        // of 5 where 4 pixels are left: cut at the picture's end.
        Bytes body;
        auto packet = [&](bool run, int n, int first) {
            body.push_back(uint8_t((run ? 0x80 : 0) | (n - 1)));
            for (int i = first; i < first + (run ? 1 : n); i++) {
                Bytes s = Stored(i, bpp);
                body.insert(body.end(), s.begin(), s.end());
            }
        };
        packet(true, 5, 0);
        packet(false, 2, 5);
        packet(true, 1, 7);
        packet(false, 5, 8);
        TgaHeader h;
        h.type = 10;
        h.depth = bpp * 8;
        Decoded d(TgaFile(h, body));
        ASSERT_EQ(d.reason, TGA_DECODED);
        for (int i = 0; i < 12; i++) EXPECT_EQ(d.Pixel(i), Want(i < 5 ? 0 : i, bpp)) << "pixel " << i;
    }
    // A run of 128 into 3 pixels, and a packet after it that is never reached.
    TgaHeader h;
    h.type = 10;
    h.width = 3;
    h.height = 1;
    Bytes p = Stored(2, 3);
    EXPECT_EQ(Decoded(TgaFile(h, {0xff, p[0], p[1], p[2], 0x80, 1, 2, 3})).All(), Want(2, 3) + Want(2, 3) + Want(2, 3));
}

TEST(TgaDecode, EveryCutOfARunLengthFileDecodesAPrefixThenZeros) {
    TgaHeader h;
    h.type = 10;
    h.depth = 32;
    h.id = {9, 9};
    Bytes body;
    for (int i = 0; i < 12; i += 3) {   // runs of 2 and raw packets of 1
        Bytes p = Stored(i, 4), q = Stored(i + 2, 4);
        body.push_back(0x81);
        body.insert(body.end(), p.begin(), p.end());
        body.push_back(0x00);
        body.insert(body.end(), q.begin(), q.end());
    }
    Bytes file = TgaFile(h, body);
    Decoded full(file);
    ASSERT_EQ(full.reason, TGA_DECODED);
    size_t lastReached = 0;
    for (size_t cut = 18; cut <= file.size(); cut++) {
        Decoded part(Bytes(file.begin(), file.begin() + cut));
        ASSERT_EQ(part.reason, TGA_DECODED) << cut;
        size_t reached = 0;
        while (reached < 12 && part.Pixel(int(reached)) == full.Pixel(int(reached))) reached++;
        for (size_t i = reached; i < 12; i++) EXPECT_EQ(part.Pixel(int(i)), Bytes(4, 0)) << cut << " " << i;
        EXPECT_GE(reached, lastReached) << cut;
        lastReached = reached;
    }
    EXPECT_EQ(lastReached, 12u);
}

TEST(TgaDecode, RefusalsCarryTheirReasonAndNoPixels) {
    TgaHeader h;
    Bytes good = TgaFile(h, RawBody(4, 3, 3, false));
    auto reason = [](const Bytes &file) {
        Decoded d(file);
        EXPECT_EQ(d.picture.pixels == nullptr, d.reason != TGA_DECODED);
        return d.reason;
    };
    EXPECT_EQ(reason({}), TGA_SHORT_HEADER);
    EXPECT_EQ(reason(Bytes(good.begin(), good.begin() + 17)), TGA_SHORT_HEADER);
    EXPECT_EQ(reason(Bytes(good.begin(), good.begin() + 18)), TGA_SHORT_DATA);
    EXPECT_EQ(reason(Bytes(good.begin(), good.end() - 1)), TGA_SHORT_DATA);
    Bytes longId = good;
    longId[0] = 1;   // one ID byte more than there is: the pixels fall short by one
    EXPECT_EQ(reason(longId), TGA_SHORT_DATA);

    for (int depth : {8, 15, 16, 0, 33}) {
        TgaHeader d = h;
        d.depth = depth;
        EXPECT_EQ(reason(TgaFile(d, RawBody(4, 3, 4, false))), TGA_BAD_DEPTH) << depth;
    }
    for (int type : {0, 1, 3, 9, 11, 32}) {
        TgaHeader t = h;
        t.type = type;
        EXPECT_EQ(reason(TgaFile(t, RawBody(4, 3, 3, false))), TGA_BAD_TYPE) << type;
    }
    for (int type : {2, 10})
        for (int width : {0, 4}) {
            TgaHeader e = h;
            e.type = type;
            e.width = width;
            e.height = 4 - width;
            EXPECT_EQ(reason(TgaFile(e, RawBody(4, 3, 3, false))), TGA_EMPTY) << type << " " << width;
        }

    // 65535 x 65535: a raw file cannot hold it; a run-length one is over the pixel bound.
    TgaHeader huge = h;
    huge.width = huge.height = 65535;
    EXPECT_EQ(reason(TgaFile(huge, {0xff, 1, 2, 3})), TGA_SHORT_DATA);
    huge.type = 10;
    EXPECT_EQ(reason(TgaFile(huge, {0xff, 1, 2, 3})), TGA_TOO_LARGE);
    huge.width = 8192;
    huge.height = 8193;
    EXPECT_EQ(reason(TgaFile(huge, {})), TGA_TOO_LARGE);
    huge.height = 8192;   // exactly the bound: taken (64 Mpixels of zero)
    EXPECT_EQ(reason(TgaFile(huge, {})), TGA_DECODED);
}
