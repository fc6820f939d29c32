// The screen pictures: painted from each map's grid and objects, in each screen's own look.
#include "painters.h"

#include "world/world.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

// The look of one screen: its walls, its girders and the colour of its lights.
struct Theme {
    uint32_t stoneA, stoneB, mortar, rim, rimShade;
    uint32_t beamTop, beamBody, beamDark;
    uint32_t accent;
    double blockW, courseH;   // size of a block or plate, playfield units
    bool plates;              // riveted plates instead of laid stone
};

const Theme kThemes[5] = {
    // the yard: warm sandstone, wooden girders
    {0x9c7a4e, 0xb89262, 0x4a3a28, 0xf0d8a0, 0xc0a070, 0xd8a868, 0x8a6438, 0x4a3420, 0xe07030, 8, 4, false},
    // the gallery: dark green marble in long courses, bronze girders
    {0x34525a, 0x426670, 0x16242a, 0xa8d8d0, 0x6c9c98, 0xe0c070, 0x7a6030, 0x3a2c14, 0xd8b060, 12, 6, false},
    // the watch hall: riveted steel plates, grey gratings, red lamps
    {0x545862, 0x646874, 0x22242a, 0xc8ccd8, 0x8c909c, 0xb8bcc8, 0x5a5e68, 0x2c2e36, 0xe02828, 16, 8, true},
    // the depot: concrete slabs, yellow steel
    {0x686458, 0x78746a, 0x34322c, 0xe8c040, 0x9c8830, 0xf0cc40, 0x8a7420, 0x403410, 0xf0b020, 16, 8, true},
    // the terminal: blue panels with light strips, lit gratings
    {0x2a4676, 0x365892, 0x121e36, 0x9ce0ff, 0x5890c0, 0xa8ecff, 0x3a6890, 0x1a3048, 0x40ffc8, 8, 8, true},
};

constexpr double kUnitsW = 256.0, kUnitsH = 192.0;

// Calls fn(px, py, tx, ty) for every texel whose centre lies in the playfield rectangle.
void ForArea(Picture &pic, double x0, double y0, double x1, double y1,
             const std::function<void(double, double, int, int)> &fn) {
    int tx0 = std::max(0, (int)std::floor(x0 * pic.w / kUnitsW)), tx1 = std::min(pic.w - 1, (int)std::ceil(x1 * pic.w / kUnitsW));
    int ty0 = std::max(0, (int)std::floor((kUnitsH - y1) * pic.h / kUnitsH));
    int ty1 = std::min(pic.h - 1, (int)std::ceil((kUnitsH - y0) * pic.h / kUnitsH));
    for (int ty = ty0; ty <= ty1; ty++) {
        double py = kUnitsH - (ty + 0.5) * kUnitsH / pic.h;
        if (py < y0 || py >= y1) continue;
        for (int tx = tx0; tx <= tx1; tx++) {
            double px = (tx + 0.5) * kUnitsW / pic.w;
            if (px < x0 || px >= x1) continue;
            fn(px, py, tx, ty);
        }
    }
}

// Playfield rectangle of a cell (row from the top).
double CellLeft(int col) { return col * 8.0; }
double CellBottom(int row) { return (BOTTOM_ROW - row) * 8.0; }

bool Wall(const ScreenGrid &g, int row, int col) { return g.at(row, col) == 1; }

// ---- walls, girders, doors -----------------------------------------------------------------

