// Runs a fuzz target once on every file given, or every file in the directories given,
// so the regression corpus is replayed by any compiler, with or without sanitizers.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

static bool ReplayFile(const std::string &path) {
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        return false;
    }
    std::vector<uint8_t> bytes;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    // An empty vector has no data pointer; give the target a valid one anyway.
    static const uint8_t none = 0;
    LLVMFuzzerTestOneInput(bytes.empty() ? &none : bytes.data(), bytes.size());
    return true;
}

int main(int argc, char **argv) {
    int replayed = 0, failed = 0;
    for (int i = 1; i < argc; i++) {
        struct stat st;
        if (stat(argv[i], &st) != 0) {
            std::fprintf(stderr, "no such file or directory: %s\n", argv[i]);
            failed++;
            continue;
        }
        std::vector<std::string> files;
        if (S_ISDIR(st.st_mode)) {
            DIR *dir = opendir(argv[i]);
            while (dir) {
                dirent *e = readdir(dir);
                if (!e) break;
                std::string path = std::string(argv[i]) + "/" + e->d_name;
                struct stat fst;
                if (e->d_name[0] != '.' && stat(path.c_str(), &fst) == 0 && S_ISREG(fst.st_mode))
                    files.push_back(path);
            }
            if (dir) closedir(dir);
            std::sort(files.begin(), files.end());
        } else {
            files.push_back(argv[i]);
        }
        for (auto &path : files) {
            if (ReplayFile(path)) replayed++;
            else failed++;
        }
    }
    std::printf("replayed %d inputs\n", replayed);
    return failed ? 1 : 0;
}
