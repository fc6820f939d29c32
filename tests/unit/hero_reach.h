// Where the hero can get to on the loaded screen, found by driving the game's own hero code:
// from each place he can stand, a step or a walk off an edge either way, and jumps up, left
// and right; every place he passes is held against the walls and girders around his sprite.
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "sim/sim.h"
#include "world/world.h"

namespace reach {

// The hero's picture, as far as it matters for the scenery: his body spans x - 3 .. x + 3
// (his own probe columns) and reaches 20 units above his feet.
constexpr float kBodyHalf = 3.0f, kBodyHeight = 20.0f;
// A girder is painted in the top part of its cell only: its beam starts 4.6 units above
// the cell's lower edge.
constexpr float kBeamBottom = 4.6f;

struct Place {
    int x, row;   // standing: x in playfield units, feet row from the bottom
};

struct Result {
    std::vector<Place> stands;       // every place where he can stand
    // Each tile his sprite meets (a wall, or a beam where he stands), with the first place it happens.
    std::map<std::string, std::string> clashes;
};

// Tiles a sprite box x0..x1, y0..y1 overlaps that draw over it: walls always, beams of
// girders when `beams` is set.
inline std::string Clash(float x, float y, bool beams) {
    float x0 = x - kBodyHalf, x1 = x + kBodyHalf, y0 = y, y1 = y + kBodyHeight;
    for (int c = CellCol(x0); c <= CellCol(x1); c++)
        for (int r = CellRow(y0); r <= CellRow(y1 - 0.01f); r++) {
            int32_t code = TileAtCell(r, c);
            bool wall = code == TILE_SOLID;
            bool beam = beams && code == TILE_LEDGE && y1 > r * 8.0f + kBeamBottom && y0 < r * 8.0f + 8.0f;
            if (wall || beam)
                return std::string(wall ? "wall" : "girder") + " at row " + std::to_string(BOTTOM_ROW - r) + " column " +
                       std::to_string(c);
        }
    return "";
}

// Runs one move from a standing place: `dir` held (-1 left, 0 none, 1 right), UP in the first
// step when `jump`, and with `release` the direction let go once he is in the air. Ends when
// he stands again (true) or walks into a door (false).
inline bool Move(Place from, int dir, bool jump, bool release, Result &r, Place *to) {
    std::memset(KeyState, 0, sizeof KeyState);
    ObjectRecord &h = HeroState;
    h.x = (float)from.x;
    h.y = from.row * 8.0f;
    h.fallspd = 0.0f;
    h.fallacc = 0.1f;
    h.jumping = 0;
    h.hide = 0;
    for (int step = 0; step < 600; step++) {
        bool air = h.jumping != 0;
        KeyState[VK_UP_] = jump && step == 0;
        KeyState[VK_LEFT_] = dir < 0 && !(release && air);
        KeyState[VK_RIGHT_] = dir > 0 && !(release && air);
        // A door ahead: the game would load the next screen here.
        for (int side : {-1, 1})
            for (float ahead : {4.0f, 5.0f})
                if (KeyState[side < 0 ? VK_LEFT_ : VK_RIGHT_] &&
                    TileAtCell(CellRow(h.y), CellCol(h.x + (float)side * ahead)) == TILE_EXIT)
                    return false;
        UpdateHeroKeys();
        UpdateHeroMotion();
        if (h.y < 0.0f || h.x < 0.0f || h.x >= 256.0f) {
            r.clashes["outside the screen"] = "from x " + std::to_string(from.x);
            return false;
        }
        bool standing = !h.jumping && h.fallspd == 0.0f;
        std::string c = Clash(h.x, h.y, standing);
        if (!c.empty())
            r.clashes.emplace(c, (standing ? "standing at x " : "in the air at x ") + std::to_string((int)h.x) + " y " +
                                     std::to_string(h.y));
        if (standing && (step > 0 || !jump)) {
            *to = {(int)h.x, CellRow(h.y)};
            return true;
        }
    }
    return false;
}

// Every place reachable from the `starts` on the loaded screen.
inline Result Explore(const std::vector<Place> &starts) {
    Result r;
    static bool seen[256][24];
    std::memset(seen, 0, sizeof seen);
    std::vector<Place> todo;
    for (Place p : starts) {
        std::string c = Clash((float)p.x, p.row * 8.0f, true);
        if (!c.empty()) r.clashes.emplace(c, "arriving at x " + std::to_string(p.x));
        todo.push_back(p);
    }
    while (!todo.empty()) {
        Place p = todo.back();
        todo.pop_back();
        if (p.x < 0 || p.x > 255 || p.row < 0 || p.row > 23 || seen[p.x][p.row]) continue;
        seen[p.x][p.row] = true;
        r.stands.push_back(p);
        static const struct { int dir; bool jump, release; } moves[] = {
            {-1, false, false}, {1, false, false}, {-1, false, true}, {1, false, true},
            {0, true, false},   {-1, true, false}, {1, true, false},
        };
        for (auto m : moves) {
            Place to;
            if (Move(p, m.dir, m.jump, m.release, r, &to)) todo.push_back(to);
        }
    }
    return r;
}

}  // namespace reach
