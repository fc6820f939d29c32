// One complete picture of the current screen, painted back to front over the uncleared colour buffer.
#include "render/gl.h"
#include "render/render.h"
#include "render/state.h"
#include "world/world.h"

// A slot chosen by a frame number or tile code; anything outside the table binds texture 0,
// which draws the quad untextured in the current colour.
static unsigned int SlotTexture(const unsigned int *table, int size, int slot) {
    return (slot >= 0 && slot < size) ? table[slot] : 0u;
}

static void DrawBackdrop() {
    if (showBackground) {
        glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
        glBindTexture(GL_TEXTURE_2D, backgroundTexture);
        DrawSprite(0.0f, 0.0f, 256.0f, 192.0f, 0.0f, 0.0f);
    } else {
        // Old pictures fade towards black instead of vanishing at once.
        glColor4f(0.0f, 0.0f, 0.0f, 0.5f);
        glDisable(GL_TEXTURE_2D);
        DrawSprite(0.0f, 0.0f, 256.0f, 192.0f, 0.0f, 0.0f);
        glEnable(GL_TEXTURE_2D);
    }
}

static void DrawTileView() {
    for (int c = 0; c < GRID_COLS; c++) {
        for (int g = 0; g < GRID_ROWS; g++) {
            const int32_t code = TileGrid[g][c];
            if (code <= 0) continue;
            BatchSprite(SlotTexture(tileTextures, TEXTURE_TABLE_SIZE, code), 1, (float)(TILE_SIZE * c),
                        (float)(TILE_SIZE * (BOTTOM_ROW - g)), 8.0f, 8.0f, 0.0f, 0.0f);
        }
    }
    // The cell holding the hero's reference point, drawn as a solid tile.
    const int hx = Trunc(HeroState.x) / TILE_SIZE;
    const int hy = Trunc(HeroState.y) / TILE_SIZE;
    BatchSprite(tileTextures[TILE_SOLID], 1, 8.0f * (float)hx, 8.0f * (float)hy, 8.0f, 8.0f, 0.0f, 0.0f);
    EndSprites();
}

static void DrawHero() {
    const ObjectRecord &hero = HeroState;
    unsigned int texture;
    if (hero.jumping == 1) {
        texture = heroTextures[9];
    } else if (hero.hide == 1) {
        texture = heroTextures[0];
    } else {
        texture = SlotTexture(heroTextures, TEXTURE_TABLE_SIZE, Trunc(hero.frame));
    }
    BatchSprite(texture, hero.face, hero.x, hero.y, 32.0f, 24.0f, 16.0f, 1.0f);
    if (hero.shield != 0) {
        // Always upright, and 3 units lower than the hero.
        BatchSprite(SlotTexture(heroTextures, TEXTURE_TABLE_SIZE, Trunc(hero.shieldframe)), 1, hero.x,
                    hero.y, 32.0f, 24.0f, 16.0f, 4.0f);
    }
    EndSprites();
}

static void DrawShots() {
    for (int i = 0; i < SHOT_POOL_SIZE; i++) {
        const ObjectRecord &shot = ShotPool[i];
        if (shot.active == 0) continue;
        BatchSprite(SlotTexture(shotTextures, TEXTURE_TABLE_SIZE, Trunc(shot.frame)), shot.face, shot.x,
                    shot.y, 8.0f, 8.0f, 4.0f, 4.0f);
    }
    EndSprites();
}

static void DrawExplosions() {
    for (int i = 0; i < EXPLOSION_POOL_SIZE; i++) {
        const ObjectRecord &exp = ExplosionPool[i];
        if (exp.active == 0) continue;
        BatchSprite(SlotTexture(explosionTextures, TEXTURE_TABLE_SIZE, Trunc(exp.frame)), 1, exp.x, exp.y,
                    exp.w, exp.h, exp.w / 2.0f, exp.h / 2.0f);
    }
    EndSprites();
}

// Tile code of the cell directly below the hero's cell; 0 when that cell is not in the grid
// (hero in the bottom row or outside the playfield).
static int32_t BoxUnderHero() {
    const int row = GRID_ROWS - Trunc(HeroState.y) / TILE_SIZE;
    const int col = Trunc(HeroState.x) / TILE_SIZE;
    if (row < 0 || row >= GRID_ROWS || col < 0 || col >= GRID_COLS) return 0;
    return TileGrid[row][col];
}

static void DrawDebugText() {
    const ObjectRecord &hero = HeroState;
    // One overlapping digit per shot slot, 2 units apart.
    uint8_t band[SHOT_POOL_SIZE];
    for (int i = 0; i < SHOT_POOL_SIZE; i++) band[i] = ShotPool[i].active == 1 ? 1 : 0;
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);   // glyphs are added to the picture
    BeginTextBlock();
    TextLine(10, 10, 0, "Jump velocity %f", (double)hero.fallspd);
    if (hero.jumping != 0) TextLine(10, 30, 0, "Jump ON");
    else TextLine(10, 30, 0, "Jump OFF");
    TextLine(10, 50, 0, "Box under hero: %d", BoxUnderHero());
    TextLine(10, 90, 0, "Hero Y   : %f", (double)hero.y);
    TextLine(10, 70, 0, "Hero Y aj: %d", Trunc((hero.y + hero.fallspd) / 8.0f));
    TextLine(10, 110, 0, "EXP: %d", Trunc(ExplosionPool[0].frame));
    if (ExplosionPool[0].active != 0) TextLine(10, 130, 0, "FIRE ON");
    else TextLine(10, 130, 0, "FIRE OFF");
    TextLine(10, 190, 0, "Rem01 = %f", (double)Rem01);
    TextLine(10, 210, 0, "Rem02 = %f", (double)Rem02);
    TextLine(10, 230, 0, "Rem03 = %f", (double)Rem03);
    TextBits(0, 360, band, SHOT_POOL_SIZE);
    EndTextBlock();
}

// Reads the world, changes none of it. Leaves blending off, the modelview identity loaded,
// texturing on and the colour opaque white.
bool DrawScene() {
    LoadScreenSpace();
    glClear(GL_DEPTH_BUFFER_BIT);   // never the colour buffer: the last picture is the base
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);

    DrawBackdrop();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (showTiles) DrawTileView();
    DrawHero();

    DrawCannons();
    DrawTwoWayGuns();
    DrawCeilingGuns();
    DrawProbes();
    DrawTrains();

    DrawShots();
    DrawExplosions();

    if (showOverlay && mapIndex >= 0 && mapIndex < MAP_COUNT) {
        glBindTexture(GL_TEXTURE_2D, overlayTextures[mapIndex]);
        DrawSprite(0.0f, 0.0f, 256.0f, 192.0f, 0.0f, 0.0f);
    }
    if (showInfo) DrawDebugText();

    glDisable(GL_BLEND);
    return true;
}
