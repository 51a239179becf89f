#pragma once

// Preprocessing for model extraction: a cell volume cut into boxes of one material along the
// planes where the material changes, and the boxes linked across the faces they share.

#include "Model/ModelExtraction/RectangularCuboidEnvelope.h"

#include <cstdint>
#include <vector>

namespace Model {
namespace Automaton {
class Cell;
class TotalVolume;
}

namespace ModelExtraction {

// Ascending, repeat-free coordinates of the planes where the material changes. A change is seen
// only from cells below sizeX − 1, sizeY − 1 and sizeZ − 1 on all three axes at once, so a
// volume one cell thick along any axis has no planes at all.
struct SplitPlanes {
    std::vector<uint32_t> x, y, z;
};
SplitPlanes splitPlanesOf(const Automaton::Cell *cells, uint32_t sizeX, uint32_t sizeY, uint32_t sizeZ);

// The boxes between the split planes, grown breadth first from cell 0: each box's seed hands on
// a seed at the next plane along x, then y, then z. Boxes of empty cells are left out. The box
// takes its seed cell's material. No neighbours are linked yet.
Envelopes boxesOf(const Automaton::Cell *cells, uint32_t sizeX, uint32_t sizeY, uint32_t sizeZ,
                  const SplitPlanes &planes);

// Links every two boxes whose faces have the same four corners (a high face of one is the low
// face of the other). When several boxes offer the same face, the one latest in the list wins,
// as it would if every pair were compared in list order. Faces meet by their corners in a
// sorted list of faces, one axis at a time: n log n in the number of boxes, not n².
void linkNeighbours(const Envelopes &boxes);

// Steps 1 to 5 of preprocessing on a volume: read its cells under the read lock, cut them into
// boxes and link them.
Envelopes decomposeIntoBoxes(Automaton::TotalVolume &volume);

} // namespace ModelExtraction
} // namespace Model
