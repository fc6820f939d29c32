// The asset table: every picture of the game loaded into its fixed texture slot, in order.
#include <cstdint>

#include "render/render.h"
#include "render/state.h"
#include "world/world.h"

namespace {

enum Loader : uint8_t { TGA, BMP };

struct AssetRow {
    const char *path;
    unsigned int *slot;
    Loader loader;
    uint8_t clamp;
};

// Frames and tile codes index these slots directly, so the slot numbers are fixed.
const AssetRow assetTable[] = {
    {"gfx/font.bmp", &fontTexture, BMP, 0},
    {"gfx/kavhide01.tga", &heroTextures[0], TGA, 1},
    {"gfx/kavwalk01.tga", &heroTextures[1], TGA, 1},
    {"gfx/kavwalk02.tga", &heroTextures[2], TGA, 1},
    {"gfx/kavwalk03.tga", &heroTextures[3], TGA, 1},
    {"gfx/kavwalk04.tga", &heroTextures[4], TGA, 1},
    {"gfx/kavwalk05.tga", &heroTextures[5], TGA, 1},
    {"gfx/kavwalk06.tga", &heroTextures[6], TGA, 1},
    {"gfx/kavwalk07.tga", &heroTextures[7], TGA, 1},
    {"gfx/kavwalk08.tga", &heroTextures[8], TGA, 1},
    {"gfx/kavjump01.tga", &heroTextures[9], TGA, 1},
    {"gfx/kavshield01.tga", &heroTextures[21], TGA, 1},
    {"gfx/kavshield02.tga", &heroTextures[22], TGA, 1},
    {"gfx/kavshield03.tga", &heroTextures[23], TGA, 1},
    {"gfx/kavshield04.tga", &heroTextures[24], TGA, 1},
    {"gfx/brick01.tga", &tileTextures[1], TGA, 1},
    {"gfx/brick02.tga", &tileTextures[2], TGA, 1},
    {"gfx/brick03.tga", &tileTextures[3], TGA, 1},
    {"gfx/brick08.tga", &tileTextures[8], TGA, 1},
    {"gfx/brick09.tga", &tileTextures[9], TGA, 1},
    {"gfx/back.bmp", &backgroundTexture, BMP, 1},
    {"gfx/back00over.tga", &overlayTextures[0], TGA, 1},
    {"gfx/back01over.tga", &overlayTextures[1], TGA, 1},
    {"gfx/back02over.tga", &overlayTextures[2], TGA, 1},
    {"gfx/back03over.tga", &overlayTextures[3], TGA, 1},
    {"gfx/back04over.tga", &overlayTextures[4], TGA, 1},
    {"gfx/craftkav.tga", &craftTexture, TGA, 1},
    {"gfx/shot01.tga", &shotTextures[0], TGA, 1},
    {"gfx/shot02.tga", &shotTextures[1], TGA, 1},
    {"gfx/shot03.tga", &shotTextures[2], TGA, 1},
    {"gfx/missle01.tga", &shotTextures[10], TGA, 1},
    {"gfx/missle02.tga", &shotTextures[11], TGA, 1},
    {"gfx/missle03.tga", &shotTextures[12], TGA, 1},
    {"gfx/missle04.tga", &shotTextures[13], TGA, 1},
    {"gfx/missle05.tga", &shotTextures[14], TGA, 1},
    {"gfx/missle06.tga", &shotTextures[15], TGA, 1},
    {"gfx/missle07.tga", &shotTextures[16], TGA, 1},
    {"gfx/missle08.tga", &shotTextures[17], TGA, 1},
    {"gfx/explow01.tga", &explosionTextures[0], TGA, 1},
    {"gfx/explow02.tga", &explosionTextures[1], TGA, 1},
    {"gfx/explow03.tga", &explosionTextures[2], TGA, 1},
    {"gfx/explow04.tga", &explosionTextures[3], TGA, 1},
    {"gfx/expbig01.tga", &explosionTextures[4], TGA, 1},
    {"gfx/expbig02.tga", &explosionTextures[5], TGA, 1},
    {"gfx/expbig03.tga", &explosionTextures[6], TGA, 1},
    {"gfx/expbig04.tga", &explosionTextures[7], TGA, 1},
    {"gfx/expbig05.tga", &explosionTextures[8], TGA, 1},
    {"gfx/expbig06.tga", &explosionTextures[9], TGA, 1},
    {"gfx/expbig07.tga", &explosionTextures[10], TGA, 1},
    {"gfx/expbig08.tga", &explosionTextures[11], TGA, 1},
    {"gfx/cannon01.tga", &cannonTexture, TGA, 1},
    {"gfx/twoways01.tga", &twowaysTexture, TGA, 1},
    {"gfx/celling01.tga", &cellingTextures[0], TGA, 1},
    {"gfx/celling02.tga", &cellingTextures[1], TGA, 1},
    {"gfx/celling03.tga", &cellingTextures[2], TGA, 1},
    {"gfx/celling04.tga", &cellingTextures[3], TGA, 1},
    {"gfx/celling05.tga", &cellingTextures[4], TGA, 1},
    {"gfx/sonda01.tga", &sondaTextures[0], TGA, 1},
    {"gfx/sonda02.tga", &sondaTextures[1], TGA, 1},
    {"gfx/sonda03.tga", &sondaTextures[2], TGA, 1},
    {"gfx/sonda04.tga", &sondaTextures[3], TGA, 1},
    {"gfx/trainbeg01.tga", &trainTextures[0], TGA, 1},
    {"gfx/trainbeg02.tga", &trainTextures[1], TGA, 1},
    {"gfx/trainbeg03.tga", &trainTextures[2], TGA, 1},
    {"gfx/trainbeg04.tga", &trainTextures[3], TGA, 1},
    {"gfx/trainmid01.tga", &trainTextures[4], TGA, 1},
    {"gfx/trainmid02.tga", &trainTextures[5], TGA, 1},
    {"gfx/trainmid03.tga", &trainTextures[6], TGA, 1},
    {"gfx/trainmid04.tga", &trainTextures[7], TGA, 1},
    {"gfx/trainend01.tga", &trainTextures[8], TGA, 1},
    {"gfx/trainend02.tga", &trainTextures[9], TGA, 1},
    {"gfx/trainend03.tga", &trainTextures[10], TGA, 1},
    {"gfx/trainend04.tga", &trainTextures[11], TGA, 1},
};

static_assert(sizeof assetTable / sizeof assetTable[0] == 73, "the game has 73 pictures");

}  // namespace

// The loaders' results are not looked at: a missing picture leaves its sprite untextured.
void LoadAssetTable() {
    for (const AssetRow &row : assetTable) {
        if (row.loader == BMP) {
            LoadBmpTexture(row.slot, DataPath(row.path), row.clamp);
        } else {
            LoadTgaTexture(row.slot, DataPath(row.path), row.clamp);
        }
    }
}

int AssetTableSize() { return int(sizeof assetTable / sizeof assetTable[0]); }

const char *AssetTablePath(int row, bool *isBitmap) {
    if (row < 0 || row >= AssetTableSize()) return nullptr;
    if (isBitmap) *isBitmap = assetTable[row].loader == BMP;
    return assetTable[row].path;
}
