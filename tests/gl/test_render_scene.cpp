// Drawing tests: the composition of one picture, its layer order, fading trails and debug text.
#include "tests/gl/test_render_gl.h"

#include <cmath>

#include "sim/sim.h"

namespace {

// Pixel at a playfield position at the start zoom (3.125).
Rgba At(float x, float y) { return ReadPixel((int)(x * 3.125f), (int)(y * 3.125f)); }

bool Is(const Rgba &p, int r, int g, int b) { return p.r == r && p.g == g && p.b == b; }

// A scene with neither backdrop picture nor overlay, hero parked in the top-right corner.
class Scene : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        showBackground = false;
        showOverlay = false;
        HeroState.x = 240;
        HeroState.y = 170;
        HeroState.frame = 1;
        HeroState.face = 1;
    }
};

}  // namespace

TEST_F(Scene, LayersArePaintedBackToFront) {
    showTiles = true;
    showOverlay = true;
    const unsigned int tile = SolidTexture(0, 0, 200), hero = SolidTexture(200, 0, 0);
    const unsigned int shield = SolidTexture(0, 200, 0), shot = SolidTexture(200, 200, 0);
    const unsigned int boom = SolidTexture(0, 200, 200);
    tileTextures[1] = tileTextures[2] = tile;
    heroTextures[1] = hero;
    heroTextures[21] = shield;
    shotTextures[0] = shot;
    explosionTextures[0] = boom;
    // Overlay: opaque grey over the left half of the playfield, clear over the right half.
    overlayTextures[0] = MakeTexture(2, 1, {90, 90, 90, 255, 0, 0, 0, 0});

    HeroState.x = 200;
    HeroState.y = 100;   // hero 184..216 by 99..123, shield 184..216 by 96..120
    HeroState.shield = 1;
    HeroState.shieldframe = 21.5f;
    TileGrid[23 - 15][23] = 2;   // cell 184..192 by 120..128: under the hero's head
    ShotPool[7] = ObjectRecord{};
    ShotPool[7].active = 1;
    ShotPool[7].face = 1;
    ShotPool[7].x = 200;
    ShotPool[7].y = 110;   // 196..204 by 106..114
    ExplosionPool[3].active = 1;
    ExplosionPool[3].x = 200;
    ExplosionPool[3].y = 110;
    ExplosionPool[3].w = ExplosionPool[3].h = 4;   // 198..202 by 108..112
    ShotPool[8] = ShotPool[7];
    ShotPool[8].x = 60;    // in the overlay's opaque half

    ASSERT_TRUE(DrawScene());
    EXPECT_TRUE(Is(At(186, 126), 0, 0, 200));     // tile alone
    EXPECT_TRUE(Is(At(186, 121.5f), 200, 0, 0));  // hero over the tile
    EXPECT_TRUE(Is(At(190, 100), 0, 200, 0));     // shield over the hero
    EXPECT_TRUE(Is(At(196.5f, 107), 200, 200, 0)); // shot over the shield
    EXPECT_TRUE(Is(At(200, 110), 0, 200, 200));   // explosion over the shot
    EXPECT_TRUE(Is(At(60, 110), 90, 90, 90));     // overlay over everything where opaque
}

TEST_F(Scene, WithoutBackdropOldPicturesFadeInsteadOfClearing) {
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    int expected = 255;
    for (int frame = 1; frame <= 8; frame++) {
        DrawScene();
        expected /= 2;
        const Rgba p = ReadPixel(100, 300);
        EXPECT_NEAR(p.r, expected, 2) << "frame " << frame;
        EXPECT_EQ(p.r, p.b);
    }
    EXPECT_LE(ReadPixel(100, 300).r, 2);

    // The backdrop picture is blended at half strength over what was there.
    glClear(GL_COLOR_BUFFER_BIT);
    showBackground = true;
    backgroundTexture = SolidTexture(0, 0, 255);
    DrawScene();
    const Rgba p = ReadPixel(100, 300);
    EXPECT_NEAR(p.r, 128, 1);
    EXPECT_EQ(p.b, 255);

    // Zoomed out, backdrop and overlay cover only the lower-left part of the window.
    glClear(GL_COLOR_BUFFER_BIT);
    viewScale = 1.5625f;
    showOverlay = true;
    overlayTextures[0] = SolidTexture(0, 255, 0);
    DrawScene();
    EXPECT_TRUE(Is(ReadPixel(390, 290), 0, 255, 0));
    EXPECT_TRUE(Is(ReadPixel(410, 310), 255, 255, 255));
}

