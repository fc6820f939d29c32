// Map loader: grid, counts and object groups read from map text, the world log, the map sequence.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cfloat>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <future>
#include <sstream>
#include <string>
#include <vector>

#include "world/map.h"
#include "world/world.h"

namespace {

// Tile code of the test grid at (row, col): every known code appears, rows differ.
int Code(int row, int col) {
    static const int codes[] = {0, 1, 2, 3, 8, 9};
    return codes[(row * 5 + col) % 6];
}

std::string GridText(bool trailingComma = true, const std::string &eol = "\n",
                     const std::string &betweenRows = "") {
    std::string s;
    for (int r = 0; r < GRID_ROWS; r++) {
        for (int c = 0; c < GRID_COLS; c++) {
            s += std::to_string(Code(r, c));
            if (c < GRID_COLS - 1 || trailingComma) s += ",";
        }
        s += eol + betweenRows;
    }
    return s;
}

std::string CountText(int can, int two, int cel, int son, int tra, const std::string &eol = "\n") {
    return "nof can " + std::to_string(can) + eol + "nof two " + std::to_string(two) + eol + "nof cel " +
           std::to_string(cel) + eol + "nof son " + std::to_string(son) + eol + "nof tra " + std::to_string(tra) +
           eol;
}

// One group: word[index].crd.key value for each key=value pair, with an optional tail.
std::string Group(const char *word, int index, const std::vector<std::pair<std::string, std::string>> &fields,
                  const std::string &tail = "", const std::string &eol = "\n") {
    std::string s;
    for (auto &f : fields)
        s += std::string(word) + "[" + std::to_string(index) + "].crd." + f.first + " " + f.second + tail + eol;
    return s;
}

std::string Cannon(int index, int x, int y, int face = 1, const char *freqmax = "60.0", const std::string &tail = "") {
    return Group("cannon", index,
                 {{"x", std::to_string(x)}, {"y", std::to_string(y)}, {"face", std::to_string(face)},
                  {"freq", "0.5"}, {"freqmax", freqmax}, {"freqspd", "1.25"}},
                 tail);
}

std::string Sonda(int index, int x, int y, int frameface, int face) {
    return Group("sonda", index,
                 {{"x", std::to_string(x)}, {"y", std::to_string(y)}, {"frameface", std::to_string(frameface)},
                  {"face", std::to_string(face)}});
}

std::string Train(int index, int x, int y) {
    return Group("train", index,
                 {{"x", std::to_string(x)}, {"y", std::to_string(y)}, {"frameface", "1"}, {"face", "0"},
                  {"appear", "0"}, {"appearmax", "120"}, {"appearspd", "1"}, {"frame", "2"}, {"framebeg", "2"},
                  {"frameend", "5"}, {"framespd", "0.25"}});
}

std::string Celling(int index, int x, int y) {
    return Group("celling", index,
                 {{"x", std::to_string(x)}, {"y", std::to_string(y)}, {"face", "1"}, {"freq", "1"},
                  {"freqmax", "30"}, {"freqspd", "1"}, {"alarm", "0"}, {"alarmmax", "90"}, {"alarmspd", "0.5"},
                  {"freqalarm", "0"}, {"freqalarmmax", "10"}, {"freqalarmspd", "2"}, {"raydist", "1e6"}});
}

void Load(const std::string &text) { LoadMapFromBuffer(text.data(), text.size()); }

struct Problem {
    int line;
    std::string message;
};

void Collect(void *user, int line, const char *message) {
    static_cast<std::vector<Problem> *>(user)->push_back({line, message});
}

std::vector<Problem> LoadChecked(const std::string &text) {
    std::vector<Problem> problems;
    LoadMapFromBuffer(text.data(), text.size(), Collect, &problems);
    return problems;
}

bool AnyProblemWith(const std::vector<Problem> &problems, const std::string &part) {
    for (auto &p : problems)
        if (p.message.find(part) != std::string::npos) return true;
    return false;
}

void ExpectGridIsTheTestGrid() {
    for (int r = 0; r < GRID_ROWS; r++)
        for (int c = 0; c < GRID_COLS; c++) ASSERT_EQ(TileGrid[r][c], Code(r, c)) << r << "," << c;
}

// Runs a load on another thread and gives up on the test if it does not end in time.
void LoadWithin(const std::string &text, int seconds = 5) {
    auto done = std::async(std::launch::async, [&text]() { Load(text); });
    if (done.wait_for(std::chrono::seconds(seconds)) != std::future_status::ready) {
        ADD_FAILURE() << "map load did not end";
        std::_Exit(1);
    }
}

std::string TempDir() {
    char name[] = "/tmp/kav_map_XXXXXX";
    const char *dir = mkdtemp(name);
    EXPECT_NE(dir, nullptr);
    return dir ? dir : "/tmp";
}

void WriteFile(const std::string &path, const std::string &text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

// ---- grid ----

TEST(MapGrid, LineEndsTrailingCommasAndEmptyLinesAllLoadTheSame) {
    const std::string tail = CountText(0, 0, 0, 0, 0);
    for (bool comma : {true, false})
        for (const char *eol : {"\n", "\r\n"})
            for (const char *between : {"", "\n", "\r\n\r\n"}) {
                ResetWorld();
                Load(GridText(comma, eol, between) + tail);
                SCOPED_TRACE(std::string("comma ") + (comma ? "yes" : "no") + " eol " + (eol[1] ? "CRLF" : "LF") +
                             " between " + std::to_string(std::strlen(between)));
                ExpectGridIsTheTestGrid();
            }
}

TEST(MapGrid, CommentLineInTheGridIsReadAsCells) {
    // "//" is thrown away, " 5" gives a cell, ",7" gives none (the cell repeats 5), the
    // newline is thrown away: every grid cell moves two places on.
    ResetWorld();
    std::string text = "// 5,7\n" + GridText() + CountText(1, 0, 0, 0, 0) + Cannon(0, 1, 1);
    Load(text);
    EXPECT_EQ(TileGrid[0][0], 5);
    EXPECT_EQ(TileGrid[0][1], 5);
    EXPECT_EQ(TileGrid[0][2], Code(0, 0));
    EXPECT_EQ(TileGrid[1][1], Code(0, 31));
    EXPECT_EQ(TileGrid[23][31], Code(23, 29));
    // The grid's last two cells are left for the line reader, which takes them for the
    // cannon count line: every count line meets the pattern before its own and the cannon is lost.
    EXPECT_EQ(cannonCount, 0);
    EXPECT_EQ(CannonPool[0].active, 0);
}

TEST(MapGrid, TwoDigitCodeShiftsEveryLaterCell) {
    std::string text = GridText();
    text[0] = '1';
    text.insert(1, "2");   // row 0 now starts "12,"
    ResetWorld();
    Load(text + CountText(0, 0, 0, 0, 0));
    // "12", ",x" ... ",\n": the whole row repeats 12 and takes one chunk more than it has cells.
    for (int c = 0; c < GRID_COLS; c++) EXPECT_EQ(TileGrid[0][c], 12) << c;
    EXPECT_EQ(TileGrid[1][0], 12);
    EXPECT_EQ(TileGrid[1][1], Code(1, 0));
    EXPECT_EQ(TileGrid[2][0], Code(1, 31));
}

TEST(MapGrid, ChunkWithoutNumberRepeatsThePreviousCellAndZeroFirst) {
    std::string text = GridText();
    text[0] = 'x';            // first chunk "x," gives nothing: 0
    text[2 * 5] = 'q';        // row 0 column 5
    text[2 * 5 + 1] = 'q';
    ResetWorld();
    TileGrid[0][0] = 7;
    Load(text + CountText(0, 0, 0, 0, 0));
    EXPECT_EQ(TileGrid[0][0], 0);
    EXPECT_EQ(TileGrid[0][5], Code(0, 4));
    EXPECT_EQ(TileGrid[0][6], Code(0, 6));
}

// ---- counts and groups ----

TEST(MapCounts, BlanksCommentsAndEmptyLinesAroundCountLines) {
    std::string text = GridText() + "\n// counts\n" + "nof   can\t\t2   \n" + "# two\n\n" + "nofTwo 5\n" +
                       "nofcel3\n" + "nof son -2\n" + "nof tra 1 ,\n";
    ResetWorld();
    Load(text);
    EXPECT_EQ(cannonCount, 2);
    EXPECT_EQ(twowaysCount, 0);   // case counts: the line does not match
    EXPECT_EQ(cellingCount, 3);
    EXPECT_EQ(sondaCount, -2);
    EXPECT_EQ(trainCount, 1);
}

TEST(MapCounts, CountAboveFiftyIsCutAndEveryIndexOfAFullPoolLoads) {
    std::string objects;
    for (int i = 0; i < 50; i++) objects += Cannon(i, i % 32, i % 24);
    ResetWorld();
    auto problems = LoadChecked(GridText() + CountText(80, 0, 0, 0, 0) + objects);
    EXPECT_EQ(cannonCount, 50);
    for (int i = 0; i < 50; i++) {
        EXPECT_EQ(CannonPool[i].active, 1) << i;
        EXPECT_EQ(CannonPool[i].x, 8.0f * (i % 32)) << i;
    }
    EXPECT_TRUE(AnyProblemWith(problems, "count 80 of cannon is above 50"));
}

TEST(MapGroups, FieldsAreReadIntoTheNamedRecords) {
    std::string text = GridText() + CountText(1, 1, 1, 1, 1) + Cannon(0, 12, 3) +
                       Group("twoways", 0,
                             {{"x", "4"}, {"y", "5"}, {"face", "0"}, {"freq", "2"}, {"freqmax", "40"},
                              {"freqspd", "0.5"}}) +
                       Celling(0, 10, 20) + Sonda(0, 6, 7, 1, 1) + Train(0, 30, 1);
    ResetWorld();
    auto problems = LoadChecked(text);
    EXPECT_TRUE(problems.empty()) << problems.front().message;
    const ObjectRecord &can = CannonPool[0];
    EXPECT_EQ(can.active, 1);
    EXPECT_EQ(can.x, 96.0f); EXPECT_EQ(can.y, 24.0f); EXPECT_EQ(can.face, 1);
    EXPECT_EQ(can.freq, 0.5f); EXPECT_EQ(can.freqmax, 60.0f); EXPECT_EQ(can.freqspd, 1.25f);
    EXPECT_EQ(TwoWayPool[0].face, 0); EXPECT_EQ(TwoWayPool[0].freqmax, 40.0f); EXPECT_EQ(TwoWayPool[0].x, 32.0f);
    const ObjectRecord &cel = CeilingPool[0];
    EXPECT_EQ(cel.y, 160.0f); EXPECT_EQ(cel.alarmmax, 90.0f); EXPECT_EQ(cel.alarmspd, 0.5f);
    EXPECT_EQ(cel.freqalarmmax, 10.0f); EXPECT_EQ(cel.freqalarmspd, 2.0f); EXPECT_EQ(cel.raydist, 1e6f);
    EXPECT_EQ(ProbePool[0].active, 1); EXPECT_EQ(ProbePool[0].frameface, 1); EXPECT_EQ(ProbePool[0].x, 48.0f);
    const ObjectRecord &tra = TrainPool[0];
    EXPECT_EQ(tra.active, 0); EXPECT_EQ(tra.x, 240.0f); EXPECT_EQ(tra.frameface, 1); EXPECT_EQ(tra.face, 0);
    EXPECT_EQ(tra.appearmax, 120.0f); EXPECT_EQ(tra.frame, 2.0f); EXPECT_EQ(tra.frameend, 5.0f);
    EXPECT_EQ(tra.framespd, 0.25f);
    // Kinds that do not give a field leave it alone.
    EXPECT_EQ(can.raydist, 0.0f);
    EXPECT_EQ(ProbePool[0].freqmax, 0.0f);
}

TEST(MapGroups, TrailingCommasCommentsAndCrLfBetweenLines) {
    std::string text = GridText(true, "\r\n") + CountText(2, 0, 0, 0, 0, "\r\n") + "\r\n// first\r\n" +
                       Cannon(0, 1, 2, 1, "60.0", ",") + "# second\r\n\r\n" + Cannon(1, 3, 4, 1, "75.5", "   ,  ");
    ResetWorld();
    auto problems = LoadChecked(text);
    EXPECT_TRUE(problems.empty()) << problems.front().message;
    EXPECT_EQ(CannonPool[0].freqmax, 60.0f);
    EXPECT_EQ(CannonPool[0].y, 16.0f);
    EXPECT_EQ(CannonPool[1].freqmax, 75.5f);
    EXPECT_EQ(CannonPool[1].x, 24.0f);
}

TEST(MapGroups, LineBeginningWithABlankIsTakenForTheNextLine) {
    // " note" stands where x is expected; every later line then meets the pattern of the
    // line before it, so nothing of the group is read, but the record is still written.
    ResetWorld();
    CannonPool[0].freqmax = 9.0f;
    Load(GridText() + CountText(1, 0, 0, 0, 0) + " note\n" + Cannon(0, 12, 3));
    EXPECT_EQ(CannonPool[0].active, 1);
    EXPECT_EQ(CannonPool[0].x, 0.0f);
    EXPECT_EQ(CannonPool[0].freqmax, 0.0f);
    // The same note as a comment line is skipped.
    ResetWorld();
    Load(GridText() + CountText(1, 0, 0, 0, 0) + "# note\n" + Cannon(0, 12, 3));
    EXPECT_EQ(CannonPool[0].x, 96.0f);
    EXPECT_EQ(CannonPool[0].freqmax, 60.0f);
}

TEST(MapGroups, OnlyOneSetsFaceAndFrameface) {
    ResetWorld();
    ProbePool[0].face = 1;
    ProbePool[0].frameface = 1;
    CannonPool[0].face = 1;
    Load(GridText() + CountText(1, 0, 0, 2, 0) + Cannon(0, 1, 1, -1) + Sonda(0, 1, 1, 2, 2) + Sonda(1, 1, 1, 1, 1));
    EXPECT_EQ(CannonPool[0].face, 0);
    EXPECT_EQ(ProbePool[0].face, 0);
    EXPECT_EQ(ProbePool[0].frameface, 0);
    EXPECT_EQ(ProbePool[1].face, 1);
    EXPECT_EQ(ProbePool[1].frameface, 1);
}

TEST(MapGroups, DuplicateIndexLaterWinsAndTheMissingRecordKeepsItsContents) {
    ResetWorld();
    CannonPool[1].x = 77.0f;
    CannonPool[1].active = 0;
    CannonPool[1].frame = 4.0f;
    auto problems = LoadChecked(GridText() + CountText(2, 0, 0, 0, 0) + Cannon(0, 1, 1) + Cannon(0, 5, 6));
    EXPECT_EQ(CannonPool[0].x, 40.0f);
    EXPECT_EQ(CannonPool[0].y, 48.0f);
    EXPECT_EQ(CannonPool[1].x, 77.0f);
    EXPECT_EQ(CannonPool[1].active, 0);
    EXPECT_EQ(CannonPool[1].frame, 4.0f);
    EXPECT_TRUE(AnyProblemWith(problems, "cannon 1 is not given"));
}

TEST(MapGroups, IndexOutsideThePoolSkipsOnlyThatGroup) {
    ResetWorld();
    ObjectRecord before[POOL_SIZE];
    std::memcpy(before, TwoWayPool, sizeof before);
    auto problems = LoadChecked(GridText() + CountText(4, 0, 0, 0, 0) + Cannon(50, 1, 1) + Cannon(-1, 2, 2) +
                                Cannon(2147483647, 3, 3) + Cannon(1, 4, 4));
    EXPECT_EQ(CannonPool[1].x, 32.0f);
    EXPECT_EQ(CannonPool[1].active, 1);
    EXPECT_EQ(CannonPool[0].active, 0);
    EXPECT_EQ(CannonPool[49].active, 0);
    EXPECT_EQ(std::memcmp(before, TwoWayPool, sizeof before), 0);
    EXPECT_TRUE(AnyProblemWith(problems, "cannon index 50 is outside 0 to 49"));
    EXPECT_TRUE(AnyProblemWith(problems, "cannon index -1 is outside"));
}

TEST(MapGroups, WorkingValuesCarryOverFromGroupToGroup) {
    // The second group's y and freqmax lines do not match: they keep the first group's values.
    std::string second = Cannon(1, 9, 9);
    second.replace(second.find("crd.y"), 5, "crd.Y");
    second.replace(second.find("freqmax"), 7, "freqMAX");
    ResetWorld();
    Load(GridText() + CountText(2, 0, 0, 0, 0) + Cannon(0, 1, 7, 1, "33") + second);
    EXPECT_EQ(CannonPool[1].x, 72.0f);
    EXPECT_EQ(CannonPool[1].y, 56.0f);
    EXPECT_EQ(CannonPool[1].freqmax, 33.0f);
}

TEST(MapGroups, HugePositionsAreMultipliedWithoutOverflow) {
    ResetWorld();
    Load(GridText() + CountText(2, 0, 0, 0, 0) + Cannon(0, 300000000, -300000000) +
         Group("cannon", 1, {{"x", "99999999999"}, {"y", "-99999999999"}}));
    EXPECT_EQ(CannonPool[0].x, 2.4e9f);
    EXPECT_EQ(CannonPool[0].y, -2.4e9f);
    EXPECT_EQ(CannonPool[1].x, (float)(2147483647.0 * 8));
    EXPECT_EQ(CannonPool[1].y, (float)(-2147483648.0 * 8));
}

// ---- short files, reloads ----

TEST(MapShortFiles, EndAnywhereStopsWithMissingValuesUnmatched) {
    const std::string full = GridText() + CountText(1, 0, 0, 1, 0) + Cannon(0, 3, 4) + Sonda(0, 2, 2, 1, 1);
    // Every cut of the file ends; the cells and values before the cut are read.
    for (size_t cut = 0; cut <= full.size(); cut += 7) {
        ResetWorld();
        LoadWithin(full.substr(0, cut));
    }
    // Cut inside row 3: the rest of the grid repeats the last cell read.
    ResetWorld();
    LoadWithin(full.substr(0, 3 * 65 + 10));
    EXPECT_EQ(TileGrid[3][4], Code(3, 4));
    EXPECT_EQ(TileGrid[3][5], Code(3, 4));
    EXPECT_EQ(TileGrid[23][31], Code(3, 4));
    EXPECT_EQ(cannonCount, 0);
    // Cut after the counts: the groups read nothing but are written with zeros.
    ResetWorld();
    CannonPool[0].freqmax = 5.0f;
    LoadWithin(GridText() + CountText(1, 0, 0, 0, 0));
    EXPECT_EQ(cannonCount, 1);
    EXPECT_EQ(CannonPool[0].active, 1);
    EXPECT_EQ(CannonPool[0].freqmax, 0.0f);
    // A file ending in a comment, or in an unfinished line, also ends.
    ResetWorld();
    LoadWithin(GridText() + "nof can 2\n// last");
    EXPECT_EQ(cannonCount, 2);
    ResetWorld();
    LoadWithin(GridText() + CountText(1, 0, 0, 0, 0) + "cannon[0].crd.x 6");
    EXPECT_EQ(CannonPool[0].x, 48.0f);
}

TEST(MapShortFiles, ArbitraryBytesEndInTime) {
    std::string junk;
    uint32_t seed = 7;
    for (int i = 0; i < 5000; i++) {
        seed = seed * 1103515245u + 12345u;
        junk += "0123456789,/#\n\r -+.e[]cannon"[(seed >> 16) % 29];
    }
    ResetWorld();
    LoadWithin(junk);   // fails the run if it does not end
    // A file ending in a lone CR after the grid: the grid is whole, the counts are 0.
    cannonCount = 3;
    LoadWithin(GridText() + "\r");
    ExpectGridIsTheTestGrid();
    EXPECT_EQ(cannonCount, 0);
    // NUL bytes are characters that fit nothing.
    LoadWithin(std::string("\0\0\0", 3));
    EXPECT_EQ(TileGrid[23][31], 0);
}

TEST(MapReload, FieldsTheMapDoesNotGiveKeepTheirValues) {
    const std::string text = GridText() + CountText(1, 0, 1, 0, 1) + Cannon(0, 3, 4) + Celling(0, 8, 22) +
                             Train(0, 2, 1);
    ResetWorld();
    Load(text);
    // Play changes things: a destroyed cannon, a running frame, a ray cell, an active train.
    CannonPool[0].active = 0;
    CannonPool[0].x = 1.0f;
    CannonPool[0].freq = 59.0f;
    CannonPool[0].frame = 3.0f;
    CeilingPool[0].rayx = 100.0f;
    TrainPool[0].active = 1;
    TrainPool[0].speed = 2.0f;
    TileGrid[5][5] = TILE_RAY;
    Load(text);
    ExpectGridIsTheTestGrid();
    EXPECT_EQ(CannonPool[0].active, 1);
    EXPECT_EQ(CannonPool[0].x, 24.0f);
    EXPECT_EQ(CannonPool[0].freq, 0.5f);
    EXPECT_EQ(CannonPool[0].frame, 3.0f);
    EXPECT_EQ(CeilingPool[0].rayx, 100.0f);
    EXPECT_EQ(TrainPool[0].active, 0);
    EXPECT_EQ(TrainPool[0].speed, 2.0f);
}

// ---- files, the log and the sequence ----

class MapFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir = TempDir();
        log = dir + "/world.log";
        OpenWorldLog(log.c_str());
        ResetWorld();
    }
    void TearDown() override {
        CloseWorldLog();
        if (!oldDir.empty()) {
            EXPECT_EQ(chdir(oldDir.c_str()), 0);
        }
    }
    void EnterDir() {
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        oldDir = cwd;
        ASSERT_EQ(chdir(dir.c_str()), 0);
    }
    std::string dir, log, oldDir;
};

