#include "Landscape.h"
#include "Canvas.h"
#include "Noise.h"
#include <algorithm>
#include <cmath>

namespace sample {
namespace {

constexpr int W = Landscape::kWidth;
constexpr int H = Landscape::kHeight;
constexpr int kHorizon = 334;
constexpr float kPi = 3.14159265f;

float smoothstep(float a, float b, float v)
{
    const float t = std::clamp((v - a) / (b - a), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

// The far range: a few named peaks, the highest silhouette wins, roughened by noise.
float farRidge(float x)
{
    const float peaks[][3] = {{70, 120, 130}, {250, 165, 170}, {420, 95, 120}, {540, 140, 150}, {730, 115, 140}};
    float height = 40;
    for (const auto& p : peaks)
        height = std::max(height, p[1] * (1 - std::abs(x - p[0]) / p[2]));
    return 272 - height - (Noise::fractal(x / 36, 0.5f, 11, 4) - 0.5f) * 44;
}
float nearRidge(float x) { return 278 + (Noise::fractal(x / 105, 3.7f, 23, 5) - 0.5f) * 120; }
float hillTop(float x) { return kHorizon - 62 * std::exp(-std::pow((x - 640) / 160, 2.0f)); }

// Where the lake lies: inside a wobbly ellipse left of the middle.
bool inLake(float x, float y)
{
    const float nx = (x - 250) / 215, ny = (y - 378) / 36;
    return nx * nx + ny * ny < 1 - 0.25f * (Noise::value(x / 40, 0.3f, 5) - 0.5f);
}

void paintSky(Canvas& c)
{
    const Rgb top{34, 70, 150}, middle{98, 160, 224}, low{252, 204, 158}, glow{255, 224, 170};
    const Point sun{612, 178};
    for (int y = 0; y < kHorizon; ++y)
        for (int x = 0; x < W; ++x) {
            const float t = float(y) / kHorizon;
            Rgb sky = t < 0.6f ? mix(top, middle, t / 0.6f) : mix(middle, low, std::pow((t - 0.6f) / 0.4f, 1.5f));
            const float d = std::hypot(x - sun.x, y - sun.y);
            c.set(x, y, mix(sky, glow, 0.6f * std::exp(-d / 95)));
        }
    c.fillEllipse(sun.x, sun.y, 34, 34, {255, 244, 200});
}

void paintClouds(Canvas& c)
{
    const Rgb bright{255, 252, 246}, shadow{196, 190, 218};
    for (int y = 10; y < 250; ++y)
        for (int x = 0; x < W; ++x) {
            const float density = Noise::fractal(x / 150.0f, y / 42.0f, 7, 5);
            const float above = Noise::fractal(x / 150.0f, (y - 7) / 42.0f, 7, 5);
            const float band = smoothstep(10, 40, float(y)) * (1 - smoothstep(170, 250, float(y)));
            const float alpha = smoothstep(0.54f, 0.68f, density) * band;
            c.blend(x, y, mix(bright, shadow, std::clamp((above - density) * 9 + 0.45f, 0.0f, 1.0f)), alpha * 0.95f);
        }
}

// Faces turned to the sun on the right are lit, the others shaded; a grain of noise gives
// them rock and forest.
float faceLight(float (*ridge)(float), int x)
{
    const float slope = (ridge(x + 4.0f) - ridge(x - 4.0f)) / 8;
    return 1 + std::clamp(slope * 0.35f, -0.16f, 0.16f);
}

void paintMountains(Canvas& c)
{
    const Rgb farTop{118, 126, 178}, farBase{172, 180, 214}, snow{244, 246, 252};
    const Rgb nearTop{78, 98, 138}, nearBase{88, 120, 112};
    for (int x = 0; x < W; ++x) {
        const float ridge = farRidge(float(x)), light = faceLight(farRidge, x);
        for (int y = int(ridge); y < kHorizon; ++y) {
            const float grain = 0.92f + 0.16f * Noise::fractal(x / 9.0f + y / 18.0f, y / 5.0f, 13, 3);
            const float snowLine = 150 + 14 * Noise::fractal(x / 12.0f, y / 30.0f, 3, 3);
            const Rgb rock = mix(farTop, farBase, (y - ridge) / (kHorizon - ridge));
            c.blend(x, y, scaled(y < snowLine ? snow : rock, light * grain), std::min(1.0f, y + 1 - ridge));
        }
        const float near = nearRidge(float(x)), nearLight = faceLight(nearRidge, x);
        for (int y = int(near); y < kHorizon; ++y) {
            const float forest = Noise::fractal(x / 5.0f, y / 7.0f, 31, 3);
            const Rgb rock = mix(nearTop, nearBase, (y - near) / (kHorizon - near));
            c.blend(x, y, scaled(rock, nearLight * (0.85f + 0.3f * forest)), std::min(1.0f, y + 1 - near));
        }
    }
}

// Patchwork fields in the distance, meadow nearer, both with a grain of their own.
void paintGround(Canvas& c)
{
    const Rgb crops[] = {{218, 196, 92}, {150, 192, 88}, {84, 134, 62}, {168, 128, 76}, {196, 206, 110}};
    const Rgb far{124, 168, 92}, near{64, 136, 48};
    for (int y = kHorizon; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const float t = float(y - kHorizon) / (H - kHorizon);
            const float grain = 0.82f + 0.34f * Noise::fractal(x / 22.0f, y / 9.0f, 41, 4);
            Rgb ground = scaled(mix(far, near, std::sqrt(t)), grain);
            const int u = int(std::floor((x + (y - kHorizon) * 2.2f) / 84)), v = (y - kHorizon) / 15;
            const Rgb& crop = crops[int(Noise::hash(u, v, 9) * 5)];
            const float fields = 1 - smoothstep(370, 410, float(y));
            c.set(x, y, mix(ground, scaled(crop, grain), 0.7f * fields));
        }
}

void paintHill(Canvas& c)
{
    const Rgb lit{136, 182, 78}, dark{88, 142, 58};
    for (int x = 300; x < W; ++x) {
        const float top = hillTop(float(x));
        for (int y = int(top); y < kHorizon + 14; ++y) {
            const float grain = 0.88f + 0.24f * Noise::fractal(x / 14.0f, y / 8.0f, 43, 3);
            const float edge = std::min(1.0f, y + 1 - top) * (1 - smoothstep(kHorizon + 4, kHorizon + 14, float(y)));
            c.blend(x, y, scaled(mix(lit, dark, (y - top) / 70), grain), edge);
        }
    }
}

// The water mirrors what stands above the horizon, tinted and rippled.
void paintLake(Canvas& c)
{
    const Rgb water{52, 104, 168}, sand{206, 190, 146};
    for (int y = kHorizon; y < 420; ++y)
        for (int x = 0; x < 480; ++x) {
            if (!inLake(float(x), float(y))) {
                if (inLake(x + 0.0f, y - 2.0f) || inLake(x - 2.0f, float(y)) || inLake(x + 2.0f, float(y)))
                    c.set(x, y, sand);
                continue;
            }
            const int mirrored = std::max(0, 2 * kHorizon - y - 1);
            const float ripple = 1 + 0.09f * std::sin(y * 1.9f + Noise::fractal(x / 18.0f, y / 3.0f, 51, 3) * 7);
            c.set(x, y, scaled(mix(c.at(x, mirrored), water, 0.5f), ripple));
        }
}

void paintPath(Canvas& c)
{
    const Rgb sand{216, 192, 142}, pebble{168, 148, 112};
    for (int y = int(hillTop(600)) + 8; y < H; ++y) {
        const float t = float(H - y) / (H - hillTop(600) - 8);
        const float centre = 430 + 175 * t + 55 * std::sin(t * kPi * 1.5f);
        const float half = 2 + 34 * std::pow(1 - t, 1.6f);
        for (int x = int(centre - half - 2); x <= int(centre + half + 2); ++x) {
            const float alpha = std::clamp(half - std::abs(x + 0.5f - centre) + 0.5f, 0.0f, 1.0f);
            const Rgb ground = Noise::hash(x, y, 61) < 0.12f ? pebble : sand;
            c.blend(x, y, scaled(ground, 0.9f + 0.2f * Noise::value(x / 3.0f, y / 3.0f, 63)), alpha);
        }
    }
}

void paintHouse(Canvas& c, float x, float base, float w, float h, int look)
{
    const Rgb walls[] = {{242, 230, 202}, {246, 222, 152}, {236, 192, 182}, {246, 246, 240}, {192, 212, 232}};
    const Rgb roofs[] = {{182, 62, 50}, {142, 82, 52}, {152, 42, 44}, {92, 92, 112}};
    const Rgb wall = walls[look % 5], roof = roofs[look % 4];
    c.fillRect(x, base - h, x + w, base, wall);
    c.fillRect(x + w * 0.8f, base - h, x + w, base, scaled(wall, 0.8f)); // the shaded side
    c.fillTriangle({x - 3, base - h}, {x + w + 3, base - h}, {x + w / 2, base - h - w * 0.55f}, roof);
    const Rgb window = look % 2 ? Rgb{250, 220, 120} : Rgb{58, 80, 120};
    for (float wx = x + 4; wx + 5 < x + w - 3; wx += 9)
        c.fillRect(wx, base - h + 5, wx + 5, base - h + 10, window);
    c.fillRect(x + w / 2 - 3, base - 9, x + w / 2 + 3, base, {110, 70, 42});
}

void paintVillage(Canvas& c)
{
    const float houses[][4] = {{548, 24, 18, 0}, {580, 30, 22, 1}, {668, 28, 20, 2}, {704, 34, 24, 3},
                               {742, 26, 19, 4}, {612, 22, 16, 5}};
    for (const auto& h : houses)
        paintHouse(c, h[0], hillTop(h[0] + h[1] / 2) + 10, h[1], h[2], int(h[3]));
    // The church: a tower with a spire beside its nave.
    const float base = hillTop(645) + 6;
    paintHouse(c, 628, base, 40, 22, 3);
    c.fillRect(636, base - 58, 652, base - 22, {238, 234, 222});
    c.fillTriangle({633, base - 58}, {655, base - 58}, {644, base - 96}, {74, 84, 104});
    c.fillEllipse(644, base - 46, 4, 5, {60, 60, 70});
}

void paintConifer(Canvas& c, float x, float base, float h)
{
    const Rgb dark{30, 78, 44}, lit{58, 116, 60};
    c.fillRect(x - h * 0.05f, base - h * 0.2f, x + h * 0.05f, base, {96, 64, 40});
    for (int tier = 0; tier < 3; ++tier) {
        const float top = base - h + tier * h * 0.22f, bottom = top + h * 0.45f, half = h * (0.2f + tier * 0.06f);
        c.fillTriangle({x - half, bottom}, {x + half, bottom}, {x, top}, dark);
        c.fillTriangle({x + half * 0.1f, bottom}, {x + half, bottom}, {x, top}, lit);
    }
}

void paintLeafyTree(Canvas& c, float x, float base, float r, const Rgb& leaves)
{
    c.fillRect(x - r * 0.14f, base - r * 1.2f, x + r * 0.14f, base, {104, 70, 44});
    c.fillEllipse(x, base - r * 1.6f, r, r * 0.9f, scaled(leaves, 0.75f));
    c.fillEllipse(x - r * 0.25f, base - r * 1.8f, r * 0.7f, r * 0.6f, leaves);
    c.fillEllipse(x - r * 0.35f, base - r * 1.95f, r * 0.3f, r * 0.25f, mix(leaves, {255, 255, 200}, 0.3f));
}

void paintTrees(Canvas& c)
{
    // Conifers round the lake, larger nearer the viewer, drawn from the back.
    for (int i = 0; i < 70; ++i) {
        const float x = Noise::hash(i, 1, 71) * 500, y = kHorizon + 4 + Noise::hash(i, 2, 71) * 90;
        if (inLake(x, y) || inLake(x, y + 6))
            continue;
        paintConifer(c, x, y, 18 + (y - kHorizon) * 0.55f);
    }
    const Rgb leaves[] = {{88, 150, 56}, {122, 170, 60}, {222, 134, 42}, {70, 128, 58}, {196, 170, 48}};
    const float leafy[][3] = {{520, 328, 9}, {596, 300, 8}, {690, 300, 9}, {770, 306, 10}, {470, 372, 14},
                              {740, 380, 16}, {560, 356, 12}, {790, 420, 22}};
    for (int i = 0; i < 8; ++i)
        paintLeafyTree(c, leafy[i][0], leafy[i][1], leafy[i][2], leaves[i % 5]);
}

void paintMeadow(Canvas& c)
{
    const Rgb blossoms[] = {{232, 44, 52}, {252, 216, 52}, {250, 250, 246}, {156, 84, 202}, {250, 142, 40}, {244, 128, 180}};
    for (int i = 0; i < 2600; ++i) {
        const float x = Noise::hash(i, 3, 81) * W;
        const float y = 418 + std::pow(Noise::hash(i, 4, 81), 0.75f) * (H - 418);
        const float near = (y - 418) / (H - 418);
        const Rgb blade = scaled({52, 118, 40}, 0.7f + 0.5f * Noise::hash(i, 5, 81));
        c.stroke({x, y}, {x + (Noise::hash(i, 6, 81) - 0.5f) * 6, y - 4 - 12 * near}, 0.8f + near, blade);
        if (Noise::hash(i, 7, 81) < 0.45f && std::abs(x - 430 - 40 * near) > 50 * (1 - near) + 8) {
            const float r = 1.2f + 3.6f * near;
            c.fillEllipse(x, y - 4 - 12 * near, r, r * 0.85f, blossoms[int(Noise::hash(i, 8, 81) * 6)]);
            if (r > 2.6f)
                c.fillEllipse(x, y - 4 - 12 * near, r * 0.35f, r * 0.35f, {250, 200, 40});
        }
    }
}

void paintBalloon(Canvas& c)
{
    const Rgb gores[] = {{222, 52, 50}, {252, 212, 62}, {50, 102, 202}, {246, 246, 246}};
    const float cx = 176, cy = 116, rx = 40, ry = 48;
    for (int y = int(cy - ry) - 1; y <= int(cy + ry) + 1; ++y)
        for (int x = int(cx - rx) - 1; x <= int(cx + rx) + 1; ++x) {
            const float nx = (x + 0.5f - cx) / rx, ny = (y + 0.5f - cy) / ry, r2 = nx * nx + ny * ny;
            if (r2 >= 1.05f)
                continue;
            const float nz = std::sqrt(std::max(0.0f, 1 - r2));
            const float light = 0.62f + 0.45f * std::max(0.0f, 0.55f * nx - 0.35f * ny + 0.76f * nz);
            const int gore = int(std::floor((std::asin(std::clamp(nx, -1.0f, 1.0f)) / kPi + 0.5f) * 8));
            c.blend(x, y, scaled(gores[gore % 4], light), std::clamp((1 - std::sqrt(r2)) * ry + 0.5f, 0.0f, 1.0f));
        }
    const Rgb rope{90, 70, 50};
    c.stroke({cx - 16, cy + ry - 8}, {cx - 6, cy + ry + 18}, 1, rope);
    c.stroke({cx + 16, cy + ry - 8}, {cx + 6, cy + ry + 18}, 1, rope);
    c.fillRect(cx - 7, cy + ry + 17, cx + 7, cy + ry + 27, {128, 88, 48});
}

void paintBirds(Canvas& c)
{
    const Point birds[] = {{330, 86}, {352, 100}, {371, 80}, {455, 64}};
    for (const Point& b : birds) {
        c.stroke({b.x - 6, b.y - 3}, b, 1.4f, {52, 50, 70});
        c.stroke(b, {b.x + 6, b.y - 3}, 1.4f, {52, 50, 70});
    }
}

} // namespace

gfx::Bitmap Landscape::Paint()
{
    Canvas c(W, H);
    paintSky(c);
    paintClouds(c);
    paintMountains(c);
    paintBalloon(c);
    paintBirds(c);
    paintGround(c);
    paintHill(c);
    paintLake(c);
    paintPath(c);
    paintVillage(c);
    paintTrees(c);
    paintMeadow(c);
    return c.toBitmap();
}

} // namespace sample
