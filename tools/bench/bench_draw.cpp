// Drawing benchmark: one typical screen through DrawScene, with and without the debug text,
// beside the backdrop and overlay quads alone, the floor no picture of the game can go below.
//
//   kav_bench_draw [ROUNDS]
//
// Run under X (Xvfb) for a real buffer swap; SDL_VIDEODRIVER=offscreen works too, its swap
// does nothing. Every frame is swapped and finished. Prints "BENCH <name> <value> <unit>" lines.
#include <SDL.h>

#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <string>
#include <vector>

#include "render/gl.h"
#include "render/render.h"
#include "render/state.h"
#include "world/world.h"
#include "shell/window.h"

namespace {

// A texture built the way the picture loaders build theirs: mipmapped, linear, clamped.
unsigned int MakePicture(int w, int h, bool alpha, unsigned int seed) {
    std::vector<uint8_t> px((size_t)w * h * 4);
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            uint8_t *p = &px[((size_t)y * w + x) * 4];
            p[0] = (uint8_t)(x * 7 + seed);
            p[1] = (uint8_t)(y * 5 + seed * 3);
            p[2] = (uint8_t)((x ^ y) + seed * 11);
            // Pictures with alpha: an opaque blob in the middle, a clear border.
            const bool inside = x > w / 8 && x < w - w / 8 && y > h / 8 && y < h - h / 8;
            p[3] = alpha ? (inside ? 255 : 0) : 255;
        }
    }
    unsigned int name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gluBuild2DMipmaps(GL_TEXTURE_2D, alpha ? 4 : 3, w, h, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return name;
}

void MakeTextures() {
    backgroundTexture = MakePicture(256, 256, false, 1);
    for (int i = 0; i < 5; i++) overlayTextures[i] = MakePicture(256, 256, true, 20 + i);
    fontTexture = MakePicture(256, 256, false, 3);
    for (int i = 0; i < 25; i++) heroTextures[i] = MakePicture(32, 32, true, 40 + i);
    for (int i : {1, 2, 3, 8, 9}) tileTextures[i] = MakePicture(8, 8, false, 70 + i);
    for (int i = 0; i < 18; i++) shotTextures[i] = MakePicture(8, 8, true, 90 + i);
    for (int i = 0; i < 12; i++) explosionTextures[i] = MakePicture(32, 32, true, 110 + i);
    cannonTexture = MakePicture(16, 16, true, 130);
    twowaysTexture = MakePicture(16, 16, true, 131);
    for (int i = 0; i < 5; i++) cellingTextures[i] = MakePicture(16, 16, true, 132 + i);
    for (int i = 0; i < 4; i++) sondaTextures[i] = MakePicture(16, 16, true, 140 + i);
    for (int i = 0; i < 12; i++) trainTextures[i] = MakePicture(16, 16, true, 150 + i);
}

void PlaceObject(ObjectRecord &r, float x, float y, uint8_t face) {
    r = ObjectRecord{};
    r.x = x;
    r.y = y;
    r.face = face;
    r.active = 1;
    r.w = r.h = 16;
}

// A screen in play: walls round the edge and a few ledges, three objects of each kind,
// a dozen shots and two explosions, the hero mid-walk with the shield on.
void MakeTypicalScreen() {
    ResetWorld();
    for (int g = 0; g < GRID_ROWS; g++)
        for (int c = 0; c < GRID_COLS; c++)
            TileGrid[g][c] = (g < 2 || g > 21 || c == 0 || c == 31) ? TILE_SOLID : TILE_EMPTY;
    for (int c = 8; c < 16; c++) TileGrid[12][c] = TILE_LEDGE;
    for (int c = 20; c < 27; c++) TileGrid[16][c] = TILE_LEDGE;
    TileGrid[13][31] = TileGrid[14][31] = TILE_EXIT;

    cannonCount = twowaysCount = cellingCount = sondaCount = trainCount = 3;
    for (int i = 0; i < 3; i++) {
        PlaceObject(CannonPool[i], 40.0f + 60.0f * i, 24, (uint8_t)(i & 1));
        PlaceObject(TwoWayPool[i], 60.0f + 50.0f * i, 100, 1);
        PlaceObject(CeilingPool[i], 30.0f + 80.0f * i, 168, 1);
        PlaceObject(ProbePool[i], 70.0f + 40.0f * i, 104, (uint8_t)(i & 1));
        PlaceObject(TrainPool[i], 150.0f + 16.0f * i, 24, 0);
        TrainPool[i].frame = 4.0f * i;
    }
    for (int i = 0; i < 12; i++) {
        PlaceObject(ShotPool[i], 20.0f + 18.0f * i, 40.0f + 9.0f * i, (uint8_t)(i & 1));
        ShotPool[i].frame = (i < 6) ? 0.0f : 10.0f + (float)(i - 6);
    }
    for (int i = 0; i < 2; i++) {
        PlaceObject(ExplosionPool[i], 90.0f + 70.0f * i, 60, 1);
        ExplosionPool[i].frame = (i == 0) ? 2.0f : 6.0f;
        ExplosionPool[i].w = ExplosionPool[i].h = (i == 0) ? 8.0f : 24.0f;
    }
    HeroState = ObjectRecord{};
    HeroState.x = HERO_START_X;
    HeroState.y = HERO_START_Y;
    HeroState.frame = 3.4f;
    HeroState.face = 1;
    HeroState.shield = 1;
    HeroState.shieldframe = 22.0f;
    mapIndex = 0;
}

