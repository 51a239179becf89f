#pragma once

// Writes a cell volume as VTK XML image data (".vti"), the format ParaView and VTK read
// natively: one cell per voxel, the image placed at the volume's origin with its cell sizes as
// spacing. Cell arrays: "material" (the material id of every cell) and, for every particle count
// field the volume holds, the field's particle counts under the field's name (the sum of a cell's
// seven counters). Field data: the materials that occur in the cells, as "MaterialId",
// "MaterialName" and "MaterialColor" (RGBA, 0..1) from the material catalogue.
// The cell arrays are appended raw, little-endian, each behind a UInt64 byte count; VTK orders
// cells with x fastest, so the writer transposes the volume's z-fastest order.

#include <QString>

namespace Model {
namespace Automaton {
class TotalVolume;
}
namespace Export {

class VtkImageWriter {
public:
    static constexpr const char *kFileFilter = "VTK Image Data (*.vti)";
    static constexpr const char *kMaterialArray = "material";

    // Writes `volume` into `fileName` through a QSaveFile (an existing file is replaced only when
    // the whole new one was written). Locks the cells for reading, so the caller must not hold
    // them. Empty on success, otherwise why nothing was written.
    static QString write(Automaton::TotalVolume &volume, const QString &fileName);
};

} // namespace Export
} // namespace Model
