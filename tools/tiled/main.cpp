// kav-tiled: map files to Tiled maps and back.
#include "tiled.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>

static int Usage(const char *what) {
    std::fprintf(stderr,
                 "kav-tiled: %s\n"
                 "usage: kav-tiled to-tiled MAP OUT.tmj    a map file as a Tiled map (tileset written beside it)\n"
                 "       kav-tiled to-map IN.tmj OUT.map   a Tiled map back as a map file\n",
                 what);
    return 2;
}

int main(int argc, char **argv) {
    if (argc != 4) return Usage(argc < 4 ? "too few arguments" : "too many arguments");
    std::string error;
    bool ok;
    if (std::strcmp(argv[1], "to-tiled") == 0) {
        // The tile pictures' source: assets/ of the working directory, else of the source tree.
        struct stat st;
        std::string assets = stat("assets/tiles.txt", &st) == 0 ? "assets" : KAV_SOURCE_DIR "/assets";
        ok = MapToTiled(argv[2], argv[3], assets, &error);
    } else if (std::strcmp(argv[1], "to-map") == 0) {
        ok = TiledToMap(argv[2], argv[3], &error);
    } else {
        return Usage((std::string("unknown command \"") + argv[1] + "\"").c_str());
    }
    if (!ok) {
        std::fprintf(stderr, "kav-tiled: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
