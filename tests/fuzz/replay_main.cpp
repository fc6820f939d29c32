// Runs a fuzz target once on every file given, or every file in the directories given,
// so the regression corpus is replayed by any compiler, with or without sanitizers.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace fs = std::filesystem;

int main(int argc, char **argv) {
    int replayed = 0, failed = 0;
    for (int i = 1; i < argc; i++) {
        std::error_code error;
        std::vector<fs::path> files;
        if (fs::is_directory(argv[i], error)) {
            for (const fs::directory_entry &e : fs::directory_iterator(argv[i], error))
                if (e.is_regular_file() && e.path().filename().string()[0] != '.') files.push_back(e.path());
            std::sort(files.begin(), files.end());
        } else if (fs::exists(argv[i], error)) {
            files.push_back(argv[i]);
        } else {
            std::fprintf(stderr, "no such file or directory: %s\n", argv[i]);
            failed++;
        }
        for (const fs::path &path : files) {
            std::ifstream in(path, std::ios::binary);
            if (!in) {
                std::fprintf(stderr, "cannot open %s\n", path.c_str());
                failed++;
                continue;
            }
            const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            // An empty vector has no data pointer; give the target a valid one anyway.
            static const uint8_t none = 0;
            LLVMFuzzerTestOneInput(bytes.empty() ? &none : bytes.data(), bytes.size());
            replayed++;
        }
    }
    std::printf("replayed %d inputs\n", replayed);
    return failed ? 1 : 0;
}
