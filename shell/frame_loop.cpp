// Start-up of the windowed game and the frame loop, paced to a steady frame rate.
#include "shell/frame_loop.h"

#include "platform/platform.h"
#include "render/render.h"
#include "shell/audio.h"
#include "shell/game_step.h"
#include "shell/session.h"
#include "shell/state.h"
#include "shell/window.h"
#include "world/world.h"

// Behind by more than this many frames, the pacer stops trying to catch up.
static const double MAX_FRAMES_BEHIND = 4.0;

void StartPacer(FramePacer *pacer, int fps) {
    pacer->period = fps > 0 ? 1.0 / fps : 0.0;
    pacer->deadline = 0.0;
}

double NextFrameTime(FramePacer *pacer, double now) {
    if (pacer->period <= 0.0) return now;
    if (pacer->deadline == 0.0 || now - pacer->deadline > MAX_FRAMES_BEHIND * pacer->period)
        pacer->deadline = now;
    const double due = pacer->deadline;
    // A running deadline: rounding of sleeps never adds up to drift.
    pacer->deadline += pacer->period;
    return due;
}

void WaitForFrame(FramePacer *pacer) {
    if (pacer->period <= 0.0) return;
    const double due = NextFrameTime(pacer, PlatformTime());
    for (;;) {
        const double left = due - PlatformTime();
        if (left <= 0.0) return;
        // Sleep most of the way, then wait the last part in very short sleeps, so the
        // frame starts on time without spinning the processor.
        PlatformSleep(left > 0.002 ? left - 0.0015 : 0.0001);
    }
}

void StartFrameLoop(FrameLoop *loop, int fps) {
    StartPacer(&loop->pacer, fps);
    loop->msg = PlatformMessage{MSG_NONE, 0, 0};
    loop->exitCode = 0;
}

static LoopPass EndLoop(FrameLoop *loop) {
    DestroyGameWindow();
    loop->exitCode = (int)loop->msg.wParam;
    return LOOP_ENDED;
}

LoopPass RunLoopPass(FrameLoop *loop) {
    PlatformMessage taken;
    if (PlatformNextMessage(&taken)) {
        loop->msg = taken;
        if (taken.kind == MSG_QUIT) return EndLoop(loop);
        GameWindowProc(taken);
        return LOOP_MESSAGE;
    }
    WaitForFrame(&loop->pacer);
    if (appActive && !DrawScene()) return EndLoop(loop);
    if (KeyState[VK_ESCAPE_]) return EndLoop(loop);
    if (!SessionBeforeSwap()) {   // a demo or a step limit reached its end
        loop->msg = PlatformMessage{MSG_NONE, 0, 0};
        return EndLoop(loop);
    }
    PlatformSwapBuffers();
    framesRun++;
    SessionStep();
    RunSoundStep();
    if (toggleAsked) {
        toggleAsked = false;
        if (!ToggleFullscreen()) {   // the new window could not be made
            loop->exitCode = 0;
            return LOOP_ENDED;
        }
    }
    return LOOP_FRAME;
}

int RunFrameLoop(int fps) {
    FrameLoop loop;
    StartFrameLoop(&loop, fps);
    while (RunLoopPass(&loop) != LOOP_ENDED) {
    }
    return loop.exitCode;
}

bool StartGame(int startAnswer) {
    SetPictureFailureHandler(ShowPictureFailure);
    if (startAnswer < 0) {
        if (PlatformMessageBox("Would You Like To Run In Fullscreen Mode?", "Start FullScreen?",
                               MB_YESNO_, MB_ICONQUESTION_) == ID_NO_)
            fullscreen = false;
    } else {
        fullscreen = startAnswer != 0;
    }
    if (!CreateGameWindow(WINDOW_TITLE, WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_BITS, fullscreen)) return false;

    StartWorld(session.startMap);
    LoadAssetTable();   // after the window: the textures belong to its context
    return true;
}

int RunGame(int startAnswer, int fps) {
    return StartGame(startAnswer) ? RunFrameLoop(fps) : 0;
}
