// Files for the tests: a folder of their own, whole files read and written, small pictures and
// sounds as bytes.
#pragma once

#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// The bytes of a file ("" when it cannot be read).
inline std::string ReadAll(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
inline std::vector<uint8_t> ReadBytes(const std::string &path) {
    const std::string s = ReadAll(path);
    return std::vector<uint8_t>(s.begin(), s.end());
}

// Writes a file whole; gives its path back.
template <class Data> std::string WriteAll(const std::string &path, const Data &bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(bytes.data()), bytes.size());
    return path;
}

// What `print` writes to the stream it is given, as text.
template <class Print> std::string Printed(Print print) {
    FILE *f = std::tmpfile();
    print(f);
    std::rewind(f);
    std::string text;
    for (int c; (c = std::fgetc(f)) != EOF;) text += char(c);
    std::fclose(f);
    return text;
}

// A test with a fresh folder of its own, `dir`, removed afterwards.
class FolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/kav_test_XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir = name;
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    std::string dir;
};

// A Targa file: the header fields given, then the body as stored.
template <class Body = std::string>
std::string TgaFile(int type, int depth, int width, int height, const Body &body = Body(), int descriptor = 0) {
    std::string f(18, '\0');
    f[2] = char(type);
    f[12] = char(width), f[13] = char(width >> 8), f[14] = char(height), f[15] = char(height >> 8);
    f[16] = char(depth), f[17] = char(descriptor);
    return f.append(body.begin(), body.end());
}

// A 2 by 2 24-bit bitmap file: red and green on the bottom row, blue and white on top, rows
// padded to 8 bytes.
inline std::string Bmp2x2() {
    std::string f = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0};
    f.resize(54, '\0');
    return f + std::string("\0\0\xff\0\xff\0\0\0\xff\0\0\xff\xff\xff\0\0", 16);
}

// A little-endian 32-bit field, and a mono 16-bit WAV file with the chunks `before` between
// its header and its format chunk.
inline std::string Le32(uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }
inline std::string WavFile(const std::vector<int16_t> &samples, uint32_t rate, const std::string &before = "") {
    std::string data;
    for (int16_t v : samples) data += {char(v), char(uint16_t(v) >> 8)};
    const std::string body = "WAVE" + before + "fmt " + Le32(16) + Le32(0x10001) + Le32(rate) + Le32(rate * 2) +
                             Le32(0x100002) + "data" + Le32(uint32_t(data.size())) + data;
    return "RIFF" + Le32(uint32_t(body.size())) + body;
}