TEST_F(Scene, FrameLeavesTheDocumentedStateAndClearsOnlyDepth) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(0.5f, 0.5f, 1);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(50, 50, 0);
    glColor4f(1, 0, 0, 0.25f);
    glDisable(GL_TEXTURE_2D);
    glClearDepth(0.0);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);

    EXPECT_TRUE(DrawScene());
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint v = 0;
    glGetIntegerv(GL_MATRIX_MODE, &v);
    EXPECT_EQ(v, GL_MODELVIEW);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; i++) EXPECT_EQ(m[i], (i % 5 == 0) ? 1.0f : 0.0f) << i;
    glGetFloatv(GL_CURRENT_COLOR, m);
    EXPECT_EQ(m[0] + m[1] + m[2] + m[3], 4.0f);
    float depth = 0;
    glReadPixels(400, 300, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_EQ(depth, 1.0f);

    // After the debug text: additive blend function and the depth test back on.
    showInfo = true;
    DrawScene();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    glGetIntegerv(GL_BLEND_DST, &v);
    EXPECT_EQ(v, GL_ONE);
}

TEST_F(Scene, HeroPictureFollowsJumpHideFrameAndFacing) {
    heroTextures[0] = SolidTexture(0, 255, 0);
    heroTextures[9] = SolidTexture(0, 0, 255);
    heroTextures[3] = LeftRedRightBlueTexture();
    for (unsigned int *table : {tileTextures, shotTextures, explosionTextures})
        for (int i = 0; i < TEXTURE_TABLE_SIZE; i++) table[i] = SolidTexture(9, 9, 9);
    HeroState.x = 100;
    HeroState.y = 50;
    struct Case { uint8_t jumping, hide, face; float frame; int r, g, b; };
    const Case cases[] = {
        {0, 0, 1, 3.9f, 255, 0, 0},       // walk picture 3, upright: red on the left
        {0, 0, 0, 3.0f, 0, 0, 255},       // facing left: mirrored, blue on the left
        {0, 1, 1, 3.0f, 0, 255, 0},       // hiding
        {1, 1, 1, 3.0f, 0, 0, 255},       // jumping wins over hiding
        {0, 0, 1, 60.0f, 255, 255, 255},  // frames outside the table draw untextured
        {0, 0, 1, -7.0f, 255, 255, 255},
        {0, 0, 1, NAN, 255, 255, 255},
    };
    for (const Case &c : cases) {
        HeroState.jumping = c.jumping;
        HeroState.hide = c.hide;
        HeroState.face = c.face;
        HeroState.frame = c.frame;
        DrawScene();
        EXPECT_TRUE(Is(At(90, 60), c.r, c.g, c.b))
            << "jumping " << +c.jumping << " hide " << +c.hide << " face " << +c.face
            << " frame " << c.frame;
    }

    // The shield stays upright over a hero facing left, 3 units lower.
    heroTextures[22] = LeftRedRightBlueTexture();
    HeroState.frame = 0;
    HeroState.face = 0;
    HeroState.shield = 1;
    HeroState.shieldframe = 22.9f;
    DrawScene();
    EXPECT_TRUE(Is(At(90, 60), 255, 0, 0));
    EXPECT_TRUE(Is(At(90, 47), 255, 0, 0));    // below the hero, inside the shield
    EXPECT_TRUE(Is(At(90, 72.5f), 0, 255, 0)); // above the shield: the hero (hiding picture)
}