Rgb WallTexel(const Theme &t, const ScreenGrid &g, int row, int col, double px, double py, double fx, double fy) {
    int course = (int)std::floor(py / t.courseH);
    double offset = (course & 1) ? t.blockW / 2 : 0.0;
    int block = (int)std::floor((px + offset) / t.blockW);
    double bx = std::fmod(px + offset, t.blockW), by = std::fmod(py, t.courseH);
    uint32_t hsh = Hash3(block, course, 11 + g.index);
    Rgb stone = Mix(Hex(t.stoneA), Hex(t.stoneB), (hsh & 255) / 255.0);
    stone = Scale(stone, 0.92 + 0.16 * Noise(px / 2.0, py / 2.0, 12 + g.index));
    bool mortar = bx < 0.7 || by < 0.7;
    Rgb c = mortar ? Hex(t.mortar) : stone;
    if (!mortar && by > t.courseH - 1.0) c = Scale(c, 1.12);   // lit upper lip
    if (!mortar && bx > t.blockW - 0.8) c = Scale(c, 0.85);    // shaded right edge
    if (t.plates && !mortar) {
        // Rivets in the corners of every plate.
        double rx = std::min(bx - 0.7, t.blockW - bx), ry = std::min(by - 0.7, t.courseH - by);
        if (rx > 0.6 && rx < 1.6 && ry > 0.6 && ry < 1.6) c = Mix(c, Hex(t.rim), 0.5);
    }
    if (g.index == 1) {
        // The gallery's deep walls hold arched windows onto the night outside, wherever a
        // whole window fits with a cell of wall all round it.
        double baseX = std::floor(px / 32.0) * 32.0, baseY = std::floor(py / 24.0) * 24.0;
        bool deep = true;
        for (double ex : {baseX + 8.0, baseX + 16.0, baseX + 23.9})
            for (double ey : {baseY + 3.0, baseY + 12.0, baseY + 21.0})
                for (int dr = -1; dr <= 1; dr++)
                    for (int dc = -1; dc <= 1; dc++) deep &= Wall(g, BOTTOM_ROW - (int)(ey / 8.0) + dr, (int)(ex / 8.0) + dc);
        double wx = std::fmod(px, 32.0) - 16.0, wy = std::fmod(py, 24.0);
        bool inArch = std::fabs(wx) < 5.0 && wy > 5.0 && (wy < 14.0 || wx * wx + (wy - 14.0) * (wy - 14.0) < 25.0);
        bool frame = std::fabs(wx) < 6.2 && wy > 4.0 && (wy < 14.0 || wx * wx + (wy - 14.0) * (wy - 14.0) < 38.0);
        if (deep && frame) c = inArch ? Mix(Hex(0x0a1030), Hex(0x24306a), Clamp01((wy - 5.0) / 12.0)) : Hex(t.accent);
        if (deep && inArch && (Hash3((int)(px * 2), (int)(py * 2), 77) & 127) == 0) c = Hex(0xf0f0ff);   // stars
    }
    // Exposed faces: a bright rim on top, shadow underneath, bevels at the sides.
    bool openUp = !Wall(g, row - 1, col), openDown = !Wall(g, row + 1, col);
    bool openLeft = !Wall(g, row, col - 1), openRight = !Wall(g, row, col + 1);
    if (openUp && fy > 6.5) {
        c = fy > 7.3 ? Hex(t.rim) : Hex(t.rimShade);
        if (g.index == 3 && std::fmod(px + fy, 6.0) < 3.0) c = Hex(0x2a2a22);    // hazard edge
        if (g.index == 4 && fy > 7.3 && std::fmod(px, 16.0) < 10.0) c = Hex(t.accent);   // light strip
    } else if (openDown && fy < 1.2) {
        c = Scale(c, 0.55);
    }
    if (openLeft && fx < 1.0 && !(openUp && fy > 6.5)) c = Mix(c, Hex(t.rimShade), 0.6);
    if (openRight && fx > 7.0 && !(openUp && fy > 6.5)) c = Scale(c, 0.6);
    return c;
}

// A girder: its beam fills the top part of the cell only (from 4.6 units up), open below.
bool GirderTexel(const Theme &t, const ScreenGrid &g, int row, int col, double px, double fx, double fy, Rgb *c) {
    bool leftEnd = g.at(row, col - 1) != 2, rightEnd = g.at(row, col + 1) != 2;
    if (fy < 4.6) return false;
    if (leftEnd && fx < 0.6 && fy < 6.0) return false;   // bevelled ends
    if (rightEnd && fx > 7.4 && fy < 6.0) return false;
    if (fy > 7.2) {
        *c = Hex(t.beamTop);
    } else if (fy > 6.4) {
        *c = Scale(Hex(t.beamTop), 0.75);
    } else if (fy > 5.2) {
        // Truss band with diagonal struts and bolts.
        double s = std::fmod(px + (fy - 5.2) * 2.0, 4.0);
        *c = s < 1.2 ? Hex(t.beamBody) : Hex(t.beamDark);
        if (std::fabs(std::fmod(px, 4.0) - 2.0) < 0.6 && fy > 5.6 && fy < 6.2) *c = Hex(t.beamTop);
    } else {
        *c = Scale(Hex(t.beamDark), 0.8);   // shadowed underside
    }
    return true;
}

