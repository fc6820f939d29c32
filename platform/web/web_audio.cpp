// Browser backend's sound: Web Audio. The context is made when the player answers the start
// question, inside that click, as browsers require before they let a page make a sound.
// Each step's samples become one buffer scheduled right after the one before; a step that
// would be more than three steps ahead of the context's clock is dropped.
#include "platform/platform.h"

#include <emscripten.h>

// clang-format off
EM_JS(int, WebOpenAudio, (int rate), {
    var Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return 0;
    try {
        var ctx = new Context({sampleRate: rate});
        if (ctx.state !== "running") ctx.resume();
        Module.kavAudio = {ctx: ctx, rate: rate, next: 0, steps: 0, peak: 0};
        return 1;
    } catch (e) {
        err("kav: no sound device (" + e + "); playing without sound");
        return -1;
    }
});

EM_JS(void, WebQueueAudio, (const int16_t *samples, int frames), {
    var a = Module.kavAudio;
    if (!a) return;
    var ctx = a.ctx;
    if (ctx.state === "closed") {
        Module.kavAudio = null;
        err("kav: the sound device went away; playing on without sound");
        return;
    }
    var now = ctx.currentTime, length = frames / a.rate;
    if (a.next < now) a.next = now + length;   // a step ahead, at the start or after a gap
    if (a.next - now > 3 * length) return;      // the loop runs ahead of the sound
    var buffer = ctx.createBuffer(2, frames, a.rate);
    var left = buffer.getChannelData(0), right = buffer.getChannelData(1), at = samples >> 1;
    for (var i = 0; i < frames; i++) {
        left[i] = HEAP16[at + 2 * i] / 32768;
        right[i] = HEAP16[at + 2 * i + 1] / 32768;
        a.peak = Math.max(a.peak, Math.abs(HEAP16[at + 2 * i]), Math.abs(HEAP16[at + 2 * i + 1]));
    }
    var source = ctx.createBufferSource();
    source.buffer = buffer;
    source.connect(ctx.destination);
    source.start(a.next);
    a.next += length;
    a.steps++;
});
// clang-format on

bool PlatformOpenAudio(int rate, int) {
    const int opened = WebOpenAudio(rate);
    if (opened == 0) EM_ASM({ err("kav: this browser has no Web Audio; playing without sound"); });
    return opened == 1;
}

void PlatformQueueAudio(const int16_t *samples, int frames) { WebQueueAudio(samples, frames); }
