// Shared set-up of the shell tests: the null platform and the shell's state back at start.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "platform/null/null_platform.h"
#include "render/state.h"
#include "shell/game_step.h"
#include "shell/settings.h"
#include "shell/state.h"
#include "shell/window.h"
#include "world/world.h"

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        NullPlatformReset();
        ResetWorld();
        for (int vk = 0; vk < 256; vk++) keyBindings[vk] = (uint8_t)vk;
        GameWindowProc({MSG_ACTIVATE, 0, 0});   // every key let go
        viewScale = 3.125f;
        showBackground = true;
        showOverlay = true;
        showInfo = false;
        showTiles = false;
        fullscreen = true;
        appActive = true;
        haveWindow = false;
        toggleAsked = false;
    }
    void TearDown() override { NullPlatformReset(); }
};