// A door: a translucent energy curtain with chevrons pointing out of the screen.
void DoorTexel(const ScreenGrid &g, int row, int col, double py, double fx, double fy, Rgb *c, double *a) {
    bool rightSide = col >= 16;
    double out = rightSide ? fx : 8.0 - fx;   // distance towards the screen edge
    double wave = 0.5 + 0.5 * std::sin(py * 0.9 + out * 0.7);
    *c = Mix(Hex(0x2080a0), Hex(0x70f0ff), wave * 0.6);
    *a = 0.30 + 0.15 * wave;
    double d = std::fabs(fy - 4.0);
    double chevron = 6.0 - out - d * 0.8;
    if (chevron > 0 && chevron < 1.4 && d < 2.6) {
        *c = Hex(0xd0ffff);
        *a = 0.8;
    }
    if (out > 7.0) {   // door post on the screen side, lintel on top, sill below
        *c = Hex(0x90a8c0);
        *a = 1.0;
    }
    if (g.at(row - 1, col) != 9 && fy > 7.0) {
        *c = Hex(0xb0c8e0);
        *a = 1.0;
    }
    if (g.at(row + 1, col) != 9 && fy < 0.8) {
        *c = Hex(0x506070);
        *a = 1.0;
    }
}

void PaintCells(Picture &pic, const ScreenGrid &g, const Theme &t) {
    for (int ty = 0; ty < pic.h; ty++) {
        double py = kUnitsH - (ty + 0.5) * kUnitsH / pic.h;
        int rowFromBottom = (int)(py / 8.0), row = BOTTOM_ROW - rowFromBottom;
        double fy = py - rowFromBottom * 8.0;
        for (int tx = 0; tx < pic.w; tx++) {
            double px = (tx + 0.5) * kUnitsW / pic.w;
            int col = (int)(px / 8.0);
            double fx = px - col * 8.0;
            Rgb c{0, 0, 0};
            double a = 0.0;
            switch (g.at(row, col)) {
            case 1:
                c = WallTexel(t, g, row, col, px, py, fx, fy);
                a = 1.0;
                break;
            case 2:
                if (GirderTexel(t, g, row, col, px, fx, fy, &c)) a = 1.0;
                break;
            case 9:
                DoorTexel(g, row, col, py, fx, fy, &c, &a);
                break;
            default:
                break;
            }
            Put(pic, tx, ty, a > 0.0 ? c : Rgb{0, 0, 0}, a);
        }
    }
}

// ---- what the ceiling guns watch -------------------------------------------------------------

