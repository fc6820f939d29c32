// The native picture the web page's is compared with: the game's window made offscreen,
// a key script run as in a headless run, then one scene drawn and written as a PPM file.
//   kav_web_reference SCRIPT FRAMES OUT.ppm     (in the game's folder, SDL_VIDEODRIVER=offscreen)
#include "render/gl.h"
#include "render/render.h"
#include "shell/game_step.h"
#include "shell/headless.h"
#include "shell/script.h"
#include "shell/window.h"
#include "world/map.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char **argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: kav_web_reference SCRIPT FRAMES OUT.ppm\n");
        return 2;
    }
    std::vector<InputRun> runs;
    std::string error;
    if (!ReadKeyScript(argv[1], &runs, &error)) {
        std::fprintf(stderr, "kav_web_reference: %s\n", error.c_str());
        return 2;
    }
    // The page's order: window, world, pictures, the steps, one scene.
    OpenWorldLog("/dev/null");
    SetPictureFailureHandler(ShowPictureFailure);
    if (!CreateGameWindow(WINDOW_TITLE, WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_BITS, false)) return 1;
    StartWorld();
    LoadAssetTable();
    RunHeadlessSteps(runs, std::atoll(argv[2]));
    DrawScene();
    glFinish();

    const int w = WINDOW_WIDTH, h = WINDOW_HEIGHT;
    std::vector<unsigned char> rgb(w * h * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    FILE *out = std::fopen(argv[3], "wb");
    if (!out) return 1;
    std::fprintf(out, "P6\n%d %d\n255\n", w, h);
    for (int row = h - 1; row >= 0; row--) std::fwrite(&rgb[row * w * 3], 1, w * 3, out);   // top first
    const bool written = std::fclose(out) == 0;
    DestroyGameWindow();
    CloseWorldLog();
    return written ? 0 : 1;
}
