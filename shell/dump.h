// The world state as JSON: written at the end of a run, read back by tests.
#pragma once

#include <cstdint>
#include <string>

// The whole world state and the display settings as one JSON object: "frame" (steps run),
// "mapIndex", "hero", "counts", the five level-object pools, "shots", "explosions",
// "grid" (row 0 first), "Rem01".."Rem03" and the display settings. Every float reads back
// as the same single-precision value, bit for bit.
std::string WorldDumpText(int64_t frame);
// Writes WorldDumpText to a file; false (with *error) when it cannot be written.
bool WriteWorldDump(const std::string &path, int64_t frame, std::string *error);

// Loads a dump into the world state and the display settings; *frame gets its step count.
// On a malformed dump the result is false with *error, and the state may be partly loaded.
bool LoadWorldDumpText(const std::string &text, int64_t *frame, std::string *error);
bool ReadWorldDump(const std::string &path, int64_t *frame, std::string *error);