// Each gun hangs from a rail in the ceiling; where its five barrel lines end on the floor,
// warning paint marks the ground it sweeps.
void PaintSweeps(Picture &pic, const ScreenGrid &g, const Theme &t) {
    static const double starts[5][2] = {{-8, -1}, {-5, -3}, {0, -6}, {5, -3}, {8, -1}};
    static const double steps[5] = {-2.2, -0.8, 0.0, 0.8, 2.2};
    for (const ScreenGrid::Gun &gun : g.guns) {
        int lo[24], hi[24];
        for (int r = 0; r < 24; r++) lo[r] = 99, hi[r] = -1;
        for (int b = 0; b < 5; b++) {
            double x = gun.x + starts[b][0], y = gun.y + starts[b][1];
            for (int n = 0; n < gun.raydist; n++) {
                x += steps[b];
                y -= 2.0;
                if (x < 0 || x >= kUnitsW || y < 0 || y >= kUnitsH) break;
                int row = BOTTOM_ROW - (int)(y / 8.0), col = (int)(x / 8.0);
                int32_t code = g.at(row, col);
                if (code == 1 || code == 2 || code == 3 || code == 9) {
                    // The floor this line lands on: the cover's own floor when it ends on cover.
                    int floorRow = code == 3 ? row + 1 : row;
                    lo[floorRow] = std::min(lo[floorRow], col);
                    hi[floorRow] = std::max(hi[floorRow], col);
                    break;
                }
            }
        }
        for (int r = 0; r < 24; r++) {
            for (int c = lo[r]; c <= hi[r]; c++) {
                int32_t code = g.at(r, c);
                if (code != 1 && code != 2) continue;
                double x0 = CellLeft(c), top = CellBottom(r) + 8.0;
                ForArea(pic, x0, top - 1.6, x0 + 8.0, top, [&](double px, double, int tx, int ty) {
                    bool stripe = std::fmod(px + 256.0, 4.0) < 2.0;
                    Blend(pic, tx, ty, stripe ? Hex(0xff3018) : Hex(0xffa020), 0.85);
                });
            }
        }
        // The rail: a dark slot under the ceiling, lamps at both ends and over the gun.
        double gx = gun.x, railY = std::floor(gun.y / 8.0) * 8.0 + 8.0;
        int ceilingRow = BOTTOM_ROW - (int)(railY / 8.0);
        for (int c = (int)(gx / 8.0) - 2; c <= (int)(gx / 8.0) + 2; c++) {
            if (!Wall(g, ceilingRow, c)) continue;
            ForArea(pic, CellLeft(c), railY, CellLeft(c) + 8.0, railY + 2.4, [&](double px, double py, int tx, int ty) {
                Rgb rail = py > railY + 1.6 ? Hex(0x101014) : Hex(0x3a3c44);
                double lamp = std::fabs(std::fmod(px - gx + 512.0, 16.0) - 8.0);
                if (lamp > 6.8 && py < railY + 1.6) rail = Hex(t.accent);
                Blend(pic, tx, ty, rail, 1.0);
            });
        }
    }
}

// ---- barricades --------------------------------------------------------------------------

// Cover is a low barricade standing in front of whoever crouches behind it: an armoured
// body up to 9 units, then a striped rail on posts up to 12, so a crouching hero shows only
// the top of his helmet and a standing one from the chest up.
void PaintBarricades(Picture &pic, const ScreenGrid &g) {
    for (int row = 0; row < 24; row++)
        for (int col = 0; col < 32; col++) {
            if (g.at(row, col) != 3) continue;
            bool leftEnd = g.at(row, col - 1) != 3, rightEnd = g.at(row, col + 1) != 3;
            double x0 = CellLeft(col), y0 = CellBottom(row);
            ForArea(pic, x0, y0, x0 + 8.0, y0 + 12.0, [&](double px, double py, int tx, int ty) {
                double fx = px - x0, fy = py - y0;
                double postL = leftEnd ? 1.0 : -9.0, postR = rightEnd ? 7.0 : 17.0;
                if (fy < 9.0) {
                    if ((leftEnd && fx < 0.8 && fy > 8.0) || (rightEnd && fx > 7.2 && fy > 8.0)) return;   // chamfer
                    Rgb c = Scale(Hex(0x56643a), 0.9 + 0.2 * Noise(px / 1.5, fy / 1.5, 31));
                    if (std::fmod(px, 4.0) < 0.6) c = Hex(0x2e361e);   // ribs
                    if (fy < 1.0) c = Hex(0x20261a);
                    if (fy > 7.6) c = Hex(0x9aa878);                    // lit top edge
                    if (std::fabs(std::fmod(px, 4.0) - 2.2) < 0.5 && std::fabs(fy - 4.5) < 0.5) c = Hex(0xc8d0a8);
                    if (leftEnd && fx < 1.0) c = Scale(c, 1.25);
                    if (rightEnd && fx > 7.0) c = Scale(c, 0.7);
                    Blend(pic, tx, ty, c, 1.0);
                    return;
                }
                if (fy < 10.5) return;   // the gap under the rail
                bool post = std::fabs(fx - postL) < 0.6 || std::fabs(fx - postR) < 0.6;
                bool rail = fy > 10.5 && fx > postL - 0.6 && fx < postR + 0.6;
                if (!post && !rail) return;
                bool stripe = std::fmod(px + py, 3.0) < 1.5;
                Blend(pic, tx, ty, post ? Hex(0x3a4228) : (stripe ? Hex(0xe0b030) : Hex(0x2a2a22)), 1.0);
            });
            // Posts stand on the body between the rail and the top edge.
            ForArea(pic, x0, y0 + 9.0, x0 + 8.0, y0 + 10.5, [&](double px, double, int tx, int ty) {
                double fx = px - x0;
                if ((leftEnd && std::fabs(fx - 1.0) < 0.6) || (rightEnd && std::fabs(fx - 7.0) < 0.6))
                    Blend(pic, tx, ty, Hex(0x3a4228), 1.0);
            });
        }
}

