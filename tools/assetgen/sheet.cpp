// Reader of the pixel-art sheets under assets/.
#include "sheet.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "world/files.h"

// No sheet or map comes near this; a bigger file is not one of ours.
static constexpr size_t SOURCE_FILE_LIMIT = size_t(16) << 20;

bool ReadTextFile(const std::string &path, std::string *text) {
    uint8_t *data;
    size_t size;
    if (ReadFileAlloc(path.c_str(), SOURCE_FILE_LIMIT, &data, &size) != FILE_READ_OK) return false;
    text->assign(reinterpret_cast<const char *>(data), size);
    std::free(data);
    return true;
}

static bool ParseHexColour(const std::string &s, uint32_t *out) {
    if (s.size() != 8) return false;
    for (char c : s)
        if (!std::isxdigit((unsigned char)c)) return false;
    *out = (uint32_t)std::strtoul(s.c_str(), nullptr, 16);
    return true;
}

Sheet ParseSheet(const std::string &text, const std::string &fileName) {
    Sheet sheet;
    std::map<char, uint32_t> palette;
    std::string name;
    std::vector<std::string> rows;
    int lineNo = 0, frameLine = 0;
    auto fail = [&](int line, const std::string &what) {
        if (sheet.error.empty()) sheet.error = fileName + ":" + std::to_string(line) + ": " + what;
    };
    auto finish = [&]() {
        if (name.empty()) return;
        if (rows.empty()) {
            fail(frameLine, "frame " + name + " has no rows");
        } else {
            Picture pic((int)rows[0].size(), (int)rows.size());
            for (size_t y = 0; y < rows.size(); y++) {
                if (rows[y].size() != rows[0].size()) {
                    fail(frameLine + 1 + (int)y, "row length differs in frame " + name);
                    break;
                }
                for (size_t x = 0; x < rows[y].size(); x++) {
                    auto it = palette.find(rows[y][x]);
                    if (it == palette.end()) {
                        fail(frameLine + 1 + (int)y, std::string("no colour for '") + rows[y][x] + "'");
                        break;
                    }
                    pic.set((int)x, (int)y, it->second);
                }
            }
            if (sheet.frames.count(name)) fail(frameLine, "frame " + name + " given twice");
            sheet.frames[name] = pic;
        }
        name.clear();
        rows.clear();
    };
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        lineNo++;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') {
            finish();
            continue;
        }
        if (line.rfind("colour ", 0) == 0) {
            finish();
            uint32_t value;
            if (line.size() < 10 || line[8] != ' ' || !ParseHexColour(line.substr(9), &value)) {
                fail(lineNo, "bad colour line");
                continue;
            }
            palette[line[7]] = value;
            continue;
        }
        if (line.rfind("frame ", 0) == 0) {
            finish();
            name = line.substr(6);
            frameLine = lineNo;
            if (name.empty()) fail(lineNo, "frame without a name");
            continue;
        }
        if (name.empty()) {
            fail(lineNo, "rows outside a frame");
            continue;
        }
        rows.push_back(line);
    }
    finish();
    return sheet;
}
