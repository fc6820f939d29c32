// The data checker behind "kav --check [DIR]": the game's maps, pictures and sounds read as the game reads them.
#pragma once

#include <cstdio>

// Loads every map of the sequence, decodes every picture of the asset table and every sound under dir
// (the working directory when null or empty), with no window. Prints one line per problem
// (file, line or offset where it applies, what is wrong) and a summary line to out.
// Returns 0 when all is well, 1 otherwise. Leaves the last map checked in the world state.
int RunDataCheckTo(const char *dir, FILE *out);
// The same, printing to standard output.
int RunDataCheck(const char *dir);
