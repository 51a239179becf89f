#include "IonImplantation.h"

#include "Core/Operations/Doping/DopableMaterials.h"
#include "Core/Operations/Doping/DopingTargets.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"

#include <algorithm>
#include <cmath>

namespace Core {
namespace Operations {

using Model::Automaton::Cell;
using Model::Materials::kEmptyMaterial;

IonImplantation::IonImplantation(Model::Automaton::TotalVolume &volume, IndexSet dopableIds, uint32_t dopedMaterial,
                                 float implantationDepth, float verticalSpread, float annealingDistance)
    : AbstractDistanceCountingAutomatonNoFinalize(volume, dopingTargets(dopableIds, dopedMaterial)),
      dopable(sortedMaterialIds(std::move(dopableIds))),
      dopedMaterial(dopedMaterial),
      implantationDepth(implantationDepth),
      verticalSpread(verticalSpread),
      annealingDistance(annealingDistance),
      annealingSquared(annealingDistance * annealingDistance),
      sizeY(volume.sizeY()),
      sizeZ(volume.sizeZ()),
      cellHeight(volume.cellSizeZ())
{
}

unsigned IonImplantation::stepCount(float annealingDistance, float smallestCellLength)
{
    return stepsToCover(annealingDistance, smallestCellLength);
}

bool IonImplantation::inImplantedBand(uint32_t k, float cellHeight, float implantationDepth, float verticalSpread)
{
    return std::fabs(float(k) * cellHeight - implantationDepth) <= 0.5f * cellHeight + verticalSpread;
}

void IonImplantation::run(unsigned iterations)
{
    runPasses(iterations, FinalPass::Skip, [this](Util::Slab bounds, unsigned slab) { implantColumns(bounds, slab); });
}

bool IonImplantation::isDopable(uint32_t material) const
{
    return std::binary_search(dopable.begin(), dopable.end(), material);
}

bool IonImplantation::isSource(const Cell &cell)
{
    return cell.isFixed() && cell.vx() == 0.0f && cell.vy() == 0.0f && cell.vz() == 0.0f;
}

void IonImplantation::implantColumns(Util::Slab bounds, unsigned)
{
    const float a = annealingDistance;
    for (uint32_t x = bounds.begin; x < bounds.end; ++x) {
        for (uint32_t y = 0; y < sizeY; ++y) {
            const uint32_t column = (x * sizeY + y) * sizeZ;
            // Above the top: the ions pass through, nothing to dope.
            uint32_t top = sizeZ;
            while (top > 0 && cellAt(column + top - 1).material() == kEmptyMaterial) {
                Cell &cell = cellAt(column + top - 1);
                cell.setFixed(true);
                cell.setV(a, a, a);
                --top;
            }
            // `top` is now one above the topmost non-empty cell, whose k is 1.
            for (uint32_t z = top; z-- > 0;) {
                Cell &cell = cellAt(column + z);
                const uint32_t k = top - z;
                if (!isDopable(cell.material())) {
                    cell.setFixed(true);
                    cell.setV(a, a, a);
                } else if (inImplantedBand(k, cellHeight, implantationDepth, verticalSpread)) {
                    cell.setMaterial(dopedMaterial);
                    cell.setFixed(true);
                    cell.setV(0.0f, 0.0f, 0.0f);
                } else {
                    cell.setFixed(false);
                    cell.setV(a, a, a);
                }
            }
        }
    }
}

void IonImplantation::initializeCell(uint32_t index, unsigned slab)
{
    if (annealingDistance <= 0.0f || cellAt(index).isFixed())
        return;
    if (anyNeighbourCell(index, &IonImplantation::isSource))
        startOnFront(index, slab);
}

void IonImplantation::updateCell(uint32_t index, unsigned slab)
{
    if (cellAt(index).isFixed())
        return;
    changeIfCloser(index, annealingSquared, dopedMaterial, slab);
}

void implantIons(Model::Automaton::TotalVolume &volume, uint32_t dopedMaterial, float implantationDepth,
                 float verticalSpread, float annealingDistance)
{
    IonImplantation automaton(volume, dopableMaterials(kIonImplantationProcess), dopedMaterial, implantationDepth,
                              verticalSpread, annealingDistance);
    const float smallest = AbstractDistanceCountingAutomatonBase::smallestCellLength(volume);
    automaton.run(IonImplantation::stepCount(annealingDistance, smallest));
}

} // namespace Operations
} // namespace Core