// ---- tunnel mouths ----------------------------------------------------------------------

// Cars come into play hidden in a tunnel mouth, so no car pops up in the open. Where a car
// leaves through a door the mouth is an open arch, stones round the door and nothing inside:
// the car goes out through the door's curtain, and the hero who comes in through that door
// is seen from his first step.
void PaintMouth(Picture &pic, const Theme &t, double x0, double x1, double y0, bool open) {
    double y1 = y0 + 16.0;
    ForArea(pic, std::max(0.0, x0), y0, std::min(kUnitsW, x1), y1 + 2.0, [&](double px, double py, int tx, int ty) {
        bool stones = py >= y1 || px < x0 + 1.2 || px >= x1 - 1.2;
        if (open && !stones) return;
        Rgb c = Mix(Hex(0x020204), Hex(0x0c0c14), Clamp01((py - y0) / 16.0));
        if (py < y0 + 1.0) c = Hex(0x3a3630);                            // rails' bed
        if (stones) {                                                     // arch stones
            c = Mix(Hex(t.stoneA), Hex(t.stoneB), (Hash3((int)(px / 3), (int)(py / 3), 90) & 255) / 255.0);
            if (std::fmod(px, 3.0) < 0.4 || std::fmod(py, 3.0) < 0.4) c = Hex(t.mortar);
        }
        Blend(pic, tx, ty, c, 1.0);
    });
}

void PaintTunnels(Picture &pic, const ScreenGrid &g, const Theme &t) {
    for (const ScreenGrid::Car &car : g.cars) {
        PaintMouth(pic, t, car.x - 9.0, car.x + 9.0, car.y, false);
        // Where the car leaves: the door ahead on its track.
        int row = BOTTOM_ROW - (int)(car.y / 8.0), col = (int)(car.x / 8.0), step = car.right ? 1 : -1;
        while (col > 0 && col < 31 && g.at(row, col) != 9 && g.at(row, col) != 1) col += step;
        if (g.at(row, col) != 9) continue;
        double door = car.right ? CellLeft(col) : CellLeft(col) + 8.0;
        if (car.right)
            PaintMouth(pic, t, door - 16.0, door + 8.0, car.y, true);
        else
            PaintMouth(pic, t, door - 8.0, door + 16.0, car.y, true);
    }
}

// ---- writing on the walls ---------------------------------------------------------------

// Glyphs of three by five dots for the door signs.
const char *Glyph(char ch) {
    switch (ch) {
    case '1': return ".#.##..#..#.###";
    case '2': return "###..#####..###";
    case '3': return "###..####..####";
    case '4': return "#.##.####..#..#";
    case '5': return "####..###..####";
    case 'T': return "###.#..#..#..#.";
    case 'O': return "####.##.##.####";
    case '<': return "..#.#.#...#...#";
    case '>': return "#...#...#.#.#..";
    default: return "...............";   // space
    }
}

// A dark plate with a rim in the screen's light colour.
void PaintPlate(Picture &pic, const Theme &t, double x0, double y0, double x1, double y1) {
    ForArea(pic, x0, y0, x1, y1, [&](double px, double py, int tx, int ty) {
        bool rim = px < x0 + 0.8 || px > x1 - 0.8 || py < y0 + 0.8 || py > y1 - 0.8;
        Blend(pic, tx, ty, rim ? Hex(t.accent) : Hex(0x14161c), 1.0);
    });
}

