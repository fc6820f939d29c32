// Whole regular files read without blocking; whole files written by rename over the old one.
#include "world/files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/files.h"

namespace {

// Opens path for reading when it is a regular file; -1 otherwise. *bytes gets its size.
int OpenRegular(const char *path, uint64_t *bytes) {
    if (!path || !*path) return -1;
    int fd = PlatformOpenRead(path);
    if (fd < 0) return -1;
    if (!PlatformRegularSize(fd, bytes)) {
        PlatformClose(fd);
        return -1;
    }
    return fd;
}

// Reads up to want bytes; fewer when the file turned out shorter than its size said.
bool ReadUpTo(int fd, uint8_t *buffer, size_t want, size_t *got) {
    size_t done = 0;
    while (done < want) {
        size_t ask = want - done;
        if (ask > (size_t(1) << 30)) ask = size_t(1) << 30;
        const long n = PlatformRead(fd, buffer + done, ask);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        done += size_t(n);
    }
    *got = done;
    return true;
}

// "path: what (the system's reason)[; tail]".
std::string Describe(const std::string &path, const char *what, const char *tail = nullptr) {
    std::string text = path + ": " + what;
    if (errno) text += std::string(" (") + std::strerror(errno) + ")";
    if (tail) text += std::string("; ") + tail;
    return text;
}

// The folder part of path, with its separator ("" for a bare name).
std::string FolderOf(const std::string &path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}   // namespace

FileReadResult ReadFileInto(const char *path, void *buffer, size_t capacity, size_t *size) {
    *size = 0;
    uint64_t bytes = 0;
    int fd = OpenRegular(path, &bytes);
    if (fd < 0) return FILE_CANNOT_OPEN;
    if (bytes > capacity) {
        PlatformClose(fd);
        return FILE_TOO_LARGE;
    }
    bool ok = ReadUpTo(fd, static_cast<uint8_t *>(buffer), size_t(bytes), size);
    PlatformClose(fd);
    if (!ok) *size = 0;
    return ok ? FILE_READ_OK : FILE_READ_ERROR;
}

FileReadResult ReadFileAlloc(const char *path, size_t limit, uint8_t **data, size_t *size) {
    *data = nullptr;
    *size = 0;
    uint64_t bytes = 0;
    int fd = OpenRegular(path, &bytes);
    if (fd < 0) return FILE_CANNOT_OPEN;
    if (bytes > limit) {
        PlatformClose(fd);
        return FILE_TOO_LARGE;
    }
    uint8_t *buffer = static_cast<uint8_t *>(malloc(bytes ? size_t(bytes) : 1));
    if (!buffer) {
        PlatformClose(fd);
        return FILE_NO_MEMORY;
    }
    bool ok = ReadUpTo(fd, buffer, size_t(bytes), size);
    PlatformClose(fd);
    if (!ok) {
        free(buffer);
        *size = 0;
        return FILE_READ_ERROR;
    }
    *data = buffer;
    return FILE_READ_OK;
}

const char *FileReadText(FileReadResult result) {
    switch (result) {
    case FILE_READ_OK: return "read";
    case FILE_CANNOT_OPEN: return "cannot open the file";
    case FILE_READ_ERROR: return "cannot read the file";
    case FILE_TOO_LARGE: return "larger than the game reads";
    case FILE_NO_MEMORY: return "out of memory while reading the file";
    }
    return "cannot read the file";
}

bool BeginAtomicFile(AtomicFile *out, const char *path, std::string *error) {
    out->file = nullptr;
    out->target = path ? path : "";
    out->temp.clear();
    errno = 0;
    if (out->target.empty()) {
        *error = "no file name given";
        return false;
    }
    // Writing through a link replaces what it points to, and keeps the link. A link that
    // leads nowhere is not replaced by a plain file.
    std::string linked;
    if (PlatformLinkTarget(path, &linked)) {
        if (linked.empty()) {
            errno = 0;
            *error = Describe(out->target, "a link to no file", "not replaced");
            return false;
        }
        out->target = linked;
    }
    const PlatformPathInfo was = PlatformInspect(out->target.c_str());
    const char *refusal = nullptr;
    if (was.exists && !was.regular) refusal = "not a regular file";
    else if (was.exists && !was.writable) refusal = "read-only";
    // Renaming over a file with other names would leave them with the earlier contents.
    else if (was.exists && was.links > 1) refusal = "has other names (hard links)";
    if (refusal) {
        errno = 0;
        *error = Describe(out->target, refusal, "not replaced");
        return false;
    }
    // The new file's name: the target's, hidden, with the process and a counter after it.
    std::string folder = FolderOf(out->target);
    std::string base = out->target.substr(folder.size());
    static unsigned counter;
    for (int attempt = 0; attempt < 100; attempt++) {
        out->temp = folder;
        out->temp.append(".").append(base).append(".new-").append(std::to_string(PlatformProcessId()));
        out->temp.append("-").append(std::to_string(counter++));
        errno = 0;
        out->file = PlatformCreateNew(out->temp.c_str());
        if (out->file && was.exists && !PlatformSetMode(out->file, was.mode)) {
            const int saved = errno;
            AbandonAtomicFile(out);
            errno = saved;
            break;
        }
        if (out->file) return true;
        if (errno != EEXIST) break;
    }
    *error = Describe(out->target, "cannot be written");
    out->temp.clear();
    return false;
}

bool FinishAtomicFile(AtomicFile *out, std::string *error) {
    if (!out->file) {
        *error = out->target + ": cannot be written";
        return false;
    }
    errno = 0;
    bool ok = fflush(out->file) == 0 && !ferror(out->file);
    ok = ok && PlatformSyncFile(out->file);
    int savedErrno = errno;
    if (fclose(out->file) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    out->file = nullptr;
    if (ok && !PlatformReplace(out->temp.c_str(), out->target.c_str())) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        remove(out->temp.c_str());
        errno = savedErrno;
        *error = Describe(out->target, "write error", "the earlier file is left as it was");
        return false;
    }
    // The rename itself lasts through a crash once the folder's entry list is on the disk.
    PlatformSyncFolder(FolderOf(out->target));
    return true;
}

void AbandonAtomicFile(AtomicFile *out) {
    if (out->file) fclose(out->file);
    out->file = nullptr;
    if (!out->temp.empty()) remove(out->temp.c_str());
}

bool WriteAndFinishAtomicFile(AtomicFile *out, const void *data, size_t size, std::string *error) {
    errno = 0;
    if (out->file && size && fwrite(data, 1, size, out->file) != size) {
        int savedErrno = errno;
        AbandonAtomicFile(out);
        errno = savedErrno;
        *error = Describe(out->target, "write error", "the earlier file is left as it was");
        return false;
    }
    return FinishAtomicFile(out, error);
}

bool WriteFileAtomically(const char *path, const void *data, size_t size, std::string *error) {
    AtomicFile file;
    return BeginAtomicFile(&file, path, error) && WriteAndFinishAtomicFile(&file, data, size, error);
}

const char *EscapedText(const char *text, size_t len, size_t maxChars, char *out, size_t outSize) {
    size_t o = 0;
    for (size_t i = 0; i < len && o + 8 < outSize; i++) {
        unsigned char c = (unsigned char)text[i];
        if (i == maxChars) {
            std::memcpy(out + o, "...", 3);
            o += 3;
            break;
        }
        if (c == '\n') { out[o++] = '\\'; out[o++] = 'n'; }
        else if (c == '\t') { out[o++] = '\\'; out[o++] = 't'; }
        else if (c == '\r') { out[o++] = '\\'; out[o++] = 'r'; }
        else if (c == '"' || c == '\\') { out[o++] = '\\'; out[o++] = (char)c; }
        else if (c < 32 || c >= 127) o += (size_t)std::snprintf(out + o, 5, "\\x%02x", c);
        else out[o++] = (char)c;
    }
    if (outSize) out[o < outSize ? o : outSize - 1] = '\0';
    return out;
}
