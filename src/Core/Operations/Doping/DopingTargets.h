#pragma once

// The materials through which a doping front spreads, shared by both doping automata.

#include <algorithm>
#include <cstdint>
#include <vector>

namespace Core {
namespace Operations {

inline std::vector<uint32_t> sortedMaterialIds(std::vector<uint32_t> set)
{
    std::sort(set.begin(), set.end());
    set.erase(std::unique(set.begin(), set.end()), set.end());
    return set;
}

// The dopable materials and the doped one: a cell already reached keeps taking part even when
// the doped material is not among the dopable ones (a process list may name any material).
inline std::vector<uint32_t> dopingTargets(std::vector<uint32_t> dopable, uint32_t dopedMaterial)
{
    dopable.push_back(dopedMaterial);
    return sortedMaterialIds(std::move(dopable));
}

} // namespace Operations
} // namespace Core
