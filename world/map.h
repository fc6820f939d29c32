// Map files, the map sequence and the world log.
#pragma once

// Opens world.log (emptied) in the working directory; called first thing at start.
void OpenWorldLog(const char *path = "world.log");
void CloseWorldLog();
// Appends one line (a newline is added) and flushes; does nothing when the log is closed.
void WorldLogLine(const char *line);

// Reads one map file into the tile grid, the object counts and the object records.
void LoadMap(const char *path);

// Empties the shot and explosion pools and loads the map of the current map index
// (nothing is loaded for an index outside 0 to 4).
void LoadCurrentMap();

// File name of map index i (0 to 4), or null for any other index.
const char *MapFileName(int index);
