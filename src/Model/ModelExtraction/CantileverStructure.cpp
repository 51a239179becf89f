#include "CantileverStructure.h"

#include "Model/ModelExtraction/MechanicalConstants.h"

namespace Model {
namespace ModelExtraction {

namespace {
// The share of a cantilever's mass that moves as if it sat at the tip.
constexpr double kTipMassFraction = 33.0 / 140.0;
constexpr int kSignificantDigits = 6;
} // namespace

BeamValues beamValuesOf(const RectangularCuboidEnvelope &beam)
{
    const uint32_t a = beam.sizeX;
    const uint32_t b = beam.sizeY;
    const uint32_t c = beam.sizeZ;
    // Cell counts are 32-bit products, as the volume's cell indices are.
    const uint32_t cells = a * b * c;
    const uint32_t length = a > b ? a : b;
    const uint32_t width = a > b ? b : a;
    const uint32_t thicknessCubedWidth = c * c * c * width;
    const uint32_t lengthCubed = length * length * length;

    BeamValues values;
    values.mass = double(cells) * kCellVolume * densityOf(beam.material) * kTipMassFraction;
    const double areaMoment = double(thicknessCubedWidth) / 12;
    values.stiffness = 3 * youngModulusOf(beam.material) * areaMoment / double(lengthCubed);
    return values;
}

QString CantileverStructure::netlist() const
{
    QString text = QStringLiteral("Model extracted by Voxfab\n");
    int node = 0;
    for (const EnvelopePointer &beam : beamList) {
        const BeamValues values = beamValuesOf(*beam);
        const QString n = QString::number(++node);
        text += QStringLiteral("c%1 %2 0 %3 \n").arg(n, n, QString::number(values.mass, 'g', kSignificantDigits));
        text += QStringLiteral("l%1 %2 0 %3 \n").arg(n, n, QString::number(1 / values.stiffness, 'g', kSignificantDigits));
    }
    text += QStringLiteral(".end \n");
    return text;
}

} // namespace ModelExtraction
} // namespace Model
