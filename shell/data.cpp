// Finding the game's data: where the player says, else here, beside the program, installed.
#include "shell/data.h"

#include "platform/platform.h"
#include "world/world.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#ifndef KAV_INSTALL_DATADIR
#define KAV_INSTALL_DATADIR ""
#endif

static std::string missingData;

const std::string &MissingDataMessage() { return missingData; }

const char *DataSearchOrder() {
    return "  1. the folder given with --data DIR\n"
           "  2. else the folder in the environment variable KAV_DATA\n"
           "  3. else the first of: the working directory, the program's folder,\n"
           "     ../share/games/kav/ beside the program, the installed data folder\n";
}

static std::string AsFolder(std::string folder) {
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
    return folder;
}

// The folders of the automatic search, in order; every one but the working directory ("")
// ends in a separator.
static std::vector<std::string> SearchedFolders(const std::string &programFolder) {
    std::vector<std::string> folders = {""};
    if (!programFolder.empty()) {
        folders.push_back(AsFolder(programFolder));
        folders.push_back(AsFolder(programFolder) + "../share/games/kav/");
    }
    if (KAV_INSTALL_DATADIR[0]) folders.push_back(AsFolder(KAV_INSTALL_DATADIR));
    return folders;
}

// The working directory keeps the game as it always ran there: a folder with only maps (a
// headless run) or only pictures still reads them. Any other folder must hold both.
static bool HoldsGameData(const std::string &folder) {
    std::error_code e;
    const bool maps = std::filesystem::is_directory(folder + "map", e);
    const bool pictures = std::filesystem::is_directory(folder + "gfx", e);
    return folder.empty() ? maps || pictures : maps && pictures;
}

static bool UseFolder(const std::string &folder) {
    if (folder.size() >= sizeof dataFolder) return false;   // too long a path to open files under
    std::snprintf(dataFolder, sizeof dataFolder, "%s", folder.c_str());
    return true;
}

bool FindGameData(const std::string &option) {
    const char *environment = std::getenv("KAV_DATA");
    std::string named, how;
    if (!option.empty()) named = AsFolder(option), how = "given with --data";
    else if (environment && environment[0]) named = AsFolder(environment), how = "in KAV_DATA";
    if (!named.empty()) {
        // The player's choice stands even when it holds no data: nothing else is searched
        // instead. (Only a path too long to open files under falls back to the working
        // directory, after the message below.)
        const bool usable = UseFolder(named);
        if (usable && HoldsGameData(named)) return true;
        if (!usable) dataFolder[0] = '\0';
        missingData = "Kav cannot find its maps and pictures (map/ and gfx/) in the folder " + how + ":\n  " +
                      named + "\n";
    } else {
        const std::vector<std::string> folders = SearchedFolders(PlatformProgramFolder());
        for (const std::string &folder : folders)
            if (HoldsGameData(folder) && UseFolder(folder)) return true;
        dataFolder[0] = '\0';
        missingData = "Kav cannot find its maps and pictures (map/ and gfx/). It looked in:";
        for (const std::string &folder : folders) missingData += "\n  " + (folder.empty() ? std::string("./") : folder);
        missingData += "\n";
    }
    missingData += std::string("Name the data folder with --data DIR or KAV_DATA. The game looks in:\n") +
                   DataSearchOrder();
    std::fprintf(stderr, "kav: %s", missingData.c_str());
    return false;
}
