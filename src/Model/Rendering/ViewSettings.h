#pragma once

#include "Model/Rendering/ViewState.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Model {
namespace Rendering {

// A positional light on a sphere around the viewer; lamp i of a view is OpenGL light i − 1.
struct Lamp {
    float radius = 0.0f;
    float theta = 0.0f; // radians
    float phi = 0.0f;   // radians
    std::array<float, 4> position{0.0f, 0.0f, 0.0f, 1.0f}; // eye space

    // Puts the position on the sphere of the radius at the two angles.
    void place();
};

// Everything a frame of the 3D view depends on besides the scene and the picture size. A
// default-constructed one is what a fresh view shows: the initial rotation, zoom 1, one
// enabled lamp, axes and faces drawn with lighting, no outlines, lamp glyphs or grid.
struct ViewSettings {
    static constexpr int kMaxLamps = 8;

    ViewSettings();

    int lampCount() const { return int(lamps.size()); }
    // Lamps are numbered from 1.
    bool isLampEnabled(int lamp) const { return (enabledLamps >> (lamp - 1)) & 1u; }

    ViewState view;
    float zoom = 1.0f;
    std::vector<Lamp> lamps;
    int activeLamp = 1;
    uint8_t enabledLamps = 1; // bit i: lamp i + 1
    bool showAxes = true;
    bool showLamps = false;
    bool lighting = true;
    bool drawFaces = true;
    bool drawOutlines = false;
    bool showGrid = false;
    double gridSpacing = 10.0; // view units
};

} // namespace Rendering
} // namespace Model
