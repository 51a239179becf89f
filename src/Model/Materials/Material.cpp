#include "Material.h"

#include <ostream>

namespace Model {
namespace Materials {

namespace {
constexpr float kChannelMax = 255.0f;

int toChannel(float component)
{
    return static_cast<int>(component * kChannelMax);
}
} // namespace

Material::Material(uint32_t materialId, const QString &name, float density, float youngModulus,
                   float poissonRatio, const Color &color)
    : id(materialId),
      materialName(name),
      materialDensity(density),
      materialYoungModulus(youngModulus),
      materialPoissonRatio(poissonRatio),
      materialColor(color)
{
}

QColor Material::toQColor() const
{
    return QColor(toChannel(materialColor[0]), toChannel(materialColor[1]), toChannel(materialColor[2]),
                  toChannel(materialColor[3]));
}

void Material::setColor(const QColor &color)
{
    materialColor = {color.red() / kChannelMax, color.green() / kChannelMax, color.blue() / kChannelMax,
                     color.alpha() / kChannelMax};
}

bool Material::operator==(const Material &other) const
{
    return id == other.id && materialName == other.materialName && materialDensity == other.materialDensity
        && materialYoungModulus == other.materialYoungModulus
        && materialPoissonRatio == other.materialPoissonRatio && materialColor == other.materialColor;
}

std::ostream &operator<<(std::ostream &out, const Material &material)
{
    const Color &c = material.color();
    return out << "Material(" << material.materialId() << " \"" << material.name().toStdString() << "\" density "
               << material.density() << " young " << material.youngModulus() << " poisson "
               << material.poissonRatio() << " color (" << c[0] << ", " << c[1] << ", " << c[2] << ", " << c[3]
               << "))";
}

void PrintTo(const Material &material, std::ostream *out)
{
    *out << material;
}

} // namespace Materials
} // namespace Model
