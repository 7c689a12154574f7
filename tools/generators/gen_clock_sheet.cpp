// Draws the desktop clock's artwork from code: the 512 x 624 8-bit sheet (faces, the
// chiming bird, hand tips, second marker, glyphs) as pendrick_sheet.bmp and the tray icon
// as pendrick.ico. Usage: gen_clock_sheet OUTPUT_FOLDER
//
// Everything is painted in floating-point RGB with analytic edge smoothing, then reduced
// to 235 colours (indices 10-245 without 15) by median cut; index 15 marks transparency.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int W = 512, H = 624;
constexpr double PI = 3.14159265358979;

struct Col {
    double r = 0, g = 0, b = 0;
};
Col C(int hex) { return Col{((hex >> 16) & 255) / 255.0, ((hex >> 8) & 255) / 255.0, (hex & 255) / 255.0}; }
Col Mix(Col a, Col b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return Col{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Col Scale(Col a, double k) { return Col{a.r * k, a.g * k, a.b * k}; }

struct Px {
    Col c;
    double a = 0;  // coverage
};

// A canvas of the sheet's size; every painting call works in absolute pixel coordinates
// with an origin offset so that each piece is drawn in its own local coordinates.
struct Canvas {
    int w, h;
    std::vector<Px> px;
    double ox = 0, oy = 0;  // local origin
    double clipX0 = 0, clipY0 = 0, clipX1 = 1e9, clipY1 = 1e9;
    Canvas(int w_, int h_) : w(w_), h(h_), px(size_t(w_) * h_) {}

    void SetRegion(int x, int y, int rw, int rh) {
        ox = x;
        oy = y;
        clipX0 = x;
        clipY0 = y;
        clipX1 = x + rw;
        clipY1 = y + rh;
    }

    // Paints colour(x, y) where coverage(x, y) > 0; both in local coordinates at pixel
    // centres.
    template <class Cov, class Shade>
    void Paint(double x0, double y0, double x1, double y1, Cov coverage, Shade shade) {
        int ax0 = std::max<int>(int(std::floor(x0 + ox)) - 1, int(clipX0));
        int ay0 = std::max<int>(int(std::floor(y0 + oy)) - 1, int(clipY0));
        int ax1 = std::min<int>(int(std::ceil(x1 + ox)) + 1, int(clipX1));
        int ay1 = std::min<int>(int(std::ceil(y1 + oy)) + 1, int(clipY1));
        for (int y = ay0; y < ay1; ++y)
            for (int x = ax0; x < ax1; ++x) {
                double lx = x + 0.5 - ox, ly = y + 0.5 - oy;
                double a = coverage(lx, ly);
                if (a <= 0) continue;
                a = std::min(a, 1.0);
                Px& p = px[size_t(y) * w + x];
                Col c = shade(lx, ly);
                p.c = Mix(p.c, c, p.a > 0 ? a : 1.0);
                p.a = p.a + a * (1 - p.a);
            }
    }
};

// Coverage from a signed distance (negative inside), smoothed over one pixel.
double Cov(double d) { return std::clamp(0.5 - d, 0.0, 1.0); }

double SdCircle(double x, double y, double cx, double cy, double r) { return std::hypot(x - cx, y - cy) - r; }
double SdEllipse(double x, double y, double cx, double cy, double rx, double ry) {
    double nx = (x - cx) / rx, ny = (y - cy) / ry;
    double k = std::hypot(nx, ny);
    return (k - 1) * std::min(rx, ry);
}
double SdRoundRect(double x, double y, double x0, double y0, double x1, double y1, double r) {
    double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    double hx = (x1 - x0) / 2 - r, hy = (y1 - y0) / 2 - r;
    double qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - r;
}
double SdSegment(double x, double y, double ax, double ay, double bx, double by) {
    double px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    double t = std::clamp((px * dx + py * dy) / (dx * dx + dy * dy + 1e-12), 0.0, 1.0);
    return std::hypot(px - dx * t, py - dy * t);
}
// Convex polygon, points clockwise on screen (y down).
double SdPolygon(double x, double y, const std::vector<std::pair<double, double>>& p) {
    double inside = -1e9;
    double edge = 1e9;
    for (size_t i = 0; i < p.size(); ++i) {
        auto [ax, ay] = p[i];
        auto [bx, by] = p[(i + 1) % p.size()];
        double ex = bx - ax, ey = by - ay;
        double len = std::hypot(ex, ey);
        double side = ((x - ax) * ey - (y - ay) * ex) / len;  // > 0 outside for clockwise
        inside = std::max(inside, side);
        edge = std::min(edge, SdSegment(x, y, ax, ay, bx, by));
    }
    return inside > 0 ? edge : inside;
}

using Poly = std::vector<std::pair<double, double>>;

void FillCircle(Canvas& cv, double cx, double cy, double r, Col c) {
    cv.Paint(
        cx - r, cy - r, cx + r, cy + r, [&](double x, double y) { return Cov(SdCircle(x, y, cx, cy, r)); },
        [&](double, double) { return c; });
}
template <class Shade>
void FillCircleShaded(Canvas& cv, double cx, double cy, double r, Shade s) {
    cv.Paint(
        cx - r, cy - r, cx + r, cy + r, [&](double x, double y) { return Cov(SdCircle(x, y, cx, cy, r)); }, s);
}
void FillEllipse(Canvas& cv, double cx, double cy, double rx, double ry, Col c) {
    cv.Paint(
        cx - rx, cy - ry, cx + rx, cy + ry, [&](double x, double y) { return Cov(SdEllipse(x, y, cx, cy, rx, ry)); },
        [&](double, double) { return c; });
}
void Stroke(Canvas& cv, double ax, double ay, double bx, double by, double width, Col c) {
    double r = width / 2;
    cv.Paint(
        std::min(ax, bx) - r, std::min(ay, by) - r, std::max(ax, bx) + r, std::max(ay, by) + r,
        [&](double x, double y) { return Cov(SdSegment(x, y, ax, ay, bx, by) - r); },
        [&](double, double) { return c; });
}
void StrokePath(Canvas& cv, const Poly& p, double width, Col c) {
    double r = width / 2;
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
    for (auto [x, y] : p) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
    }
    cv.Paint(
        x0 - r, y0 - r, x1 + r, y1 + r,
        [&](double x, double y) {
            double d = 1e9;
            for (size_t i = 0; i + 1 < p.size(); ++i)
                d = std::min(d, SdSegment(x, y, p[i].first, p[i].second, p[i + 1].first, p[i + 1].second));
            return Cov(d - r);
        },
        [&](double, double) { return c; });
}
// Puts a polygon into the clockwise order the distance test expects.
Poly Clockwise(Poly p) {
    double area = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        auto [ax, ay] = p[i];
        auto [bx, by] = p[(i + 1) % p.size()];
        area += ax * by - bx * ay;
    }
    if (area < 0) std::reverse(p.begin(), p.end());
    return p;
}

