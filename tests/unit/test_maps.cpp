// The five screens (that they load cleanly is the data checker's test on the game's own data):
// each is closed, starts and ends where the game needs, hands the hero over at exits that line
// up, places its level objects soundly, can be crossed, and never puts the hero's picture into
// the scenery.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/unit/hero_reach.h"
#include "tests/unit/map_fixture.h"
#include "tests/unit/test_files.h"
#include "world/map.h"
#include "world/world.h"

namespace {

const MapCopy &Map(int i) {
    static MapCopy screens[MAP_COUNT];
    static bool loaded[MAP_COUNT];
    if (!loaded[i]) {
        screens[i] = LoadMapCopy(ReadAll(std::string(KAV_SOURCE_DIR) + "/" + MapFileName(i)));
        loaded[i] = true;
    }
    return screens[i];
}

bool Floor(int32_t code) { return code == TILE_SOLID || code == TILE_LEDGE; }
int32_t At(const MapCopy &s, int row, int col) {
    if (row < 0 || row >= GRID_ROWS || col < 0 || col >= GRID_COLS) return TILE_SOLID;
    return s.grid[row][col];
}

// The cells a walker at (row, col) can roam over: it turns at walls, doors and the ends of its floor.
bool Roams(const MapCopy &s, int row, int col) {
    int32_t body = At(s, row, col);
    return body != TILE_SOLID && body != TILE_EXIT && At(s, row + 1, col) != TILE_EMPTY;
}

}  // namespace

TEST(Screens, AreClosedExceptForTheirDoors) {
    for (int i = 0; i < MAP_COUNT; i++) {
        const MapCopy &s = Map(i);
        for (int c = 0; c < GRID_COLS; c++) {
            EXPECT_EQ(s.grid[0][c], TILE_SOLID) << "map " << i << " top, column " << c;
            EXPECT_EQ(s.grid[BOTTOM_ROW][c], TILE_SOLID) << "map " << i << " bottom, column " << c;
        }
        for (int r = 0; r < GRID_ROWS; r++)
            for (int c : {0, 31}) {
                int32_t v = s.grid[r][c];
                EXPECT_TRUE(v == TILE_SOLID || v == TILE_EXIT) << "map " << i << " side cell " << r << "," << c;
            }
    }
    for (int r = 0; r < GRID_ROWS; r++) {
        EXPECT_NE(Map(0).grid[r][0], TILE_EXIT) << "the first screen has no way back, row " << r;
        EXPECT_NE(Map(4).grid[r][31], TILE_EXIT) << "the last screen has no way on, row " << r;
    }
}

TEST(Screens, HeroStartsOnFloor) {
    const MapCopy &s = Map(0);
    // The probe columns 3 pixels either side of the start over the row under the feet; the
    // feet row and the head's row above them open.
    const int feet = BOTTOM_ROW - CellRow(HERO_START_Y);
    const int left = CellCol(HERO_START_X - 3.0f), right = CellCol(HERO_START_X + 3.0f);
    EXPECT_TRUE(Floor(s.grid[feet + 1][left]));
    EXPECT_TRUE(Floor(s.grid[feet + 1][right]));
    EXPECT_NE(s.grid[feet][right], TILE_SOLID);
    EXPECT_NE(s.grid[feet - 1][right], TILE_SOLID);
}

TEST(Screens, ExitsLineUpWithTheNeighbouringScreen) {
    int doors = 0;
    for (int i = 0; i + 1 < MAP_COUNT; i++) {
        const MapCopy &from = Map(i), &to = Map(i + 1);
        for (int r = 0; r < GRID_ROWS; r++) {
            // A right exit of map i arrives at x 12 of map i+1 with the same height, and a
            // left exit of map i+1 arrives at x 244 of map i: both sides hold a door there.
            // (An arrival inside a wall is the reach test's clash.)
            bool right = from.grid[r][31] == TILE_EXIT, left = to.grid[r][0] == TILE_EXIT;
            EXPECT_EQ(right, left) << "maps " << i << " and " << i + 1 << ", row " << r;
            if (!right || !left) continue;
            doors++;
            // The lowest row of each door is the feet row: floor under x 12 and under x 244.
            if (from.grid[r + 1][31] != TILE_EXIT) {
                EXPECT_TRUE(Floor(At(to, r + 1, 1))) << "no floor under x 12, map " << i + 1 << " row " << r;
                EXPECT_TRUE(Floor(At(from, r + 1, 30))) << "no floor under x 244, map " << i << " row " << r;
            }
        }
    }
    EXPECT_GE(doors, 4);
}

