// Display settings changed by the developer keys and read by the drawing.
#pragma once

extern float viewScale;        // playfield units to screen units; 3.125 fills the screen
extern bool showBackground;    // backdrop picture behind everything
extern bool showOverlay;       // the map's own picture over the scene
extern bool showInfo;          // debug text block
extern bool showTiles;         // tile view
