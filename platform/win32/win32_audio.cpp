// The Win32 backend's sound: waveOut from winmm, three step-sized buffers in turn. A step
// that finds all three still playing is dropped, so at most three steps are queued.
#include "platform/platform.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int BUFFERS = 3;
constexpr int MAX_FRAMES = 4096;

HWAVEOUT wave;
WAVEHDR headers[BUFFERS];
int16_t buffers[BUFFERS][MAX_FRAMES * 2];

void CloseWave() {
    if (!wave) return;
    waveOutReset(wave);
    for (WAVEHDR &h : headers)
        if (h.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(wave, &h, sizeof h);
    waveOutClose(wave);
    wave = nullptr;
}

}  // namespace

bool PlatformOpenAudio(int rate, int stepFrames) {
    if (stepFrames <= 0 || stepFrames > MAX_FRAMES) return false;
    WAVEFORMATEX format;
    std::memset(&format, 0, sizeof format);
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = (DWORD)rate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = (DWORD)rate * 4;
    const MMRESULT result = waveOutOpen(&wave, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL);
    if (result != MMSYSERR_NOERROR) {
        wave = nullptr;
        std::fprintf(stderr, "kav: no sound device (waveOut error %u); playing without sound\n", (unsigned)result);
        return false;
    }
    std::memset(headers, 0, sizeof headers);
    std::atexit(CloseWave);
    return true;
}

void PlatformQueueAudio(const int16_t *samples, int frames) {
    if (!wave || frames <= 0 || frames > MAX_FRAMES) return;
    for (int i = 0; i < BUFFERS; i++) {
        WAVEHDR &h = headers[i];
        if ((h.dwFlags & WHDR_PREPARED) && !(h.dwFlags & WHDR_DONE)) continue;   // still playing
        if (h.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(wave, &h, sizeof h);
        std::memcpy(buffers[i], samples, (size_t)frames * 4);
        std::memset(&h, 0, sizeof h);
        h.lpData = reinterpret_cast<LPSTR>(buffers[i]);
        h.dwBufferLength = (DWORD)frames * 4;
        if (waveOutPrepareHeader(wave, &h, sizeof h) != MMSYSERR_NOERROR ||
            waveOutWrite(wave, &h, sizeof h) != MMSYSERR_NOERROR) {
            std::fprintf(stderr, "kav: the sound device went away; playing on without sound\n");
            CloseWave();
        }
        return;
    }
    // All three still playing: the loop runs ahead of the sound, and this step is dropped.
}
