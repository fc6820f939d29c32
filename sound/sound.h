// The game's sound: the effects read from sfx/, what each step of the world sounds like,
// and the mixer that turns it into 48 kHz stereo 16-bit samples, one step's worth at a
// time. It reads the world and never writes it. Everything is static and fixed in size;
// nothing is allocated after the sounds are loaded.
#pragma once

#include <cstdint>
#include <cstdio>

// The effects, one per event a player should notice.
enum SoundId {
    SFX_HERO_SHOT,   // the hero fires
    SFX_SHELL,       // a cannon's shell leaves the barrel
    SFX_TWOWAYS,     // a two-way gun fires
    SFX_VOLLEY,      // a ceiling gun fires a volley
    SFX_ALARM,       // a ceiling gun's ray finds the hero
    SFX_EXPLOSION,   // a level object is destroyed
    SFX_SHOT_END,    // a shot ends against a wall, a floor or the hero
    SFX_JUMP,        // the hero leaves the ground with a jump
    SFX_LAND,        // the hero lands
    SFX_EXIT,        // the hero goes through an exit to another screen
    SFX_TRAIN,       // a train car rolls (a loop while any car moves)
    SFX_COUNT
};

constexpr int SOUND_RATE = 48000;                       // samples a second, each channel
constexpr int SOUND_STEP_FRAMES = SOUND_RATE / 60;      // one step's sound: 800 stereo frames
constexpr int SOUND_VOICES = 16;                        // effects heard at once, besides the train's loop
// Longest effect file taken, and room for all the effects' samples together.
constexpr size_t SFX_FILE_LIMIT = size_t(512) << 10;
constexpr uint32_t SFX_POOL_SAMPLES = 262144;

// The effect's file under the data folder: "sfx/shot.wav".
const char *SoundFileName(int id);

// Reads every effect through the game's file unit. A missing or damaged file leaves its
// effect silent, with one line on stderr naming it. Returns the number read.
int LoadSounds();
// Checks one effect file as LoadSounds would read it: null when it is good, else what is
// wrong with it ("cannot open the file", "not 16-bit PCM with one channel", ...).
const char *CheckSoundFile(const char *path);

// What one step did that is heard: per effect, how many times and the mean x of where
// (playfield units); and whether any train car moved, with the mean x of those that did.
struct StepSounds {
    int count[SFX_COUNT];
    float x[SFX_COUNT];
    bool trainMoving;
    float trainX;
};

// Takes note of the world as it stands, so that the next ListenToStep hears only what the
// step after this changed (at start-up, after the world is started).
void RememberWorld();
// Compares the world as the step left it with the note, fills *out and takes a new note.
void ListenToStep(StepSounds *out);

// Starts a voice for each effect the step made (one per effect, at the mean place), and
// sets the train's loop going or fading.
void PlayStepSounds(const StepSounds &heard);
// Starts one effect at playfield x. With every voice busy, the quietest (then the oldest)
// gives way.
void StartSound(int id, float x);
// Mixes the next step's sound into out: SOUND_STEP_FRAMES frames, left and right
// interleaved. Sums beyond 16 bits are clipped, never wrapped.
void MixSoundStep(int16_t *out);
// Stops every voice and the loop (the next mix is silence).
void StopAllSounds();
// The master volume, 0..100 (100 at start).
void SetSoundVolume(int volume);
// Voices playing now, the train's loop not counted.
int BusyVoices();
