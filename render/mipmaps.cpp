// Mipmap levels of a picture: each level half the size of the one above, down to 1 by 1.
#include "render/gl.h"
#include "render/images.h"

#include <cstdlib>

namespace {

// Level n + 1 from level n (size by size, rows without padding): each texel the mean of
// the 2 by 2 block above it, rounded to nearest (halves up), component by component. The
// two rows of a block are summed first, a loop the compiler widens.
template <int BPP>
void Halve(const uint8_t *__restrict src, int size, uint8_t *__restrict dst) {
    const int half = size / 2;
    const size_t row = size_t(size) * BPP;
    uint16_t sums[4096 * 4];
    for (int y = 0; y < half; y++, dst += size_t(half) * BPP) {
        const uint8_t *a = src + size_t(2 * y) * row;
        const uint8_t *b = a + row;
        for (size_t i = 0; i < row; i++) sums[i] = uint16_t(a[i] + b[i]);
        for (int x = 0; x < half; x++)
            for (int k = 0; k < BPP; k++)
                dst[x * BPP + k] = uint8_t((sums[2 * x * BPP + k] + sums[(2 * x + 1) * BPP + k] + 2) >> 2);
    }
}

bool PowerOfTwo(int32_t n) { return n > 0 && (n & (n - 1)) == 0; }

}  // namespace

void BuildMipmaps(int32_t components, int32_t width, int32_t height, unsigned int format,
                  const uint8_t *pixels) {
    // The levels of a square power-of-two picture are those gluBuild2DMipmaps makes, built
    // here without its general machinery (a tenth of the start-up). Other shapes, which it
    // scales first, and pictures larger than any of the game's, are left to it.
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    const int bpp = format == GL_RGBA ? 4 : 3;
    uint8_t *level = nullptr;
    if (width == height && PowerOfTwo(width) && width <= 4096 && width <= largest &&
        (format == GL_RGBA || format == GL_RGB))
        level = static_cast<uint8_t *>(malloc(2 * (size_t(width / 2) * size_t(width / 2) * bpp + 4)));
    if (!level) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, components, width, height, format, GL_UNSIGNED_BYTE, pixels);
        return;
    }
    glTexImage2D(GL_TEXTURE_2D, 0, components, width, width, 0, format, GL_UNSIGNED_BYTE, pixels);
    // Two halves of one block: each level is made from the one before into the other half.
    const size_t second = size_t(width / 2) * size_t(width / 2) * bpp;
    const uint8_t *above = pixels;
    uint8_t *below = level;
    for (int size = width, n = 1; size > 1; size /= 2, n++) {
        if (bpp == 4) Halve<4>(above, size, below);
        else Halve<3>(above, size, below);
        glTexImage2D(GL_TEXTURE_2D, n, components, size / 2, size / 2, 0, format, GL_UNSIGNED_BYTE, below);
        above = below;
        below = below == level ? level + second : level;
    }
    free(level);
}
