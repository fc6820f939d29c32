// Data checker: every map and picture the game reads, loaded with the game's own loader and
// decoders, each problem reported with its file and place.
#include "shell/check.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "render/decode.h"
#include "render/render.h"
#include "sound/sound.h"
#include "world/files.h"
#include "world/map.h"
#include "world/world.h"

namespace {

// Problem lines printed per file before the rest are only counted.
constexpr int SHOWN_PER_FILE = 25;

struct FileReport {
    FILE *out;
    const char *name;   // as the game names it: map/map00.map, gfx/back.bmp
    int problems;
};

void Problem(FileReport &report, int line, const char *message) {
    report.problems++;
    if (report.problems > SHOWN_PER_FILE) return;
    if (line > 0) std::fprintf(report.out, "%s:%d: %s\n", report.name, line, message);
    else std::fprintf(report.out, "%s: %s\n", report.name, message);
}

void MapProblem(void *user, int line, const char *message) {
    Problem(*static_cast<FileReport *>(user), line, message);
}

void FinishFile(FileReport &report) {
    if (report.problems > SHOWN_PER_FILE)
        std::fprintf(report.out, "%s: %d more problems not shown\n", report.name, report.problems - SHOWN_PER_FILE);
}

std::string Joined(const char *dir, const char *name) {
    if (!dir || !*dir) return name;
    std::string path = dir;
    if (path.back() != '/') path += '/';
    return path + name;
}

bool ReadProblem(FileReport &report, FileReadResult result) {
    if (result == FILE_READ_OK) return false;
    Problem(report, 0, FileReadText(result));
    return true;
}

void CheckMap(FILE *out, const char *dir, const char *name, int *files, int *problems) {
    FileReport report = {out, name, 0};
    uint8_t *data;
    size_t size;
    if (!ReadProblem(report, ReadFileAlloc(Joined(dir, name).c_str(), MAP_FILE_LIMIT, &data, &size))) {
        LoadMapFromBuffer(reinterpret_cast<const char *>(data), size, MapProblem, &report);
        std::free(data);
    }
    FinishFile(report);
    *files += report.problems > 0;
    *problems += report.problems;
}

// What a picture that the game would show only in part says: how much of it the file holds.
void EndsEarly(char (&message)[200], const PictureFacts &facts) {
    std::snprintf(message, sizeof message, "the file ends early: it supplies %llu of the %llu pixels of its %lldx%lld picture",
                  (unsigned long long)facts.supplied, (unsigned long long)facts.needed, (long long)facts.width,
                  (long long)(facts.height < 0 ? -facts.height : facts.height));
}

void TgaProblem(FileReport &report, TgaReason reason, const PictureFacts &facts, size_t size) {
    char message[200];
    const long long width = facts.width, height = facts.height;
    switch (reason) {
    case TGA_DECODED: return;
    case TGA_SHORT_HEADER:
        std::snprintf(message, sizeof message, "%zu bytes: shorter than the 18-byte Targa header", size);
        break;
    case TGA_SHORT_DATA: EndsEarly(message, facts); break;
    case TGA_BAD_DEPTH:
        std::snprintf(message, sizeof message, "offset 16: pixel depth %u; only 24 or 32 bits are read", facts.depth);
        break;
    case TGA_BAD_TYPE:
        std::snprintf(message, sizeof message,
                      "offset 2: image type %u; only 2 (raw true colour) or 10 (run-length) are read", facts.type);
        break;
    case TGA_EMPTY:
        std::snprintf(message, sizeof message, "offset 12: picture of %lldx%lld pixels is empty", width, height);
        break;
    case TGA_TOO_LARGE:
        std::snprintf(message, sizeof message, "offset 12: %lldx%lld pixels, more than the game takes", width, height);
        break;
    case TGA_NO_MEMORY: std::snprintf(message, sizeof message, "out of memory while decoding"); break;
    default: std::snprintf(message, sizeof message, "refused by the Targa decoder (%d)", int(reason)); break;
    }
    Problem(report, 0, message);
}

void BmpProblem(FileReport &report, BmpReason reason, const PictureFacts &facts) {
    char message[200];
    switch (reason) {
    case BMP_DECODED: return;
    case BMP_UNKNOWN_FORMAT:
        std::snprintf(message, sizeof message,
                      "offset %u: information header of %u bytes; only 40 or 12 are read (or the file is cut short)",
                      facts.headerAt, facts.headerSize);
        break;
    case BMP_BAD_DATA:
        if (facts.supplied < facts.needed) {
            EndsEarly(message, facts);
            break;
        }
        std::snprintf(message, sizeof message,
                      "pixels cannot be converted: bad run-length data, zero or negative width, "
                      "or depth %u / compression %u not taken",
                      facts.depth, facts.type);
        break;
    case BMP_TOO_LARGE:
        std::snprintf(message, sizeof message, "offset %u: %lldx%lld pixels, more than the game takes",
                      facts.headerAt + 4, (long long)facts.width, (long long)facts.height);
        break;
    case BMP_NO_MEMORY: std::snprintf(message, sizeof message, "out of memory while decoding"); break;
    default: std::snprintf(message, sizeof message, "refused by the bitmap decoder (%d)", int(reason)); break;
    }
    Problem(report, 0, message);
}

void CheckPicture(FILE *out, const char *dir, const char *name, bool isBitmap, int *files, int *problems) {
    FileReport report = {out, name, 0};
    uint8_t *data;
    size_t size;
    if (!ReadProblem(report, ReadFileAlloc(Joined(dir, name).c_str(), PICTURE_FILE_LIMIT, &data, &size))) {
        PictureFacts facts = {};
        if (isBitmap) {
            RgbImage image = {};
            BmpReason reason = DecodeBmp(data, size, &image, &facts);
            std::free(image.pixels);
            BmpProblem(report, reason, facts);
        } else {
            TgaPicture picture = {};
            TgaReason reason = DecodeTga(data, size, &picture, &facts);
            std::free(picture.pixels);
            TgaProblem(report, reason, facts, size);
        }
        std::free(data);
    }
    FinishFile(report);
    *files += report.problems > 0;
    *problems += report.problems;
}

// A sound the game would leave silent is a problem, as a picture it could not show.
void CheckSound(FILE *out, const char *dir, const char *name, int *files, int *problems) {
    FileReport report = {out, name, 0};
    if (const char *problem = CheckSoundFile(Joined(dir, name).c_str())) Problem(report, 0, problem);
    *files += report.problems > 0;
    *problems += report.problems;
}

}  // namespace