static const char *const kTwoLines = "    loading scene\n  loading scenegg objects\n";

TEST_F(MapFiles, EachLoadAppendsTheTwoLogLines) {
    WriteFile(dir + "/a.map", GridText(true, "\r\n") + CountText(1, 0, 0, 0, 0, "\r\n") + Cannon(0, 2, 2));
    LoadMap((dir + "/a.map").c_str());
    EXPECT_EQ(ReadFile(log), kTwoLines);
    ExpectGridIsTheTestGrid();
    EXPECT_EQ(CannonPool[0].x, 16.0f);
    LoadMap((dir + "/a.map").c_str());
    EXPECT_EQ(ReadFile(log), std::string(kTwoLines) + kTwoLines);
    // Opening the log again empties it.
    OpenWorldLog(log.c_str());
    EXPECT_EQ(ReadFile(log), "");
}

TEST_F(MapFiles, MissingOrOversizedFileLeavesTheWorldAsItWas) {
    WriteFile(dir + "/a.map", GridText() + CountText(1, 0, 0, 0, 0) + Cannon(0, 2, 2));
    LoadMap((dir + "/a.map").c_str());
    const std::string missing = dir + "/map07.map";
    LoadMap(missing.c_str());
    EXPECT_EQ(ReadFile(log), std::string(kTwoLines) + "cannot open " + missing + "\n");
    ExpectGridIsTheTestGrid();
    EXPECT_EQ(CannonPool[0].x, 16.0f);

    // A well-formed map padded past the size limit is refused whole.
    std::string big = GridText() + CountText(1, 0, 0, 0, 0) + Cannon(0, 9, 9);
    big += std::string(MAP_FILE_LIMIT - big.size() + 1, '\n');
    WriteFile(dir + "/big.map", big);
    OpenWorldLog(log.c_str());
    LoadMap((dir + "/big.map").c_str());
    EXPECT_EQ(ReadFile(log), std::string(kTwoLines) + dir + "/big.map is larger than 1048576 bytes: not loaded\n");
    EXPECT_EQ(CannonPool[0].x, 16.0f);
    // Exactly at the limit it loads.
    big.pop_back();
    WriteFile(dir + "/big.map", big);
    LoadMap((dir + "/big.map").c_str());
    EXPECT_EQ(CannonPool[0].x, 72.0f);
}