TEST_F(Scene, TileViewShowsCodesByTableAndMarksTheHeroCell) {
    showTiles = true;
    tileTextures[9] = SolidTexture(0, 0, 255);
    tileTextures[1] = SolidTexture(255, 0, 0);
    heroTextures[1] = SolidTexture(0, 0, 0, 0);   // a see-through hero
    TileGrid[23][0] = TILE_EXIT;   // bottom-left cell
    TileGrid[0][31] = 60;          // no such slot: untextured
    TileGrid[10][10] = -4;         // codes below 1 draw nothing
    HeroState.x = 141;
    HeroState.y = 23;   // marker cell 136..144 by 16..24, hero from y 22
    DrawScene();
    EXPECT_TRUE(Is(At(4, 4), 0, 0, 255));
    EXPECT_TRUE(Is(At(252, 188), 255, 255, 255));
    EXPECT_TRUE(Is(At(84, 108), 0, 0, 0));
    EXPECT_TRUE(Is(At(140, 18), 255, 0, 0));
    EXPECT_TRUE(Is(At(140, 26), 0, 0, 0));
}

TEST_F(Scene, ShotsAndExplosionsUseTheirFrameSlotsAndSizes) {
    shotTextures[10] = LeftRedRightBlueTexture();
    explosionTextures[5] = SolidTexture(0, 255, 0);
    for (int i : {0, 1, 2}) {
        ShotPool[i].active = (uint8_t)(i == 2 ? 2 : 1);   // any non-zero value is drawn
        ShotPool[i].frame = 10.9f;
        ShotPool[i].y = 20;
        ShotPool[i].x = 20.0f + 20.0f * (float)i;
        ShotPool[i].face = (uint8_t)(i == 1 ? 0 : 1);
    }
    ShotPool[2].frame = 50;   // past the table: untextured
    ExplosionPool[200].active = 1;
    ExplosionPool[200].frame = 5.5f;
    ExplosionPool[200].x = 100;
    ExplosionPool[200].y = 50;
    ExplosionPool[200].w = ExplosionPool[200].h = 24;
    DrawScene();
    EXPECT_TRUE(Is(At(17, 20), 255, 0, 0));
    EXPECT_TRUE(Is(At(37, 20), 0, 0, 255));   // facing left: mirrored
    EXPECT_TRUE(Is(At(57, 20), 255, 255, 255));
    std::vector<uint8_t> green = ReadScreen();
    for (size_t i = 0; i < green.size(); i += 4) green[i] = green[i + 1] == 255 && green[i] == 0 ? 255 : 0;
    // 88 .. 112 by 38 .. 62 in playfield units; top edge trunc(193.75)
    EXPECT_EQ(BoxText(green), "275 349 118 192");
}

TEST_F(Scene, OverlayFollowsTheMapIndexAndSkipsUnknownMaps) {
    showOverlay = true;
    for (int i = 0; i < 5; i++) overlayTextures[i] = SolidTexture(10 * i, 100, 0);
    mapIndex = 3;
    DrawScene();
    EXPECT_TRUE(Is(ReadPixel(400, 300), 30, 100, 0));
    glClear(GL_COLOR_BUFFER_BIT);
    mapIndex = 7;
    DrawScene();
    EXPECT_TRUE(Is(ReadPixel(400, 300), 0, 0, 0));
}

