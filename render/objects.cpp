// The five kinds of level object, drawn from their pools by one loop over a table of looks.
#include "render/gl.h"
#include "render/render.h"
#include "render/state.h"
#include "world/world.h"

namespace {

// How a kind looks: its pictures (a record's frame picks one, kept inside the table) and
// the anchor of its 16 by 16 quad. Every kind faces its way: upright or mirrored.
struct KindLook {
    int kind;
    const unsigned int *textures;
    int textureCount;
    float ox, oy;
};

const KindLook looks[KIND_COUNT] = {
    {KIND_CANNON, &cannonTexture, 1, 8.0f, 1.0f},
    {KIND_TWOWAYS, &twowaysTexture, 1, 8.0f, 1.0f},
    {KIND_CELLING, cellingTextures, 5, 8.0f, 7.0f},   // the barrel's position
    {KIND_SONDA, sondaTextures, 4, 8.0f, 1.0f},
    {KIND_TRAIN, trainTextures, 12, 8.0f, 0.0f},
};

void DrawKind(const KindLook &look) {
    const ObjectRecord *pool = KindPool(look.kind);
    const int limit = KindLimit(look.kind);
    for (int i = 0; i < limit; i++) {
        const ObjectRecord &o = pool[i];
        if (!o.active) continue;
        int slot = Trunc(o.frame);
        slot = slot < 0 ? 0 : (slot >= look.textureCount ? look.textureCount - 1 : slot);
        BatchSprite(look.textures[slot], o.face, o.x, o.y, 16.0f, 16.0f, look.ox, look.oy);
    }
    EndSprites();
}

}   // namespace

void DrawCannons() { DrawKind(looks[KIND_CANNON]); }
void DrawTwoWayGuns() { DrawKind(looks[KIND_TWOWAYS]); }
void DrawCeilingGuns() { DrawKind(looks[KIND_CELLING]); }
void DrawProbes() { DrawKind(looks[KIND_SONDA]); }
void DrawTrains() { DrawKind(looks[KIND_TRAIN]); }
