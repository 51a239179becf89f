#pragma once

#include <QMatrix4x4>
#include <array>

namespace Model {
namespace Rendering {

// The viewing transformation of the 3D view: rotate by ax about x, ay about y, az about z,
// translate by the axis translation, then by the screen offset, which is the screen position
// (u, v) carried back through the rotation so that it always shifts the picture within the
// screen.
struct ViewState {
    float u = 0.0f, v = 0.0f;
    std::array<float, 3> screenOffset{};
    std::array<float, 16> rotation{}; // column-major, as OpenGL returns it
    float ax = 0.0f, ay = 0.0f, az = 0.0f; // degrees
    float tx = 0.0f, ty = 0.0f, tz = 0.0f;

    // Rebuilds the rotation from the angles.
    void setAngles(float x, float y, float z);
    // Turns by `r` in eye space, before the current rotation, and re-reads the angles.
    void rotateBefore(const QMatrix4x4 &r);
    void updateScreenOffset();
    QMatrix4x4 modelView() const;
};

} // namespace Rendering
} // namespace Model
