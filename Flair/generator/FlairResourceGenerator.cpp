// Draws the effects library's images into a resource folder: the smoke puffs and the poof
// frames, each as <name>.png and <name>@2x.png. Every image comes from fixed seeds through plain
// arithmetic, so two runs write byte-identical files.
//
//     flair_resource_generator <folder>
#include <QColor>
#include <QDir>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <numbers>
#include <vector>

namespace {

std::uint64_t mix(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ull;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
    return x ^ (x >> 31);
}

class Random {
public:
    explicit Random(std::uint64_t seed)
        : state_(seed) {}
    double next() { return double(mix(state_++) >> 11) * 0x1.0p-53; }
    double in(double low, double high) { return low + (high - low) * next(); }

private:
    std::uint64_t state_;
};

// Smooth value noise in [0, 1] over the unit square, `cells` lattice cells across.
double valueNoise(std::uint64_t seed, double x, double y, int cells) {
    const double gx = x * cells, gy = y * cells;
    const double fx = std::floor(gx), fy = std::floor(gy);
    const auto corner = [&](double cx, double cy) {
        return double(mix(seed ^ mix(std::uint64_t(std::int64_t(cx) + 1024) * 4099 + std::uint64_t(std::int64_t(cy) + 1024))) >>
                      11) *
               0x1.0p-53;
    };
    const auto ease = [](double t) { return t * t * (3 - 2 * t); };
    const double tx = ease(gx - fx), ty = ease(gy - fy);
    const double top = corner(fx, fy) + (corner(fx + 1, fy) - corner(fx, fy)) * tx;
    const double bottom = corner(fx, fy + 1) + (corner(fx + 1, fy + 1) - corner(fx, fy + 1)) * tx;
    return top + (bottom - top) * ty;
}

double lowNoise(std::uint64_t seed, double x, double y) {
    return 0.65 * valueNoise(seed, x, y, 3) + 0.35 * valueNoise(seed + 1, x, y, 7);
}

struct Blob {
    double x, y, radius, weight;
};

// A density over the unit square (centre at 0.5, 0.5), turned into a grey image whose alpha is
// the density: `shade` maps density to the grey level.
using Density = std::function<double(double x, double y)>;

QImage paint(int pixels, const Density& density, double light, double dark) {
    QImage image(pixels, pixels, QImage::Format_ARGB32);
    for (int row = 0; row < pixels; ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int column = 0; column < pixels; ++column) {
            const double x = (column + 0.5) / pixels, y = (row + 0.5) / pixels;
            const double a = std::clamp(density(x, y), 0.0, 1.0);
            // Denser parts a little darker, as thick smoke is.
            const double grey = light + (dark - light) * a;
            const int g = int(std::lround(std::clamp(grey, 0.0, 1.0) * 255));
            line[column] = qRgba(g, g, g, int(std::lround(a * 255)));
        }
    }
    return image;
}

// Softens a density by averaging it over a disc of `radius` (in unit-square lengths), sampled.
Density blurred(Density density, double radius) {
    return [density = std::move(density), radius](double x, double y) {
        double sum = 0, count = 0;
        for (int i = -3; i <= 3; ++i)
            for (int j = -3; j <= 3; ++j) {
                if (i * i + j * j > 9) continue;
                sum += density(x + radius * i / 3, y + radius * j / 3);
                count += 1;
            }
        return sum / count;
    };
}

// Fades everything out towards the square's edges, so no puff shows a cut.
double edgeFade(double x, double y) {
    const double r = std::hypot(x - 0.5, y - 0.5) / 0.5;
    return std::clamp((1 - r) / 0.25, 0.0, 1.0);
}

double blobSum(const std::vector<Blob>& blobs, double x, double y) {
    double sum = 0;
    for (const auto& b : blobs) {
        const double d2 = ((x - b.x) * (x - b.x) + (y - b.y) * (y - b.y)) / (b.radius * b.radius);
        sum += b.weight * std::exp(-2.2 * d2);
    }
    return sum;
}

// A puff: a dozen overlapping soft blobs about the centre, broken up by low-frequency noise.
Density puff(std::uint64_t seed, double opacity) {
    Random random(seed);
    std::vector<Blob> blobs;
    for (int i = 0; i < 12; ++i) {
        const double angle = random.in(0, 2 * std::numbers::pi), distance = random.in(0, 0.16);
        blobs.push_back({0.5 + distance * std::cos(angle), 0.5 + distance * std::sin(angle), random.in(0.1, 0.2),
                         random.in(0.25, 0.5)});
    }
    return [blobs, seed, opacity](double x, double y) {
        const double body = 1 - std::exp(-blobSum(blobs, x, y));
        const double grain = 0.55 + 0.45 * lowNoise(seed * 31 + 7, x, y);
        return opacity * body * grain * edgeFade(x, y);
    };
}

// Poof frame `frame` (0 … 4): a compact cloud that grows, thins into a ring and breaks up.
Density poof(int frame) {
    const double t = frame / 4.0;
    Random random(900); // the same blobs in every frame, moved outward
    std::vector<Blob> blobs;
    for (int i = 0; i < 14; ++i) {
        const double angle = 2 * std::numbers::pi * (i + random.in(-0.3, 0.3)) / 14;
        const double reach = random.in(0.6, 1.0);
        const double distance = reach * (0.05 + 0.27 * t);
        blobs.push_back({0.5 + distance * std::cos(angle), 0.5 + distance * std::sin(angle),
                         random.in(0.09, 0.13) * (1.0 - 0.35 * t) + 0.05, random.in(0.5, 0.8)});
    }
    return [blobs, t](double x, double y) {
        const double body = 1 - std::exp(-blobSum(blobs, x, y) * 1.6);
        // The middle empties as the cloud spreads, and the ring tears where the noise is low.
        const double r = std::hypot(x - 0.5, y - 0.5);
        const double hollow = std::clamp(r / (0.3 * t + 1e-9), 0.0, 1.0);
        const double centre = 1 - t * (1 - hollow * hollow);
        const double tear = std::clamp((lowNoise(4242, x, y) - 0.55 * t) / 0.3 + (1 - t), 0.0, 1.0);
        return body * centre * tear * (1 - 0.45 * t) * edgeFade(x, y);
    };
}

bool write(const QDir& folder, const QString& name, int points, const Density& density, double light,
           double dark) {
    for (int scale : {1, 2}) {
        const QString file = folder.filePath(scale == 1 ? name + ".png" : name + "@2x.png");
        if (!paint(points * scale, density, light, dark).save(file, "PNG")) {
            std::fprintf(stderr, "flair_resource_generator: cannot write %s\n", qPrintable(file));
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: flair_resource_generator <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "flair_resource_generator: cannot make %s\n", argv[1]);
        return 1;
    }
    const Density gray = puff(11, 0.85);
    bool ok = write(folder, "anvil_smoke_gray", 128, gray, 0.62, 0.45) &&
              write(folder, "anvil_smoke_gray_blur", 128, blurred(gray, 0.06), 0.62, 0.45) &&
              write(folder, "anvil_smoke_gray_alt", 128, puff(23, 0.8), 0.6, 0.42) &&
              write(folder, "anvil_smoke_white", 128, puff(37, 0.9), 0.98, 0.88);
    for (int frame = 0; ok && frame < 5; ++frame)
        ok = write(folder, QString("poof%1").arg(frame + 1), 88, poof(frame), 0.97, 0.85);
    return ok ? 0 : 1;
}
