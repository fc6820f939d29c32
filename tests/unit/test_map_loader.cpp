// Map loader: grid, counts and object groups read from map text, the world log, the map sequence.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/unit/map_fixture.h"
#include "tests/unit/test_files.h"
#include "world/map.h"
#include "world/world.h"

namespace {

void Load(const std::string &text) { LoadMapFromBuffer(text.data(), text.size()); }

// What the loader reports, a line each.
std::string LoadChecked(const std::string &text) {
    std::string problems;
    LoadMapFromBuffer(text.data(), text.size(), [](void *user, int, const char *message) {
        *static_cast<std::string *>(user) += std::string(message) + "\n";
    }, &problems);
    return problems;
}

void ExpectTestGrid() {
    for (int r = 0; r < GRID_ROWS; r++)
        for (int c = 0; c < GRID_COLS; c++) ASSERT_EQ(TileGrid[r][c], Code(r, c)) << r << "," << c;
}

}  // namespace

// ---- grid ----

TEST(MapGrid, LineEndsTrailingCommasAndEmptyLinesAllLoadTheSame) {
    for (bool comma : {true, false})
        for (const char *eol : {"\n", "\r\n"})
            for (const char *between : {"", "\n", "\r\n\r\n"}) {
                ResetWorld();
                Load(GridText(comma, eol, between) + Counts(0, 0, 0, 0, 0));
                SCOPED_TRACE(std::string(comma ? "comma " : "") + (eol[1] ? "CRLF " : "LF ") + between);
                ExpectTestGrid();
            }
}

TEST(MapGrid, ChunksThatMisfitRepeatTheSharedValueOrShiftTheCells) {
    struct Cell { int row, col, code; };
    struct Case { const char *what; std::string text; std::vector<Cell> cells; };
    std::string twoDigit = GridText(), noNumber = GridText();
    twoDigit.replace(0, 1, "12");
    noNumber[0] = 'x';
    noNumber.replace(10, 2, "qq");
    const Case cases[] = {
        // "//" thrown away, " 5" a cell, ",7" none (5 again), "\n" thrown away: cells move two on.
        {"comment", "// 5,7\n" + GridText(),
         {{0, 0, 5}, {0, 1, 5}, {0, 2, Code(0, 0)}, {1, 1, Code(0, 31)}, {23, 31, Code(23, 29)}}},
        // "12", ",x" ... ",\n": the row repeats 12 and takes one chunk more than it has cells.
        {"two digits", twoDigit, {{0, 0, 12}, {0, 31, 12}, {1, 0, 12}, {1, 1, Code(1, 0)}, {2, 0, Code(1, 31)}}},
        // "x," gives nothing before any cell (0); "qq" repeats the cell before it.
        {"no number", noNumber, {{0, 0, 0}, {0, 5, Code(0, 4)}, {0, 6, Code(0, 6)}}},
    };
    for (const Case &c : cases) {
        ResetWorld();
        TileGrid[0][0] = 7;
        Load(c.text + Counts(1, 0, 0, 0, 0) + Cannon(0, 1, 1));
        for (const Cell &cell : c.cells) EXPECT_EQ(TileGrid[cell.row][cell.col], cell.code) << c.what << " " << cell.row << "," << cell.col;
    }
    // After the comment the grid's last cells are left for the line reader: the count lines
    // all meet the pattern before their own and the cannon is lost.
    EXPECT_EQ(cannonCount, 1);
    Load("// 5,7\n" + GridText() + Counts(1, 0, 0, 0, 0) + Cannon(0, 1, 1));
    EXPECT_EQ(cannonCount, 0);
}

// ---- counts and groups ----

TEST(MapCounts, BlanksCaseCommentsAndTheLimit) {
    ResetWorld();
    Load(GridText() + "\n// counts\nnof   can\t\t2   \n# two\n\nnofTwo 5\nnofcel3\nnof son -2\nnof tra 1 ,\n");
    EXPECT_EQ(cannonCount, 2);
    EXPECT_EQ(twowaysCount, 0);   // case counts: the line does not match
    EXPECT_EQ(cellingCount, 3);
    EXPECT_EQ(sondaCount, -2);
    EXPECT_EQ(trainCount, 1);

    // Cut to the pool (reading all 50 records is fixed by the golden full-pools runs, the
    // message by the data checker's test).
    Load(GridText() + Counts(80, 0, 0, 0, 0));
    EXPECT_EQ(cannonCount, 50);
}