// The two full-screen quads every frame draws: the half-transparent backdrop and the overlay.
void DrawTwoQuads() {
    LoadScreenSpace();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glColor4f(1, 1, 1, 0.5f);
    glBindTexture(GL_TEXTURE_2D, backgroundTexture);
    DrawSprite(0, 0, 256, 192, 0, 0);
    glColor4f(1, 1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, overlayTextures[0]);
    DrawSprite(0, 0, 256, 192, 0, 0);
    glDisable(GL_BLEND);
}

double Now() { return (double)SDL_GetPerformanceCounter() / (double)SDL_GetPerformanceFrequency(); }

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

SDL_Window *window;

// Processor time of the whole process, the GL driver's drawing threads included.
double ProcessCpu() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

// Milliseconds per frame of `frames` frames of one drawing, each swapped and finished, on the
// wall clock and in processor time.
enum Drawing { QUADS, SCENE, SCENE_WITH_TEXT };
struct FrameTime {
    double wall, cpu;
};
FrameTime TimeFrames(Drawing what, int frames) {
    showInfo = what == SCENE_WITH_TEXT;
    const double t0 = Now(), c0 = ProcessCpu();
    for (int f = 0; f < frames; f++) {
        if (what == QUADS) DrawTwoQuads();
        else DrawScene();
        SDL_GL_SwapWindow(window);
        glFinish();
    }
    showInfo = false;
    return {(Now() - t0) * 1000.0 / frames, (ProcessCpu() - c0) * 1000.0 / frames};
}

// The three drawings in turn, round after round, so a machine busy with other work slows all
// of them alike; each round gives a ratio to the floor, and the figures are the medians over
// the rounds. The wall clock is the figure; processor time, which other work on the machine
// does not count, is the steadier second opinion.
void PairedComparison(int rounds, int framesPerBatch) {
    std::vector<double> quads, scene, text, sceneRatio, textRatio, sceneCpu, textCpu;
    for (int r = 0; r < rounds; r++) {
        const FrameTime q = TimeFrames(QUADS, framesPerBatch);
        const FrameTime s = TimeFrames(SCENE, framesPerBatch);
        const FrameTime t = TimeFrames(SCENE_WITH_TEXT, framesPerBatch);
        quads.push_back(q.wall);
        scene.push_back(s.wall);
        text.push_back(t.wall);
        sceneRatio.push_back(s.wall / q.wall);
        textRatio.push_back(t.wall / q.wall);
        sceneCpu.push_back(s.cpu / q.cpu);
        textCpu.push_back(t.cpu / q.cpu);
    }
    printf("BENCH draw_floor_ms %.3f ms\n", Median(quads));
    printf("BENCH draw_scene_ms %.3f ms\n", Median(scene));
    printf("BENCH draw_debug_text_ms %.3f ms\n", Median(text));
    printf("BENCH draw_ratio %.3f x\n", Median(sceneRatio));
    printf("BENCH debug_text_ratio %.3f x\n", Median(textRatio));
    printf("BENCH draw_cpu_ratio %.3f x\n", Median(sceneCpu));
    printf("BENCH debug_text_cpu_ratio %.3f x\n", Median(textCpu));
}

// The game's own pictures when the source tree has them, else made-up ones of like sizes.
void LoadPictures() {
    const std::string root = KAV_SOURCE_DIR;
    if (FILE *probe = fopen((root + "/gfx/back.bmp").c_str(), "rb")) {
        fclose(probe);
        char here[4096];
        if (getcwd(here, sizeof here) && chdir(root.c_str()) == 0) {
            LoadAssetTable();
            fprintf(stderr, "pictures: the game's gfx/ under %s\n", root.c_str());
            if (chdir(here) != 0) fprintf(stderr, "cannot go back to %s\n", here);
            return;
        }
    }
    fprintf(stderr, "pictures: made up (no gfx/ under %s)\n", root.c_str());
    MakeTextures();
}

}  // namespace

int main(int argc, char **argv) {
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 31;
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        fprintf(stderr, "SDL_Init failed: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    window = SDL_CreateWindow("kav bench", 0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, SDL_WINDOW_OPENGL);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context) {
        fprintf(stderr, "no GL context: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetSwapInterval(0);
    fprintf(stderr, "GL renderer: %s, video driver %s\n", (const char *)glGetString(GL_RENDERER),
            SDL_GetCurrentVideoDriver());
    ResizeView(WINDOW_WIDTH, WINDOW_HEIGHT);
    InitRenderState();
    LoadPictures();
    MakeTypicalScreen();
    for (int i = 0; i < 5; i++) TimeFrames(SCENE_WITH_TEXT, 2);   // warm every path up
    PairedComparison(rounds, 10);
    DeleteFontLists();
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
