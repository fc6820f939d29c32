// The null backend's sound: there is no device.
#include "platform/platform.h"

bool PlatformOpenAudio(int, int) { return false; }
void PlatformQueueAudio(const int16_t *, int) {}
