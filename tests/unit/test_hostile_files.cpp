// Hostile files: what a missing file, a named pipe, an endless device or a folder does to each
// reader. Nothing waits, nothing grows without bound; a bitmap that cannot be decoded is
// reported in its own words.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/null/null_platform.h"
#include "render/images.h"
#include "render/render.h"
#include "shell/window.h"
#include "sound/sound.h"
#include "sound/wav.h"
#include "tests/unit/test_files.h"
#include "world/files.h"
#include "world/map.h"
#include "world/world.h"

namespace {

class HostileFiles : public FolderTest {
protected:
    void SetUp() override {
        FolderTest::SetUp();
        alarm(20);   // a reader that waits on a pipe ends the test instead of hanging it
        nullMessageBoxes.clear();
        SetPictureFailureHandler(ShowPictureFailure);   // as the game sets it
    }
    void TearDown() override {
        alarm(0);
        SetPictureFailureHandler(nullptr);
        FolderTest::TearDown();
    }
};

}   // namespace

// Each reader meets each kind of file that is not a plain one. Outcomes: the map loader's log
// line (the grid untouched), the bitmap loader's silence, the sound check's reason. (The data
// checker meets a named pipe in its own test; the game's own data passes it in the install test.)
TEST_F(HostileFiles, EachReaderRefusesWhatItCannotUseWithItsUsualOutcome) {
    const std::string fifo = dir + "/pipe", folder = dir + "/folder";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    const std::string log = dir + "/world.log";

    EXPECT_EQ(LoadBmpImage(nullptr), nullptr);
    for (const std::string &path : {fifo, folder, std::string("/dev/zero"), dir + "/absent"}) {
        SCOPED_TRACE(path);
        OpenWorldLog(log.c_str());
        TileGrid[5][5] = 7;
        LoadMap(path.c_str());
        CloseWorldLog();
        EXPECT_EQ(ReadAll(log), "cannot open " + path + "\n");
        EXPECT_EQ(TileGrid[5][5], 7);

        EXPECT_EQ(LoadBmpImage(path.c_str()), nullptr);
        EXPECT_EQ(nullMessageBoxes.size(), 0u);

        EXPECT_STREQ(CheckSoundFile(path.c_str()), "cannot open the file");
    }
}

// Each way a bitmap can fail shows one message box of its own, captioned "Error"; a missing
// one (above) shows none. (Which files the decoder refuses for which reason is its own tests'.)
TEST_F(HostileFiles, EachBitmapFailureShowsItsOwnMessage) {
    const struct { int at, value; size_t cut; const char *text; } cases[] = {
        {14, 108, 0, "Unknown DIB file format."},         // a version 4 header
        {28, 2, 0, "Image file conversion error."},       // 2 bits a pixel
        {21, 0x40, 0, "Out of memory."},                  // width 0x40000002
    };
    for (const auto &c : cases) {
        std::string file = Bmp2x2();
        file[c.at] = char(c.value);
        file.resize(file.size() - c.cut);
        nullMessageBoxes.clear();
        EXPECT_EQ(LoadBmpImage(WriteAll(dir + "/a.bmp", file).c_str()), nullptr) << c.text;
        ASSERT_EQ(nullMessageBoxes.size(), 1u) << c.text;
        EXPECT_EQ(nullMessageBoxes[0].text, c.text);
        EXPECT_EQ(nullMessageBoxes[0].caption, "Error");
        EXPECT_EQ(nullMessageBoxes[0].buttons, MB_OK_);
    }
}