int RunDataCheckTo(const char *dir, FILE *out) {
    int maps = 0, pictures = 0, sounds = 0, badFiles = 0, problems = 0;
    for (int i = 0; MapFileName(i); i++, maps++) CheckMap(out, dir, MapFileName(i), &badFiles, &problems);
    for (int row = 0; row < AssetTableSize(); row++, pictures++) {
        bool isBitmap = false;
        const char *name = AssetTablePath(row, &isBitmap);
        CheckPicture(out, dir, name, isBitmap, &badFiles, &problems);
    }
    for (; sounds < SFX_COUNT; sounds++) CheckSound(out, dir, SoundFileName(sounds), &badFiles, &problems);
    const char *where = dir && *dir ? dir : ".";
    if (problems == 0)
        std::fprintf(out, "%s: %d maps, %d pictures and %d sounds checked, all well\n", where, maps, pictures, sounds);
    else
        std::fprintf(out, "%s: %d maps, %d pictures and %d sounds checked, %d problem%s in %d file%s\n", where, maps,
                     pictures, sounds, problems, problems == 1 ? "" : "s", badFiles, badFiles == 1 ? "" : "s");
    std::fflush(out);
    return problems == 0 ? 0 : 1;
}

int RunDataCheck(const char *dir) { return RunDataCheckTo(dir, stdout); }