TEST_F(MapFiles, LoadCurrentMapEmptiesShotsAndLoadsOnlyIndexesZeroToFour) {
    EnterDir();
    ASSERT_EQ(mkdir("map", 0755), 0);
    WriteFile("map/map00.map", GridText() + CountText(1, 0, 0, 0, 0) + Cannon(0, 2, 2));
    WriteFile("map/map04.map", GridText() + CountText(1, 0, 0, 0, 0) + Cannon(0, 4, 4));
    for (int index : {5, -1, 2147483647}) {
        for (int i = 0; i < SHOT_POOL_SIZE; i++) {
            ShotPool[i].active = 1;
            ShotPool[i].x = 3.0f;
            ExplosionPool[i].active = 1;
        }
        TileGrid[0][0] = 42;
        mapIndex = index;
        LoadCurrentMap();
        for (int i = 0; i < SHOT_POOL_SIZE; i++) {
            ASSERT_EQ(ShotPool[i].active, 0);
            ASSERT_EQ(ShotPool[i].x, 3.0f);
            ASSERT_EQ(ExplosionPool[i].active, 0);
        }
        EXPECT_EQ(TileGrid[0][0], 42) << index;
        EXPECT_EQ(ReadFile(log), "") << index;
    }
    mapIndex = 0;
    LoadCurrentMap();
    EXPECT_EQ(CannonPool[0].x, 16.0f);
    mapIndex = 4;
    LoadCurrentMap();
    EXPECT_EQ(CannonPool[0].x, 32.0f);
    EXPECT_EQ(ReadFile(log), std::string(kTwoLines) + kTwoLines);
    // A map of the sequence that is not there.
    mapIndex = 2;
    LoadCurrentMap();
    EXPECT_EQ(ReadFile(log), std::string(kTwoLines) + kTwoLines + "cannot open map/map02.map\n");
}

