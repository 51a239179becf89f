#pragma once

#include "Vector4D.h"

#include <QMetaType>

namespace Util {

// A Vector4D whose w is always 0 when constructed.
class Vector3D : public Vector4D {
public:
    Vector3D() = default;
    explicit Vector3D(double v) : Vector4D(v, v, v, 0.0) {}
    Vector3D(double x, double y, double z) : Vector4D(x, y, z, 0.0) {}
    Vector3D(const Vector4D &v) : Vector4D(v.x, v.y, v.z, 0.0) {} // NOLINT: implicit by design
};

} // namespace Util

// Process lists keep three-double parameters ("Lower Left Front Corner") in QVariants.
Q_DECLARE_METATYPE(Util::Vector3D)
