// The game's sound: the WAV reader on well-formed files, what each step is heard to do, the
// run's WAV file and the mixer at its limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "shell/audio.h"
#include "shell/game_step.h"
#include "shell/headless.h"
#include "shell/script.h"
#include "sound/sound.h"
#include "sound/wav.h"
#include "tests/unit/test_files.h"
#include "world/map.h"
#include "world/world.h"

namespace {

// The samples of a 48 kHz stereo file as the run writes it (empty when its header is not that).
std::vector<int16_t> RunWavSamples(const std::string &path) {
    const std::string f = ReadAll(path);
    if (f.size() < 44 || f.compare(0, 4, "RIFF") || f.compare(36, 4, "data") || f[22] != 2 ||
        (uint8_t)f[24] != 0x80 || (uint8_t)f[25] != 0xBB)
        return {};
    std::vector<int16_t> s((f.size() - 44) / 2);
    std::memcpy(s.data(), f.data() + 44, s.size() * 2);
    return s;
}

// A copy of the game's data whose sfx/ leaves out the effects named.
class SoundRun : public FolderTest {
protected:
    void SetUp() override {
        FolderTest::SetUp();
        namespace fs = std::filesystem;
        for (const char *folder : {"map", "sfx"})
            fs::copy(std::string(KAV_SOURCE_DIR) + "/" + folder, dir + "/" + folder, fs::copy_options::recursive);
    }
    void TearDown() override {
        dataFolder[0] = '\0';
        FolderTest::TearDown();
    }
    // Runs the script headless on map 0 with --audio-out; the run's samples, left and right.
    std::vector<int16_t> Run(const std::string &script, std::vector<int> silent = {}) {
        for (int id : silent) std::filesystem::remove(dir + "/" + SoundFileName(id));
        std::snprintf(dataFolder, sizeof dataFolder, "%s/", dir.c_str());
        std::vector<InputRun> runs;
        std::string error;
        EXPECT_TRUE(ParseKeyScript(script, "script", &runs, &error)) << error;
        RunSoundOptions options;
        options.outPath = dir + "/out.wav";
        EXPECT_TRUE(StartRunSound(options, &error)) << error;
        StartWorld(0);
        RunHeadlessSteps(runs, -1);
        EXPECT_TRUE(EndRunSound(&error)) << error;
        for (int id : silent)
            std::filesystem::copy(std::string(KAV_SOURCE_DIR) + "/" + SoundFileName(id), dir + "/" + SoundFileName(id));
        return RunWavSamples(dir + "/out.wav");
    }
};

// The first stereo frame at which two runs differ; -1 when they do not.
long FirstDifference(const std::vector<int16_t> &a, const std::vector<int16_t> &b) {
    for (size_t i = 0; i < a.size() && i < b.size(); i++)
        if (a[i] != b[i]) return (long)(i / 2);
    return a.size() == b.size() ? -1 : (long)(std::min(a.size(), b.size()) / 2);
}

}  // namespace

TEST(WavReader, ReadsTheSamplesPastOtherChunksAndTheirPadding) {
    const std::string file = WavFile({0, 1000, -32768, 32767}, 22050, "LIST" + Le32(3) + "abc" + '\0');
    WavSound s;
    ASSERT_EQ(DecodeWav(reinterpret_cast<const uint8_t *>(file.data()), file.size(), &s), WAV_DECODED);
    EXPECT_EQ(s.rate, 22050u);
    ASSERT_EQ(s.frames, 4u);
    EXPECT_EQ(WavSample(s, 1), 1000);
    EXPECT_EQ(WavSample(s, 2), -32768);
    EXPECT_EQ(WavSample(s, 3), 32767);
}

// Each effect begins at the step of its event: the run with the effect and the run without
// it agree up to that step's first samples (the effects rise from 0), and not after. The
// sound key silences the run.
TEST_F(SoundRun, TheShotAndTheExplosionStartAtTheirStepsAndNothingSoundsBefore) {
    const std::string script = "30\n1 SPACE\n120\n";
    const std::vector<int16_t> all = Run(script);
    ASSERT_EQ(all.size(), size_t(151) * SOUND_STEP_FRAMES * 2);
    // Nothing happens on map 0 before the shot: silence.
    for (size_t i = 0; i < size_t(30) * SOUND_STEP_FRAMES * 2; i++) ASSERT_EQ(all[i], 0) << "sample " << i;

    // The sound key pressed before the shot: nothing is heard.
    const std::vector<int16_t> muted = Run("1 S\n29\n1 SPACE\n120\n");
    EXPECT_EQ(std::count(muted.begin(), muted.end(), 0), (long)all.size());

    const long shot = FirstDifference(all, Run(script, {SFX_HERO_SHOT}));
    EXPECT_GE(shot, 30L * SOUND_STEP_FRAMES);
    EXPECT_LT(shot, 30L * SOUND_STEP_FRAMES + 4);

    // The step in which the first level object goes: its big explosion has not yet moved on.
    std::snprintf(dataFolder, sizeof dataFolder, "%s/", dir.c_str());
    std::vector<InputRun> runs;
    std::string error;
    ASSERT_TRUE(ParseKeyScript(script, "script", &runs, &error));
    int gone = -1;
    for (int steps = 1; steps <= 151 && gone < 0; steps++) {
        StartWorld(0);
        RunHeadlessSteps(runs, steps);
        for (const ObjectRecord &e : ExplosionPool)
            if (e.active && e.frameend == 11.0f && e.frame == 4.0f) gone = steps - 1;
    }
    ASSERT_GE(gone, 30) << "no object went in the run";
    const long blast = FirstDifference(all, Run(script, {SFX_EXPLOSION}));
    EXPECT_GE(blast, gone * (long)SOUND_STEP_FRAMES);
    EXPECT_LT(blast, gone * (long)SOUND_STEP_FRAMES + 4);
}