// Damaged WAV files: each is refused with its reason, the walk never reads past the end
// (the sanitizer build would say so), and the game leaves that one sound silent with one line.
TEST_F(HostileFiles, EachDamagedSoundIsRefusedWithItsReason) {
    const std::string whole = WavFile({0x6261, 0x6463}, 24000);   // "abcd"
    const std::string fmt = whole.substr(12, 24), samples = whole.substr(36);
    auto riff = [&](const std::string &body) { return "RIFF" + Le32(uint32_t(body.size() + 4)) + "WAVE" + body; };
    auto with = [&](size_t at, const std::string &bytes) { std::string f = fmt; return f.replace(at, bytes.size(), bytes); };
    const struct { std::string file; WavReason reason; } cases[] = {
        {"", WAV_NOT_WAVE},
        {"RIFF\x04\0\0\0WAVX", WAV_NOT_WAVE},
        {riff(samples), WAV_NO_FORMAT},
        {riff(fmt.substr(0, 20)), WAV_NO_FORMAT},                           // the format chunk cut short
        {riff("junk" + Le32(0xFFFFFFF0u) + fmt + samples), WAV_NO_FORMAT},  // a chunk claiming 4 GB
        {riff(with(8, std::string("\x03\0", 2)) + samples), WAV_NOT_TAKEN},   // floating point
        {riff(with(10, std::string("\x02\0", 2)) + samples), WAV_NOT_TAKEN},  // stereo
        {riff(with(22, std::string("\x08\0", 2)) + samples), WAV_NOT_TAKEN},  // 8 bits
        {riff(with(12, Le32(4000)) + samples), WAV_BAD_RATE},
        {riff(with(12, Le32(0xFFFFFFFFu)) + samples), WAV_BAD_RATE},
        {riff(fmt), WAV_NO_DATA},
        {riff(fmt + "data" + Le32(1) + "a"), WAV_NO_DATA},
        {riff(fmt + "data" + Le32(0xFFFFFFFFu) + "abcd"), WAV_SHORT_DATA},
        {riff(samples + fmt), WAV_DECODED},                                 // the order of chunks is free
    };
    for (const auto &c : cases) {
        WavSound sound;
        EXPECT_EQ(DecodeWav(reinterpret_cast<const uint8_t *>(c.file.data()), c.file.size(), &sound), c.reason)
            << WavReasonText(c.reason) << " in " << c.file.size() << " bytes";
    }

    std::filesystem::copy(std::string(KAV_SOURCE_DIR) + "/sfx", dir + "/sfx");
    WriteAll(dir + "/sfx/jump.wav", cases[4].file);
    std::snprintf(dataFolder, sizeof dataFolder, "%s/", dir.c_str());
    testing::internal::CaptureStderr();
    const int loaded = LoadSounds();
    const std::string said = testing::internal::GetCapturedStderr();
    dataFolder[0] = '\0';
    EXPECT_EQ(loaded, SFX_COUNT - 1);
    EXPECT_EQ(said, "kav: sfx/jump.wav: no whole format chunk; that sound stays silent\n");
}

// Replacing a file keeps what it was: its permission bits, and a link to it stays a link. A
// target that cannot be replaced without changing what it was is refused, untouched: one
// whose bits say read-only, one with a second name (a hard link, which a rename would leave
// holding the earlier contents), and a link that leads to no file.
TEST_F(HostileFiles, ReplacingAFileKeepsItsPermissionsOrRefusesIt) {
    const std::string target = dir + "/t", other = dir + "/other";
    struct Case {
        const char *what;
        std::function<void()> make;   // sets up target
        const char *refusal;          // null: replaced
        unsigned mode;                // the bits the file at target has afterwards
    };
    const mode_t mask = umask(022);
    umask(mask);
    const auto file = [&](mode_t mode) {
        WriteAll(target, std::string("earlier"));
        chmod(target.c_str(), mode);
    };
    const Case cases[] = {
        {"new", [] {}, nullptr, 0666u & ~unsigned(mask)},
        {"private", [&] { file(0600); }, nullptr, 0600},
        {"shared", [&] { file(0755); }, nullptr, 0755},
        {"read-only", [&] { file(0444); }, "read-only; not replaced", 0444},
        {"hard link", [&] { file(0644); ASSERT_EQ(link(target.c_str(), other.c_str()), 0); }, "has other names (hard links); not replaced", 0644},
        {"link to a file",
         [&] {
             WriteAll(other, std::string("earlier"));
             chmod(other.c_str(), 0640);
             ASSERT_EQ(symlink("other", target.c_str()), 0);
         },
         nullptr, 0640},
        {"dangling link", [&] { ASSERT_EQ(symlink("other", target.c_str()), 0); }, "a link to no file; not replaced", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(target);
        std::filesystem::remove(other);
        c.make();
        const bool wasLink = std::filesystem::is_symlink(target);
        std::string error;
        const bool written = WriteFileAtomically(target.c_str(), "new", 3, &error);
        EXPECT_EQ(written, c.refusal == nullptr) << error;
        if (c.refusal) {
            EXPECT_NE(error.find(c.refusal), std::string::npos) << error;
        }
        EXPECT_EQ(std::filesystem::is_symlink(target), wasLink);
        struct stat st;
        if (c.mode) {
            ASSERT_EQ(stat(target.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, c.mode);
            EXPECT_EQ(ReadAll(target), c.refusal ? "earlier" : "new");
        } else {
            EXPECT_NE(stat(target.c_str(), &st), 0);   // the link still leads nowhere
        }
        if (std::filesystem::exists(other) && !wasLink) {
            EXPECT_EQ(ReadAll(other), "earlier");
        }
        size_t files = 0;
        for (const auto &entry : std::filesystem::directory_iterator(dir)) files += entry.path().filename().string()[0] == '.';
        EXPECT_EQ(files, 0u) << "a temporary file was left";
    }
}
