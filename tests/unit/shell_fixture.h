// Shared set-up of the shell tests: the null platform and the shell's state back at start.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "platform/null/null_platform.h"
#include "render/state.h"
#include "shell/game_step.h"
#include "shell/state.h"
#include "shell/window.h"
#include "world/world.h"

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        NullPlatformReset();
        ResetWorld();
        std::memset(KeyState, 0, sizeof KeyState);
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