TEST_F(Scene, DebugTextReadsTheWorld) {
    showInfo = true;
    fontTexture = CodedFontTexture();
    HeroState.x = 200;
    HeroState.y = 100;
    HeroState.fallspd = -5;
    HeroState.jumping = 1;
    TileGrid[12][25] = 3;   // the cell below the hero's cell (row 24 - 12, column 25)
    ExplosionPool[0].frame = 5.9f;
    ExplosionPool[0].active = 1;
    Rem01 = 3;
    Rem02 = 17.5f;
    DrawScene();
    EXPECT_EQ(ReadTextLine(10, 10), "Jump velocity -5.000000");
    EXPECT_EQ(ReadTextLine(10, 30), "Jump ON");
    EXPECT_EQ(ReadTextLine(10, 50), "Box under hero: 3");
    EXPECT_EQ(ReadTextLine(10, 70), "Hero Y aj: 11");   // trunc(95 / 8), not the row of y itself
    EXPECT_EQ(ReadTextLine(10, 90), "Hero Y   : 100.000000");
    EXPECT_EQ(ReadTextLine(10, 110), "EXP: 5");
    EXPECT_EQ(ReadTextLine(10, 130), "FIRE ON");
    EXPECT_EQ(ReadTextLine(10, 190), "Rem01 = 3.000000");
    EXPECT_EQ(ReadTextLine(10, 210), "Rem02 = 17.500000");
    EXPECT_EQ(ReadTextLine(10, 230), "Rem03 = 0.000000");

    // No cell below: the bottom row, or a hero outside the playfield.
    for (float x : {200.0f, -20.0f, 300.0f}) {
        HeroState.x = x;
        HeroState.y = (x == 200.0f) ? 5.0f : 100.0f;
        TileGrid[0][0] = 2;
        glClear(GL_COLOR_BUFFER_BIT);
        DrawScene();
        EXPECT_EQ(ReadTextLine(10, 50), "Box under hero: 0") << "x " << x;
    }
    HeroState.y = 8 * 24 + 8;   // above the top: the cell below is row 0
    HeroState.x = 4;
    glClear(GL_COLOR_BUFFER_BIT);
    DrawScene();
    EXPECT_EQ(ReadTextLine(10, 50), "Box under hero: 0");
}

TEST_F(Scene, ShotBandShowsOneOnlyForSlotsWhoseActiveByteIsOne) {
    showInfo = true;
    fontTexture = CodedFontTexture('1' - 32);   // only the digit 1 is lit
    ShotPool[100].active = 2;
    ShotPool[200].active = 1;
    DrawScene();
    const std::vector<uint8_t> screen = ReadScreen();
    int lit = 0, first = -1, last = -1;
    for (int x = 0; x < 800; x++) {
        if (screen[(368 * 800 + x) * 4 + 1] < 128) continue;
        lit++;
        if (first < 0) first = x;
        last = x;
    }
    EXPECT_EQ(first, 400);
    EXPECT_EQ(last, 415);
    EXPECT_EQ(lit, 16);
}

TEST_F(Scene, LevelObjectLayersComeBetweenHeroAndShotsInTheirOrder) {
    struct Kind { ObjectRecord *pool; int32_t *count; int r, g, b; };
    const Kind kinds[] = {
        {CannonPool, &cannonCount, 200, 0, 0},     {TwoWayPool, &twowaysCount, 0, 200, 0},
        {CeilingPool, &cellingCount, 0, 0, 200},   {ProbePool, &sondaCount, 200, 200, 0},
        {TrainPool, &trainCount, 0, 200, 200},
    };
    cannonTexture = SolidTexture(200, 0, 0);
    twowaysTexture = SolidTexture(0, 200, 0);
    for (unsigned int &t : cellingTextures) t = SolidTexture(0, 0, 200);
    for (unsigned int &t : sondaTextures) t = SolidTexture(200, 200, 0);
    for (unsigned int &t : trainTextures) t = SolidTexture(0, 200, 200);
    heroTextures[1] = SolidTexture(90, 90, 90);
    shotTextures[0] = SolidTexture(255, 255, 255);
    HeroState.x = 100;
    HeroState.y = 92;   // hero 84..116 by 91..115, under every object at (100, 100)
    for (int k = 0; k < 5; k++) {
        ObjectRecord &o = kinds[k].pool[0];
        o = ObjectRecord{};
        o.active = 1;
        o.face = 1;
        o.x = 100;
        o.y = 100;
        *kinds[k].count = 1;
        DrawScene();
        EXPECT_TRUE(Is(At(100, 108), kinds[k].r, kinds[k].g, kinds[k].b)) << "layer " << k;
    }
    EXPECT_TRUE(Is(At(100, 92), 90, 90, 90));   // the hero below the lowest object
    ShotPool[0].active = 1;
    ShotPool[0].face = 1;
    ShotPool[0].x = 100;
    ShotPool[0].y = 108;
    DrawScene();
    EXPECT_TRUE(Is(At(100, 108), 255, 255, 255));
}
