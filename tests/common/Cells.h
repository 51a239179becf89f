#pragma once

// Building small volumes and reading their cells back, for tests of every layer.

#include "Model/Automaton/CellLock.h"
#include "Model/Automaton/CellReadLock.h"
#include "Model/Automaton/TotalVolume.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace TestSupport {

using Model::Automaton::TotalVolume;

// A volume of cubic cells of edge `cellSize` whose cells are given by material(x, y, z).
inline std::shared_ptr<TotalVolume> volumeOf(uint32_t sx, uint32_t sy, uint32_t sz,
                                             const std::function<uint32_t(uint32_t, uint32_t, uint32_t)> &material,
                                             float cellSize = 1.f)
{
    std::vector<uint32_t> materials(size_t(sx) * sy * sz, 0);
    for (uint32_t x = 0; x < sx; ++x)
        for (uint32_t y = 0; y < sy; ++y)
            for (uint32_t z = 0; z < sz; ++z)
                materials[(size_t(x) * sy + y) * sz + z] = material(x, y, z);
    return std::make_shared<TotalVolume>(sx, sy, sz, cellSize, cellSize, cellSize, Util::Vector3D(), materials);
}

// Unit cells whose layers z < substrateHeight hold `material`, the rest empty.
inline std::shared_ptr<TotalVolume> flatVolume(uint32_t sx, uint32_t sy, uint32_t sz, uint32_t substrateHeight,
                                               uint32_t material)
{
    return volumeOf(sx, sy, sz, [&](uint32_t, uint32_t, uint32_t z) { return z < substrateHeight ? material : 0u; });
}

// Every cell's material in cell-index order.
// One field of every cell, in cell index order: field(cell) for each cell.
template <typename Field>
auto fieldOf(TotalVolume &volume, Field field) -> std::vector<decltype(field(Model::Automaton::Cell()))>
{
    const Model::Automaton::CellReadLock lock(volume);
    std::vector<decltype(field(Model::Automaton::Cell()))> out(volume.cellCount());
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = field(lock.cells()[i]);
    return out;
}

inline std::vector<uint32_t> materialsOf(TotalVolume &volume)
{
    return fieldOf(volume, [](const Model::Automaton::Cell &cell) { return cell.material(); });
}

inline uint32_t materialAt(TotalVolume &volume, uint32_t x, uint32_t y, uint32_t z)
{
    const Model::Automaton::CellReadLock lock(volume);
    return lock.cells()[volume.cellIndex(x, y, z)].material();
}

inline void setMaterialAt(TotalVolume &volume, uint32_t x, uint32_t y, uint32_t z, uint32_t material)
{
    const Model::Automaton::CellLock lock(volume);
    lock.cells()[volume.cellIndex(x, y, z)].setMaterial(material);
}

// Sets every cell's material from `materials`, in cell-index order.
inline void setMaterials(TotalVolume &volume, const std::vector<uint32_t> &materials)
{
    const Model::Automaton::CellLock lock(volume);
    for (size_t i = 0; i < materials.size() && i < volume.cellCount(); ++i)
        lock.cells()[i].setMaterial(materials[i]);
}

// How many cells of the column (x, y) hold `material`.
inline uint32_t countInColumn(TotalVolume &volume, uint32_t x, uint32_t y, uint32_t material)
{
    const Model::Automaton::CellReadLock lock(volume);
    uint32_t count = 0;
    for (uint32_t z = 0; z < volume.sizeZ(); ++z)
        count += lock.cells()[volume.cellIndex(x, y, z)].material() == material ? 1 : 0;
    return count;
}

} // namespace TestSupport