TEST(MapGroups, OnlyOneSetsAFacingAndKindsLeaveFieldsTheyDoNotGiveAlone) {
    ResetWorld();
    ProbePool[0].face = 1;
    CannonPool[0].raydist = 5.0f;
    auto problems = LoadChecked(GridText() + Counts(1, 0, 0, 2, 0) + Cannon(0, 12, 3) +
                                Group("sonda", 0, {"6", "7", "2", "2"}) + Group("sonda", 1, {"1", "1", "1", "1"}));
    EXPECT_EQ(problems, "");
    EXPECT_EQ(ProbePool[0].face, 0); EXPECT_EQ(ProbePool[0].frameface, 0);
    EXPECT_EQ(ProbePool[1].face, 1); EXPECT_EQ(ProbePool[1].frameface, 1);
    EXPECT_EQ(CannonPool[0].raydist, 5.0f);
}

TEST(MapGroups, LineFormsCommentsAndALineStartingWithABlank) {
    ResetWorld();
    auto problems = LoadChecked(GridText(true, "\r\n") + Counts(2, 0, 0, 0, 0, "\r\n") + "\r\n// first\r\n" +
                                Cannon(0, 1, 2, "60.0", ",") + "# second\r\n\r\n" + Cannon(1, 3, 4, "75.5", "   ,  "));
    EXPECT_EQ(problems, "");
    EXPECT_EQ(CannonPool[0].y, 16.0f); EXPECT_EQ(CannonPool[0].freqmax, 60.0f);
    EXPECT_EQ(CannonPool[1].x, 24.0f); EXPECT_EQ(CannonPool[1].freqmax, 75.5f);

    // " note" stands where x is expected: every later line meets the pattern of the line before
    // it, so nothing of the group is read, yet the record is written.
    ResetWorld();
    CannonPool[0].freqmax = 9.0f;
    Load(GridText() + Counts(1, 0, 0, 0, 0) + " note\n" + Cannon(0, 12, 3));
    EXPECT_EQ(CannonPool[0].active, 1);
    EXPECT_EQ(CannonPool[0].x, 0.0f);
    EXPECT_EQ(CannonPool[0].freqmax, 0.0f);
}

TEST(MapGroups, TheLastIndexReadPicksTheRecordAndWorkingValuesCarryOver) {
    // Duplicate index: the later group wins; record 1 keeps its contents.
    ResetWorld();
    CannonPool[1].x = 77.0f;
    CannonPool[1].frame = 4.0f;
    auto problems = LoadChecked(GridText() + Counts(2, 0, 0, 0, 0) + Cannon(0, 1, 1) + Cannon(0, 5, 6));
    EXPECT_EQ(CannonPool[0].x, 40.0f); EXPECT_EQ(CannonPool[0].y, 48.0f);
    EXPECT_EQ(CannonPool[1].x, 77.0f); EXPECT_EQ(CannonPool[1].active, 0); EXPECT_EQ(CannonPool[1].frame, 4.0f);
    EXPECT_NE(problems.find("cannon 1 is not given"), std::string::npos) << problems;

    // Indexes outside the pool: only those groups are skipped, nothing else is written.
    ResetWorld();
    problems = LoadChecked(GridText() + Counts(4, 0, 0, 0, 0) + Cannon(50, 1, 1) + Cannon(-1, 2, 2) +
                           Cannon(2147483647, 3, 3) + Cannon(1, 4, 4));
    EXPECT_EQ(CannonPool[1].x, 32.0f);
    EXPECT_EQ(CannonPool[0].active + CannonPool[49].active + TwoWayPool[0].active, 0);
    EXPECT_NE(problems.find("cannon index -1 is outside"), std::string::npos) << problems;   // 50: the data checker's test

    // Lines that do not match keep the values of the group before (the working values run on
    // from kind to kind); the record is the one named by the last index read.
    std::string second = Cannon(1, 9, 9);
    second.replace(second.find("crd.y"), 5, "crd.Y");
    second.replace(second.find("freqmax"), 7, "freqMAX");
    second.replace(second.rfind("[1]"), 3, "[2]");
    ResetWorld();
    Load(GridText() + Counts(2, 1, 0, 0, 0) + Cannon(0, 1, 7, "33") + second +
         Group("twoways", 0, {"3", "4", "1", "1", "x", "1"}));
    EXPECT_EQ(CannonPool[1].active, 0);
    EXPECT_EQ(CannonPool[2].x, 72.0f); EXPECT_EQ(CannonPool[2].y, 56.0f); EXPECT_EQ(CannonPool[2].freqmax, 33.0f);
    EXPECT_EQ(TwoWayPool[0].freqmax, 33.0f);

    // Positions beyond the 32-bit products are multiplied without overflow.
    ResetWorld();
    Load(GridText() + Counts(2, 0, 0, 0, 0) + Cannon(0, 300000000, -300000000) +
         Group("cannon", 1, {"99999999999", "-99999999999"}));
    EXPECT_EQ(CannonPool[0].x, 2.4e9f); EXPECT_EQ(CannonPool[0].y, -2.4e9f);
    EXPECT_EQ(CannonPool[1].x, (float)(2147483647.0 * 8)); EXPECT_EQ(CannonPool[1].y, (float)(-2147483648.0 * 8));
}