void FillPolygon(Canvas& cv, const Poly& input, Col c) {
    Poly p = Clockwise(input);
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
    for (auto [x, y] : p) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
    }
    cv.Paint(
        x0, y0, x1, y1, [&](double x, double y) { return Cov(SdPolygon(x, y, p)); }, [&](double, double) { return c; });
}
void FillRoundRect(Canvas& cv, double x0, double y0, double x1, double y1, double r, Col c) {
    cv.Paint(
        x0, y0, x1, y1, [&](double x, double y) { return Cov(SdRoundRect(x, y, x0, y0, x1, y1, r)); },
        [&](double, double) { return c; });
}
template <class Shade>
void FillRoundRectShaded(Canvas& cv, double x0, double y0, double x1, double y1, double r, Shade s) {
    cv.Paint(
        x0, y0, x1, y1, [&](double x, double y) { return Cov(SdRoundRect(x, y, x0, y0, x1, y1, r)); }, s);
}

Poly Arc(double cx, double cy, double rx, double ry, double fromDeg, double toDeg, int steps = 24) {
    Poly p;
    for (int i = 0; i <= steps; ++i) {
        double a = (fromDeg + (toDeg - fromDeg) * i / steps) * PI / 180;
        p.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
    return p;
}

// A four-pointed sparkle.
void Sparkle(Canvas& cv, double cx, double cy, double r, Col c) {
    double w = r * 0.28;
    FillPolygon(cv, {{cx, cy - r}, {cx + w, cy}, {cx, cy + r}, {cx - w, cy}}, c);
    FillPolygon(cv, {{cx - r, cy}, {cx, cy - w}, {cx + r, cy}, {cx, cy + w}}, c);
}

// A five-pointed star turned by angle (radians).
void Star(Canvas& cv, double cx, double cy, double r, double angle, Col c) {
    Poly p;
    for (int i = 0; i < 10; ++i) {
        double a = angle - PI / 2 + i * PI / 5;
        double rr = (i % 2) ? r * 0.45 : r;
        p.push_back({cx + rr * std::cos(a), cy + rr * std::sin(a)});
    }
    // The star is concave: paint it as five triangles and a centre pentagon.
    for (int i = 0; i < 10; i += 2) FillPolygon(cv, {p[(i + 9) % 10], p[i], p[(i + 1) % 10]}, c);
    FillPolygon(cv, {p[1], p[3], p[5], p[7], p[9]}, c);
}

void Note(Canvas& cv, double x, double y, Col c) {
    FillEllipse(cv, x, y, 3.0, 2.3, c);
    Stroke(cv, x + 2.4, y - 0.5, x + 2.4, y - 10, 1.3, c);
    StrokePath(cv, {{x + 2.4, y - 10}, {x + 5.5, y - 7.5}, {x + 5.8, y - 5}}, 1.3, c);
}

// ---- Palette of the artwork -------------------------------------------------------------
const Col kGoldLight = C(0xFFE9A8), kGold = C(0xE0A83A), kGoldDark = C(0x8A5A14);
const Col kNight0 = C(0x23386E), kNight1 = C(0x0C1433);
const Col kInk = C(0x1A1020);
const Col kWhite = C(0xFFFFFF);

// ---- Faces ------------------------------------------------------------------------------

void Bezel(Canvas& cv) {
    // Outer gold ring with light from the top left.
    FillCircleShaded(cv, 64, 64, 63.6, [&](double x, double y) {
        double t = ((x - 64) + (y - 64)) / 128 + 0.5;
        return Mix(kGoldLight, kGoldDark, t);
    });
    FillCircle(cv, 64, 64, 60.2, C(0x5A3A10));
    FillCircleShaded(cv, 64, 64, 59.4, [&](double x, double y) {
        double t = 0.5 - ((x - 64) + (y - 64)) / 128;
        return Mix(C(0xF6C75A), C(0x7A4E12), t);
    });
}

void Dial(Canvas& cv, bool chiming) {
    FillCircle(cv, 64, 64, 54.6, C(0x3A2508));
    FillCircleShaded(cv, 64, 64, 53.8, [&](double x, double y) {
        double d = std::hypot(x - 50, y - 40) / 80;
        if (chiming) return Mix(C(0xFFB866), C(0xD0503A), d * 1.1);
        return Mix(kNight0, kNight1, d * 1.2);
    });
    if (chiming) {
        // Rays of morning light from the centre.
        for (int i = 0; i < 12; ++i) {
            double a0 = (i * 30 - 4) * PI / 180, a1 = (i * 30 + 4) * PI / 180;
            FillPolygon(cv,
                        {{64, 64},
                         {64 + 52 * std::cos(a0), 64 + 52 * std::sin(a0)},
                         {64 + 52 * std::cos(a1), 64 + 52 * std::sin(a1)}},
                        C(0xFFC47A));
        }
        FillCircle(cv, 64, 64, 36, C(0xFFB060));
        FillCircle(cv, 64, 64, 30, C(0xFFC070));
    } else {
        // A quiet night sky: a few stars and a crescent.
        const double stars[][3] = {{30, 40, 1.6}, {94, 34, 1.2},  {40, 92, 1.0},  {88, 96, 1.5}, {76, 24, 0.9},
                                   {22, 66, 1.0}, {104, 70, 1.1}, {56, 104, 0.9}, {70, 44, 0.8}, {48, 28, 0.8}};
        for (auto& s : stars) Sparkle(cv, s[0], s[1], s[2] * 2.2, C(0xCFE0FF));
        FillCircle(cv, 86, 50, 7, C(0xFFF2B0));
        FillCircle(cv, 89.5, 47.5, 6.3, Mix(kNight0, kNight1, 0.45));
    }
    // Minute dots and hour marks.
    for (int m = 0; m < 60; ++m) {
        double a = m * 6 * PI / 180;
        double x = 64 + 50.5 * std::cos(a), y = 64 + 50.5 * std::sin(a);
        if (m % 5 == 0) {
            double r = (m % 15 == 0) ? 3.1 : 2.2;
            FillCircle(cv, x, y, r + 0.8, chiming ? C(0x8A4A20) : C(0x0A0F24));
            FillCircleShaded(cv, x, y, r, [&](double px, double py) {
                return Mix(kGoldLight, kGold, (px - x + py - y) / (2 * r) + 0.5);
            });
        } else {
            FillCircle(cv, x, y, 0.9, chiming ? C(0xB0603A) : C(0x8FA6D8));
        }
    }
    // Hub.
    FillCircle(cv, 64, 64, 4.2, kGoldDark);
    FillCircle(cv, 64, 64, 3.2, kGoldLight);
}

// The digital clock: a little radio-shaped box with a handle, a stage and an LCD panel.
void SevenSegment(Canvas& cv, double x, double y, int digit, Col on, double w = 10, double h = 18, double t = 2.2);

void DigitalBody(Canvas& cv, bool chiming) {
    // Handle.
    StrokePath(cv, Arc(64, 26, 30, 20, 180, 360, 32), 5.5, C(0x6B3A1A));
    StrokePath(cv, Arc(64, 26, 30, 20, 200, 340, 32), 2.0, C(0xB8744A));
    // Feet.
    FillRoundRect(cv, 14, 112, 34, 127.6, 4, C(0x4A2A12));
    FillRoundRect(cv, 94, 112, 114, 127.6, 4, C(0x4A2A12));
    // Body.
    FillRoundRectShaded(cv, 2.4, 14, 125.6, 124, 14, [&](double x, double y) {
        return Mix(C(0xE8826A), C(0x9E3B35), (y - 14) / 110 + (x - 64) / 400);
    });
    FillRoundRectShaded(cv, 5, 16.5, 123, 121.5, 12,
                        [&](double x, double y) { return Mix(C(0xFFB39A), C(0xC8504A), (y - 16) / 80); });
    // Lamps on the top plate.
    Col lamp = chiming ? C(0xFFF27A) : C(0x7A3A2A);
    for (double lx : {24.0, 104.0}) {
        FillCircle(cv, lx, 24, 4.4, C(0x5A2218));
        FillCircle(cv, lx, 24, 3.4, lamp);
        if (chiming) FillCircle(cv, lx - 1, 23, 1.2, kWhite);
    }
    // Name plate.
    FillRoundRect(cv, 44, 19, 84, 29, 4, C(0x7A2A24));
    FillRoundRect(cv, 45, 20, 83, 28, 3.5, C(0xFFE0B0));
    for (int i = 0; i < 5; ++i) FillCircle(cv, 52 + i * 6, 24, 1.3, C(0xC8504A));
    // Stage window over the character's area (16..112, 32..96).
    FillRoundRect(cv, 13, 31, 115, 96, 8, C(0x5A1E1A));
    FillRoundRectShaded(cv, 15, 33, 113, 94, 7, [&](double x, double y) {
        if (chiming) {
            double d = std::hypot(x - 64, y - 40) / 70;
            return Mix(C(0xFFF4D2), C(0xF7A86A), d);
        }
        return Mix(C(0x2A1E4A), C(0x140E28), (y - 33) / 60);
    });
    if (chiming) {
        // Curtains pulled to the sides.
        for (int side = 0; side < 2; ++side) {
            double sx = side ? 113 : 15;
            double dir = side ? -1 : 1;
            FillPolygon(cv,
                        side ? Poly{{sx, 33}, {sx, 94}, {sx - 9, 94}, {sx - 16, 33}}
                             : Poly{{sx, 33}, {sx + 16, 33}, {sx + 9, 94}, {sx, 94}},
                        C(0xB0262E));
            Stroke(cv, sx + dir * 4, 35, sx + dir * 4, 92, 1.2, C(0x7A1520));
        }
    } else {
        // Closed curtains with folds.
        FillRoundRectShaded(cv, 15, 33, 113, 94, 7, [&](double x, double) {
            double f = 0.5 + 0.5 * std::sin((x - 15) * PI / 8);
            return Mix(C(0x8E1C26), C(0xD8404A), f);
        });
        Stroke(cv, 64, 34, 64, 93, 1.4, C(0x5A0E16));
        FillRoundRect(cv, 15, 33, 113, 38, 2, C(0xE0A83A));
        // A small sleeping sign.
        FillRoundRect(cv, 48, 56, 80, 70, 3, C(0xFFF2D0));
        for (int i = 0; i < 3; ++i) {
            double zx = 54 + i * 8, zy = 66 - i * 2, s = 2.4 + i * 0.4;
            StrokePath(cv, {{zx - s, zy - s}, {zx + s, zy - s}, {zx - s, zy + s}, {zx + s, zy + s}}, 1.1, C(0x6B3A8A));
        }
    }
    // LCD panel where the digits go (glyphs at y 96..127, drawn 102..121).
    FillRoundRect(cv, 7, 98, 121, 124, 6, C(0x3A1410));
    FillRoundRectShaded(cv, 8.5, 99.5, 119.5, 122.5, 5,
                        [&](double, double y) { return Mix(C(0x1E3A36), C(0x0C1C1A), (y - 99) / 24); });
    // Faint unlit segments at every glyph place.
    for (int i = 0; i < 8; ++i) {
        if (i == 2 || i == 5) continue;
        SevenSegment(cv, 14 * i + 11, 102, 8, C(0x24504A));
    }
}

// ---- Glyphs -------------------------------------------------------------------------------

// Segments a-g of a slanted seven-segment digit in a w x h box at (x, y).
void SevenSegment(Canvas& cv, double x, double y, int digit, Col on, double w, double h, double t) {
    static const uint8_t kMask[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    double slant = 0.12;
    auto P = [&](double u, double v) { return std::make_pair(x + u + (h - v) * slant, y + v); };
    double m = h / 2;
    double in = t * 0.7;
    struct Seg {
        double u0, v0, u1, v1;
    };
    const Seg segs[7] = {{in, 0, w - in, 0},     {w, in, w, m - in}, {w, m + in, w, h - in}, {in, h, w - in, h},
                         {0, m + in, 0, h - in}, {0, in, 0, m - in}, {in, m, w - in, m}};
    for (int s = 0; s < 7; ++s) {
        if (!(kMask[digit] & (1 << s))) continue;
        auto a = P(segs[s].u0, segs[s].v0);
        auto b = P(segs[s].u1, segs[s].v1);
        Stroke(cv, a.first, a.second, b.first, b.second, t, on);
    }
}

// Rounded stroke digits in the unit box, scaled into (x, y, w, h).
Poly MapPath(const Poly& p, double x, double y, double w, double h) {
    Poly out;
    for (auto [u, v] : p) out.push_back({x + u * w, y + v * h});
    return out;
}

std::vector<Poly> DigitStrokes(int d) {
    switch (d) {
        case 0: return {Arc(0.5, 0.5, 0.4, 0.5, 0, 360, 40)};
        case 1: return {{{0.22, 0.22}, {0.56, 0.0}, {0.56, 1.0}}};
        case 2: {
            Poly p = Arc(0.5, 0.3, 0.4, 0.3, 190, 385, 24);
            p.push_back({0.1, 1.0});
            p.push_back({0.92, 1.0});
            return {p};
        }
        case 3: {
            Poly a = Arc(0.48, 0.26, 0.36, 0.26, 200, 450, 24);
            Poly b = Arc(0.48, 0.73, 0.42, 0.27, 270, 520, 24);
            return {a, b};
        }
        case 4: return {{{0.72, 1.0}, {0.72, 0.0}, {0.06, 0.68}, {0.96, 0.68}}};
        case 5: {
            Poly p = {{0.86, 0.0}, {0.2, 0.0}, {0.14, 0.44}};
            Poly a = Arc(0.5, 0.66, 0.41, 0.34, 225, 510, 28);
            return {p, a};
        }
        case 6: {
            Poly a = Arc(0.5, 0.7, 0.38, 0.3, 0, 360, 32);
            Poly b = Arc(0.86, 0.7, 0.74, 0.7, 250, 180, 20);
            return {a, b};
        }
        case 7: return {{{0.08, 0.0}, {0.92, 0.0}, {0.42, 1.0}}};
        case 8: return {Arc(0.5, 0.26, 0.32, 0.26, 0, 360, 32), Arc(0.5, 0.73, 0.4, 0.27, 0, 360, 32)};
        case 9: {
            std::vector<Poly> six = DigitStrokes(6);
            for (Poly& p : six)
                for (auto& q : p) q = {1 - q.first, 1 - q.second};
            return six;
        }
    }
    return {};
}

void StrokeDigit(Canvas& cv, int d, double x, double y, double w, double h, double width, Col c) {
    for (const Poly& p : DigitStrokes(d)) StrokePath(cv, MapPath(p, x, y, w, h), width, c);
}

// Clock digits: glowing green seven-segment, 12 pixels wide, inside the 32 x 32 cell.
void ClockGlyph(Canvas& cv, int g) {
    if (g <= 9) {
        SevenSegment(cv, 11, 6, g, C(0x0E2A22), 10, 18, 3.6);  // soft glow
        SevenSegment(cv, 11, 6, g, C(0x7CFFD0), 10, 18, 2.2);
        SevenSegment(cv, 11, 6, g, C(0xE8FFF4), 10, 18, 0.9);
    } else if (g == 12) {
        for (double cy : {11.0, 20.0}) {
            FillCircle(cv, 17, cy, 2.3, C(0x0E2A22));
            FillCircle(cv, 17, cy, 1.6, C(0x7CFFD0));
        }
    }
}

// Kitchen timer: cream tiles with brown digits, a red reset and a green start button.
void TimerGlyph(Canvas& cv, int g) {
    if (g <= 9) {
        FillRoundRect(cv, 5.5, 2, 26.5, 30, 6, C(0x8A3A14));
        FillRoundRectShaded(cv, 6.5, 3, 25.5, 29, 5,
                            [&](double, double y) { return Mix(C(0xFFFBEA), C(0xFFD98A), (y - 3) / 26); });
        StrokeDigit(cv, g, 10.5, 8, 11, 16, 3.0, C(0x5A2A10));
    } else if (g == 10 || g == 11) {
        bool start = g == 11;
        Col dark = start ? C(0x1E6A2A) : C(0x8A1A1A);
        Col light = start ? C(0x8CF08A) : C(0xFF8A7A);
        FillCircle(cv, 16, 16, 13.2, dark);
        FillCircleShaded(cv, 16, 16, 12, [&](double x, double y) {
            return Mix(light, Scale(light, 0.62), (std::hypot(x - 12, y - 10)) / 18);
        });
        if (start) {
            FillPolygon(cv, {{12, 9}, {23, 16}, {12, 23}}, kWhite);
        } else {
            StrokePath(cv, Arc(16, 16, 6.5, 6.5, -60, 230, 24), 2.4, kWhite);
            FillPolygon(cv, {{19.8, 5.6}, {23.8, 11.8}, {16.6, 11.6}}, kWhite);
        }
    } else if (g == 12) {
        for (double cy : {11.5, 21.0}) {
            FillCircle(cv, 16, cy, 3.3, C(0xFFFBEA));
            FillCircle(cv, 16, cy, 2.3, C(0x5A2A10));
        }
    }
}

// ---- Sprites ------------------------------------------------------------------------------

// A kite pointing along angle a from the sprite centre.
void HandTip(Canvas& cv, double a, double front, double back, double half, Col fill, Col edge) {
    double c = std::cos(a), s = std::sin(a);
    auto P = [&](double u, double v) { return std::make_pair(8 + u * c - v * s, 8 + u * s + v * c); };
    Poly outer = {P(front + 1.1, 0), P(0, half + 1.1), P(-back - 1.1, 0), P(0, -half - 1.1)};
    Poly inner = {P(front, 0), P(0, half), P(-back, 0), P(0, -half)};
    FillPolygon(cv, outer, edge);
    FillPolygon(cv, inner, fill);
    FillPolygon(cv, {P(front - 1.5, 0), P(0, -half + 1), P(-back + 1.5, 0)}, Mix(fill, kWhite, 0.45));
}

void SecondMarkerSprite(Canvas& cv, int f) {
    double pulse = 1.0 + 0.18 * std::sin(f * PI / 4);
    FillCircle(cv, 8, 8, 5.6 * pulse, C(0xFF9A3A));
    Star(cv, 8, 8, 7.2 * pulse, f * (2 * PI / 5) / 8, C(0x8A2A00));
    Star(cv, 8, 8, 6.0 * pulse, f * (2 * PI / 5) / 8, C(0xFFD84A));
    FillCircle(cv, 8, 8, 2.0, C(0xFFFBE0));
}

// ---- The chiming bird ------------------------------------------------------------------------

struct BirdPose {
    double y;     // body centre
    double dx;    // sideways lean
    double wing;  // 0 down, 1 raised
    int beak;     // 0 closed, 1 open
    int eyes;     // 0 closed (line), 1 open, 2 happy
    int notes;    // which notes to show
    bool sparkles;
};

const BirdPose kPoses[8] = {
    {60, 0, 0, 0, 0, 0, false},   {45, 0, 0, 0, 0, 0, false},   {33, 0, 0.2, 0, 1, 0, false},
    {29, 0, 1.0, 0, 1, 0, true},  {31, 0, 0.5, 1, 1, 1, false}, {31, -4, 1.0, 1, 1, 2, false},
    {31, 4, 0.0, 1, 1, 3, false}, {37, 0, 0.6, 0, 2, 0, true},
};

void Bird(Canvas& cv, const BirdPose& p) {
    const Col body = C(0xFFD23A), bodyDark = C(0xE89A1A), outline = C(0x5A3008);
    double cx = 48 + p.dx, cy = p.y;
    // Tuft.
    StrokePath(cv, Arc(cx + 1, cy - 17, 3, 4, 90, 300, 12), 2.4, outline);
    StrokePath(cv, Arc(cx + 1, cy - 17, 3, 4, 90, 300, 12), 1.2, body);
    // Wings behind the body when raised.
    for (int side = -1; side <= 1; side += 2) {
        double wa = (side < 0 ? PI : 0) + side * (-0.3 - p.wing * 0.9);
        double wx = cx + side * 15 + std::cos(wa) * 2, wy = cy + 1 - p.wing * 5;
        cv.Paint(
            wx - 10, wy - 10, wx + 10, wy + 10,
            [&](double x, double y) {
                double u = (x - wx) * std::cos(wa) + (y - wy) * std::sin(wa);
                double v = -(x - wx) * std::sin(wa) + (y - wy) * std::cos(wa);
                return Cov((std::hypot(u / 7.5, v / 4.2) - 1) * 4.2 - 1);
            },
            [&](double, double) { return outline; });
        cv.Paint(
            wx - 10, wy - 10, wx + 10, wy + 10,
            [&](double x, double y) {
                double u = (x - wx) * std::cos(wa) + (y - wy) * std::sin(wa);
                double v = -(x - wx) * std::sin(wa) + (y - wy) * std::cos(wa);
                return Cov((std::hypot(u / 7.5, v / 4.2) - 1) * 4.2);
            },
            [&](double, double) { return bodyDark; });
    }
    // Body.
    FillEllipse(cv, cx, cy, 18.2, 16.2, outline);
    cv.Paint(
        cx - 18, cy - 16, cx + 18, cy + 16, [&](double x, double y) { return Cov(SdEllipse(x, y, cx, cy, 17, 15)); },
        [&](double x, double y) { return Mix(C(0xFFF3A8), body, std::hypot(x - cx + 6, y - cy + 7) / 16); });
    FillEllipse(cv, cx, cy + 7, 10, 6.5, C(0xFFF6D0));  // belly
    // Cheeks.
    FillEllipse(cv, cx - 10, cy + 1, 3.2, 2.0, C(0xFF9A8A));
    FillEllipse(cv, cx + 10, cy + 1, 3.2, 2.0, C(0xFF9A8A));
    // Eyes.
    for (int side = -1; side <= 1; side += 2) {
        double ex = cx + side * 6.5, ey = cy - 4;
        if (p.eyes == 1) {
            FillEllipse(cv, ex, ey, 2.3, 2.8, kInk);
            FillCircle(cv, ex - 0.7, ey - 1.1, 0.9, kWhite);
        } else if (p.eyes == 2) {
            StrokePath(cv, Arc(ex, ey + 1.5, 2.6, 2.4, 200, 340, 8), 1.4, kInk);
        } else {
            StrokePath(cv, Arc(ex, ey - 1.5, 2.6, 2.0, 20, 160, 8), 1.4, kInk);
        }
    }
    // Beak.
    if (p.beak) {
        FillPolygon(cv, {{cx - 4, cy - 0.5}, {cx + 4, cy - 0.5}, {cx, cy - 3.5}}, C(0xFF7A1A));
        FillPolygon(cv, {{cx - 3.5, cy + 1}, {cx, cy + 6}, {cx + 3.5, cy + 1}}, C(0xD84A10));
        FillEllipse(cv, cx, cy + 2, 2, 1.3, C(0x8A1A1A));
    } else {
        FillPolygon(cv, {{cx - 3.6, cy - 1}, {cx + 3.6, cy - 1}, {cx, cy + 3.5}}, C(0xFF7A1A));
    }
}

void Ledge(Canvas& cv) {
    FillRoundRect(cv, 12, 51, 84, 63.6, 5, C(0x4A2A12));
    FillRoundRectShaded(cv, 13.2, 52.2, 82.8, 62.4, 4,
                        [&](double, double y) { return Mix(C(0xD89A5A), C(0x8A5428), (y - 52) / 10); });
    Stroke(cv, 17, 54.5, 79, 54.5, 1.0, C(0xF2C08A));
    for (double x : {26.0, 48.0, 70.0}) FillCircle(cv, x, 58, 1.2, C(0x6A3A18));
}

void BirdFrame(Canvas& cv, int f) {
    const BirdPose& p = kPoses[f];
    Bird(cv, p);
    Ledge(cv);
    const Col noteA = C(0xE0409A), noteB = C(0x6A4AE0);
    if (p.notes == 1) Note(cv, 76, 22, noteA);
    if (p.notes == 2) {
        Note(cv, 18, 26, noteB);
        Note(cv, 78, 14, noteA);
    }
    if (p.notes == 3) {
        Note(cv, 80, 26, noteB);
        Note(cv, 14, 14, noteA);
    }
    if (p.sparkles) {
        Sparkle(cv, 20, 18, 5, C(0xFFF08A));
        Sparkle(cv, 78, 12, 4, C(0xFFFFFF));
        Sparkle(cv, 84, 34, 3.5, C(0xFFF08A));
    }
}

// ---- Quantisation and output ------------------------------------------------------------

struct Box {
    std::vector<int> idx;
};

std::vector<Col> MedianCut(const std::vector<Col>& colours, int count) {
    std::vector<std::vector<int>> boxes(1);
    for (size_t i = 0; i < colours.size(); ++i) boxes[0].push_back(int(i));
    auto range = [&](const std::vector<int>& b, int ch, double* lo, double* hi) {
        *lo = 1e9;
        *hi = -1e9;
        for (int i : b) {
            double v = ch == 0 ? colours[i].r : ch == 1 ? colours[i].g : colours[i].b;
            *lo = std::min(*lo, v);
            *hi = std::max(*hi, v);
        }
    };
    while (int(boxes.size()) < count) {
        // Split the box with the largest spread weighted by its population.
        int best = -1, bestCh = 0;
        double bestScore = 0;
        for (size_t k = 0; k < boxes.size(); ++k) {
            if (boxes[k].size() < 2) continue;
            for (int ch = 0; ch < 3; ++ch) {
                double lo, hi;
                range(boxes[k], ch, &lo, &hi);
                double score = (hi - lo) * std::sqrt(double(boxes[k].size()));
                if (score > bestScore) {
                    bestScore = score;
                    best = int(k);
                    bestCh = ch;
                }
            }
        }
        if (best < 0 || bestScore < 1e-6) break;
        auto& b = boxes[best];
        auto key = [&](int i) { return bestCh == 0 ? colours[i].r : bestCh == 1 ? colours[i].g : colours[i].b; };
        std::sort(b.begin(), b.end(), [&](int a, int c) { return key(a) < key(c); });
        std::vector<int> upper(b.begin() + b.size() / 2, b.end());
        b.resize(b.size() / 2);
        boxes.push_back(upper);
    }
    std::vector<Col> out;
    for (auto& b : boxes) {
        Col s;
        for (int i : b) {
            s.r += colours[i].r;
            s.g += colours[i].g;
            s.b += colours[i].b;
        }
        out.push_back(Scale(s, 1.0 / b.size()));
    }
    return out;
}

void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& data) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    return std::fclose(f) == 0 && ok;
}

