// Procedural painters: backdrop, explosions, shield bubble, and the helpers the screen pictures share.
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

// Value noise in [0,1), smooth between integer lattice points.
double Noise(double x, double y, int seed) {
    int xi = (int)std::floor(x), yi = (int)std::floor(y);
    double fx = x - xi, fy = y - yi;
    auto v = [&](int a, int b) { return (Hash3(a, b, seed) & 0xffff) / 65536.0; };
    double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    double top = v(xi, yi) + (v(xi + 1, yi) - v(xi, yi)) * sx;
    double bot = v(xi, yi + 1) + (v(xi + 1, yi + 1) - v(xi, yi + 1)) * sx;
    return top + (bot - top) * sy;
}

void Put(Picture &pic, int x, int y, Rgb c, double a) {
    uint8_t *p = pic.at(x, y);
    p[0] = Byte(c.r);
    p[1] = Byte(c.g);
    p[2] = Byte(c.b);
    p[3] = Byte(a);
}

void Blend(Picture &pic, int x, int y, Rgb c, double a) {
    if (a <= 0.0) return;
    uint8_t *p = pic.at(x, y);
    double oa = p[3] / 255.0, na = a + oa * (1.0 - a);
    Rgb old{p[0] / 255.0, p[1] / 255.0, p[2] / 255.0};
    Rgb mixed = na > 0 ? Rgb{(c.r * a + old.r * oa * (1 - a)) / na, (c.g * a + old.g * oa * (1 - a)) / na,
                             (c.b * a + old.b * oa * (1 - a)) / na}
                       : c;
    Put(pic, x, y, mixed, na);
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

// ---- explosions --------------------------------------------------------------------------

Picture PaintExplosion(int size, int frame, int frames, bool big) {
    Picture pic(size, size);
    double t = (frame + 0.5) / frames;                    // 0 .. 1 through the blast
    // The fireball fills most of its frame and burns at full strength through the first half,
    // so even its last frame still shows: the frame counts are fixed, the picture makes them last.
    double radius = big ? 0.45 + 0.53 * std::sqrt(t) : 0.55 + 0.42 * t;
    double fade = big ? (t < 0.5 ? 1.0 : 1.0 - (t - 0.5) * 1.2) : 1.15 * std::pow(1.0 - t, 0.6);
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
