// Finding the game's data: here, beside the program, installed, or where the player says.
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

static std::string AsFolder(std::string folder) {
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
    return folder;
}

// The folders to look in, in order; every one but the working directory ("") ends in a separator.
static std::vector<std::string> DataFolderCandidates(const std::string &programFolder, const std::string &option,
                                                     const char *environment) {
    std::vector<std::string> folders = {""};
    if (!programFolder.empty()) {
        folders.push_back(AsFolder(programFolder));
        folders.push_back(AsFolder(programFolder) + "../share/kav/");
    }
    if (KAV_INSTALL_DATADIR[0]) folders.push_back(AsFolder(KAV_INSTALL_DATADIR));
    if (!option.empty()) folders.push_back(AsFolder(option));
    if (environment && environment[0]) folders.push_back(AsFolder(environment));
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

bool FindGameData(const std::string &option) {
    const std::vector<std::string> folders =
        DataFolderCandidates(PlatformProgramFolder(), option, std::getenv("KAV_DATA"));
    for (const std::string &folder : folders) {
        if (!HoldsGameData(folder)) continue;
        if (folder.size() >= sizeof dataFolder) continue;   // too long a path to open files under
        std::snprintf(dataFolder, sizeof dataFolder, "%s", folder.c_str());
        return true;
    }
    dataFolder[0] = '\0';
    std::string looked;
    for (const std::string &folder : folders) looked += "\n  " + (folder.empty() ? std::string("./") : folder);
    std::fprintf(stderr, "kav: no map/ and gfx/ folders found; looked in:%s\n"
                         "kav: give the data folder with --data DIR or KAV_DATA\n", looked.c_str());
    return false;
}
