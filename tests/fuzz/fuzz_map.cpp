// Fuzz target: any bytes as a map file, with problem reports on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "world/map.h"
#include "world/world.h"

static void SwallowProblem(void *user, int line, const char *message) {
    // Touch the whole message so a bad string shows up under the sanitizers.
    *static_cast<size_t *>(user) += std::strlen(message) + (size_t)(line < 0);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    size_t seen = 0;
    LoadMapFromBuffer(reinterpret_cast<const char *>(data), size, SwallowProblem, &seen);
    // Counts are never above the pool size, whatever the file says.
    for (int k = 0; k < KIND_COUNT; k++)
        if (*KindCount(k) > POOL_SIZE) std::abort();
    return 0;
}
