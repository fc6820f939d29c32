// Targa decoder on files made here with known pixels: row orders, packets, skipped fields,
// refusals, and cut files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "render/decode.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A distinct colour for every pixel of a small picture, as red, green, blue, alpha.
Bytes Colour(int x, int y) {
    return {uint8_t(10 + x * 20), uint8_t(5 + y * 40), uint8_t(200 - x - y * 7), uint8_t(50 + x + y * 16)};
}

struct TgaHeader {
    int type = 2, width = 4, height = 3, depth = 24, descriptor = 0;
    Bytes id;                               // image ID bytes
    int mapType = 0, mapLength = 0, mapBits = 0;
};

// Header, image ID, a colour map of mapLength entries (filled with 0xEE), then the body.
Bytes TgaFile(const TgaHeader &h, const Bytes &body) {
    Bytes f(18, 0);
    f[0] = uint8_t(h.id.size());
    f[1] = uint8_t(h.mapType);
    f[2] = uint8_t(h.type);
    f[5] = uint8_t(h.mapLength);
    f[6] = uint8_t(h.mapLength >> 8);
    f[7] = uint8_t(h.mapBits);
    f[12] = uint8_t(h.width);
    f[13] = uint8_t(h.width >> 8);
    f[14] = uint8_t(h.height);
    f[15] = uint8_t(h.height >> 8);
    f[16] = uint8_t(h.depth);
    f[17] = uint8_t(h.descriptor);
    f.insert(f.end(), h.id.begin(), h.id.end());
    f.insert(f.end(), size_t(h.mapLength) * ((h.mapBits + 7) / 8), 0xEE);
    f.insert(f.end(), body.begin(), body.end());
    return f;
}

// The decoded form of Colour(x, y) at bpp bytes per pixel.
Bytes Want(int x, int y, int bpp) {
    Bytes c = Colour(x, y);
    c.resize(bpp);
    return c;
}

// One stored pixel: blue, green, red (alpha).
Bytes Stored(const Bytes &rgba, int bpp) {
    Bytes p = {rgba[2], rgba[1], rgba[0]};
    if (bpp == 4) p.push_back(rgba[3]);
    return p;
}

// Raw pixel data of a w x h picture, rows in the given order.
Bytes RawBody(int w, int h, int bpp, bool topRowFirst) {
    Bytes body;
    for (int r = 0; r < h; r++) {
        int y = topRowFirst ? h - 1 - r : r;
        for (int x = 0; x < w; x++) {
            Bytes p = Stored(Colour(x, y), bpp);
            body.insert(body.end(), p.begin(), p.end());
        }
    }
    return body;
}

struct Decoded {
    TgaReason reason;
    TgaPicture picture;
    Decoded(const Bytes &file) { reason = DecodeTga(file.data(), file.size(), &picture); }
    ~Decoded() { free(picture.pixels); }
    Bytes Pixel(int i) const {
        const uint8_t *p = picture.pixels + size_t(i) * picture.bytesPerPixel;
        return Bytes(p, p + picture.bytesPerPixel);
    }
    Bytes All() const {
        return Bytes(picture.pixels,
                     picture.pixels + size_t(picture.width) * picture.height * picture.bytesPerPixel);
    }
};

// Expects the bottom-row-first picture of Colour() in red, green, blue (alpha).
void ExpectColours(const Decoded &d, int w, int h, int bpp) {
    ASSERT_EQ(d.reason, TGA_DECODED);
    ASSERT_EQ(d.picture.width, w);
    ASSERT_EQ(d.picture.height, h);
    ASSERT_EQ(d.picture.bytesPerPixel, bpp);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            EXPECT_EQ(d.Pixel(y * w + x), Want(x, y, bpp)) << "pixel " << x << "," << y;
        }
}

}   // namespace

TEST(TgaDecode, RowsComeOutBottomFirstUnlessStoredRightToLeft) {
    for (int bpp : {3, 4}) {
        TgaHeader h;
        h.depth = bpp * 8;
        h.height = 5;   // odd: the middle row stays where it is
        ExpectColours(Decoded(TgaFile(h, RawBody(4, 5, bpp, false))), 4, 5, bpp);
        h.descriptor = 0x20;
        Decoded top(TgaFile(h, RawBody(4, 5, bpp, true)));
        ExpectColours(top, 4, 5, bpp);

        // Right-to-left with or without top-first: the stored order is kept as it stands.
        for (int descriptor : {0x30, 0x10}) {
            h.descriptor = descriptor;
            Bytes body = RawBody(4, 5, bpp, true);
            Decoded kept(TgaFile(h, body));
            ASSERT_EQ(kept.reason, TGA_DECODED);
            for (int r = 0; r < 5; r++)
                for (int x = 0; x < 4; x++) EXPECT_EQ(kept.Pixel(r * 4 + x), Want(x, 4 - r, bpp));
        }
    }
}

