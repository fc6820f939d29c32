// The drawing's state; every texture slot not loaded keeps texture name 0.
#include "render/state.h"

unsigned int fontTexture;
unsigned int backgroundTexture;
unsigned int craftTexture;
unsigned int heroTextures[TEXTURE_TABLE_SIZE];
unsigned int tileTextures[TEXTURE_TABLE_SIZE];
unsigned int shotTextures[TEXTURE_TABLE_SIZE];
unsigned int explosionTextures[TEXTURE_TABLE_SIZE];
unsigned int overlayTextures[5];
unsigned int cannonTexture;
unsigned int twowaysTexture;
unsigned int cellingTextures[5];
unsigned int sondaTextures[4];
unsigned int trainTextures[12];

float viewScale = 3.125f;
bool showBackground = true;
bool showOverlay = true;
bool showInfo = false;
bool showTiles = false;
