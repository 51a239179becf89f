#include "CSVDataExporter.h"

#include "Model/Automaton/ParticleCountField.h"

#include <QDebug>
#include <QFile>
#include <QLocale>
#include <QTextStream>
#include <memory>

namespace Core {
namespace Operations {

namespace {

using Model::Automaton::ParticleCountField;

constexpr int kDigitsAfterPoint = 10;
const char *const kSeparator = " ; ";

} // namespace

CSVDataExporter::CSVDataExporter(QString fileName) : fileName(std::move(fileName))
{
    qDebug() << __FILE__ << Q_FUNC_INFO << "Opening file";
}

int CSVDataExporter::saveDataToFile(const QString &key, const QVariant &value, uint32_t sizeX, uint32_t sizeY,
                                    uint32_t sizeZ)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Truncate))
        return -1;
    qDebug() << __FILE__ << Q_FUNC_INFO << "File is open";
    if (key != ParticleCountField::kTypePName && key != ParticleCountField::kTypeNName) {
        qDebug() << __FILE__ << Q_FUNC_INFO << "Unexpected data type";
        return -1;
    }
    qDebug() << __FILE__ << Q_FUNC_INFO << "Data type is one of the expected values";
    // Only a field of exactly this volume's cells is read as counters.
    const uint64_t cells = uint64_t(sizeX) * sizeY * sizeZ;
    std::shared_ptr<ParticleCountField> field;
    if (value.userType() == qMetaTypeId<std::shared_ptr<ParticleCountField>>())
        field = value.value<std::shared_ptr<ParticleCountField>>();
    if (!field || field->cellCount() != cells) {
        qDebug() << __FILE__ << Q_FUNC_INFO << "The data holds no particle counts of" << sizeX << sizeY << sizeZ
                 << "cells";
        return -1;
    }
    QTextStream stream(&file);
    const int result = saveParticleData(stream, field->data(), sizeX, sizeY, sizeZ);
    stream.flush();
    file.close();
    qDebug() << __FILE__ << Q_FUNC_INFO << "Done";
    return file.error() == QFileDevice::NoError ? result : -1;
}

int CSVDataExporter::saveParticleData(QTextStream &stream, const uint32_t *counters, uint32_t sizeX, uint32_t sizeY,
                                      uint32_t sizeZ)
{
    stream.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    stream.setRealNumberNotation(QTextStream::ScientificNotation);
    stream.setRealNumberPrecision(kDigitsAfterPoint);
    qDebug() << __FILE__ << Q_FUNC_INFO << "Writing to stream";
    constexpr uint32_t slotsPerCell = ParticleCountField::kSlotsPerCell;
    for (uint32_t x = 0; x < sizeX; ++x) {
        stream << "X: " << QString::number(x) << '\n';
        for (uint32_t y = 0; y < sizeY; ++y) {
            for (uint32_t z = 0; z < sizeZ; ++z) {
                const uint32_t *cell = counters + (size_t(x * sizeY + y) * sizeZ + z) * slotsPerCell;
                uint32_t sum = 0;
                for (uint32_t k = 0; k < slotsPerCell; ++k)
                    sum += cell[k];
                stream << double(sum) << kSeparator;
            }
            stream << '\n';
        }
        stream << '\n' << '\n';
    }
    qDebug() << __FILE__ << Q_FUNC_INFO << "Done writing to stream.";
    return 0;
}

} // namespace Operations
} // namespace Core
