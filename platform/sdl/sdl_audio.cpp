// The SDL2 backend's sound: an audio device fed through SDL's queue, kept at most three
// steps deep.
#include "platform/platform.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace {

SDL_AudioDeviceID device;
Uint32 queueLimit;   // bytes: three steps of sound

// Without a chosen driver, SDL tries each in turn; ALSA with no sound card prints a dozen
// lines of its own on the way. A machine with no /dev/snd has no ALSA device, so it is
// passed over quietly; the file and null drivers are only for whoever asks for them.
bool StartAudioDriver() {
    const char *chosen = std::getenv("SDL_AUDIODRIVER");
    if (!(chosen && *chosen)) {
        struct stat st;
        const bool soundCards = stat("/dev/snd", &st) == 0;
        static char list[256];
        list[0] = '\0';
        for (int i = 0; i < SDL_GetNumAudioDrivers(); i++) {
            const char *name = SDL_GetAudioDriver(i);
            if (!std::strcmp(name, "disk") || !std::strcmp(name, "dummy")) continue;
            if (!std::strcmp(name, "alsa") && !soundCards) continue;
            if (std::strlen(list) + std::strlen(name) + 2 > sizeof list) break;
            if (list[0]) std::strcat(list, ",");
            std::strcat(list, name);
        }
        if (!list[0]) return false;
        SDL_SetHint(SDL_HINT_AUDIODRIVER, list);   // tried in turn
    }
    return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

}  // namespace

bool PlatformOpenAudio(int rate, int stepFrames) {
    if (!SDL_WasInit(SDL_INIT_AUDIO) && !StartAudioDriver()) {
        std::fprintf(stderr, "kav: no sound device found; playing without sound\n");
        return false;
    }
    SDL_AudioSpec want;
    SDL_zero(want);
    want.freq = rate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 512;   // about 11 ms a period at 48 kHz
    device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);   // SDL converts to what the device takes
    if (!device) {
        std::fprintf(stderr, "kav: no sound device (%s); playing without sound\n", SDL_GetError());
        return false;
    }
    queueLimit = (Uint32)stepFrames * 4 * 3;
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void PlatformQueueAudio(const int16_t *samples, int frames) {
    if (!device) return;
    if (SDL_GetAudioDeviceStatus(device) == SDL_AUDIO_STOPPED) {   // unplugged or lost
        std::fprintf(stderr, "kav: the sound device went away; playing on without sound\n");
        SDL_CloseAudioDevice(device);
        device = 0;
        return;
    }
    const Uint32 bytes = (Uint32)frames * 4;
    const Uint32 queued = SDL_GetQueuedAudioSize(device);
    if (queued + bytes > queueLimit) return;   // the loop runs ahead: drop
    // At the start, or after a frame came late and the queue ran dry: one step of silence
    // ahead, so that a frame a little late next time leaves no gap.
    static int16_t silence[4096 * 2];
    if (queued == 0 && bytes <= sizeof silence) SDL_QueueAudio(device, silence, bytes);
    SDL_QueueAudio(device, samples, bytes);
}
