#include "MaterialXml.h"

#include <QColor>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace Model {
namespace Materials {

namespace {

constexpr float kChannelMax = 255.0f;
constexpr int kSignificantDigits = 6;

QString number(float value)
{
    return QString::number(value, 'g', kSignificantDigits);
}

// "#AARRGGBB", each channel the component · 255 truncated.
QString colorText(const Color &color)
{
    QString text = QStringLiteral("#");
    for (int component : {3, 0, 1, 2})
        text += QStringLiteral("%1").arg(static_cast<int>(color[component] * kChannelMax), 2, 16, QLatin1Char('0'))
                    .toUpper();
    return text;
}

Color parseColor(const QStringRef &text)
{
    QColor color;
    color.setNamedColor(text.toString());
    if (!color.isValid())
        return Material::kDefaultColor;
    return {float(color.redF()), float(color.greenF()), float(color.blueF()), float(color.alphaF())};
}

} // namespace

bool readMaterialElement(const QXmlStreamReader &reader, Material &material)
{
    if (reader.name() != QLatin1String("Material"))
        return false;
    const QXmlStreamAttributes attributes = reader.attributes();
    material = Material(attributes.value(QLatin1String("material-id")).toUInt(),
                        attributes.value(QLatin1String("name")).toString(),
                        attributes.value(QLatin1String("density")).toFloat(),
                        attributes.value(QLatin1String("young-modulus")).toFloat(),
                        attributes.value(QLatin1String("poisson-ratio")).toFloat(),
                        parseColor(attributes.value(QLatin1String("color"))));
    return material.materialId() != 0 && !material.name().isEmpty();
}

void writeMaterialElement(QXmlStreamWriter &writer, const Material &material)
{
    writer.writeEmptyElement(QStringLiteral("Material"));
    writer.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    writer.writeAttribute(QStringLiteral("name"), material.name());
    writer.writeAttribute(QStringLiteral("material-id"), QString::number(material.materialId()));
    writer.writeAttribute(QStringLiteral("density"), number(material.density()));
    writer.writeAttribute(QStringLiteral("poisson-ratio"), number(material.poissonRatio()));
    writer.writeAttribute(QStringLiteral("young-modulus"), number(material.youngModulus()));
    writer.writeAttribute(QStringLiteral("color"), colorText(material.color()));
}

} // namespace Materials
} // namespace Model
