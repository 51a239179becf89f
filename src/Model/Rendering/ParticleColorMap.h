#pragma once

#include "Model/Geometry/QuadFace.h"

#include <array>
#include <cstdint>

namespace Model {
namespace Rendering {

// The colour scale of the particle count field view: 256 RGBA entries spread linearly over a
// value range [minimum, maximum].
class ParticleColorMap {
public:
    static constexpr int kEntryCount = 256;

    // Starts as the gray scale over [0, 1].
    ParticleColorMap();

    // 0 gray (i/255 on every channel), 1 red to blue, 2 yellow to blue; any other value gives
    // red to blue.
    void setScale(uint32_t scale);
    uint32_t scale() const { return currentScale; }

    void setRange(float low, float high);
    float minimum() const { return low; }
    float maximum() const { return high; }

    // The entry at (v − minimum) / (maximum − minimum) · 255, truncated and clamped to 0 … 255;
    // a ratio that is not a number (equal minimum and maximum at v = minimum) gives entry 0.
    static int entryIndex(double v, float minimum, float maximum);
    const Geometry::Rgba &colorOf(double v) const { return table[size_t(entryIndex(v, low, high))]; }
    const Geometry::Rgba &entry(int i) const { return table[size_t(i)]; }

private:
    uint32_t currentScale = 0;
    float low = 0.0f;
    float high = 1.0f;
    std::array<Geometry::Rgba, kEntryCount> table{};
};

} // namespace Rendering
} // namespace Model
