// Pictures into textures: Targa and bitmap files read whole, decoded, built with all mipmaps.
#include "render/images.h"

#include "render/gl.h"
#include "render/render.h"
#include "world/files.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifndef PATH_MAX   // a C library without the POSIX limit
#define PATH_MAX 4096
#endif

namespace {

// Filters, wrap mode and the mipmapped picture of the bound texture. Our pixel rows have
// no padding, so rows are unpacked byte-aligned for the build and the old setting put back.
void BuildBoundTexture(uint8_t clamp, int32_t components, int32_t width, int32_t height,
                       GLenum format, const uint8_t *pixels) {
    if (clamp) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    BuildMipmaps(components, width, height, format, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

void (*pictureFailureHandler)(const char *text);

void ShowBmpError(const char *text) {
    if (pictureFailureHandler) pictureFailureHandler(text);
}

}   // namespace

void SetPictureFailureHandler(void (*handler)(const char *text)) { pictureFailureHandler = handler; }

int32_t LoadTgaTexture(unsigned int *slot, const char *path, uint8_t clamp) {
    unsigned int unused = 0;
    if (!slot) slot = &unused;
    glGenTextures(1, slot);   // first of all: the slot always gets a fresh name
    if (!path) return 1;

    uint8_t *data;
    size_t size;
    switch (ReadFileAlloc(path, PICTURE_FILE_LIMIT, &data, &size)) {
    case FILE_READ_OK: break;
    case FILE_CANNOT_OPEN: return 1;
    case FILE_READ_ERROR: return 2;
    case FILE_TOO_LARGE:
    case FILE_NO_MEMORY: return 3;
    }
    TgaPicture picture;
    TgaReason reason = DecodeTga(data, size, &picture);
    free(data);
    switch (reason) {
    case TGA_DECODED: break;
    case TGA_SHORT_HEADER:
    case TGA_SHORT_DATA:
    case TGA_EMPTY: return 2;
    case TGA_BAD_DEPTH:
    case TGA_BAD_TYPE:
    case TGA_TOO_LARGE:
    case TGA_NO_MEMORY: return 3;
    }

    glBindTexture(GL_TEXTURE_2D, *slot);
    BuildBoundTexture(clamp, picture.bytesPerPixel, picture.width, picture.height,
                      picture.bytesPerPixel == 4 ? GL_RGBA : GL_RGB, picture.pixels);
    free(picture.pixels);
    return 0;
}

RgbImage *LoadBmpImage(const char *path) {
    if (!path) return nullptr;
    uint8_t *data;
    size_t size;
    switch (ReadFileAlloc(path, PICTURE_FILE_LIMIT, &data, &size)) {
    case FILE_READ_OK: break;
    case FILE_CANNOT_OPEN: return nullptr;
    case FILE_READ_ERROR: {
        char text[PATH_MAX + 64];   // any path the system opens, whole
        snprintf(text, sizeof text, "Failed to open DIB file %s.\n", path);
        ShowBmpError(text);
        return nullptr;
    }
    case FILE_TOO_LARGE:
    case FILE_NO_MEMORY: ShowBmpError("Out of memory."); return nullptr;
    }

    RgbImage decoded;
    BmpReason reason = DecodeBmp(data, size, &decoded);
    free(data);
    switch (reason) {
    case BMP_DECODED: break;
    case BMP_UNKNOWN_FORMAT: ShowBmpError("Unknown DIB file format."); return nullptr;
    case BMP_BAD_DATA: ShowBmpError("Image file conversion error."); return nullptr;
    case BMP_TOO_LARGE:
    case BMP_NO_MEMORY: ShowBmpError("Out of memory."); return nullptr;
    }
    RgbImage *image = static_cast<RgbImage *>(malloc(sizeof(RgbImage)));
    if (!image) {
        free(decoded.pixels);
        ShowBmpError("Out of memory.");
        return nullptr;
    }
    *image = decoded;
    return image;
}

void ReleaseRgbImage(RgbImage *image) {
    if (!image) return;
    free(image->pixels);
    free(image);
}

bool LoadBmpTexture(unsigned int *slot, const char *path, uint8_t clamp) {
    RgbImage *image = LoadBmpImage(path);
    if (!image) return false;
    unsigned int unused = 0;
    if (!slot) slot = &unused;
    glGenTextures(1, slot);
    glBindTexture(GL_TEXTURE_2D, *slot);
    BuildBoundTexture(clamp, 3, image->width, image->height, GL_RGB, image->pixels);
    ReleaseRgbImage(image);
    return true;
}
