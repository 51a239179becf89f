#pragma once

#include <iosfwd>

namespace Util {

// Four doubles x, y, z, w: positions, displacements and RGBA colours (components 0..1).
class Vector4D {
public:
    Vector4D() = default;
    explicit Vector4D(double v) : x(v), y(v), z(v), w(v) {}
    Vector4D(double x, double y, double z, double w) : x(x), y(y), z(z), w(w) {}
    virtual ~Vector4D() = default;

    Vector4D(const Vector4D &) = default;
    Vector4D &operator=(const Vector4D &) = default;

    // 0 gives x, 1 y, 2 z; every other index gives w.
    double &operator[](int index);
    double operator[](int index) const;

    Vector4D operator+(const Vector4D &o) const { return {x + o.x, y + o.y, z + o.z, w + o.w}; }
    Vector4D operator-(const Vector4D &o) const { return {x - o.x, y - o.y, z - o.z, w - o.w}; }
    Vector4D &operator+=(const Vector4D &o);
    bool operator==(const Vector4D &o) const { return x == o.x && y == o.y && z == o.z && w == o.w; }
    bool operator!=(const Vector4D &o) const { return !(*this == o); }

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    double w = 0.0;
};

Vector4D operator*(double s, const Vector4D &v);

// Readable form for test failure messages: (x, y, z, w).
std::ostream &operator<<(std::ostream &out, const Vector4D &v);
void PrintTo(const Vector4D &v, std::ostream *out);

} // namespace Util
