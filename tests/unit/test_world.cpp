// World state: guarded cell access and the kind tables.
#include <gtest/gtest.h>

#include "world/world.h"

TEST(World, CellsOutsideTheGridReadAsWallsAndAreNeverWritten) {
    ResetWorld();
    EXPECT_EQ(GridCell(-1, 0), TILE_SOLID);
    EXPECT_EQ(GridCell(24, 0), TILE_SOLID);
    EXPECT_EQ(GridCell(0, -1), TILE_SOLID);
    EXPECT_EQ(GridCell(0, 32), TILE_SOLID);
    EXPECT_EQ(GridCell(0, 0), TILE_EMPTY);
    SetGridCell(24, 0, 5);
    SetGridCell(-1, 31, 5);
    SetGridCell(0, 32, 5);
    for (int r = 0; r < GRID_ROWS; r++)
        for (int c = 0; c < GRID_COLS; c++) EXPECT_EQ(TileGrid[r][c], 0);
    SetGridCell(23, 31, 9);
    EXPECT_EQ(TileAtCell(0, 31), 9);
}

TEST(World, TruncationIsSafeForHugeValues) {
    EXPECT_EQ(Trunc(3e30f), 1000000000);
    EXPECT_EQ(Trunc(-3e30f), -1000000000);
    EXPECT_EQ(GridCell(23 - CellRow(1e38f), CellCol(-1e38f)), TILE_SOLID);
}

TEST(World, KindLimitStaysInsideThePool) {
    ResetWorld();
    cannonCount = -3;
    trainCount = 70;
    sondaCount = 7;
    EXPECT_EQ(KindLimit(KIND_CANNON), 0);
    EXPECT_EQ(KindLimit(KIND_TRAIN), POOL_SIZE);
    EXPECT_EQ(KindLimit(KIND_SONDA), 7);
    EXPECT_EQ(KindPool(KIND_CELLING), CeilingPool);
}
