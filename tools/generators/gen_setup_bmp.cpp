// Draws the demo CD's launcher picture, SETUP.BMP (640 x 480, 8 bits, 256 colours), from
// code: an evening sky, a ringed planet, stars, mountains, a sea that mirrors the planet,
// and the title in a built-in pixel font. Usage: gen_setup_bmp OUTPUT_FOLDER
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kW = 640;
constexpr int kH = 480;
constexpr int kHorizon = 336;

// Palette bands.
constexpr int kSky = 0, kSkyCount = 128;
constexpr int kSea = 128, kSeaCount = 32;
constexpr int kPlanet = 160, kPlanetCount = 32;
constexpr int kHills = 192, kHillsCount = 16;
constexpr int kGold = 208, kGoldCount = 16;
constexpr int kOutline = 224, kOutlineCount = 8;
constexpr int kStar = 232, kStarCount = 16;
constexpr int kRing = 248, kRingCount = 8;

struct Rgb {
    double r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

// A gradient through several stops, t in 0..1.
Rgb Ramp(const std::vector<Rgb>& stops, double t) {
    if (t <= 0) return stops.front();
    if (t >= 1) return stops.back();
    double f = t * (stops.size() - 1);
    size_t i = static_cast<size_t>(f);
    return Mix(stops[i], stops[i + 1], f - i);
}

struct Picture {
    Rgb palette[256];
    std::vector<uint8_t> pixels = std::vector<uint8_t>(kW * kH, 0);  // top-down here
    uint8_t& at(int x, int y) { return pixels[y * kW + x]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < kW && y < kH; }
    void put(int x, int y, int index) {
        if (inside(x, y)) at(x, y) = static_cast<uint8_t>(index);
    }
};

void BuildPalette(Picture& p) {
    std::vector<Rgb> sky = {{8, 10, 38}, {32, 22, 84}, {92, 40, 120}, {196, 80, 110}, {252, 160, 90}, {255, 214, 140}};
    for (int i = 0; i < kSkyCount; ++i) p.palette[kSky + i] = Ramp(sky, i / double(kSkyCount - 1));
    std::vector<Rgb> sea = {{4, 10, 36}, {16, 40, 84}, {40, 78, 130}, {120, 110, 150}, {250, 190, 120}};
    for (int i = 0; i < kSeaCount; ++i) p.palette[kSea + i] = Ramp(sea, i / double(kSeaCount - 1));
    std::vector<Rgb> planet = {{30, 14, 40}, {120, 50, 70}, {220, 120, 80}, {255, 200, 120}, {255, 246, 214}};
    for (int i = 0; i < kPlanetCount; ++i) p.palette[kPlanet + i] = Ramp(planet, i / double(kPlanetCount - 1));
    std::vector<Rgb> hills = {{6, 6, 20}, {26, 20, 52}, {60, 36, 80}};
    for (int i = 0; i < kHillsCount; ++i) p.palette[kHills + i] = Ramp(hills, i / double(kHillsCount - 1));
    std::vector<Rgb> gold = {{255, 250, 210}, {255, 220, 110}, {236, 160, 40}, {170, 90, 20}};
    for (int i = 0; i < kGoldCount; ++i) p.palette[kGold + i] = Ramp(gold, i / double(kGoldCount - 1));
    for (int i = 0; i < kOutlineCount; ++i) p.palette[kOutline + i] = Mix({20, 8, 30}, {60, 20, 70}, i / 7.0);
    for (int i = 0; i < kStarCount; ++i) p.palette[kStar + i] = Mix({90, 90, 150}, {255, 255, 255}, i / 15.0);
    for (int i = 0; i < kRingCount; ++i) p.palette[kRing + i] = Mix({150, 110, 150}, {255, 236, 200}, i / 7.0);
}

// 4 x 4 ordered dither threshold in 0..1.
double Bayer(int x, int y) {
    static const int m[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (m[y & 3][x & 3] + 0.5) / 16.0;
}

int Dithered(int base, int count, double t, int x, int y) {
    double f = t * (count - 1);
    int i = static_cast<int>(f);
    if (f - i > Bayer(x, y)) ++i;
    if (i < 0) i = 0;
    if (i > count - 1) i = count - 1;
    return base + i;
}

constexpr double kPlanetX = 488, kPlanetY = 150, kPlanetR = 78;
constexpr double kTilt = -0.32;  // ring tilt in radians

void DrawSky(Picture& p) {
    for (int y = 0; y < kHorizon; ++y)
        for (int x = 0; x < kW; ++x) {
            // Brighter near the horizon and toward the planet.
            double t = std::pow(y / double(kHorizon), 1.35);
            double dx = (x - kPlanetX) / kW, dy = (y - kPlanetY) / kH;
            t += 0.18 * std::exp(-(dx * dx + dy * dy) * 18.0);
            p.at(x, y) = static_cast<uint8_t>(Dithered(kSky, kSkyCount, t, x, y));
        }
}

void DrawStars(Picture& p) {
    uint32_t seed = 20260;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) & 0xFFFF;
    };
    for (int i = 0; i < 260; ++i) {
        int x = next() % kW, y = next() % 230;
        double dx = x - kPlanetX, dy = y - kPlanetY;
        if (dx * dx + dy * dy < (kPlanetR + 40) * (kPlanetR + 40)) continue;
        int bright = 4 + next() % 10 - y / 40;
        if (bright < 1) bright = 1;
        p.put(x, y, kStar + bright);
        if (next() % 13 == 0) {  // a sparkle
            for (int d = 1; d <= 3; ++d) {
                int b = kStar + bright - 3 * d;
                if (b < kStar) b = kStar;
                p.put(x + d, y, b);
                p.put(x - d, y, b);
                p.put(x, y + d, b);
                p.put(x, y - d, b);
            }
            p.put(x, y, kStar + kStarCount - 1);
        }
    }
}

