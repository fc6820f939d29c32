// The 73 pictures of the game: which file comes from which source, at which size and form.
#pragma once

#include <string>
#include <vector>

struct AssetEntry {
    std::string file;      // name under gfx/
    std::string source;    // what paints it (sheet frame, painter)
};

// The whole list, in the order the game loads the files.
const std::vector<AssetEntry> &AssetCatalogue();

// Writes every picture of the catalogue into outDir from the sources under sourceDir
// (assets/ and map/). Returns false with a message on the first problem.
bool GenerateAll(const std::string &sourceDir, const std::string &outDir, std::string *error);
