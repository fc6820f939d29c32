// The drawing's state: texture slot tables filled by the asset table at start-up and bound by
// the drawing, the font's display lists, and the display settings the developer keys change.
// A record's frame (or a tile code) selects a slot directly, so slot numbers are fixed.
#pragma once

constexpr int TEXTURE_TABLE_SIZE = 50;

extern unsigned int fontTexture;
extern unsigned int backgroundTexture;
extern unsigned int craftTexture;
extern unsigned int heroTextures[TEXTURE_TABLE_SIZE];
extern unsigned int tileTextures[TEXTURE_TABLE_SIZE];
extern unsigned int shotTextures[TEXTURE_TABLE_SIZE];
extern unsigned int explosionTextures[TEXTURE_TABLE_SIZE];
extern unsigned int overlayTextures[5];
extern unsigned int cannonTexture;
extern unsigned int twowaysTexture;
extern unsigned int cellingTextures[5];
extern unsigned int sondaTextures[4];
extern unsigned int trainTextures[12];

// First of the 256 display lists of the bitmap font; 0 while there are none.
extern unsigned int fontListBase;

// Display settings.
extern float viewScale;        // playfield units to screen units; 3.125 fills the screen
extern bool showBackground;    // backdrop picture behind everything
extern bool showOverlay;       // the map's own picture over the scene
extern bool showInfo;          // debug text block
extern bool showTiles;         // tile view
