#include "MechanicalConstants.h"

#include "Model/Materials/MaterialFactory.h"

namespace Model {
namespace ModelExtraction {

namespace {

const double kDensity[kFixedConstantCount] = {0,    2329, 2700, 8940, 8908, 2648, 2810, 1000,
                                              1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000};
constexpr double kYoungModulus = 7.0e10; // Pa, every id of the fixed table but 0

} // namespace

double densityOf(uint32_t material)
{
    if (material < kFixedConstantCount)
        return kDensity[material];
    return double(Materials::MaterialFactory::instance()->material(material).density());
}

double youngModulusOf(uint32_t material)
{
    if (material < kFixedConstantCount)
        return material == 0 ? 0.0 : kYoungModulus;
    return double(Materials::MaterialFactory::instance()->material(material).youngModulus());
}

} // namespace ModelExtraction
} // namespace Model