uint8_t To8(double v) { return uint8_t(std::clamp(int(std::lround(v * 255)), 0, 255)); }

// The analog face drawn at any size, for the icon.
void DrawIcon(Canvas& cv, int size, std::vector<uint8_t>* bgra, std::vector<uint8_t>* mask) {
    (void)cv;
    Canvas ic(128, 128);
    Bezel(ic);
    Dial(ic, false);
    // Hands at ten past ten.
    Stroke(ic, 64, 64, 64 + 30 * std::cos(-150 * PI / 180), 64 + 30 * std::sin(-150 * PI / 180), 9, kGoldLight);
    Stroke(ic, 64, 64, 64 + 44 * std::cos(-30 * PI / 180), 64 + 44 * std::sin(-30 * PI / 180), 6, kWhite);
    FillCircle(ic, 64, 64, 7, kGoldDark);
    // Box-filter down to the icon size.
    int k = 128 / size;
    bgra->assign(size_t(size) * size * 4, 0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Col s;
            double a = 0;
            for (int j = 0; j < k; ++j)
                for (int i = 0; i < k; ++i) {
                    const Px& p = ic.px[size_t(y * k + j) * 128 + x * k + i];
                    s = Col{s.r + p.c.r * p.a, s.g + p.c.g * p.a, s.b + p.c.b * p.a};
                    a += p.a;
                }
            int row = size - 1 - y;  // icons are bottom-up
            uint8_t* o = bgra->data() + (size_t(row) * size + x) * 4;
            if (a > 0) {
                o[0] = To8(s.b / a);
                o[1] = To8(s.g / a);
                o[2] = To8(s.r / a);
            }
            o[3] = To8(a / (k * k));
        }
    int maskStride = ((size + 31) / 32) * 4;
    mask->assign(size_t(maskStride) * size, 0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if ((*bgra)[(size_t(y) * size + x) * 4 + 3] < 128)
                (*mask)[size_t(y) * maskStride + x / 8] |= 0x80 >> (x % 8);
}

std::vector<uint8_t> MakeIcon() {
    Canvas dummy(1, 1);
    const int sizes[2] = {32, 16};
    std::vector<std::vector<uint8_t>> images;
    for (int size : sizes) {
        std::vector<uint8_t> bgra, mask, img;
        DrawIcon(dummy, size, &bgra, &mask);
        Put32(img, 40);
        Put32(img, uint32_t(size));
        Put32(img, uint32_t(size * 2));
        Put16(img, 1);
        Put16(img, 32);
        for (int i = 0; i < 6; ++i) Put32(img, 0);
        img.insert(img.end(), bgra.begin(), bgra.end());
        img.insert(img.end(), mask.begin(), mask.end());
        images.push_back(img);
    }
    std::vector<uint8_t> ico;
    Put16(ico, 0);
    Put16(ico, 1);
    Put16(ico, uint16_t(images.size()));
    uint32_t offset = 6 + 16 * uint32_t(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        ico.push_back(uint8_t(sizes[i]));
        ico.push_back(uint8_t(sizes[i]));
        ico.push_back(0);
        ico.push_back(0);
        Put16(ico, 1);
        Put16(ico, 32);
        Put32(ico, uint32_t(images[i].size()));
        Put32(ico, offset);
        offset += uint32_t(images[i].size());
    }
    for (auto& img : images) ico.insert(ico.end(), img.begin(), img.end());
    return ico;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    std::string out = argv[1];
    Canvas cv(W, H);

    // Faces.
    for (int v = 0; v < 4; ++v) {
        cv.SetRegion(128 * v, 0, 128, 128);
        if (v < 2) {
            Bezel(cv);
            Dial(cv, v == 1);
        } else {
            DigitalBody(cv, v == 3);
        }
    }
    // Bird frames.
    for (int f = 0; f < 8; ++f) {
        cv.SetRegion(96 * (f % 4), f < 4 ? 128 : 192, 96, 64);
        BirdFrame(cv, f);
    }
    // Sprites.
    for (int f = 0; f < 8; ++f) {
        cv.SetRegion(16 * f, 512, 16, 16);
        SecondMarkerSprite(cv, f);
    }
    for (int f = 0; f < 32; ++f) {
        double a = f * 11.25 * PI / 180;
        cv.SetRegion(16 * f, 528, 16, 16);
        HandTip(cv, a, 6.4, 3.6, 4.0, kGold, C(0x4A2A08));
        cv.SetRegion(16 * f, 544, 16, 16);
        HandTip(cv, a, 6.8, 4.4, 3.0, C(0xE8F2FF), C(0x2A3A6A));
    }
    // Glyphs.
    for (int g = 0; g < 13; ++g) {
        cv.SetRegion(32 * g, 560, 32, 32);
        ClockGlyph(cv, g);
        cv.SetRegion(32 * g, 592, 32, 32);
        TimerGlyph(cv, g);
    }

    // Opaque where coverage reaches one half; reduce the colours.
    std::vector<Col> opaque;
    for (const Px& p : cv.px)
        if (p.a >= 0.5) opaque.push_back(p.c);
    std::vector<Col> palette = MedianCut(opaque, 235);
    std::vector<int> slots;
    for (int i = 10; i <= 245; ++i)
        if (i != 15) slots.push_back(i);

    std::vector<uint8_t> table(1024, 0);
    table[15 * 4 + 1] = 255;  // transparent: pure green
    for (size_t k = 0; k < palette.size(); ++k) {
        int i = slots[k];
        table[i * 4 + 0] = To8(palette[k].b);
        table[i * 4 + 1] = To8(palette[k].g);
        table[i * 4 + 2] = To8(palette[k].r);
    }
    std::vector<uint8_t> index(size_t(W) * H, 15);
    for (size_t n = 0; n < cv.px.size(); ++n) {
        if (cv.px[n].a < 0.5) continue;
        const Col& c = cv.px[n].c;
        double best = 1e9;
        int chosen = slots[0];
        for (size_t k = 0; k < palette.size(); ++k) {
            double dr = c.r - palette[k].r, dg = c.g - palette[k].g, db = c.b - palette[k].b;
            double d = 0.3 * dr * dr + 0.59 * dg * dg + 0.11 * db * db;
            if (d < best) {
                best = d;
                chosen = slots[k];
            }
        }
        index[n] = uint8_t(chosen);
    }

    std::vector<uint8_t> bmp;
    uint32_t pixelsOffset = 14 + 40 + 1024;
    bmp.push_back('B');
    bmp.push_back('M');
    Put32(bmp, pixelsOffset + W * H);
    Put32(bmp, 0);
    Put32(bmp, pixelsOffset);
    Put32(bmp, 40);
    Put32(bmp, W);
    Put32(bmp, H);
    Put16(bmp, 1);
    Put16(bmp, 8);
    Put32(bmp, 0);
    Put32(bmp, W * H);
    Put32(bmp, 2835);
    Put32(bmp, 2835);
    Put32(bmp, 256);
    Put32(bmp, 0);
    bmp.insert(bmp.end(), table.begin(), table.end());
    for (int y = H - 1; y >= 0; --y)
        bmp.insert(bmp.end(), index.begin() + size_t(y) * W, index.begin() + size_t(y + 1) * W);

    if (!WriteFile(out + "/pendrick_sheet.bmp", bmp) || !WriteFile(out + "/pendrick.ico", MakeIcon())) {
        std::fprintf(stderr, "gen_clock_sheet: cannot write into %s\n", out.c_str());
        return 1;
    }
    return 0;
}