TEST(TgaDecode, ImageIdAndColourMapAreSkipped) {
    TgaHeader plain;
    Decoded reference(TgaFile(plain, RawBody(4, 3, 3, false)));
    ASSERT_EQ(reference.reason, TGA_DECODED);

    TgaHeader withId = plain;
    withId.id = {1, 2, 3, 4, 5};
    EXPECT_EQ(Decoded(TgaFile(withId, RawBody(4, 3, 3, false))).All(), reference.All());

    // 3 entries of 24 bits: 9 bytes; 5 entries of 15 bits: 2 bytes each.
    TgaHeader withMap = withId;
    withMap.mapType = 1;
    withMap.mapLength = 3;
    withMap.mapBits = 24;
    EXPECT_EQ(Decoded(TgaFile(withMap, RawBody(4, 3, 3, false))).All(), reference.All());
    withMap.mapLength = 5;
    withMap.mapBits = 15;
    EXPECT_EQ(Decoded(TgaFile(withMap, RawBody(4, 3, 3, false))).All(), reference.All());

    // Colour map fields without a colour map (type 0) describe nothing.
    TgaHeader stray = plain;
    stray.mapLength = 7;
    stray.mapBits = 24;
    Bytes file = TgaFile(stray, {});
    Bytes body = RawBody(4, 3, 3, false);
    file.resize(18);
    file.insert(file.end(), body.begin(), body.end());
    EXPECT_EQ(Decoded(file).All(), reference.All());

    // A run-length picture with a 32-bit ID in front.
    TgaHeader rle;
    rle.type = 10;
    rle.depth = 32;
    rle.width = 2;
    rle.height = 1;
    rle.id = Bytes(255, 0x80);
    Bytes p = Stored(Colour(1, 1), 4);
    Bytes packets = {0x81, p[0], p[1], p[2], p[3]};
    Decoded runs(TgaFile(rle, packets));
    ASSERT_EQ(runs.reason, TGA_DECODED);
    EXPECT_EQ(runs.Pixel(0), Colour(1, 1));
    EXPECT_EQ(runs.Pixel(1), Colour(1, 1));
}

TEST(TgaDecode, RunLengthPacketsMatchTheirRawTwinAndRunAcrossRows) {
    for (int bpp : {3, 4}) {
        // 4 x 3 picture: a run of 5 (crosses into row 1), a raw packet of 2, a run of a
        // single pixel, a raw packet of 4 crossing into row 2.
        auto px = [&](int i) { return Stored(Colour(i % 4, i / 4), bpp); };
        Bytes body;
        auto run = [&](int n, int i) {
            body.push_back(uint8_t(0x80 | (n - 1)));
            Bytes p = px(i);
            body.insert(body.end(), p.begin(), p.end());
        };
        auto raw = [&](int n, int first) {
            body.push_back(uint8_t(n - 1));
            for (int i = first; i < first + n; i++) {
                Bytes p = px(i);
                body.insert(body.end(), p.begin(), p.end());
            }
        };
        run(5, 0);
        raw(2, 5);
        run(1, 7);
        raw(5, 8);   // one more pixel than is left: cut at the picture's end
        TgaHeader h;
        h.type = 10;
        h.depth = bpp * 8;
        Decoded d(TgaFile(h, body));
        ASSERT_EQ(d.reason, TGA_DECODED);
        for (int i = 0; i < 12; i++) {
            int source = i < 5 ? 0 : i;
            EXPECT_EQ(d.Pixel(i), Want(source % 4, source / 4, bpp)) << "pixel " << i;
        }

        // The same picture stored top row first as raw packets, and as its raw twin.
        TgaHeader top = h;
        top.descriptor = 0x20;
        Bytes rows = RawBody(4, 3, bpp, true);
        Bytes packets;
        for (int i = 0; i < 12; i++) {
            packets.push_back(0);   // raw packet of one pixel
            packets.insert(packets.end(), rows.begin() + i * bpp, rows.begin() + (i + 1) * bpp);
        }
        TgaHeader twin = top;
        twin.type = 2;
        EXPECT_EQ(Decoded(TgaFile(top, packets)).All(), Decoded(TgaFile(twin, rows)).All());
    }
}

