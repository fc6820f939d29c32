// Map files, the map sequence and the world log.
#pragma once

#include <cstddef>

// Opens world.log (emptied) in the working directory; called first thing at start.
void OpenWorldLog(const char *path = "world.log");
void CloseWorldLog();
// Appends one line (a newline is added) and flushes; does nothing when the log is closed.
void WorldLogLine(const char *line);

// Reads one map file into the tile grid, the object counts and the object records.
// A file that cannot be opened (missing, or not a regular file: a directory or a named pipe
// is never waited on), or is larger than MAP_FILE_LIMIT, changes nothing and leaves one line
// in the log saying so.
void LoadMap(const char *path);

// Largest map file the loader takes, in bytes.
constexpr size_t MAP_FILE_LIMIT = (size_t)1 << 20;

// Told about every problem the loader meets: line of the file (0 when none applies) and
// a message. The game passes none; the data checker collects them.
typedef void (*MapProblemFn)(void *user, int line, const char *message);

// The loader's work on a whole map file already in memory (raw bytes: CR LF is read as
// one newline here). Writes no log lines. Any size and any bytes are safe.
void LoadMapFromBuffer(const char *data, size_t size, MapProblemFn problem = nullptr,
                       void *user = nullptr);

// Empties the shot and explosion pools and loads the map of the current map index
// (nothing is loaded for an index outside 0 to 4).
void LoadCurrentMap();

// File name of map index i (0 to 4), or null for any other index.
const char *MapFileName(int index);