TEST(MapSequence, FileNamesOfTheFiveMaps) {
    EXPECT_STREQ(MapFileName(0), "map/map00.map");
    EXPECT_STREQ(MapFileName(3), "map/map03.map");
    EXPECT_STREQ(MapFileName(4), "map/map04.map");
    EXPECT_EQ(MapFileName(5), nullptr);
    EXPECT_EQ(MapFileName(-1), nullptr);
}

// The hostile maps the soak runs: make sure they hold what they are meant to.
TEST(MapHostileFixtures, LoadWithTheirExtremeValues) {
    auto load = [](const char *name) {
        ResetWorld();
        std::string text = ReadFile(std::string(KAV_TESTDATA_DIR) + "/fixtures/maps/" + name);
        ASSERT_FALSE(text.empty()) << name;
        LoadMapFromBuffer(text.data(), text.size());
    };
    load("hostile_full_pools.map");
    for (int k = 0; k < KIND_COUNT; k++) {
        EXPECT_EQ(*KindCount(k), 50) << k;
        EXPECT_EQ(KindPool(k)[49].active, k == KIND_TRAIN ? 0 : 1) << k;
    }
    EXPECT_EQ(CeilingPool[49].raydist, 1e6f);
    load("hostile_positions.map");
    EXPECT_EQ(CannonPool[0].x, (float)(2147483647.0 * 8));
    EXPECT_EQ(CannonPool[1].x, (float)(-2147483648.0 * 8));
    EXPECT_EQ(CeilingPool[2].raydist, FLT_MAX);
    load("hostile_timers.map");
    EXPECT_EQ(CannonPool[0].freq, FLT_MAX);
    EXPECT_EQ(CeilingPool[1].raydist, -1e6f);
    load("hostile_grid.map");
    EXPECT_EQ(TileGrid[0][0], 99);
    EXPECT_EQ(TileGrid[0][1], 7);
    EXPECT_EQ(TileGrid[0][3], -1);
    EXPECT_EQ(trainCount, 3);
    load("hostile_counts.map");
    EXPECT_EQ(cannonCount, 50);
    EXPECT_EQ(twowaysCount, INT32_MIN);
    EXPECT_EQ(CannonPool[49].active, 1);
}