// A door sign: a plate 22 by 7 units, five small glyphs of one unit a dot, one dot apart.
void PaintSign(Picture &pic, const Theme &t, double x0, double y0, const char *text) {
    PaintPlate(pic, t, x0, y0, x0 + 22.0, y0 + 7.0);
    ForArea(pic, x0 + 1.5, y0 + 1.0, x0 + 20.5, y0 + 6.0, [&](double px, double py, int tx, int ty) {
        int gx = (int)(px - x0 - 1.5), gy = (int)(py - y0 - 1.0);
        int cell = gx / 4, dot = gx % 4;
        if (cell < 5 && dot < 3 && Glyph(text[cell])[(4 - gy) * 3 + dot] == '#') Blend(pic, tx, ty, Hex(0xfff4d0), 1.0);
    });
}

// Finds three wall cells in a row next to each door, nearest the door's floor first, and
// hangs a sign there saying where the door leads: "TO 2>" on the way on, "<TO 1" on the
// way back (screens counted from 1).
void PaintSigns(Picture &pic, const ScreenGrid &g, const Theme &t) {
    for (int side : {0, 31}) {
        char text[6];
        std::snprintf(text, sizeof text, side == 0 ? "<TO %d" : "TO %d>", g.index + 1 + (side == 0 ? -1 : 1));
        for (int row = 0; row < 24; row++) {
            if (g.at(row, side) != 9 || g.at(row + 1, side) == 9) continue;   // bottom row of a door
            int top = row;
            while (g.at(top - 1, side) == 9) top--;
            static const int order[] = {1, 2, 3, -1, -2, -3, 4, -4};
            for (int k : order) {
                int r = k > 0 ? row + k : top + k;
                bool found = false;
                for (int shift = 0; shift < 3 && !found; shift++) {
                    int c0 = side == 0 ? shift : 29 - shift;
                    if (Wall(g, r, c0) && Wall(g, r, c0 + 1) && Wall(g, r, c0 + 2)) {
                        PaintSign(pic, t, CellLeft(c0) + 1.0, CellBottom(r) + 0.5, text);
                        found = true;
                    }
                }
                if (found) break;
            }
        }
    }
}

// A line in the game's own 5 by 8 font on a plate, one unit a dot, six units a glyph,
// centred on x; y is the bottom of the glyph cells.
void PaintWriting(Picture &pic, const ScreenGrid &g, const Theme &t, double x, double y, const std::string &text) {
    if (!g.font) return;
    const double width = 6.0 * text.size() - 1.0, left = x - width / 2;
    PaintPlate(pic, t, left - 3.0, y - 2.0, left + width + 3.0, y + 9.0);
    for (size_t i = 0; i < text.size(); i++) {
        auto it = g.font->find(text[i] == ' ' ? std::string("space") : std::string(1, text[i]));
        if (it == g.font->end()) continue;
        const Picture &glyph = it->second;
        const double gx0 = left + 6.0 * i;
        ForArea(pic, gx0, y, gx0 + glyph.w, y + glyph.h, [&](double px, double py, int tx, int ty) {
            const int gx = (int)(px - gx0), gy = glyph.h - 1 - (int)(py - y);
            if (glyph.at(gx, gy)[0] >= 128) Blend(pic, tx, ty, Hex(0xfff4d0), 1.0);
        });
    }
}

// The first screen tells a new player the keys, in the top wall, and the goal, in the floor.
void PaintFirstScreenWords(Picture &pic, const ScreenGrid &g, const Theme &t) {
    PaintWriting(pic, g, t, 128.0, 180.0, "ARROWS: WALK, JUMP, HIDE   SPACE: FIRE");
    PaintWriting(pic, g, t, 128.0, 4.0, "GOAL: THE BEACON ON SCREEN 5   ESC: QUIT");
}

// ---- the beacon --------------------------------------------------------------------------