// ---- short files ----

TEST(MapShortFiles, EveryCutEndsWithMissingValuesUnmatched) {
    alarm(20);   // a load that does not end ends the whole run instead of hanging it
    const std::string full = GridText() + Counts(1, 0, 0, 1, 0) + Cannon(0, 3, 4) +
                             Group("sonda", 0, {"2", "2", "1", "1"});
    for (size_t cut = 0; cut <= full.size(); cut += 7) {
        ResetWorld();
        Load(full.substr(0, cut));
    }
    // Cut inside row 3: the rest of the grid repeats the last cell read.
    ResetWorld();
    Load(full.substr(0, 3 * 65 + 10));
    EXPECT_EQ(TileGrid[3][5], Code(3, 4));
    EXPECT_EQ(TileGrid[23][31], Code(3, 4));
    EXPECT_EQ(cannonCount, 0);
    // Cut after the counts: the group reads nothing but is written with zeros.
    ResetWorld();
    CannonPool[0].freqmax = 5.0f;
    Load(GridText() + Counts(1, 0, 0, 0, 0));
    EXPECT_EQ(CannonPool[0].active, 1);
    EXPECT_EQ(CannonPool[0].freqmax, 0.0f);
    // Ending in a comment, an unfinished line, a lone CR or NUL bytes also ends.
    Load(GridText() + "nof can 2\n// last");
    EXPECT_EQ(cannonCount, 2);
    Load(GridText() + Counts(1, 0, 0, 0, 0) + "cannon[0].crd.x 6");
    EXPECT_EQ(CannonPool[0].x, 48.0f);
    Load(GridText() + "\r");
    ExpectTestGrid();
    EXPECT_EQ(cannonCount, 0);
    Load(std::string("\0\0\0", 3));
    EXPECT_EQ(TileGrid[23][31], 0);
    alarm(0);
}

// ---- files, the log and the sequence ----

class MapFiles : public FolderTest {
protected:
    void SetUp() override {
        FolderTest::SetUp();
        log = dir + "/world.log";
        OpenWorldLog(log.c_str());
        ResetWorld();
    }
    void TearDown() override {
        CloseWorldLog();
        FolderTest::TearDown();
    }
    std::string log;
};

static const std::string kTwoLines = "    loading scene\n  loading scenegg objects\n";

TEST_F(MapFiles, EachLoadLogsTwoLinesAndAFileTooLargeIsRefusedWhole) {
    WriteAll(dir + "/a.map", GridText(true, "\r\n") + Counts(1, 0, 0, 0, 0, "\r\n") + Cannon(0, 2, 2));
    LoadMap((dir + "/a.map").c_str());
    LoadMap((dir + "/a.map").c_str());
    EXPECT_EQ(ReadAll(log), kTwoLines + kTwoLines);
    ExpectTestGrid();
    OpenWorldLog(log.c_str());   // opening the log again empties it
    EXPECT_EQ(ReadAll(log), "");

    // A well-formed map padded past the size limit is refused whole; at the limit it loads.
    std::string big = GridText() + Counts(1, 0, 0, 0, 0) + Cannon(0, 9, 9);
    big += std::string(MAP_FILE_LIMIT - big.size() + 1, '\n');
    WriteAll(dir + "/big.map", big);
    OpenWorldLog(log.c_str());
    LoadMap((dir + "/big.map").c_str());
    EXPECT_EQ(ReadAll(log), kTwoLines + dir + "/big.map is larger than 1048576 bytes: not loaded\n");
    EXPECT_EQ(CannonPool[0].x, 16.0f);
    big.pop_back();
    WriteAll(dir + "/big.map", big);
    LoadMap((dir + "/big.map").c_str());
    EXPECT_EQ(CannonPool[0].x, 72.0f);
}

// (A map of the sequence that is not there is the install test's run without data.)
TEST_F(MapFiles, LoadCurrentMapLoadsOnlyIndexesZeroToFour) {
    for (int index : {5, -1, 2147483647}) {
        TileGrid[0][0] = 42;
        mapIndex = index;
        LoadCurrentMap();
        EXPECT_EQ(TileGrid[0][0], 42) << index;
    }
    EXPECT_EQ(ReadAll(log), "");
}
