// Whole files in and out. Every data file the game and its tools read comes through here,
// and every complete file they write goes out through here.
//
// Reading takes regular files only: a directory, a named pipe or a device is "cannot open",
// found without blocking and without reading a byte. A file is read up to the size it has
// on disk, never "until the end" of something that has none.
//
// Writing is atomic: the contents go to a new file in the target's folder, are flushed to the
// disk and then renamed over the target. A reader sees the old file or the whole new one,
// never a part; a failed or killed write leaves the old file as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

enum FileReadResult {
    FILE_READ_OK = 0,
    FILE_CANNOT_OPEN,   // missing, not allowed, or not a regular file
    FILE_READ_ERROR,    // opened, but the read failed
    FILE_TOO_LARGE,     // more bytes than the caller takes
    FILE_NO_MEMORY,
};

// Reads the regular file at path whole into buffer. A file of more than capacity bytes is
// FILE_TOO_LARGE and nothing of it is read. *size gets the bytes read (0 on failure).
FileReadResult ReadFileInto(const char *path, void *buffer, size_t capacity, size_t *size);

// The same into one block from malloc, released by the caller with free(); a file of more
// than limit bytes is FILE_TOO_LARGE. An empty file gives a valid block and *size 0.
// *data is null on every failure.
FileReadResult ReadFileAlloc(const char *path, size_t limit, uint8_t **data, size_t *size);

// A few words for a failed read: "cannot open the file", "larger than the limit", ...
const char *FileReadText(FileReadResult result);

// One complete file being written. Begin, write to file, then Finish (or Abandon).
struct AtomicFile {
    FILE *file;
    std::string target;   // the file that is replaced at the end
    std::string temp;     // the new file until it is renamed over the target
};

// Opens a new temporary file next to path. The target, if it exists, must be a regular file
// that may be written and has no other name (a hard link would keep the earlier contents);
// the new file gets its permission bits. A link to a file is followed, so the link stays; a
// link that leads nowhere is refused. False with *error ("PATH: read-only; not replaced")
// when it cannot begin; then there is nothing to finish or abandon.
bool BeginAtomicFile(AtomicFile *out, const char *path, std::string *error);
// Flushes, syncs and closes the new file and renames it over the target. On any failure the
// new file is removed, the target is left as it was and the result is false with *error.
bool FinishAtomicFile(AtomicFile *out, std::string *error);
// Removes the new file; the target is left as it was.
void AbandonAtomicFile(AtomicFile *out);
// Writes the whole of data to a begun file and finishes it; on failure abandons it, with
// *error as FinishAtomicFile gives it.
bool WriteAndFinishAtomicFile(AtomicFile *out, const void *data, size_t size, std::string *error);

// The whole of data as the file at path, by way of the three calls above.
bool WriteFileAtomically(const char *path, const void *data, size_t size, std::string *error);

// Text from a file made safe to print in a message: printable ASCII as it stands, \n \r \t
// " and \ escaped with a backslash, every other byte as \xNN; cut after maxChars characters
// of the text with "..." appended. Always terminated; returns out.
const char *EscapedText(const char *text, size_t len, size_t maxChars, char *out, size_t outSize);
