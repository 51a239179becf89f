#include "ViewSettings.h"

#include <cmath>

namespace Model {
namespace Rendering {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr float kInitialAngleX = -60.0f; // degrees
constexpr float kInitialAngleY = 0.0f;
constexpr float kInitialAngleZ = 30.0f;
constexpr float kInitialLampRadius = 300.0f; // view units
constexpr float kInitialLampTheta = float(kPi / 3.0);
constexpr float kInitialLampPhi = float(kPi / 4.0);

} // namespace

void Lamp::place()
{
    position = {std::cos(theta) * std::cos(phi) * radius, std::sin(theta) * std::cos(phi) * radius,
                std::sin(phi) * radius, 1.0f};
}

ViewSettings::ViewSettings()
{
    view.setAngles(kInitialAngleX, kInitialAngleY, kInitialAngleZ);
    lamps.resize(1);
    lamps[0].radius = kInitialLampRadius;
    lamps[0].theta = kInitialLampTheta;
    lamps[0].phi = kInitialLampPhi;
    lamps[0].place();
}

} // namespace Rendering
} // namespace Model
