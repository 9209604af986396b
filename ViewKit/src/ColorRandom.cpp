#include "ViewKit/ColorRandom.h"

#include "foundation/Fatal.h"
#include "foundation/Random.h"

#include <cmath>
#include <random>

namespace ViewKit {

namespace {

struct ThreadGenerator {
    std::mt19937_64 engine{seed()};
    static std::uint64_t seed() {
        std::random_device device;
        return std::uint64_t(device()) << 32 | device();
    }
    std::uint64_t next() { return engine(); }
};

} // namespace

ui::Color randomColor(bool randomOpacity, const foundation::ClosedRange<double>& range) {
    const double lower = range.lowerBound();
    const double upper = range.upperBound();
    if (!std::isfinite(upper - lower)) foundation::fatal("randomColor needs a range with finite bounds");
    thread_local ThreadGenerator generator;
    const double red = foundation::randomDouble(lower, upper, generator);
    const double green = foundation::randomDouble(lower, upper, generator);
    const double blue = foundation::randomDouble(lower, upper, generator);
    const double opacity = randomOpacity ? foundation::randomDouble(0, 1, generator) : 1;
    return ui::Color(ui::Color::RGBColorSpace::sRGB, red, green, blue, opacity);
}

} // namespace ViewKit
