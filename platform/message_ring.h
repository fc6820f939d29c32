// A fixed ring of finished messages, for the backends whose window system hands events over
// between the frame loop's calls (the Win32 window procedure, the browser's callbacks).
#pragma once

#include "platform/platform.h"

// Large enough for one message per key code and the few other kinds after compaction.
const int MESSAGE_RING_SIZE = 512;

struct MessageRing {
    PlatformMessage slots[MESSAGE_RING_SIZE];
    int head, count;
};

// Queues a message behind the others. A full ring is first compacted: the frame loop takes
// every waiting message before it runs the next frame, so only the last message of each key
// and the last size and activation can change what the game sees; those stay, with the
// first close and the first quit, in their order, and the rest go. What stays fits in half
// the ring, so a key-up always gets its slot.
void RingPut(MessageRing *ring, const PlatformMessage &msg);
// Takes the oldest message; false when the ring is empty.
bool RingTake(MessageRing *ring, PlatformMessage *msg);
