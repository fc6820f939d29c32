// Drawing tests: the composition of one picture, its layer order, fading trails.
#include "tests/gl/test_render_gl.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "sim/sim.h"

namespace {

// Colour at a playfield position at the start zoom (3.125).
std::string At(float x, float y) { return Colour((int)(x * 3.125f), (int)(y * 3.125f)); }

struct Probe { float x, y; const char *rgb; };
void ExpectColours(std::initializer_list<Probe> probes) {
    for (const Probe &p : probes) EXPECT_EQ(At(p.x, p.y), p.rgb) << "at " << p.x << ", " << p.y;
}

ObjectRecord Active(float x, float y, float frame = 0) {
    ObjectRecord o{};
    o.active = o.face = 1;
    o.x = x, o.y = y, o.frame = frame;
    return o;
}

// A scene with neither backdrop picture nor overlay, hero parked in the top-right corner.
class Scene : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        showBackground = showOverlay = false;
        HeroState.x = 240, HeroState.y = 170, HeroState.frame = 1, HeroState.face = 1;
    }
};

}  // namespace

TEST_F(Scene, LayersArePaintedBackToFront) {
    showTiles = showOverlay = true;
    tileTextures[1] = tileTextures[2] = SolidTexture(0, 0, 200);
    heroTextures[1] = SolidTexture(200, 0, 0);
    heroTextures[21] = SolidTexture(0, 200, 0);
    shotTextures[0] = SolidTexture(200, 200, 0);
    explosionTextures[0] = SolidTexture(0, 200, 200);
    overlayTextures[0] = MakeTexture(2, 1, {90, 90, 90, 255, 0, 0, 0, 0});   // opaque left half only
    HeroState.x = 200, HeroState.y = 100;   // hero 184..216 by 99..123, shield 184..216 by 96..120
    HeroState.shield = 1, HeroState.shieldframe = 21.5f;
    TileGrid[BOTTOM_ROW - 15][23] = 2;            // cell 184..192 by 120..128: under the hero's head
    ShotPool[7] = Active(200, 110);         // 196..204 by 106..114
    ShotPool[8] = Active(60, 110);          // under the overlay's opaque half
    ExplosionPool[3] = Active(200, 110);
    ExplosionPool[3].w = ExplosionPool[3].h = 4;   // 198..202 by 108..112
    ASSERT_TRUE(DrawScene());
    ExpectColours({{186, 126, "0 0 200"}, {186, 121.5f, "200 0 0"}, {190, 97, "0 200 0"},
                   {196.5f, 107, "200 200 0"}, {200, 110, "0 200 200"}, {60, 110, "90 90 90"}});
}

TEST_F(Scene, LevelObjectLayersComeBetweenHeroAndShotsInTheirOrder) {
    struct Kind { ObjectRecord *pool; int32_t *count; const char *rgb; };
    const Kind kinds[] = {{CannonPool, &cannonCount, "200 0 0"}, {TwoWayPool, &twowaysCount, "0 200 0"},
                          {CeilingPool, &cellingCount, "0 0 200"}, {ProbePool, &sondaCount, "200 200 0"},
                          {TrainPool, &trainCount, "0 200 200"}};
    cannonTexture = SolidTexture(200, 0, 0);
    twowaysTexture = SolidTexture(0, 200, 0);
    for (unsigned int &t : cellingTextures) t = SolidTexture(0, 0, 200);
    for (unsigned int &t : sondaTextures) t = SolidTexture(200, 200, 0);
    for (unsigned int &t : trainTextures) t = SolidTexture(0, 200, 200);
    heroTextures[1] = SolidTexture(90, 90, 90);
    shotTextures[0] = SolidTexture(255, 255, 255);
    HeroState.x = 100, HeroState.y = 92;   // hero 84..116 by 91..115, under every object at (100, 100)
    for (const Kind &k : kinds) {   // each kind added in turn must paint over the ones before
        k.pool[0] = Active(100, 100);
        *k.count = 1;
        DrawScene();
        EXPECT_EQ(At(100, 108), k.rgb);
    }
    ShotPool[0] = Active(100, 108);
    DrawScene();
    ExpectColours({{100, 92, "90 90 90"}, {100, 108, "255 255 255"}});
}

