// Start-up timer: preloaded into the game, it ends the process at the first buffer swap and
// prints how long the process took to get there (window, map and all 73 pictures), on the
// wall clock and in processor time.
//
//   KAV_T0=$(date +%s%N) LD_PRELOAD=<build>/tools/bench/libkav_startup_probe.so ./kav --windowed
// KAV_T0 (nanoseconds since the epoch, taken just before the start) gives a precise origin;
// without it the kernel's start time of the process is used, to the nearest clock tick.
#include <dlfcn.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

// Seconds since the process started, from the kernel's own start time of the process.
static double SinceProcessStart() {
    FILE *f = std::fopen("/proc/self/stat", "r");
    if (!f) return -1.0;
    unsigned long long start = 0;
    // Field 22 is the start time in clock ticks after boot; the command name may hold
    // blanks, so skip to the closing parenthesis first.
    int c;
    while ((c = std::fgetc(f)) != EOF && c != ')') {}
    for (int field = 3; field < 22; field++)
        if (std::fscanf(f, " %*s") != 0) break;
    if (std::fscanf(f, " %llu", &start) != 1) start = 0;
    std::fclose(f);
    timespec boot;
    clock_gettime(CLOCK_BOOTTIME, &boot);
    const double now = (double)boot.tv_sec + (double)boot.tv_nsec * 1e-9;
    return now - (double)start / (double)sysconf(_SC_CLK_TCK);
}

static double SinceT0() {
    const char *t0 = std::getenv("KAV_T0");
    if (!t0 || !*t0) return SinceProcessStart();
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return ((double)now.tv_sec * 1e9 + (double)now.tv_nsec - std::strtod(t0, nullptr)) * 1e-9;
}

extern "C" void SDL_GL_SwapWindow(void *window) {
    using Swap = void (*)(void *);
    static Swap real = (Swap)dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    if (real) real(window);
    const double wall = SinceT0() * 1000.0;
    // Processor time of every thread of the process (the GL driver's own threads too): on a
    // busy machine a steadier second opinion than the wall clock.
    rusage use;
    getrusage(RUSAGE_SELF, &use);
    const double cpu = (double)(use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1000.0 +
                       (double)(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1000.0;
    std::printf("first frame swapped %.1f ms after the process started, %.1f ms of processor time\n",
                wall, cpu);
    std::fflush(stdout);
    _exit(0);
}
