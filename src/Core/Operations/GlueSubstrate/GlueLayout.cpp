#include "GlueLayout.h"

#include "Model/Automaton/CellReadLock.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialIds.h"

#include <QString>
#include <algorithm>

namespace Core {
namespace Operations {

using Model::Automaton::TotalVolume;

OccupiedLayers occupiedLayers(TotalVolume &volume)
{
    const Model::Automaton::CellReadLock lock(volume);
    const Model::Automaton::Cell *cells = lock.cells();
    const uint32_t sizeZ = volume.sizeZ();
    const size_t columns = size_t(volume.sizeX()) * volume.sizeY();
    OccupiedLayers layers;
    for (size_t column = 0; column < columns; ++column) {
        const Model::Automaton::Cell *cell = cells + column * sizeZ;
        uint32_t lowest = 0;
        while (lowest < sizeZ && cell[lowest].material() == Model::Materials::kEmptyMaterial)
            ++lowest;
        if (lowest == sizeZ)
            continue;
        uint32_t end = sizeZ;
        while (cell[end - 1].material() == Model::Materials::kEmptyMaterial)
            --end;
        if (layers.empty)
            layers = OccupiedLayers{false, lowest, end};
        layers.lowest = std::min(layers.lowest, lowest);
        layers.end = std::max(layers.end, end);
    }
    return layers;
}

GlueLayout GlueLayout::of(TotalVolume &base, TotalVolume &top)
{
    GlueLayout layout;
    const OccupiedLayers baseLayers = occupiedLayers(base);
    layout.baseTop = baseLayers.empty ? 1 : baseLayers.end;
    const OccupiedLayers topLayers = occupiedLayers(top);
    layout.topHasMaterial = !topLayers.empty;
    layout.topBottom = topLayers.lowest;
    layout.topTop = topLayers.end;

    layout.baseSizeX = base.sizeX();
    layout.baseSizeY = base.sizeY();
    layout.topSizeX = top.sizeX();
    layout.topSizeY = top.sizeY();
    layout.defaultSizeX = std::max(base.sizeX(), top.sizeX());
    layout.defaultSizeY = std::max(base.sizeY(), top.sizeY());
    layout.defaultSizeZ = layout.baseTop + layout.topHeight() + 1;

    layout.cellSizeX = std::max(base.cellSizeX(), top.cellSizeX());
    layout.cellSizeY = std::max(base.cellSizeY(), top.cellSizeY());
    layout.cellSizeZ = std::max(base.cellSizeZ(), top.cellSizeZ());
    return layout;
}

GlueSettings GlueLayout::defaults() const
{
    return GlueSettings{defaultSizeX, defaultSizeY, defaultSizeZ, 0, 0, false};
}

bool GlueLayout::accepts(const GlueSettings &settings, std::string *why) const
{
    auto refuse = [why](const QString &reason) {
        if (why)
            *why = reason.toStdString();
        return false;
    };
    if (settings.sizeX < defaultSizeX || settings.sizeY < defaultSizeY || settings.sizeZ < defaultSizeZ)
        return refuse(QStringLiteral("The final volume size %1 × %2 × %3 is smaller than the smallest that holds "
                                     "both volumes, %4 × %5 × %6.")
                          .arg(settings.sizeX).arg(settings.sizeY).arg(settings.sizeZ)
                          .arg(defaultSizeX).arg(defaultSizeY).arg(defaultSizeZ));
    // In 64 bits: a shift near the 32-bit limit must not wrap round into range.
    if (uint64_t(settings.dx) + topSizeX > settings.sizeX || uint64_t(settings.dy) + topSizeY > settings.sizeY)
        return refuse(QStringLiteral("The top substrate displacement (%1, %2) moves it outside the final volume.")
                          .arg(settings.dx).arg(settings.dy));
    QString tooLarge;
    if (!TotalVolume::sizeIsAcceptable(settings.sizeX, settings.sizeY, settings.sizeZ, &tooLarge))
        return refuse(QStringLiteral("Volume too large. ") + tooLarge);
    return true;
}

} // namespace Operations
} // namespace Core
