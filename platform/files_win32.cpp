// The file calls on Windows, through its C library and one system call.
#include "platform/files.h"

#include <cerrno>

#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <sys/types.h>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#ifndef S_ISREG   // not every Windows C library has it
#define S_ISREG(mode) (((mode) & S_IFMT) == S_IFREG)
#endif

// Opening a file never blocks here; binary, so that no byte is translated.
int PlatformOpenRead(const char *path) { return _open(path, _O_RDONLY | _O_BINARY); }

bool PlatformRegularSize(int fd, uint64_t *bytes) {
    struct _stat64 st;
    if (_fstat64(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) return false;
    *bytes = uint64_t(st.st_size);
    return true;
}

long PlatformRead(int fd, void *buffer, size_t bytes) {
    const unsigned ask = bytes > (1u << 30) ? 1u << 30 : unsigned(bytes);
    return long(_read(fd, buffer, ask));
}

void PlatformClose(int fd) { _close(fd); }

PlatformPathInfo PlatformInspect(const char *path) {
    PlatformPathInfo info = {false, false, false, 0, 1};
    struct _stat64 st;
    if (_stat64(path, &st) != 0) return info;
    info.exists = true;
    info.regular = S_ISREG(st.st_mode);
    info.writable = (st.st_mode & _S_IWRITE) != 0;   // clear: the read-only attribute
    // The C library always says one name; the file system knows how many there are.
    HANDLE h = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        BY_HANDLE_FILE_INFORMATION fi;
        if (GetFileInformationByHandle(h, &fi)) info.links = unsigned(fi.nNumberOfLinks);
        CloseHandle(h);
    }
    return info;
}

// Windows links are followed by the calls themselves; nothing to resolve beforehand.
bool PlatformLinkTarget(const char *, std::string *target) {
    target->clear();
    return false;
}

// Windows files have a read-only attribute, not permission bits; a read-only file is never
// replaced, so the new file's defaults are right.
bool PlatformSetMode(FILE *, unsigned) { return true; }

FILE *PlatformCreateNew(const char *path) {
    int fd = _open(path, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    FILE *file = _fdopen(fd, "wb");
    if (!file) {
        const int saved = errno;
        _close(fd);
        remove(path);
        errno = saved;
    }
    return file;
}

bool PlatformSyncFile(FILE *file) { return _commit(_fileno(file)) == 0; }

bool PlatformReplace(const char *from, const char *to) {
    if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    const DWORD why = GetLastError();
    errno = why == ERROR_ACCESS_DENIED || why == ERROR_SHARING_VIOLATION ? EACCES : EIO;
    return false;
}

// A folder's entries need no separate flush on Windows: the rename was written through.
void PlatformSyncFolder(const std::string &) {}

int PlatformProcessId() { return _getpid(); }