// The end of the road: a mast in the right-hand wall over the dais, its great lamp shining
// across the top of the screen, and the dais lit underneath.
void PaintBeacon(Picture &pic, const ScreenGrid &g, const Theme &t) {
    // The dais: the highest stretch of floor against the right-hand wall.
    int daisRow = -1, daisLeft = 30;
    for (int r = 2; r < BOTTOM_ROW && daisRow < 0; r++)
        if (Wall(g, r, 29) && !Wall(g, r - 1, 29)) daisRow = r;
    if (daisRow < 0) return;
    while (daisLeft > 1 && Wall(g, daisRow, daisLeft - 1) && !Wall(g, daisRow - 1, daisLeft - 1)) daisLeft--;
    double floorY = CellBottom(daisRow) + 8.0;
    const double lampX = 244.0, lampY = 132.0;
    const Rgb light = Hex(t.accent), white = Hex(0xf8fff8);
    // Glow over the walls around the lamp and beams across the ceiling.
    ForArea(pic, 150.0, floorY, kUnitsW, kUnitsH, [&](double px, double py, int tx, int ty) {
        if (pic.at(tx, ty)[3] == 0) return;   // light only on what is painted: walls
        double dx = px - lampX, dy = py - lampY, d = std::sqrt(dx * dx + dy * dy);
        double glow = 0.75 * std::exp(-d / 22.0);
        double ang = std::atan2(dy, dx);
        for (double beam : {2.05, 2.35, 2.7})
            if (std::fabs(ang - beam) < 0.05 && d > 12.0) glow = std::max(glow, 0.7 * std::exp(-d / 160.0));
        Blend(pic, tx, ty, Mix(light, white, 0.4), glow);
    });
    // The mast from the dais up to the lamp, on the wall.
    ForArea(pic, 241.0, floorY, 247.0, lampY, [&](double px, double py, int tx, int ty) {
        double fx = px - 241.0;
        Rgb c = fx < 1.0 ? Hex(0xd8e8f0) : (fx > 5.0 ? Hex(0x40506a) : Hex(0x8898b0));
        if (std::fmod(py, 12.0) < 1.0) c = Hex(0x20283a);   // joints
        if (std::fabs(std::fmod(py, 12.0) - 6.0) < 0.8 && fx > 1.5 && fx < 4.5) c = light;   // running lights
        Blend(pic, tx, ty, c, 1.0);
    });
    // The lamp: a housing, a white-hot core and a halo that spills into the air around it.
    ForArea(pic, lampX - 26.0, lampY - 26.0, kUnitsW, lampY + 26.0, [&](double px, double py, int tx, int ty) {
        double dx = px - lampX, dy = py - lampY, d = std::sqrt(dx * dx + dy * dy);
        if (d < 5.0) {
            Blend(pic, tx, ty, Mix(white, light, d / 5.0 * 0.5), 1.0);
        } else if (d < 7.0) {
            Blend(pic, tx, ty, Hex(0x405070), 1.0);   // housing ring
        } else if (d < 26.0) {
            double a = 0.55 * std::pow(1.0 - (d - 7.0) / 19.0, 2.0);
            Blend(pic, tx, ty, light, a);
        }
    });
    // The dais: light strips along its face and chevrons pointing at the mast.
    ForArea(pic, CellLeft(daisLeft), floorY - 8.0, 240.0, floorY, [&](double px, double py, int tx, int ty) {
        double fy = py - (floorY - 8.0);
        if (fy > 6.8) Blend(pic, tx, ty, white, 1.0);
        else if (fy > 6.0) Blend(pic, tx, ty, light, 1.0);
        double ch = std::fmod(px - fy * 0.5, 8.0);
        if (fy > 1.5 && fy < 4.5 && ch < 1.6) Blend(pic, tx, ty, light, 0.9);
    });
    // Under the lit strip the dais says what it is: the end of the road.
    PaintWriting(pic, g, t, (CellLeft(daisLeft) + kUnitsW) / 2, floorY - 20.0, "GOAL");
}

}  // namespace

Picture PaintOverlay(const ScreenGrid &grid, int w, int h) {
    Picture pic(w, h);
    const Theme &t = kThemes[grid.index >= 0 && grid.index < 5 ? grid.index : 0];
    PaintCells(pic, grid, t);
    PaintSweeps(pic, grid, t);
    PaintBarricades(pic, grid);
    PaintTunnels(pic, grid, t);
    PaintSigns(pic, grid, t);
    if (grid.index == 0) PaintFirstScreenWords(pic, grid, t);
    if (grid.index == 4) PaintBeacon(pic, grid, t);
    return pic;
}
