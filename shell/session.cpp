// Window runs beyond plain play: demos, step limits and screenshots.
#include "shell/session.h"

#include "platform/platform.h"
#include "render/screenshot.h"
#include "shell/game_step.h"
#include "shell/places.h"
#include "shell/state.h"
#include "world/world.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

WindowSession session;

void ResetSession() { session = WindowSession(); }

bool SessionBeforeSwap() {
    session.lastFrameTime = PlatformTime();
    if (session.firstFrameTime < 0.0) session.firstFrameTime = session.lastFrameTime;
    if (KeyPressed(VK_F12_, session.screenshotLatch) && appActive) TakeNumberedScreenshot();
    if (session.frames >= 0 && framesRun >= session.frames) {
        std::string error;
        if (!session.screenshotPath.empty()) {
            session.screenshotSaved = SaveScreenshot(session.screenshotPath.c_str(), &error);
            session.screenshotFailed = !session.screenshotSaved;
            if (session.screenshotFailed) std::fprintf(stderr, "kav: %s\n", error.c_str());
        }
        return false;
    }
    if (session.playback) {
        if (!NextScriptStep(&session.cursor, &session.demoKeys)) return false;
        static const uint64_t ESCAPE = UINT64_C(1) << ScriptKeyFromName("ESCAPE");
        if (session.demoKeys & ESCAPE) return false;   // as in a key script
    }
    return true;
}

void SessionStep() {
    if (!session.playback) {
        if (session.recorder.out.file) RecordDemoStep(&session.recorder);
        FrameUpdate();
        return;
    }
    bool keyboard[256];
    std::memcpy(keyboard, KeyState, sizeof keyboard);
    HoldScriptKeys(session.demoKeys);
    FrameUpdate();
    std::memcpy(KeyState, keyboard, sizeof keyboard);
}

void TakeNumberedScreenshot() {
    namespace fs = std::filesystem;
    const std::string folder = ScreenshotFolder();
    std::error_code ec;
    const bool made = fs::create_directories(folder, ec);
    if (ec) {
        std::fprintf(stderr, "kav: %s: no folder for screenshots (%s); the picture was not saved\n", folder.c_str(),
                     ec.message().c_str());
        return;
    }
    std::string path;
    do {
        char name[32];
        std::snprintf(name, sizeof name, "/kav-%04d.png", session.nextShot++);
        path = folder + name;
    } while (fs::exists(fs::symlink_status(path, ec)) && session.nextShot < 1000000);
    std::string error;
    if (SaveScreenshot(path.c_str(), &error)) {
        std::printf("kav: screenshot %s\n", path.c_str());
        PlatformPictureSaved(path.c_str());
        return;
    }
    std::fprintf(stderr, "kav: %s\n", error.c_str());
    if (made) fs::remove(folder, ec);   // leave no empty folder behind
}
