#include "ViewState.h"

#include <algorithm>
#include <cmath>

namespace Model {
namespace Rendering {

namespace {
constexpr float kAnglePi = 3.1415927f; // the π of the angles read back from the trackball
}

void ViewState::setAngles(float x, float y, float z)
{
    ax = x;
    ay = y;
    az = z;
    QMatrix4x4 m;
    m.rotate(ax, 1.0f, 0.0f, 0.0f);
    m.rotate(ay, 0.0f, 1.0f, 0.0f);
    m.rotate(az, 0.0f, 0.0f, 1.0f);
    std::copy(m.constData(), m.constData() + 16, rotation.begin());
    updateScreenOffset();
}

void ViewState::rotateBefore(const QMatrix4x4 &r)
{
    QMatrix4x4 current;
    std::copy(rotation.begin(), rotation.end(), current.data());
    const QMatrix4x4 turned = r * current;
    std::copy(turned.constData(), turned.constData() + 16, rotation.begin());
    const auto &M = rotation;
    const float toDegrees = 180.0f / kAnglePi;
    ax = -std::atan2(M[9], M[10]) * toDegrees;
    ay = std::atan2(M[8], std::sqrt(M[9] * M[9] + M[10] * M[10])) * toDegrees;
    az = -std::atan2(M[4], M[0]) * toDegrees;
    updateScreenOffset();
}

void ViewState::updateScreenOffset()
{
    const auto &M = rotation;
    screenOffset = {M[0] * u + M[1] * v, M[4] * u + M[5] * v, M[8] * u + M[9] * v};
}

QMatrix4x4 ViewState::modelView() const
{
    QMatrix4x4 m;
    std::copy(rotation.begin(), rotation.end(), m.data());
    m.translate(tx, ty, tz);
    m.translate(screenOffset[0], screenOffset[1], screenOffset[2]);
    return m;
}

} // namespace Rendering
} // namespace Model
