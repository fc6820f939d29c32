// Screenshots: the picture read back upright and whole at any width, through PNG and a file.
#include "test_render_gl.h"

#include "render/screenshot.h"
#include "shell/window.h"

#include <png.h>


// Pixel (x, y) of top-first RGB rows as "r g b".
static std::string At(const Bytes &rgb, int width, int x, int y) {
    const uint8_t *p = &rgb[((size_t)y * width + x) * 3];
    return std::to_string(p[0]) + " " + std::to_string(p[1]) + " " + std::to_string(p[2]);
}

// One pixel of the view set to a colour (window coordinates, from the bottom).
static void Paint(int x, int y, float r, float g, float b) {
    glScissor(x, y, 1, 1);
    glClearColor(r, g, b, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

TEST_F(RenderTest, ScreenshotsAreUprightAndWholeAtAnyWidth) {
    // Odd widths make rows that are not a multiple of four bytes long.
    for (int width : {WINDOW_WIDTH, 333, 1}) {
        const int height = 211;
        ResizeView(width, height);
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
        Paint(0, height - 1, 1, 0, 0);           // top left: red
        Paint(width - 1, height - 1, 1, 1, 0);   // top right: yellow (red again when one wide)
        Paint(width - 1, 0, 0, 1, 0);            // bottom right: green
        glDisable(GL_SCISSOR_TEST);

        Bytes rgb;
        int w = 0, h = 0;
        ASSERT_TRUE(ReadScreenPixels(&rgb, &w, &h));
        ASSERT_EQ(w, width);
        ASSERT_EQ(h, height);
        ASSERT_EQ(rgb.size(), (size_t)width * height * 3);
        EXPECT_EQ(At(rgb, w, 0, 0), width > 1 ? "255 0 0" : "255 255 0") << width;
        EXPECT_EQ(At(rgb, w, w - 1, 0), "255 255 0") << width;
        EXPECT_EQ(At(rgb, w, w - 1, h - 1), "0 255 0") << width;
        EXPECT_EQ(At(rgb, w, 0, h / 2), "0 0 255") << width;

        // The saved file decodes to the same pixels.
        const std::string path = dir + "/shot.png";
        std::string error;
        ASSERT_TRUE(SaveScreenshot(path.c_str(), &error)) << error;
        const Bytes file = ReadBytes(path);
        png_image image = {};
        image.version = PNG_IMAGE_VERSION;
        ASSERT_TRUE(png_image_begin_read_from_memory(&image, file.data(), file.size()));
        image.format = PNG_FORMAT_RGB;
        Bytes decoded(PNG_IMAGE_SIZE(image));
        ASSERT_TRUE(png_image_finish_read(&image, nullptr, decoded.data(), 0, nullptr));
        EXPECT_EQ(image.width, (unsigned)width);
        EXPECT_TRUE(decoded == rgb) << width;
    }
    // A folder that cannot take the file: false, a message naming it, nothing left behind.
    std::string error;
    EXPECT_FALSE(SaveScreenshot((dir + "/missing/shot.png").c_str(), &error));
    EXPECT_NE(error.find("missing/shot.png"), std::string::npos) << error;
    ResizeView(WINDOW_WIDTH, WINDOW_HEIGHT);
}
