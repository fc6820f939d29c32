// Screenshots through libpng, or our own PNG writer where there is none; the file is
// written atomically.
#include "render/screenshot.h"

#include "render/gl.h"
#include "render/png.h"
#include "world/files.h"

#include <cstring>

#ifdef KAV_HAVE_PNG
#include <png.h>
#endif

bool ReadScreenPixels(std::vector<uint8_t> *rgb, int *width, int *height) {
    GLint view[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, view);
    *width = view[2];
    *height = view[3];
    if (*width <= 0 || *height <= 0) return false;
    // RGBA is the one form every GL reads back, the browser's WebGL included; the read
    // buffer is the back buffer, where the picture was just drawn, as the context starts.
    std::vector<uint8_t> rgba((size_t)*width * *height * 4);
    GLint packAlignment;
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(view[0], view[1], *width, *height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
    // GL gives the bottom row first; a picture file starts at the top.
    rgb->resize((size_t)*width * *height * 3);
    uint8_t *out = rgb->data();
    for (int y = *height - 1; y >= 0; y--) {
        const uint8_t *in = rgba.data() + (size_t)*width * 4 * y;
        for (int x = 0; x < *width; x++, in += 4, out += 3) std::memcpy(out, in, 3);
    }
    return true;
}

#ifdef KAV_HAVE_PNG
static void AppendPngBytes(png_structp png, png_bytep data, png_size_t length) {
    auto *out = static_cast<std::vector<uint8_t> *>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

static void FlushPngBytes(png_structp) {}

bool EncodePng(const uint8_t *rgb, int width, int height, std::vector<uint8_t> *out, std::string *error) {
    out->clear();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        *error = "no memory for the PNG writer";
        return false;
    }
    std::vector<png_bytep> rows(height);
    for (int y = 0; y < height; y++) rows[y] = const_cast<png_bytep>(rgb + (size_t)width * 3 * y);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        *error = "the PNG writer failed";
        return false;
    }
    png_set_write_fn(png, out, AppendPngBytes, FlushPngBytes);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}
#else
// Without libpng (Windows, the browser): our own writer, uncompressed but a PNG all the same.
bool EncodePng(const uint8_t *rgb, int width, int height, std::vector<uint8_t> *out, std::string *error) {
    *out = EncodeStoredPng(rgb, width, height, 3);
    if (out->empty()) *error = "the picture is too big for a PNG file";
    return !out->empty();
}
#endif

bool SaveScreenshot(const char *path, std::string *error) {
    std::vector<uint8_t> rgb, png;
    int width, height;
    if (!ReadScreenPixels(&rgb, &width, &height)) {
        *error = std::string(path) + ": no picture to save";
        return false;
    }
    std::string why;
    if (!EncodePng(rgb.data(), width, height, &png, &why)) {
        *error = std::string(path) + ": the screenshot was not saved: " + why;
        return false;
    }
    if (!WriteFileAtomically(path, png.data(), png.size(), &why)) {   // names the file itself
        *error = "the screenshot was not saved: " + why;
        return false;
    }
    return true;
}
