// Procedural painters: backdrop, overlays from the map grids, explosions, shield bubble.
#include "painters.h"

#include <algorithm>
#include <cmath>

int32_t ScreenGrid::at(int row, int col) const {
    if (row < 0 || row >= 24 || col < 0 || col >= 32) return 1;
    return cell[row][col];
}

uint32_t Hash3(int32_t a, int32_t b, int32_t c) {
    uint32_t h = 2166136261u;
    for (int32_t v : {a, b, c}) {
        h ^= (uint32_t)v;
        h *= 16777619u;
        h ^= h >> 13;
        h *= 0x5bd1e995u;
        h ^= h >> 15;
    }
    return h;
}

static double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
static uint8_t Byte(double v) { return (uint8_t)std::lround(Clamp01(v) * 255.0); }

struct Rgb {
    double r, g, b;
};
static Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
static Rgb Scale(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }
static Rgb Hex(uint32_t v) { return {((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0}; }
static void Put(Picture &pic, int x, int y, Rgb c, double a) {
    uint8_t *p = pic.at(x, y);
    p[0] = Byte(c.r);
    p[1] = Byte(c.g);
    p[2] = Byte(c.b);
    p[3] = Byte(a);
}

// Value noise in [0,1), smooth between integer lattice points.
static double Noise(double x, double y, int seed) {
    int xi = (int)std::floor(x), yi = (int)std::floor(y);
    double fx = x - xi, fy = y - yi;
    auto v = [&](int a, int b) { return (Hash3(a, b, seed) & 0xffff) / 65536.0; };
    double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    double top = v(xi, yi) + (v(xi + 1, yi) - v(xi, yi)) * sx;
    double bot = v(xi, yi + 1) + (v(xi + 1, yi + 1) - v(xi, yi + 1)) * sx;
    return top + (bot - top) * sy;
}

// ---- backdrop ----------------------------------------------------------------------------

Picture PaintBackdrop(int w, int h) {
    Picture pic(w, h);
    const Rgb top = Hex(0x0d1020), bottom = Hex(0x1a1b2c), seam = Hex(0x232842), lamp = Hex(0x3a4a6a);
    for (int ty = 0; ty < h; ty++) {
        double py = 192.0 - (ty + 0.5) * 192.0 / h;   // playfield y, up
        for (int tx = 0; tx < w; tx++) {
            double px = (tx + 0.5) * 256.0 / w;
            Rgb c = Mix(bottom, top, py / 192.0);
            // Large riveted hull panels far behind the play: faint seams and soft mottling.
            double n = Noise(px / 24.0, py / 24.0, 7) * 0.6 + Noise(px / 7.0, py / 7.0, 8) * 0.4;
            c = Scale(c, 0.85 + 0.3 * n);
            double pxm = std::fmod(px, 48.0), pym = std::fmod(py + 8.0, 36.0);
            if (pxm < 1.0 || pym < 1.0) c = Mix(c, seam, 0.55);
            if ((pxm > 3.0 && pxm < 4.0 && std::fmod(py, 6.0) < 1.0) || (pym > 3.0 && pym < 4.0 && std::fmod(px, 6.0) < 1.0))
                c = Mix(c, seam, 0.35);
            // Distant pipes running across the hall.
            for (double pipe : {58.0, 63.0, 150.0}) {
                double d = std::fabs(py - pipe);
                if (d < 1.8) c = Mix(c, Hex(0x262c44), 0.6 * (1.0 - d / 1.8) + 0.2);
            }
            // A few dim lamps, each a soft glow.
            static const double lamps[][2] = {{30, 170}, {118, 176}, {206, 168}, {74, 104}, {170, 96}, {240, 110}};
            for (auto &l : lamps) {
                double dx = px - l[0], dy = py - l[1];
                double d2 = dx * dx + dy * dy;
                c = Mix(c, lamp, 0.5 * std::exp(-d2 / 40.0));
            }
            Put(pic, tx, ty, c, 1.0);
        }
    }
    return pic;
}

// ---- overlays ----------------------------------------------------------------------------

// Colour of a wall texel at playfield (px, py) inside cell (row, col); fx, fy local 0..8, fy up.
static Rgb WallTexel(const ScreenGrid &g, int row, int col, double px, double py, double fx, double fy) {
    // Stone courses 4 units tall, blocks 8 wide, every other course offset by half a block.
    int course = (int)std::floor(py / 4.0);
    double offset = (course & 1) ? 4.0 : 0.0;
    int block = (int)std::floor((px + offset) / 8.0);
    double bx = std::fmod(px + offset, 8.0), by = std::fmod(py, 4.0);
    uint32_t hsh = Hash3(block, course, 11);
    Rgb stone = Mix(Hex(0x3c4660), Hex(0x4e5670), (hsh & 255) / 255.0);
    stone = Scale(stone, 0.92 + 0.16 * Noise(px / 2.0, py / 2.0, 12));
    bool mortar = bx < 0.7 || by < 0.7;
    Rgb c = mortar ? Hex(0x232a3c) : stone;
    if (!mortar && by > 3.0) c = Scale(c, 1.12);   // lit upper lip of each stone
    if (!mortar && bx > 7.2) c = Scale(c, 0.85);   // shaded right edge
    // Exposed faces: a bright rim on top, shadow underneath, bevels at the sides.
    bool openUp = g.at(row - 1, col) != 1, openDown = g.at(row + 1, col) != 1;
    bool openLeft = g.at(row, col - 1) != 1, openRight = g.at(row, col + 1) != 1;
    if (openUp && fy > 6.5) c = fy > 7.3 ? Hex(0x8a96b4) : Hex(0x5c6888);
    else if (openDown && fy < 1.2) c = Scale(c, 0.55);
    if (openLeft && fx < 1.0 && !(openUp && fy > 6.5)) c = Mix(c, Hex(0x6c7898), 0.6);
    if (openRight && fx > 7.0 && !(openUp && fy > 6.5)) c = Scale(c, 0.6);
    return c;
}

// A ledge: a steel girder in the top three units of its cell, open below.
static bool LedgeTexel(const ScreenGrid &g, int row, int col, double px, double fx, double fy, Rgb *c) {
    bool leftEnd = g.at(row, col - 1) != 2, rightEnd = g.at(row, col + 1) != 2;
    if (fy < 4.6) return false;
    if (leftEnd && fx < 0.6 && fy < 6.0) return false;   // bevelled ends
    if (rightEnd && fx > 7.4 && fy < 6.0) return false;
    if (fy > 7.2) *c = Hex(0xc8c2a8);                     // worn top plate
    else if (fy > 6.4) *c = Hex(0x9a8f70);
    else if (fy > 5.2) {
        // Truss band with diagonal struts and rivets.
        double s = std::fmod(px + (fy - 5.2) * 2.0, 4.0);
        *c = s < 1.2 ? Hex(0x6e6450) : Hex(0x4a4234);
        if (std::fabs(std::fmod(px, 4.0) - 2.0) < 0.6 && fy > 5.6 && fy < 6.2) *c = Hex(0xd8d0b0);
    } else
        *c = Hex(0x3a3428);                               // shadowed underside
    return true;
}

// Cover: a low armoured barricade, painted solid so a crouching hero is hidden behind it.
static bool CoverTexel(const ScreenGrid &g, int row, int col, double px, double fx, double fy, Rgb *c) {
    bool coverAbove = g.at(row - 1, col) == 3;
    double height = coverAbove ? 8.0 : 6.5;
    if (fy > height) return false;
    bool leftEnd = g.at(row, col - 1) != 3, rightEnd = g.at(row, col + 1) != 3;
    if (leftEnd && fx < 0.8 && fy > height - 1.0) return false;   // chamfered corners
    if (rightEnd && fx > 7.2 && fy > height - 1.0) return false;
    Rgb base = Hex(0x4d5a32);
    if (fy > height - 1.0 && !coverAbove) {
        // Hazard stripes along the top edge.
        bool stripe = std::fmod(px + fy, 4.0) < 2.0;
        *c = stripe ? Hex(0xd0a030) : Hex(0x2a2a22);
        return true;
    }
    *c = Scale(base, 0.9 + 0.2 * Noise(px / 1.5, fy / 1.5, 31));
    double seamX = std::fmod(px, 8.0);
    if (seamX < 0.5) *c = Hex(0x2c331c);
    if (fy < 0.8) *c = Hex(0x262c18);
    if ((std::fabs(seamX - 1.5) < 0.45 || std::fabs(seamX - 6.5) < 0.45) && std::fabs(fy - 4.5) < 0.45)
        *c = Hex(0xa0a880);   // bolts
    if (leftEnd && fx < 0.8) *c = Scale(*c, 1.25);
    if (rightEnd && fx > 7.2) *c = Scale(*c, 0.7);
    return true;
}

// An exit: a translucent energy curtain with chevrons pointing out of the screen.
static bool ExitTexel(const ScreenGrid &g, int row, int col, double py, double fx, double fy, Rgb *c, double *a) {
    bool rightSide = col >= 16;
    double out = rightSide ? fx : 8.0 - fx;                // distance towards the screen edge
    double wave = 0.5 + 0.5 * std::sin(py * 0.9 + out * 0.7);
    *c = Mix(Hex(0x2080a0), Hex(0x70f0ff), wave * 0.6);
    *a = 0.30 + 0.15 * wave;
    // Chevron ">" (or "<") in the middle of each cell.
    double d = std::fabs(fy - 4.0);
    double chevron = 6.0 - out - d * 0.8;
    if (chevron > 0 && chevron < 1.4 && d < 2.6) {
        *c = Hex(0xd0ffff);
        *a = 0.8;
    }
    // Door posts: a bright frame edge on the screen side of the opening, lintel on top.
    if (out > 7.0) {
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
    return true;
}

Picture PaintOverlay(const ScreenGrid &grid, int w, int h) {
    Picture pic(w, h);
    for (int ty = 0; ty < h; ty++) {
        double py = 192.0 - (ty + 0.5) * 192.0 / h;
        int rowFromBottom = (int)(py / 8.0);
        int row = 23 - rowFromBottom;
        double fy = py - rowFromBottom * 8.0;
        for (int tx = 0; tx < w; tx++) {
            double px = (tx + 0.5) * 256.0 / w;
            int col = (int)(px / 8.0);
            double fx = px - col * 8.0;
            Rgb c{0, 0, 0};
            double a = 0.0;
            switch (grid.at(row, col)) {
            case 1:
                c = WallTexel(grid, row, col, px, py, fx, fy);
                a = 1.0;
                break;
            case 2:
                if (LedgeTexel(grid, row, col, px, fx, fy, &c)) a = 1.0;
                break;
            case 3:
                if (CoverTexel(grid, row, col, px, fx, fy, &c)) a = 1.0;
                break;
            case 9:
                ExitTexel(grid, row, col, py, fx, fy, &c, &a);
                break;
            default:
                break;
            }
            if (a <= 0.0) c = {0, 0, 0};
            Put(pic, tx, ty, c, a);
        }
    }
    return pic;
}

// ---- explosions --------------------------------------------------------------------------

Picture PaintExplosion(int size, int frame, int frames, bool big) {
    Picture pic(size, size);
    double t = (frame + 0.5) / frames;                    // 0 .. 1 through the blast
    double radius = big ? 0.30 + 0.62 * std::sqrt(t) : 0.35 + 0.6 * t;
    double fade = big ? (t < 0.25 ? 1.0 : 1.0 - (t - 0.25) / 0.8) : std::pow(1.0 - t, 1.5) * 1.3;
    double heat = 1.0 - t;                                // white-hot early, red and smoky late
    for (int y = 0; y < size; y++) {
        for (int x = 0; x < size; x++) {
            double u = (x + 0.5) / size * 2.0 - 1.0, v = (y + 0.5) / size * 2.0 - 1.0;
            double ang = std::atan2(v, u);
            double wobble = 1.0 + 0.18 * (Noise(ang * 3.0 + 10.0, frame * 0.7, big ? 41 : 42) - 0.5) * 2.0;
            double d = std::sqrt(u * u + v * v) / (radius * wobble);
            Rgb c{0, 0, 0};
            double a = 0.0;
            if (d < 1.0) {
                double core = 1.0 - d;
                double n = Noise(u * 5.0 + frame, v * 5.0 - frame, big ? 43 : 44);
                double k = Clamp01(core * (0.9 + heat) + 0.3 * n);
                Rgb hot = Mix(Hex(0xff5010), Hex(0xffe070), Clamp01(k * 1.4));
                c = Mix(hot, Hex(0xffffff), Clamp01((k - 0.7) * 3.0 * heat));
                if (t > 0.65) c = Mix(c, Hex(0x603828), Clamp01((t - 0.65) * 2.0 * (1.0 - core)));
                a = fade * Clamp01(core * 3.0) * (0.75 + 0.25 * n);
            }
            if (big) {
                // Shock ring running ahead of the fireball.
                double ring = std::fabs(std::sqrt(u * u + v * v) - (0.2 + 0.85 * t));
                if (ring < 0.06 && t < 0.7) {
                    double ra = (1.0 - ring / 0.06) * (0.7 - t);
                    if (ra > a) {
                        c = Hex(0xffd0a0);
                        a = ra;
                    }
                }
            }
            Put(pic, x, y, c, a);
        }
    }
    if (big) {
        // Sparks thrown outwards, the same ones in every frame, further out each frame.
        for (int s = 0; s < 14; s++) {
            double ang = (Hash3(s, 1, 45) & 1023) / 1024.0 * 6.2831853;
            double speed = 0.55 + (Hash3(s, 2, 45) & 255) / 255.0 * 0.45;
            double r = speed * (0.25 + 0.75 * t);
            double cx = (std::cos(ang) * r + 1.0) * 0.5 * size, cy = (std::sin(ang) * r + 1.0) * 0.5 * size;
            double sa = Clamp01(1.1 - t);
            for (int dy = -1; dy <= 1; dy++)
                for (int dx = -1; dx <= 1; dx++) {
                    int x = (int)cx + dx, y = (int)cy + dy;
                    if (x < 0 || y < 0 || x >= size || y >= size) continue;
                    double w = (dx == 0 && dy == 0) ? 1.0 : 0.45;
                    uint8_t *p = pic.at(x, y);
                    double pa = p[3] / 255.0, na = sa * w;
                    if (na > pa) Put(pic, x, y, Mix(Hex(0xffa040), Hex(0xffffc0), w), na);
                }
        }
    }
    return pic;
}

// ---- shield ------------------------------------------------------------------------------

Picture PaintShield(int w, int h, int frame) {
    Picture pic(w, h);
    // Sprite space in units: 32 wide, 24 high, the hero's feet 4 units above the bottom.
    const double cx = 16.0, cy = 12.5, rx = 9.5, ry = 11.0;
    const double glint = frame * 1.5707963 + 0.6;
    for (int ty = 0; ty < h; ty++) {
        double uy = 24.0 - (ty + 0.5) * 24.0 / h;
        for (int tx = 0; tx < w; tx++) {
            double ux = (tx + 0.5) * 32.0 / w;
            double dx = (ux - cx) / rx, dy = (uy - cy) / ry;
            double d = std::sqrt(dx * dx + dy * dy);
            Rgb c = Hex(0x60d8ff);
            double a = 0.0;
            if (d < 1.0) {
                a = 0.10 + 0.55 * std::pow(d, 6.0);             // thin inside, bright rim
                double ang = std::atan2(dy, dx);
                double diff = std::fabs(std::remainder(ang - glint, 6.2831853));
                if (d > 0.78 && diff < 0.5) {
                    c = Mix(c, Hex(0xffffff), 1.0 - diff / 0.5);
                    a = std::max(a, 0.85 * (1.0 - diff / 0.5));
                }
                // Faint hexagonal shimmer that crawls between frames.
                double hx = std::fmod(ux * 0.9 + uy * 0.5 + frame * 0.8, 3.0);
                if (hx < 0.3 && d > 0.3) a += 0.08;
            } else if (d < 1.08) {
                a = 0.5 * (1.0 - (d - 1.0) / 0.08);             // soft outer edge
            }
            Put(pic, tx, ty, a > 0 ? c : Rgb{0, 0, 0}, std::min(a, 1.0));
        }
    }
    return pic;
}
