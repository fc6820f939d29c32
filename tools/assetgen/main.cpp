// kav_assetgen SOURCE_DIR OUT_DIR: writes the game's 73 pictures into OUT_DIR.
// kav_assetgen --icons SOURCE_DIR OUT_DIR: writes the game's icons into OUT_DIR.
// kav_assetgen --sfx OUT_DIR: writes the game's sound effects into OUT_DIR.
#include "catalogue.h"
#include "icons.h"
#include "sounds.h"

#include <cstdio>
#include <cstring>

int main(int argc, char **argv) {
    const bool icons = argc == 4 && std::strcmp(argv[1], "--icons") == 0;
    if (argc != 3 && !icons) {
        std::fprintf(stderr, "usage: kav_assetgen SOURCE_DIR OUT_DIR\n"
                             "  reads SOURCE_DIR/assets and SOURCE_DIR/map, writes the pictures into OUT_DIR\n"
                             "       kav_assetgen --icons SOURCE_DIR OUT_DIR\n"
                             "  reads SOURCE_DIR/assets/hero.txt, writes hicolor/NxN/apps/kav.png and kav.ico\n"
                             "       kav_assetgen --sfx OUT_DIR\n"
                             "  writes the sound effects into OUT_DIR\n");
        return 2;
    }
    std::string error;
    if (icons) {
        if (!GenerateIcons(argv[2], argv[3], &error)) {
            std::fprintf(stderr, "kav_assetgen: %s\n", error.c_str());
            return 1;
        }
        std::printf("kav_assetgen: wrote the icons into %s\n", argv[3]);
        return 0;
    }
    if (std::strcmp(argv[1], "--sfx") == 0) {
        if (!GenerateSounds(argv[2], &error)) {
            std::fprintf(stderr, "kav_assetgen: %s\n", error.c_str());
            return 1;
        }
        std::printf("kav_assetgen: wrote %zu sounds into %s\n", SoundFileNames().size(), argv[2]);
        return 0;
    }
    if (!GenerateAll(argv[1], argv[2], &error)) {
        std::fprintf(stderr, "kav_assetgen: %s\n", error.c_str());
        return 1;
    }
    std::printf("kav_assetgen: wrote %zu pictures into %s\n", AssetCatalogue().size(), argv[2]);
    return 0;
}
