#pragma once

#include <QColor>
#include <QString>
#include <array>
#include <cstdint>
#include <iosfwd>

namespace Model {
namespace Materials {

// Red, green, blue, alpha, each 0.0 to 1.0.
using Color = std::array<float, 4>;

// One entry of the material catalogue: a name, a display colour and the mechanical constants
// that model extraction uses. A plain value, copied freely. Id 0 is the empty cell and never
// names a catalogue entry.
class Material {
public:
    static constexpr Color kDefaultColor{0.5f, 0.5f, 0.5f, 1.0f};

    Material() = default;
    Material(uint32_t materialId, const QString &name, float density, float youngModulus, float poissonRatio,
             const Color &color = kDefaultColor);

    uint32_t materialId() const { return id; }
    void setMaterialId(uint32_t materialId) { id = materialId; }

    const QString &name() const { return materialName; }
    void setName(const QString &name) { materialName = name; }

    float density() const { return materialDensity; }
    void setDensity(float density) { materialDensity = density; }

    float youngModulus() const { return materialYoungModulus; }
    void setYoungModulus(float youngModulus) { materialYoungModulus = youngModulus; }

    float poissonRatio() const { return materialPoissonRatio; }
    void setPoissonRatio(float poissonRatio) { materialPoissonRatio = poissonRatio; }

    const Color &color() const { return materialColor; }
    void setColor(const Color &color) { materialColor = color; }

    // The colour with 8-bit channels, each component · 255 truncated (the catalogue file and the
    // materials table both use this rounding, so a colour survives save and load unchanged).
    QColor toQColor() const;
    // Takes the colour from 8-bit channels, each divided by 255.
    void setColor(const QColor &color);

    bool operator==(const Material &other) const;
    bool operator!=(const Material &other) const { return !(*this == other); }

private:
    uint32_t id = 0;
    QString materialName = QStringLiteral("Empty");
    float materialDensity = 0.0f;
    float materialYoungModulus = 0.0f;
    float materialPoissonRatio = 0.0f;
    Color materialColor = kDefaultColor;
};

// Readable form for test failure messages:
// Material(1 "Si" density 2329 young 1.88e+11 poisson 0.28 color (0.5, 0.5, 0.5, 1)).
std::ostream &operator<<(std::ostream &out, const Material &material);
void PrintTo(const Material &material, std::ostream *out);

} // namespace Materials
} // namespace Model