TEST(Screens, ObjectsStandHangAndRollWhereTheyCan) {
    int kindsSeen[KIND_COUNT] = {};
    for (int i = 0; i < MAP_COUNT; i++) {
        const MapCopy &s = Map(i);
        for (int k = 0; k < KIND_COUNT; k++) {
            kindsSeen[k] += s.counts[k];
            for (int j = 0; j < s.counts[k]; j++) {
                const ObjectRecord &o = s.objects[k][j];
                int col = CellCol(o.x), row = BOTTOM_ROW - CellRow(o.y);
                std::string where = "map " + std::to_string(i) + " kind " + std::to_string(k) + " #" + std::to_string(j);
                ASSERT_TRUE(col >= 1 && col <= 30 && row >= 1 && row <= 22) << where;
                if (k == KIND_CELLING) {
                    // Hangs from a ceiling: its own cell is free, the cell above is wall.
                    EXPECT_EQ(At(s, row - 1, col), TILE_SOLID) << where;
                    EXPECT_EQ(At(s, row, col), TILE_EMPTY) << where;
                    EXPECT_GT(o.raydist, 20.0f) << where;
                    EXPECT_GT(o.alarmmax, 0.0f) << where;
                } else {
                    // Stands on floor, body free of walls (probes and trains would turn in place).
                    EXPECT_NE(At(s, row + 1, col), TILE_EMPTY) << where;
                    EXPECT_NE(At(s, row, col), TILE_SOLID) << where;
                }
                if (k == KIND_TWOWAYS) {
                    EXPECT_EQ(o.face, 1) << where;   // shots leave from the outer sides
                }
                if (k == KIND_SONDA) {
                    // No other probe, gun or car on its stretch of floor: they would pass through each other.
                    for (int k2 : {KIND_CANNON, KIND_TWOWAYS, KIND_SONDA, KIND_TRAIN})
                        for (int j2 = 0; j2 < s.counts[k2]; j2++) {
                            const ObjectRecord &p = s.objects[k2][j2];
                            int col2 = CellCol(p.x);
                            if ((k2 == k && j2 == j) || BOTTOM_ROW - CellRow(p.y) != row) continue;
                            bool apart = false;
                            for (int c = std::min(col, col2); c <= std::max(col, col2); c++) apart |= !Roams(s, row, c);
                            EXPECT_TRUE(apart) << where << " shares its floor with kind " << k2 << " #" << j2;
                        }
                }
                if (k == KIND_TRAIN) {
                    // Each car rolls on to a door and leaves: a car that turned would fold into the next one.
                    int step = o.frameface ? 1 : -1, c = col;
                    while (Roams(s, row, c)) c += step;
                    EXPECT_EQ(At(s, row, c), TILE_EXIT) << where << ": the track ends before a door";
                    EXPECT_GT(o.appearspd, 0.0f) << where;
                    int first = Trunc(o.framebeg), last = Trunc(o.frameend);
                    EXPECT_TRUE(first >= 0 && last <= 11 && first / 4 == last / 4) << where << ": one car's pictures";
                    EXPECT_EQ(Trunc(o.frame), first) << where;
                }
            }
        }
        // Guns that fire on their own fire at all.
        for (int k : {KIND_CANNON, KIND_TWOWAYS})
            for (int j = 0; j < s.counts[k]; j++) EXPECT_GT(s.objects[k][j].freqspd, 0.0f);
    }
    for (int k = 0; k < KIND_COUNT; k++) EXPECT_GT(kindsSeen[k], 0) << "kind " << k << " appears on no screen";
}

TEST(Screens, CeilingGunsWatchFloorWithCoverToHideIn) {
    // Straight down from every ceiling gun the ray must reach the floor the hero walks on, and
    // some cover must stand on that floor within its sweep, so a crouching hero can hide.
    int guns = 0;
    for (int i = 0; i < MAP_COUNT; i++) {
        const MapCopy &s = Map(i);
        for (int j = 0; j < s.counts[KIND_CELLING]; j++) {
            const ObjectRecord &o = s.objects[KIND_CELLING][j];
            guns++;
            int col = CellCol(o.x), row = BOTTOM_ROW - CellRow(o.y);
            int feet = row;   // the hero's feet row on the floor below the gun
            while (feet < 22 && !Floor(s.grid[feet + 1][col])) feet++;
            EXPECT_LE((feet - row) * 8 / 2, o.raydist) << "map " << i << ": the ray stops short of the floor";
            int cover = 0;
            for (int c = col - 8; c <= col + 8; c++)
                if (At(s, feet, c) == TILE_COVER && Floor(At(s, feet + 1, c))) cover++;
            EXPECT_GT(cover, 0) << "map " << i << " gun " << j << ": no cover under its sweep";
        }
    }
    EXPECT_GE(guns, 2);
}

TEST(Screens, TheHerosPictureStaysClearOfWallsAndGirders) {
    // Standing and jumping everywhere the hero can get to, from where he arrives on the screen,
    // his picture never reaches into a wall, nor, where he stands, into a girder's beam (he
    // passes girders only on his way up through them). That each screen can be crossed, the
    // walkthrough shows.
    for (int i = 0; i < MAP_COUNT; i++) {
        const MapCopy &s = Map(i);
        for (int r = 0; r < GRID_ROWS; r++)
            for (int c = 0; c < GRID_COLS; c++) TileGrid[r][c] = s.grid[r][c];
        std::vector<reach::Place> starts;
        if (i == 0) starts.push_back({int(HERO_START_X), CellRow(HERO_START_Y)});
        for (int r = BOTTOM_ROW; r > 0; r--)
            for (int side : {0, 31})   // the lowest row of each door: he arrives standing there
                if (s.grid[r][side] == TILE_EXIT && (r == BOTTOM_ROW || s.grid[r + 1][side] != TILE_EXIT))
                    starts.push_back({int(side ? LEFT_EXIT_ARRIVAL_X : RIGHT_EXIT_ARRIVAL_X), BOTTOM_ROW - r});
        reach::Result all = reach::Explore(starts);
        EXPECT_GT(all.stands.size(), 100u) << "map " << i;
        for (const auto &clash : all.clashes) ADD_FAILURE() << "map " << i << ": " << clash.first << ", " << clash.second;
    }
}
