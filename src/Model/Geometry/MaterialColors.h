#pragma once

#include "Model/Geometry/QuadFace.h"

#include <cstdint>
#include <map>

namespace Model {
namespace Geometry {

// Material id → RGBA display colour, as the surface builders look colours up.
using MaterialColorMap = std::map<uint32_t, Rgba>;

// Alpha classes of a display colour.
constexpr float kOpaqueAlphaAbove = 0.99607843f;   // 254/255
constexpr float kVisibleAlphaFrom = 0.003921569f;  // 1/255
enum class AlphaClass { Opaque, Translucent, Invisible };

// What a material without a colour shows on every surface: opaque mid-grey, so that it stays
// visible and covers its neighbours like any solid.
constexpr Rgba kMissingMaterialColor{0.5f, 0.5f, 0.5f, 1.0f};

inline AlphaClass alphaClass(const Rgba &color)
{
    if (color[3] > kOpaqueAlphaAbove)
        return AlphaClass::Opaque;
    if (color[3] >= kVisibleAlphaFrom)
        return AlphaClass::Translucent;
    return AlphaClass::Invisible;
}

// The colour of a selected object: each of R, G, B moves by 0.7 down when it is at least 0.7,
// else 0.3 up; alpha is kept.
inline Rgba highlightColor(const Rgba &color)
{
    constexpr double kThreshold = 0.7;
    constexpr double kDown = 0.7;
    constexpr double kUp = 0.3;
    Rgba out = color;
    for (int i = 0; i < 3; ++i) {
        const double c = color[i];
        out[i] = float(c >= kThreshold ? c - kDown : c + kUp);
    }
    return out;
}

} // namespace Geometry
} // namespace Model
