// Drawing: GL state and view, pictures into textures, sprite quads, the bitmap font, the scene.
#pragma once

#include <cstdint>

// GL state and view.
bool InitRenderState();
void ResizeView(int32_t width, int32_t height);
// The screen space every frame is drawn in, stretched over the whole viewport whatever the
// window's size: SCREEN_WIDTH by SCREEN_HEIGHT units, origin bottom-left.
const int SCREEN_WIDTH = 800, SCREEN_HEIGHT = 600;
// The screen space of a frame: orthographic projection, identity modelview, depth test off.
// The matrix mode is left at modelview.
void LoadScreenSpace();

// Pictures into textures. Both take the slot to store the new texture name in, the file
// path and the clamp flag, and both are the game's own contracts, which differ: start-up
// ignores either result, and what is left in the slot is what matters.
// LoadTgaTexture returns a result code where 0 is success (mind: not a truth value): 0
// loaded; 1 no path, or no regular file to open; 2 the file ends before its picture is full
// (raw or run-length); 3 a form not taken, or too big. The slot holds a new texture name
// whatever the code, without a picture when the code is not 0.
int32_t LoadTgaTexture(unsigned int *slot, const char *path, uint8_t clamp);
// LoadBmpTexture returns true when the picture is in a new texture named in the slot; on
// false the slot is untouched (0 for a slot never loaded), and the player was told why
// unless the file was simply missing (see LoadBmpImage).
bool LoadBmpTexture(unsigned int *slot, const char *path, uint8_t clamp);

// Where the picture loaders send the text of a failure the player is to be told about (a
// bitmap that cannot be read). The shell shows it in a message box captioned "Error"; while
// no handler is set (null) such failures are silent.
void SetPictureFailureHandler(void (*handler)(const char *text));

// The asset table: every picture of the game into its texture slot, in its fixed order.
// Run at start-up and again after the full-screen toggle made a new context.
void LoadAssetTable();
// The table's rows for the data checker: how many, and the file of row i (null outside the
// table) with whether it is read as a bitmap (else as a Targa picture).
int AssetTableSize();
const char *AssetTablePath(int row, bool *isBitmap);

// A sprite quad's screen edges: the rectangle (x - ox, y - oy) to (x - ox + w, y - oy + h) in
// playfield units, scaled by viewScale and truncated toward zero (held within a million
// pixels of the screen, so that nothing overflows).
struct SpriteEdges {
    int left, right, bottom, top;
};
SpriteEdges SpriteScreenEdges(float x, float y, float w, float h, float ox, float oy);
// A sprite quad alone, the image upright (t = 0 at the bottom, s = 0 at the left).
void DrawSprite(float x, float y, float w, float h, float ox, float oy);

// Sprites in runs: quads that share a texture go to the GL between one glBegin and glEnd,
// and a texture is bound only when it changes. Each covers the quad's SpriteScreenEdges with
// the image upright when face is not 0 and flipped left to right when it is 0 (how every
// record faces its way), in the order given. Between the first BatchSprite and EndSprites
// nothing else may touch the GL; EndSprites ends the run and forgets the texture bound.
void BatchSprite(unsigned int texture, uint8_t face, float x, float y, float w, float h, float ox, float oy);
void EndSprites();

// Bitmap font.
void CreateFontLists();
void DeleteFontLists();
// Lines of text in one run of quads: TextLine prints a formatted line (at most 255
// characters) from glyph set 0 or 1, TextBits a row of 0 and 1 digits, 2 units apart (the
// debug text's band of shot records), between BeginTextBlock and EndTextBlock, with nothing
// else touching the GL there.
void BeginTextBlock();
void TextLine(int32_t x, int32_t y, int32_t set, const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 4, 5)))
#endif
    ;
void TextBits(int32_t x, int32_t y, const uint8_t *bits, int32_t count);
void EndTextBlock();

// The level objects of each kind, from their pools, in the order the scene paints them.
void DrawCannons();
void DrawTwoWayGuns();
void DrawCeilingGuns();
void DrawProbes();
void DrawTrains();

// One complete picture of the current screen; always true.
bool DrawScene();