// The ring as an ellipse band; front reports whether a point lies on its near half.
bool OnRing(double x, double y, bool* front) {
    double c = std::cos(kTilt), s = std::sin(kTilt);
    double u = (x - kPlanetX) * c + (y - kPlanetY) * s;
    double v = -(x - kPlanetX) * s + (y - kPlanetY) * c;
    double e = (u * u) / (150.0 * 150.0) + (v * v) / (34.0 * 34.0);
    *front = v > 0;
    return e > 0.78 && e < 1.0 && !(e > 0.86 && e < 0.88);
}

void DrawPlanet(Picture& p) {
    const double lx = -0.55, ly = -0.45, lz = 0.70;  // light from the upper left
    for (int y = 0; y < kHorizon; ++y)
        for (int x = 0; x < kW; ++x) {
            bool front = false;
            bool ring = OnRing(x, y, &front);
            double dx = (x - kPlanetX) / kPlanetR, dy = (y - kPlanetY) / kPlanetR;
            double d2 = dx * dx + dy * dy;
            bool body = d2 <= 1.0;
            if (body && !(ring && front)) {
                double nz = std::sqrt(1.0 - d2);
                double light = dx * lx + dy * ly + nz * lz;
                double bands = 0.06 * std::sin(dy * 11.0 + std::sin(dx * 3.0));
                double t = 0.15 + 0.85 * (light < 0 ? 0 : light) + bands;
                p.at(x, y) = static_cast<uint8_t>(Dithered(kPlanet, kPlanetCount, t, x, y));
            } else if (ring) {
                double t = 0.5 + 0.5 * std::cos((x - kPlanetX) / 60.0);
                if (!front && body) continue;
                p.at(x, y) = static_cast<uint8_t>(Dithered(kRing, kRingCount, t, x, y));
            }
        }
}

double HillHeight(int layer, double x) {
    if (layer == 0) return 268 + 26 * std::sin(x / 71.0) + 14 * std::sin(x / 23.0 + 1.3) + 7 * std::sin(x / 9.0);
    return 300 + 18 * std::sin(x / 53.0 + 2.0) + 9 * std::sin(x / 17.0 + 0.4) + 4 * std::sin(x / 6.0);
}

void DrawHills(Picture& p) {
    for (int layer = 0; layer < 2; ++layer)
        for (int x = 0; x < kW; ++x) {
            int top = static_cast<int>(HillHeight(layer, x));
            for (int y = top; y < kHorizon; ++y) {
                double t = layer == 0 ? 0.9 - 0.5 * (y - top) / 70.0 : 0.45 - 0.4 * (y - top) / 40.0;
                p.at(x, y) = static_cast<uint8_t>(Dithered(kHills, kHillsCount, t, x, y));
            }
        }
}

void DrawSea(Picture& p) {
    for (int y = kHorizon; y < kH; ++y) {
        double depth = (y - kHorizon) / double(kH - kHorizon);
        for (int x = 0; x < kW; ++x) {
            double t = 0.55 - 0.5 * depth;
            // The planet's glitter: short bright strokes under it, broken by waves.
            double dx = std::fabs(x - kPlanetX) / (60.0 + 120.0 * depth);
            double wave = std::sin(y * 0.9 + std::sin(x * 0.05) * 3.0) * std::sin(x * 0.21 + y * 0.3);
            if (dx < 1.0 && wave > 0.35 + 0.5 * dx)
                t = 0.95 - 0.25 * dx;
            else if (std::sin(y * 1.7 + x * 0.013) > 0.96)
                t += 0.12;
            p.at(x, y) = static_cast<uint8_t>(Dithered(kSea, kSeaCount, t, x, y));
        }
    }
}

