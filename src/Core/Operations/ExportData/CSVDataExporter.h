#pragma once

#include <QString>
#include <QVariant>
#include <cstdint>

class QTextStream;

namespace Core {
namespace Operations {

// Writes a particle count field of a cell volume as text: for each x a line "X: x", then one
// line per y with the cells' particle counts along z, each in scientific notation with ten
// digits after the point and followed by " ; ", then an empty line and one more line end.
class CSVDataExporter {
public:
    explicit CSVDataExporter(QString fileName);

    // 0 when the field was written; −1 when the file cannot be opened or `key` is not the name
    // of a particle count field or `value` holds no field of sizeX · sizeY · sizeZ cells (the
    // file is then left empty). The reason goes to the debug log.
    int saveDataToFile(const QString &key, const QVariant &value, uint32_t sizeX, uint32_t sizeY, uint32_t sizeZ);

    // Writes the cells' sums of seven counters (seven per cell, cell-index order); returns 0.
    static int saveParticleData(QTextStream &stream, const uint32_t *counters, uint32_t sizeX, uint32_t sizeY,
                                uint32_t sizeZ);

private:
    QString fileName;
};

} // namespace Operations
} // namespace Core
