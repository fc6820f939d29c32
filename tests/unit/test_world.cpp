// World state: guarded cell writes, huge values, the kind tables. (That cells outside the
// grid read as walls, the golden dumps fix.)
#include <gtest/gtest.h>

#include "world/world.h"

TEST(World, CellsOutsideTheGridAreNeverWritten) {
    ResetWorld();
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
