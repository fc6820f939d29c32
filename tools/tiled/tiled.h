// Conversion between the game's map files and Tiled's JSON maps (.tmj).
//
// The Tiled map is 32 by 24 tiles of 8 by 8 pixels. The tile layer "grid" holds the grid,
// row 0 at the top as in the map file; a cell is the tile with id = tile code, so its gid is
// code + firstgid, and code 0 is a tile as well (an erased cell, gid 0, reads back as code 0).
// Each kind of level object has its object layer ("cannon", "twoways", "celling", "sonda",
// "train"); an object's position is its tile (x = column * 8, y = top edge of its grid row,
// in pixels), and every other value the map file gives for it is a custom property, with the
// record's index in the property "index".
#pragma once

#include <cstddef>
#include <string>

// What to-map reads at most. A Tiled map of the game (32 by 24 tiles, at most 250 objects)
// is about 60 KB written compactly and under 400 KB as Tiled indents it; anything beyond
// these is refused before it is built.
constexpr size_t TILED_FILE_LIMIT = size_t(4) << 20;   // bytes
constexpr int TILED_DEPTH_LIMIT = 32;                   // nesting of objects and lists
constexpr size_t TILED_VALUE_LIMIT = 250000;            // values, containers included

// The tile sheet and tileset beside every converted map.
constexpr const char *TILESET_FILE = "kav-tiles.tsj";
constexpr const char *TILESHEET_FILE = "kav-tiles.png";

// Loads mapPath with the game's loader and writes outPath (.tmj), and the tileset and its
// sheet beside it when they are missing; assetsDir holds tiles.txt. False with *error, and
// no .tmj written, for a map the loader has anything to say about; nothing at all is written
// when outPath cannot be (a folder, a device, a read-only file).
bool MapToTiled(const std::string &mapPath, const std::string &outPath, const std::string &assetsDir,
                std::string *error);

// Reads a .tmj, checks all of it, and only then writes outPath as a map file. False with
// *error naming the layer, object and property at fault (or the limit passed, or "out of
// memory"); nothing is written then.
bool TiledToMap(const std::string &tmjPath, const std::string &outPath, std::string *error);

// The map file text of a Tiled map already parsed from text; false with *error as above.
bool TiledTextToMapText(const std::string &tmjText, std::string *mapText, std::string *error);
