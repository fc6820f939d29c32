// The sound of a run: the effects loaded, each step's sound mixed after the step, played on
// the platform's audio device and/or written to a WAV file (--audio-out).
#pragma once

#include <string>

struct RunSoundOptions {
    bool device = false;       // play on the platform's audio device (window runs)
    std::string outPath;       // write everything mixed to this WAV file; empty: no file
    int volume = 100;          // 0..100
};

// The key that switches the sound off and on (once per press).
constexpr int KEY_SOUND = 'S';

// Loads the effects and opens what the options ask for. With neither a device nor a file
// nothing is done and every step stays silent. False with *error when the file cannot be
// begun (nothing else fails: no device means silence, said once on stderr).
bool StartRunSound(const RunSoundOptions &options, std::string *error);
// After each step of the game: hears what the step did, mixes one step's sound, hands it
// to the device and the file. Does nothing when the run has no sound.
void RunSoundStep();
// Ends the run's sound: the WAV file finished. False with *error
// when the file could not be written (the earlier file is then left as it was).
bool EndRunSound(std::string *error);