TEST_F(Scene, WithoutBackdropOldPicturesFadeInsteadOfClearing) {
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    int expected = 255;
    for (int frame = 1; frame <= 8; frame++) {
        DrawScene();
        expected /= 2;
        const int red = std::stoi(Colour(100, 300));
        EXPECT_NEAR(red, expected, 2) << "frame " << frame;
    }
    // The backdrop picture is blended at half strength; zoomed out, it covers only the
    // lower-left part of the window.
    glClear(GL_COLOR_BUFFER_BIT);
    showBackground = true;
    backgroundTexture = SolidTexture(0, 0, 255);
    viewScale = 1.5625f;
    DrawScene();
    const int probes[][3] = {{399, 10, 128}, {10, 299, 128}, {400, 10, 255}, {10, 300, 255}};   // x, y, red
    for (const auto &p : probes) {
        const std::string rgb = Colour(p[0], p[1]);
        int r = 0, g = 0, b = 0;
        sscanf(rgb.c_str(), "%d %d %d", &r, &g, &b);
        EXPECT_TRUE(std::abs(r - p[2]) <= 1 && g == r && b == 255) << p[0] << ", " << p[1] << ": " << rgb;
    }
}

TEST_F(Scene, HeroPictureFollowsJumpHideFrameAndFacingAndTheShieldStaysUpright) {
    heroTextures[0] = SolidTexture(0, 255, 0);
    heroTextures[9] = SolidTexture(0, 0, 255);
    heroTextures[3] = heroTextures[22] = RedBlueTexture();
    for (unsigned int *table : {tileTextures, shotTextures, explosionTextures})
        for (int i = 0; i < TEXTURE_TABLE_SIZE; i++) table[i] = SolidTexture(9, 9, 9);
    HeroState.x = 100, HeroState.y = 50;
    struct Case { uint8_t jumping, hide, face; float frame; const char *rgb; };
    const Case cases[] = {
        {0, 0, 1, 3.9f, "255 0 0"},     // walk picture 3, upright: red on the left
        {0, 0, 0, 3.0f, "0 0 255"},     // facing left: mirrored, blue on the left
        {0, 1, 1, 3.0f, "0 255 0"},     // hiding
        {1, 1, 1, 3.0f, "0 0 255"},     // jumping wins over hiding
        {0, 0, 1, 60.0f, "255 255 255"},   // frames outside the table draw untextured
        {0, 0, 1, -7.0f, "255 255 255"},
        {0, 0, 1, NAN, "255 255 255"},
    };
    for (const Case &c : cases) {
        HeroState.jumping = c.jumping, HeroState.hide = c.hide, HeroState.face = c.face;
        HeroState.frame = c.frame;
        DrawScene();
        EXPECT_EQ(At(90, 60), c.rgb) << +c.jumping << +c.hide << +c.face << " frame " << c.frame;
    }
    // The shield over a hero facing left (hiding picture): upright, and 3 units lower.
    HeroState.frame = 0, HeroState.face = 0, HeroState.shield = 1, HeroState.shieldframe = 22.9f;
    DrawScene();
    ExpectColours({{90, 60, "255 0 0"}, {90, 47, "255 0 0"}, {90, 72.5f, "0 255 0"}});
}

TEST_F(Scene, ShotsExplosionsAndOverlayUseTheirSlotsAndSizes) {
    shotTextures[10] = RedBlueTexture();
    explosionTextures[5] = SolidTexture(0, 255, 0);
    for (int i : {0, 1, 2}) ShotPool[i] = Active(20.0f + 20.0f * (float)i, 20, 10.9f);
    ShotPool[1].face = 0;      // facing left: mirrored
    ShotPool[2].active = 2;    // any non-zero value is drawn
    ShotPool[2].frame = 50;    // past the table: untextured
    ExplosionPool[200] = Active(100, 50, 5.5f);
    ExplosionPool[200].w = ExplosionPool[200].h = 24;   // 88..112 by 38..62
    DrawScene();
    ExpectColours({{17, 20, "255 0 0"}, {37, 20, "0 0 255"}, {57, 20, "255 255 255"}});
    Bytes green = ReadScreen();
    for (size_t i = 0; i < green.size(); i += 4) green[i] = green[i + 1] == 255 && green[i] == 0 ? 255 : 0;
    EXPECT_EQ(BoxText(green), "275 349 118 192");   // top edge trunc(193.75) - 1

    showOverlay = true;
    for (int i = 0; i < 5; i++) overlayTextures[i] = SolidTexture(10 * i, 100, 0);
    mapIndex = 3;
    DrawScene();
    EXPECT_EQ(Colour(400, 300), "30 100 0");
    glClear(GL_COLOR_BUFFER_BIT);
    mapIndex = 7;   // no such map: no overlay
    DrawScene();
    EXPECT_EQ(Colour(400, 300), "0 0 0");
}
