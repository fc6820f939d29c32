// The world state as JSON, written at the end of a run.
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
// (The tests read dumps back with tests/unit/dump_reader.h.)