TEST(TgaDecode, RunPastThePictureEndIsCutAndMissingDataStaysZero) {
    TgaHeader h;
    h.type = 10;
    h.width = 3;
    h.height = 1;
    Bytes p = Stored(Colour(2, 0), 3);
    // A run of 128 into a 3-pixel picture; a packet after it is never reached.
    Decoded full(TgaFile(h, {0xff, p[0], p[1], p[2], 0x80, 1, 2, 3}));
    ASSERT_EQ(full.reason, TGA_DECODED);
    for (int i = 0; i < 3; i++) EXPECT_EQ(full.Pixel(i), Want(2, 0, 3));

    // Ends after a run's header, inside a run's pixel, inside a raw packet's second pixel.
    Bytes zero = {0, 0, 0};
    Bytes c = Want(2, 0, 3);
    Decoded afterHeader(TgaFile(h, {0x80, p[0], p[1], p[2], 0x81}));
    EXPECT_EQ(afterHeader.reason, TGA_DECODED);
    EXPECT_EQ(afterHeader.Pixel(0), c);
    EXPECT_EQ(afterHeader.Pixel(1), zero);
    EXPECT_EQ(afterHeader.Pixel(2), zero);
    Decoded insidePixel(TgaFile(h, {0x81, p[0], p[1]}));
    EXPECT_EQ(insidePixel.reason, TGA_DECODED);
    EXPECT_EQ(insidePixel.All(), Bytes(9, 0));
    Decoded insideRaw(TgaFile(h, {0x02, p[0], p[1], p[2], 7, 8}));
    EXPECT_EQ(insideRaw.reason, TGA_DECODED);
    EXPECT_EQ(insideRaw.Pixel(0), c);
    EXPECT_EQ(insideRaw.Pixel(1), zero);
    // No pixel data at all, and an image ID longer than the file.
    EXPECT_EQ(Decoded(TgaFile(h, {})).All(), Bytes(9, 0));
    Bytes longId = TgaFile(h, {});
    longId[0] = 200;
    EXPECT_EQ(Decoded(longId).All(), Bytes(9, 0));
}

TEST(TgaDecode, UnsupportedAndShortFilesAreRefusedWithTheirReason) {
    TgaHeader h;
    Bytes good = TgaFile(h, RawBody(4, 3, 3, false));
    EXPECT_EQ(Decoded(Bytes(good.begin(), good.begin() + 17)).reason, TGA_SHORT_HEADER);
    EXPECT_EQ(Decoded(Bytes()).reason, TGA_SHORT_HEADER);
    EXPECT_EQ(Decoded(Bytes(good.begin(), good.end() - 1)).reason, TGA_SHORT_DATA);
    EXPECT_EQ(Decoded(Bytes(good.begin(), good.begin() + 18)).reason, TGA_SHORT_DATA);
    TgaHeader longId = h;
    longId.id = Bytes(1, 0);
    Bytes idFile = TgaFile(longId, RawBody(4, 3, 3, false));
    idFile[0] = 2;   // claims one ID byte more than there is: the pixels fall short by one
    EXPECT_EQ(Decoded(idFile).reason, TGA_SHORT_DATA);

    for (int depth : {8, 15, 16, 0, 33}) {
        TgaHeader d = h;
        d.depth = depth;
        EXPECT_EQ(Decoded(TgaFile(d, RawBody(4, 3, 4, false))).reason, TGA_BAD_DEPTH) << depth;
    }
    for (int type : {0, 1, 3, 9, 11, 32}) {
        TgaHeader t = h;
        t.type = type;
        EXPECT_EQ(Decoded(TgaFile(t, RawBody(4, 3, 3, false))).reason, TGA_BAD_TYPE) << type;
    }
    for (int type : {2, 10}) {
        TgaHeader e = h;
        e.type = type;
        e.width = 0;
        EXPECT_EQ(Decoded(TgaFile(e, RawBody(4, 3, 3, false))).reason, TGA_EMPTY);
        e.width = 4;
        e.height = 0;
        EXPECT_EQ(Decoded(TgaFile(e, RawBody(4, 3, 3, false))).reason, TGA_EMPTY);
    }

    // 65535 x 65535: a raw file cannot hold it; a run-length one is over the pixel bound.
    TgaHeader huge = h;
    huge.width = huge.height = 65535;
    EXPECT_EQ(Decoded(TgaFile(huge, {0xff, 1, 2, 3})).reason, TGA_SHORT_DATA);
    huge.type = 10;
    EXPECT_EQ(Decoded(TgaFile(huge, {0xff, 1, 2, 3})).reason, TGA_TOO_LARGE);
    huge.width = 8192;
    huge.height = 8193;
    EXPECT_EQ(Decoded(TgaFile(huge, {})).reason, TGA_TOO_LARGE);
    huge.height = 8192;   // exactly the bound: taken (64 Mpixels of zero)
    Decoded atBound(TgaFile(huge, {}));
    EXPECT_EQ(atBound.reason, TGA_DECODED);
}

TEST(TgaDecode, EveryCutOfARunLengthFileDecodesAPrefixAndZeros) {
    TgaHeader h;
    h.type = 10;
    h.depth = 32;
    Bytes body;
    for (int i = 0; i < 12; i += 3) {   // alternate runs of 2 and raw packets of 1
        Bytes p = Stored(Colour(i % 4, i / 4), 4);
        body.push_back(0x81);
        body.insert(body.end(), p.begin(), p.end());
        Bytes q = Stored(Colour((i + 2) % 4, (i + 2) / 4), 4);
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
        // Pixels up to some point match the whole file; everything after is zero.
        size_t reached = 0;
        while (reached < 12 && part.Pixel(int(reached)) == full.Pixel(int(reached))) reached++;
        for (size_t i = reached; i < 12; i++) EXPECT_EQ(part.Pixel(int(i)), Bytes(4, 0)) << cut << " " << i;
        EXPECT_GE(reached, lastReached) << cut;
        lastReached = reached;
    }
    EXPECT_EQ(lastReached, 12u);
}
