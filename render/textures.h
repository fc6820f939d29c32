// Texture slot tables filled by the asset table at start-up and bound by the drawing.
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
