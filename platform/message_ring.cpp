// The message ring shared by the Win32 and browser backends.
#include "platform/message_ring.h"

static void Compact(MessageRing *ring) {
    bool keep[MESSAGE_RING_SIZE] = {};
    bool keySeen[256] = {};
    bool sizeSeen = false, activateSeen = false, closeSeen = false, quitSeen = false;
    // The newest message of a key, size or activation wins; the oldest close and quit do.
    for (int i = ring->count - 1; i >= 0; i--) {
        const PlatformMessage &m = ring->slots[(ring->head + i) % MESSAGE_RING_SIZE];
        if (m.kind == MSG_KEYDOWN || m.kind == MSG_KEYUP) {
            if (m.wParam < 256 && !keySeen[m.wParam]) keep[i] = keySeen[m.wParam] = true;
        } else if (m.kind == MSG_SIZE) {
            keep[i] = !sizeSeen;
            sizeSeen = true;
        } else if (m.kind == MSG_ACTIVATE) {
            keep[i] = !activateSeen;
            activateSeen = true;
        }
    }
    for (int i = 0; i < ring->count; i++) {
        const PlatformMessage &m = ring->slots[(ring->head + i) % MESSAGE_RING_SIZE];
        if (m.kind == MSG_CLOSE && !closeSeen) keep[i] = closeSeen = true;
        if (m.kind == MSG_QUIT && !quitSeen) keep[i] = quitSeen = true;
    }
    int kept = 0;
    for (int i = 0; i < ring->count; i++)
        if (keep[i])
            ring->slots[(ring->head + kept++) % MESSAGE_RING_SIZE] = ring->slots[(ring->head + i) % MESSAGE_RING_SIZE];
    ring->count = kept;
}

void RingPut(MessageRing *ring, const PlatformMessage &msg) {
    if (ring->count == MESSAGE_RING_SIZE) Compact(ring);
    if (ring->count == MESSAGE_RING_SIZE) return;   // cannot happen: at most 260 kinds stay
    ring->slots[(ring->head + ring->count) % MESSAGE_RING_SIZE] = msg;
    ring->count++;
}

bool RingTake(MessageRing *ring, PlatformMessage *msg) {
    if (ring->count == 0) return false;
    *msg = ring->slots[ring->head];
    ring->head = (ring->head + 1) % MESSAGE_RING_SIZE;
    ring->count--;
    return true;
}
