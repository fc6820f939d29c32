// The system's own file calls under the game's file unit (world/files.cpp), one version per
// system: platform/files_posix.cpp and platform/files_win32.cpp. Every call sets errno on
// failure, so that the file unit can name the system's reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// Opens path for reading without blocking (a named pipe does not wait for a writer); the
// descriptor, or -1.
int PlatformOpenRead(const char *path);
// True when fd is a regular file; *bytes gets its size on disk.
bool PlatformRegularSize(int fd, uint64_t *bytes);
// Reads up to bytes into buffer: the count read, 0 at the end, -1 on failure.
long PlatformRead(int fd, void *buffer, size_t bytes);
void PlatformClose(int fd);

// What exists at path (a symbolic link followed), for a file about to be replaced.
struct PlatformPathInfo {
    bool exists;      // something is there
    bool regular;     // it is a regular file
    bool writable;    // its permission bits let it be written, and this process may write it
    unsigned mode;    // its permission bits (rwx for owner, group and others; 0 where files have none)
    unsigned links;   // how many names (hard links) it has
};
PlatformPathInfo PlatformInspect(const char *path);
// Whether path is a symbolic link; if so, *target gets the full path of what it leads to,
// or stays empty when it leads nowhere (a missing file, a loop).
bool PlatformLinkTarget(const char *path, std::string *target);
// Gives the open file the permission bits mode; does nothing where files have none.
bool PlatformSetMode(FILE *file, unsigned mode);
// A new file at path, open for binary writing; null (errno EEXIST) when path exists.
FILE *PlatformCreateNew(const char *path);
// Flushed to the disk itself, not only to the system.
bool PlatformSyncFile(FILE *file);
// Renames from over to in one step, replacing to if it exists.
bool PlatformReplace(const char *from, const char *to);
// Makes the entries of folder ("" for the working directory) last through a crash.
void PlatformSyncFolder(const std::string &folder);
// The running process's number, for names no other process picks.
int PlatformProcessId();