// A 5 x 7 pixel font for the letters the picture uses.
const char* Glyph(char c) {
    switch (c) {
        case 'A': return ".###.#...##...#######...##...##...#";
        case 'C': return ".#####....#....#....#....#.....####";
        case 'D': return "####.#...##...##...##...##...#####.";
        case 'E': return "######....#....####.#....#....#####";
        case 'G': return ".#####....#....#..###...##...#.####";
        case 'L': return "#....#....#....#....#....#....#####";
        case 'M': return "#...###.###.#.##...##...##...##...#";
        case 'O': return ".###.#...##...##...##...##...#.###.";
        case 'R': return "####.#...##...#####.#.#..#..#.#...#";
        case 'S': return ".#####....#.....###.....#....#####.";
        case 'T': return "#####..#....#....#....#....#....#..";
        case 'V': return "#...##...##...##...##...#.#.#...#..";
        case 'Y': return "#...##...#.#.#...#....#....#....#..";
        case 'I': return ".###...#....#....#....#....#...###.";
        case 'N': return "#...###..##.#.##..###...##...##...#";
        case 'P': return "####.#...##...#####.#....#....#....";
        case 'U': return "#...##...##...##...##...##...#.###.";
        case 'F': return "######....#....####.#....#....#....";
        case '-': return "...............###.................";
        case '.': return "..............................##...";
        default: return nullptr;
    }
}

// Renders text into a mask at the given scale; returns its width in pixels.
int TextWidth(const std::string& text, int scale) { return static_cast<int>(text.size()) * 6 * scale - scale; }

void DrawTitle(Picture& p, const std::string& text, int left, int top, int scale, bool outlined) {
    int w = TextWidth(text, scale), h = 7 * scale;
    std::vector<uint8_t> mask(w * h, 0);
    for (size_t i = 0; i < text.size(); ++i) {
        const char* g = Glyph(text[i]);
        if (!g) continue;
        size_t n = std::strlen(g);
        for (int gy = 0; gy < 7; ++gy)
            for (int gx = 0; gx < 5; ++gx) {
                size_t k = gy * 5 + gx;
                if (k >= n || g[k] != '#') continue;
                for (int sy = 0; sy < scale; ++sy)
                    for (int sx = 0; sx < scale; ++sx) {
                        int mx = static_cast<int>(i) * 6 * scale + gx * scale + sx;
                        mask[(gy * scale + sy) * w + mx] = 1;
                    }
            }
    }
    auto masked = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && mask[y * w + x]; };
    int border = outlined ? scale / 3 + 1 : 1;
    // Shadow, then the outline, then the gold face.
    for (int y = -border; y < h + border + 4; ++y)
        for (int x = -border; x < w + border + 4; ++x) {
            bool near = false;
            for (int dy = -border; dy <= border && !near; ++dy)
                for (int dx = -border; dx <= border && !near; ++dx)
                    if (dx * dx + dy * dy <= border * border && masked(x + dx - 4, y + dy - 4)) near = true;
            if (near) p.put(left + x, top + y, kOutline);
        }
    for (int y = -border; y < h + border; ++y)
        for (int x = -border; x < w + border; ++x) {
            bool near = false;
            for (int dy = -border; dy <= border && !near; ++dy)
                for (int dx = -border; dx <= border && !near; ++dx)
                    if (dx * dx + dy * dy <= border * border && masked(x + dx, y + dy)) near = true;
            if (near) p.put(left + x, top + y, kOutline + 4);
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!masked(x, y)) continue;
            double t = y / double(h);
            // A bright bevel on the top edge of each stroke.
            if (!masked(x, y - 1) || !masked(x, y - 2)) t = 0.0;
            p.put(left + x, top + y, Dithered(kGold, kGoldCount, t, x, y));
        }
}

bool WriteBmp(const Picture& p, const std::string& path) {
    const uint32_t tableBytes = 256 * 4, offset = 14 + 40 + tableBytes, size = offset + kW * kH;
    std::vector<uint8_t> out;
    auto put = [&out](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    out.push_back('B');
    out.push_back('M');
    put(size, 4);
    put(0, 4);
    put(offset, 4);
    put(40, 4);
    put(kW, 4);
    put(kH, 4);
    put(1, 2);
    put(8, 2);
    put(0, 4);
    put(kW * kH, 4);
    put(2835, 4);
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    for (const Rgb& c : p.palette) {
        auto clamp = [](double v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v + 0.5); };
        out.push_back(clamp(c.b));
        out.push_back(clamp(c.g));
        out.push_back(clamp(c.r));
        out.push_back(0);
    }
    for (int y = kH - 1; y >= 0; --y) out.insert(out.end(), &p.pixels[y * kW], &p.pixels[y * kW] + kW);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : ".";
    static Picture p;
    BuildPalette(p);
    DrawSky(p);
    DrawStars(p);
    DrawPlanet(p);
    DrawHills(p);
    DrawSea(p);
    DrawTitle(p, "TAVREL", 44, 50, 10, true);
    DrawTitle(p, "STAR VOYAGE", 48, 142, 4, true);
    DrawTitle(p, "DEMO CD-ROM", 50, 186, 2, false);
    std::string path = folder + "/SETUP.BMP";
    if (!WriteBmp(p, path)) {
        std::fprintf(stderr, "gen_setup_bmp: cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}
