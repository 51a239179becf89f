#include "Vector4D.h"

#include <ostream>

namespace Util {

double &Vector4D::operator[](int index)
{
    switch (index) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    default: return w;
    }
}

double Vector4D::operator[](int index) const
{
    switch (index) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    default: return w;
    }
}

Vector4D &Vector4D::operator+=(const Vector4D &o)
{
    x += o.x;
    y += o.y;
    z += o.z;
    w += o.w;
    return *this;
}

Vector4D operator*(double s, const Vector4D &v)
{
    return {s * v.x, s * v.y, s * v.z, s * v.w};
}

std::ostream &operator<<(std::ostream &out, const Vector4D &v)
{
    return out << '(' << v.x << ", " << v.y << ", " << v.z << ", " << v.w << ')';
}

void PrintTo(const Vector4D &v, std::ostream *out)
{
    *out << v;
}

} // namespace Util
