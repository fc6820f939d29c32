// The file calls on POSIX systems.
#include "platform/files.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

int PlatformOpenRead(const char *path) { return open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC); }

bool PlatformRegularSize(int fd, uint64_t *bytes) {
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) return false;
    *bytes = uint64_t(st.st_size);
    return true;
}

long PlatformRead(int fd, void *buffer, size_t bytes) { return long(read(fd, buffer, bytes)); }

void PlatformClose(int fd) { close(fd); }

PlatformPathInfo PlatformInspect(const char *path) {
    PlatformPathInfo info = {false, false, false, 0, 0};
    struct stat st;
    if (stat(path, &st) != 0) return info;
    info.exists = true;
    info.regular = S_ISREG(st.st_mode);
    info.mode = unsigned(st.st_mode & 0777);
    info.links = unsigned(st.st_nlink);
    // Bits that let nobody write mean "read-only" even to a process that could write anyway.
    info.writable = (st.st_mode & 0222) != 0 && access(path, W_OK) == 0;
    return info;
}

bool PlatformLinkTarget(const char *path, std::string *target) {
    target->clear();
    struct stat st;
    if (lstat(path, &st) != 0 || !S_ISLNK(st.st_mode)) return false;
    char resolved[PATH_MAX];
    if (realpath(path, resolved)) *target = resolved;
    return true;
}

bool PlatformSetMode(FILE *file, unsigned mode) { return fchmod(fileno(file), mode_t(mode)) == 0; }

FILE *PlatformCreateNew(const char *path) {
    int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    FILE *file = fdopen(fd, "wb");
    if (!file) {
        const int saved = errno;
        close(fd);
        remove(path);
        errno = saved;
    }
    return file;
}

bool PlatformSyncFile(FILE *file) { return fsync(fileno(file)) == 0; }

bool PlatformReplace(const char *from, const char *to) { return rename(from, to) == 0; }

void PlatformSyncFolder(const std::string &folder) {
    int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

int PlatformProcessId() { return int(getpid()); }
