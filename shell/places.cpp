// The folders a run writes into: the working directory, or the XDG folders of a desktop run.
#include "shell/places.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

bool desktopRun = false;

static std::string Home() {
    const char *home = std::getenv("HOME");
    return home && home[0] == '/' ? home : "";
}

// An XDG base folder from its variable, when that holds an absolute path, else the default
// under the home folder; empty when there is neither.
static std::string XdgFolder(const char *variable, const char *underHome) {
    const char *v = std::getenv(variable);
    if (v && v[0] == '/') return v;
    const std::string home = Home();
    return home.empty() ? "" : home + "/" + underHome;
}

// XDG_PICTURES_DIR from the user's user-dirs.dirs: a line XDG_PICTURES_DIR="$HOME/Pictures"
// or an absolute path in quotes; ~/Pictures when the file or the line is missing.
static std::string PicturesFolder() {
    const std::string home = Home();
    const std::string config = XdgFolder("XDG_CONFIG_HOME", ".config");
    if (!config.empty())
        if (FILE *f = std::fopen((config + "/user-dirs.dirs").c_str(), "r")) {
            char line[1024];
            std::string found;
            while (std::fgets(line, sizeof line, f)) {
                static const char KEY[] = "XDG_PICTURES_DIR=\"";
                if (std::strncmp(line, KEY, sizeof KEY - 1) != 0) continue;
                std::string value = line + sizeof KEY - 1;
                const size_t quote = value.find('"');
                if (quote == std::string::npos) continue;
                value.resize(quote);
                if (value.compare(0, 5, "$HOME") == 0 && !home.empty()) value = home + value.substr(5);
                if (!value.empty() && value[0] == '/') found = value;
            }
            std::fclose(f);
            if (!found.empty()) return found;
        }
    return home.empty() ? "" : home + "/Pictures";
}

std::string WorldLogPath() {
    if (!desktopRun) return "world.log";
    const std::string state = XdgFolder("XDG_STATE_HOME", ".local/state");
    if (state.empty()) return "";
    std::error_code ec;
    std::filesystem::create_directories(state + "/kav", ec);
    return ec ? "" : state + "/kav/world.log";
}

std::string ScreenshotFolder() {
    if (!desktopRun) return "screenshots";
    const std::string pictures = PicturesFolder();
    return pictures.empty() ? "screenshots" : pictures + "/kav";
}
