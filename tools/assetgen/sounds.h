// The game's sound effects: each one synthesised from a small table of parameters and
// written as a 16-bit mono PCM WAV file into sfx/.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Rate of every effect file; the game's mixer plays any rate from 8000 to 48000 Hz.
constexpr int SFX_FILE_RATE = 24000;

// The samples of one effect, by its file name under sfx/ ("shot.wav"); empty when the name
// is not one of the effects.
std::vector<int16_t> SynthesiseSound(const std::string &file);
// The file names of every effect, in the game's order.
std::vector<std::string> SoundFileNames();

// A 16-bit PCM WAV file: the 44-byte header (RIFF, fmt, data) and the samples, channels
// interleaved.
std::vector<uint8_t> EncodeWav(const std::vector<int16_t> &samples, int rate, int channels);

// Writes every effect into outDir. False with a message on the first problem.
bool GenerateSounds(const std::string &outDir, std::string *error);
