#pragma once

#include "Util/Vector3D.h"

namespace Model {
namespace Automaton {

class TotalVolume;

// Turns a cell volume's cells into drawable geometry and draws it. Each volume owns one,
// constructed with a reference back to the volume.
class TotalVolumePainter {
public:
    explicit TotalVolumePainter(TotalVolume &volume);

    TotalVolumePainter(const TotalVolumePainter &) = delete;
    TotalVolumePainter &operator=(const TotalVolumePainter &) = delete;

    void paint(bool drawFaces, bool drawOutlines, const Util::Vector3D &eyePosition);
    void paintForPicking();

    TotalVolume &volume() { return owner; }

private:
    TotalVolume &owner;
};

} // namespace Automaton
} // namespace Model
