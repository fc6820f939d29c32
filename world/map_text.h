// Map file text: the chunk and line readers and the pattern matcher the map loader uses.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int CHUNK_CHARS = 2;    // the grid is read two characters at a time
constexpr int LINE_CHARS = 254;   // longest line; the rest of a longer line is the next line

// A map file's bytes and the read position. Reading is in text mode: a CR LF pair reads
// as one newline (a lone CR stays a CR). Nothing is copied; data must outlive the reader.
struct MapText {
    const char *data;
    size_t size;
    size_t pos;
    int line;   // line number (from 1) of the next character
};

void OpenMapText(MapText &text, const char *data, size_t size);

// Reads the next chunk of at most CHUNK_CHARS characters, stopping after a newline, and
// throws away chunks that start with '/', '#' or a newline. Returns the chunk's length
// (0 once the text is used up: a missing chunk) and the line it started on.
size_t ReadMapChunk(MapText &text, char *buf, int *line);
// The same with at most LINE_CHARS characters: one line, comment and empty lines skipped.
// A line that begins with a blank is kept.
size_t ReadMapLine(MapText &text, char *buf, int *line);

// One field of a pattern: %d writes *i, %f writes *f.
struct MatchField {
    int32_t *i;
    float *f;
};

struct MatchResult {
    int fields;     // fields assigned, from the first on
    size_t stop;    // where in the text matching stopped
    bool complete;  // every character of the pattern was matched
};

// Matches text against a pattern from their starts. A literal must equal the next
// character (case counts); a blank or a newline in the pattern takes any run of white
// space, also none; %d and %f skip white space and read a number into the next field.
// Matching stops at the first misfit: fields read before it are assigned, later ones
// keep their values. A %d whose field has no int slot (or %f without a float slot)
// stops the match.
MatchResult MatchPattern(const char *text, size_t len, const char *pattern,
                         const MatchField *fields, int fieldCount);

// The two number readers behind %d and %f. Each skips white space first and returns the
// characters used, or 0 (value untouched) when no number is there.
// Integers: optional sign and decimal digits; values beyond the 32-bit range are held at
// INT32_MIN or INT32_MAX.
size_t ScanMapInt(const char *text, size_t len, int32_t *value);
// Reals: optional sign, digits with an optional point and fraction (at least one digit),
// optional exponent (e or E, optional sign, digits; an 'e' without digits is not taken).
// Magnitudes beyond the float range are held at FLT_MAX; ones below the smallest float
// become 0. "inf", "nan" and hexadecimal forms are not numbers here. The locale plays
// no part.
size_t ScanMapFloat(const char *text, size_t len, float *value);

bool IsMapSpace(char c);
