#include "ParticleFieldView.h"

#include "Model/Automaton/Cell.h"
#include "Model/Automaton/ParticleCountField.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Geometry/FaceTable.h"
#include "Util/SlabRunner.h"

#include <algorithm>
#include <limits>

namespace Model {
namespace Rendering {

using Automaton::Cell;
using Automaton::ParticleCountField;
using Automaton::TotalVolume;
using Geometry::QuadFace;
using Geometry::Rgba;

namespace {

const Rgba &colorIn(const Geometry::MaterialColorMap &colors, uint32_t id)
{
    const auto found = colors.find(id);
    return found == colors.end() ? Geometry::kMissingMaterialColor : found->second;
}

// A field is used only when it covers every cell of the volume.
std::shared_ptr<ParticleCountField> fieldOf(const TotalVolume &volume, const QString &name)
{
    auto field = volume.particleCountField(name);
    if (field && uint64_t(field->cellCount()) != volume.cellCount())
        return nullptr;
    return field;
}

struct FaceLists {
    std::vector<QuadFace> opaque;
    std::vector<QuadFace> translucent;
};

} // namespace

bool ParticleFieldView::hasValues() const
{
    switch (shown) {
    case TypeN:
        return bool(typeN);
    case TypeP:
        return bool(typeP);
    case SignedSum:
        return typeN || typeP;
    default:
        return false;
    }
}

int64_t ParticleFieldView::valueOf(uint32_t cellIndex) const
{
    const auto count = [cellIndex](const std::shared_ptr<ParticleCountField> &field) -> int64_t {
        return field ? int64_t(field->particleCount(cellIndex)) : 0;
    };
    switch (shown) {
    case TypeN:
        return count(typeN);
    case TypeP:
        return count(typeP);
    default:
        // P − N as signed 32-bit integers.
        return int64_t(int32_t(uint32_t(count(typeP)) - uint32_t(count(typeN))));
    }
}

void ParticleFieldView::updateRange(const TotalVolume &volume, const Cell *cells)
{
    typeN = fieldOf(volume, ParticleCountField::kTypeNName);
    typeP = fieldOf(volume, ParticleCountField::kTypePName);
    int64_t low = std::numeric_limits<int64_t>::max();
    int64_t high = std::numeric_limits<int64_t>::min();
    if (hasValues()) {
        const uint64_t count = volume.cellCount();
        for (uint64_t i = 0; i < count; ++i) {
            if (cells[i].isFixed())
                continue;
            const int64_t v = valueOf(uint32_t(i));
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    if (low > high)
        map.setRange(0.0f, 1.0f);
    else
        map.setRange(float(low), float(high));
}

Rgba ParticleFieldView::cellColor(uint32_t cellIndex, uint32_t materialId,
                                  const Geometry::MaterialColorMap &materialColors) const
{
    if (hasValues()) {
        const int64_t v = valueOf(cellIndex);
        if (v != 0 && (shown == SignedSum || v > 0))
            return map.colorOf(double(v));
    }
    return colorIn(materialColors, materialId);
}

void ParticleFieldView::build(const TotalVolume &volume, const Cell *cells, const uint32_t lower[3],
                              const uint32_t upper[3], const Geometry::MaterialColorMap &catalogueColors)
{
    opaque.clear();
    translucent.clear();
    colors = catalogueColors;
    colors[0] = Rgba{0.0f, 0.0f, 0.0f, 0.0f};
    updateRange(volume, cells);

    const uint32_t sizes[3] = {volume.sizeX(), volume.sizeY(), volume.sizeZ()};
    uint32_t lo[3];
    uint32_t hi[3];
    for (int axis = 0; axis < 3; ++axis) {
        hi[axis] = std::min(upper[axis], sizes[axis]);
        lo[axis] = std::min(lower[axis], hi[axis]);
    }
    const float cellSize[3] = {volume.cellSizeX(), volume.cellSizeY(), volume.cellSizeZ()};
    const auto indexOf = [&sizes](uint32_t x, uint32_t y, uint32_t z) {
        return (uint32_t(x) * sizes[1] + y) * sizes[2] + z;
    };

    const std::vector<Util::Slab> slabs = Util::splitLastSlabTakesRest(lo[0], hi[0], Util::slabThreadCount());
    std::vector<FaceLists> parts(slabs.size());
    Util::runSlabs(slabs, [&](size_t part, const Util::Slab &slab) {
        FaceLists &out = parts[part];
        for (uint32_t x = slab.begin; x < slab.end; ++x)
            for (uint32_t y = lo[1]; y < hi[1]; ++y)
                for (uint32_t z = lo[2]; z < hi[2]; ++z) {
                    const uint32_t index = indexOf(x, y, z);
                    const Cell &cell = cells[index];
                    if (cell.material() == 0 || cell.cutCount() > 0)
                        continue;
                    const Rgba color = cellColor(index, cell.material(), colors);
                    const Geometry::AlphaClass kind = Geometry::alphaClass(color);
                    if (kind == Geometry::AlphaClass::Invisible)
                        continue;
                    const uint32_t at[3] = {x, y, z};
                    for (int k = 0; k < Geometry::kFaceCount; ++k) {
                        const int *step = Geometry::kFaceNeighbour[k];
                        bool inside = true;
                        uint32_t next[3];
                        for (int axis = 0; axis < 3; ++axis) {
                            if (step[axis] < 0)
                                inside = inside && at[axis] > lo[axis];
                            else if (step[axis] > 0)
                                inside = inside && at[axis] + 1 < hi[axis];
                            next[axis] = at[axis] + uint32_t(step[axis]);
                        }
                        bool exposed = true;
                        if (inside) {
                            const Cell &neighbour = cells[indexOf(next[0], next[1], next[2])];
                            const Rgba &material = colorIn(colors, neighbour.material());
                            if (kind == Geometry::AlphaClass::Opaque)
                                exposed = !(neighbour.material() != 0 && material[3] > Geometry::kOpaqueAlphaAbove &&
                                            neighbour.cutCount() == 0);
                            else if (neighbour.material() == cell.material())
                                exposed = false;
                            else
                                exposed = !(material[3] > Geometry::kVisibleAlphaFrom || neighbour.cutCount() > 0);
                        }
                        if (!exposed)
                            continue;
                        std::array<Geometry::Point3f, 4> corners;
                        for (int j = 0; j < 4; ++j) {
                            const int *v = Geometry::kFaceCorners[k][j];
                            corners[j] = {float(x + uint32_t(v[0])) * cellSize[0],
                                          float(y + uint32_t(v[1])) * cellSize[1],
                                          float(z + uint32_t(v[2])) * cellSize[2]};
                        }
                        (kind == Geometry::AlphaClass::Opaque ? out.opaque : out.translucent)
                            .emplace_back(corners, k, color, cell.material());
                    }
                }
    });
    for (FaceLists &part : parts) {
        opaque.insert(opaque.end(), part.opaque.begin(), part.opaque.end());
        translucent.insert(translucent.end(), part.translucent.begin(), part.translucent.end());
    }
    opaqueColors.clear();
    translucentColors.clear();
    for (const QuadFace &face : opaque)
        opaqueColors.push_back(face.color);
    for (const QuadFace &face : translucent)
        translucentColors.push_back(face.color);
}

void ParticleFieldView::recolor(bool selected)
{
    const auto paint = [selected](std::vector<QuadFace> &faces, const std::vector<Rgba> &built) {
        for (size_t i = 0; i < faces.size(); ++i) {
            const Rgba color = selected ? Geometry::highlightColor(built[i]) : built[i];
            faces[i].color = color;
            faces[i].outlineColor = color;
        }
    };
    paint(opaque, opaqueColors);
    paint(translucent, translucentColors);
}

} // namespace Rendering
} // namespace Model
