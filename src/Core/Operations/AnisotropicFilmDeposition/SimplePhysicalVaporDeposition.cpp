#include "SimplePhysicalVaporDeposition.h"

#include "HorizontalWeighting.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"

namespace Core {
namespace Operations {

using Model::Materials::kEmptyMaterial;

SimplePhysicalVaporDeposition::SimplePhysicalVaporDeposition(Model::Automaton::TotalVolume &volume,
                                                             uint32_t material, float thickness, float ratio,
                                                             uint32_t sides)
    : AbstractDistanceCountingAutomatonNoFinalize(volume, {kEmptyMaterial, material},
                                                  horizontallyWeightedLengths(volume, ratio, thickness)),
      depositedMaterial(material),
      thickness(thickness),
      thicknessSquared(thickness * thickness),
      sides(sides),
      sizeZ(volume.sizeZ()),
      steps(weightedStepCount(thickness, horizontallyWeightedLengths(volume, ratio, thickness)))
{
}

bool SimplePhysicalVaporDeposition::isSource(uint32_t index) const
{
    // z is the fastest index, so the cells above and below are index ± 1.
    const uint32_t z = index % sizeZ;
    if ((sides & Top) && z + 1 < sizeZ && cellAt(index + 1).material() == kEmptyMaterial)
        return true;
    return (sides & Bottom) && z > 0 && cellAt(index - 1).material() == kEmptyMaterial;
}

void SimplePhysicalVaporDeposition::initializeCell(uint32_t index, unsigned slab)
{
    Model::Automaton::Cell &cell = cellAt(index);
    if (cell.material() == kEmptyMaterial) {
        cell.setFixed(false);
        cell.setV(thickness, thickness, thickness);
        if (anyNeighbourMaterial(index, [](uint32_t material) { return material != kEmptyMaterial; }))
            startOnFront(index, slab);
        return;
    }
    // A solid that the vapour cannot see is fixed too, but as far away as the thickness: it
    // offers no candidate within reach and never grows anything.
    cell.setFixed(true);
    if (isSource(index))
        cell.setV(0.0f, 0.0f, 0.0f);
    else
        cell.setV(thickness, thickness, thickness);
}

void SimplePhysicalVaporDeposition::updateCell(uint32_t index, unsigned slab)
{
    if (cellAt(index).isFixed())
        return;
    changeIfCloser(index, thicknessSquared, depositedMaterial, slab);
}

void depositPhysicalVapor(Model::Automaton::TotalVolume &volume, uint32_t material, float thickness, float ratio,
                          uint32_t sides)
{
    SimplePhysicalVaporDeposition automaton(volume, material, thickness, ratio, sides);
    automaton.run(automaton.stepCount());
}

} // namespace Operations
} // namespace Core