namespace {

// One step of the mixer as it stands.
std::vector<int16_t> MixStep() {
    std::vector<int16_t> out(SOUND_STEP_FRAMES * 2);
    MixSoundStep(out.data());
    return out;
}

int16_t Clip(long v) { return (int16_t)(v > 32767 ? 32767 : v < -32768 ? -32768 : v); }

}  // namespace

// The mixer at its limits: every voice busy with the loudest effect sums past 16 bits and is
// clipped, never wrapped; with all busy the quietest gives way; the train's loop goes round
// and fades; the volume scales the sum.
TEST(Mixer, AllVoicesBusyClipTheQuietestGivesWayTheLoopFadesAndTheVolumeScales) {
    std::snprintf(dataFolder, sizeof dataFolder, "%s/", KAV_SOURCE_DIR);
    ASSERT_EQ(LoadSounds(), SFX_COUNT);
    dataFolder[0] = '\0';
    SetSoundVolume(100);
    StopAllSounds();
    StartSound(SFX_EXPLOSION, 40.0f);
    const std::vector<int16_t> first = MixStep(), second = MixStep();   // one voice alone

    StopAllSounds();
    for (int i = 0; i < 40; i++) StartSound(SFX_EXPLOSION, 40.0f);
    EXPECT_EQ(BusyVoices(), SOUND_VOICES);
    std::vector<int16_t> all = MixStep();
    int clipped = 0;
    for (size_t k = 0; k < all.size(); k++) {
        ASSERT_EQ(all[k], Clip(16L * first[k])) << "sample " << k;
        clipped += all[k] == 32767 || all[k] == -32768;
    }
    EXPECT_GT(clipped, 100);

    // All sixteen equal and one step in: a short tick takes the oldest's place, and the next
    // explosion takes the tick's, the quietest.
    StartSound(SFX_SHOT_END, 40.0f);
    StartSound(SFX_EXPLOSION, 40.0f);
    all = MixStep();
    for (size_t k = 0; k < all.size(); k++) ASSERT_EQ(all[k], Clip(15L * second[k] + first[k])) << "sample " << k;

    // The train's loop: heard in every step while cars roll, round its end and on, then
    // faded out within one step and silent after.
    StopAllSounds();
    StepSounds rolling = {};
    rolling.trainMoving = true;
    rolling.trainX = 200.0f;
    for (int step = 0; step < 40; step++) {
        PlayStepSounds(rolling);
        all = MixStep();
        ASSERT_GT(std::count_if(all.begin(), all.end(), [](int16_t s) { return s != 0; }), 1000) << "step " << step;
    }
    PlayStepSounds(StepSounds{});
    all = MixStep();
    EXPECT_LT(std::abs(all[all.size() - 2]), 64);
    all = MixStep();
    EXPECT_EQ(std::count(all.begin(), all.end(), 0), (long)all.size());

    for (int volume : {50, 0}) {
        StopAllSounds();
        SetSoundVolume(volume);
        StartSound(SFX_EXPLOSION, 40.0f);
        all = MixStep();
        for (size_t k = 0; k < all.size(); k++) ASSERT_EQ(all[k], (first[k] * (volume * 256 / 100)) >> 8);
    }
    SetSoundVolume(100);
    StopAllSounds();
}

// Along the walkthrough of all five screens every effect is heard but the hero's shot (it never
// fires; the test above hears it): every jump ends in a landing (falls land too), and the
// exits are the four screen changes.
TEST(Listening, TheWalkthroughSoundsEveryOtherEffect) {
    std::vector<InputRun> runs;
    std::string error;
    ASSERT_TRUE(ReadKeyScript(std::string(KAV_SOURCE_DIR) + "/tests/fixtures/walkthrough.txt", &runs, &error)) << error;
    std::snprintf(dataFolder, sizeof dataFolder, "%s/", KAV_SOURCE_DIR);
    StartWorld(0);
    ScriptCursor cursor = {&runs, 0, 0};
    int heard[SFX_COUNT] = {}, trainSteps = 0;
    for (uint64_t keys; NextScriptStep(&cursor, &keys);) {
        HoldScriptKeys(keys);
        FrameUpdate();
        StepSounds step;
        ListenToStep(&step);
        for (int id = 0; id < SFX_COUNT; id++) heard[id] += step.count[id];
        trainSteps += step.trainMoving;
    }
    dataFolder[0] = '\0';
    for (int id = SFX_SHELL; id < SFX_TRAIN; id++) EXPECT_GT(heard[id], 0) << SoundFileName(id);
    EXPECT_EQ(heard[SFX_HERO_SHOT], 0);
    EXPECT_GT(trainSteps, 0);
    EXPECT_EQ(heard[SFX_EXIT], MAP_COUNT - 1);
    EXPECT_GE(heard[SFX_LAND], heard[SFX_JUMP]);
}
