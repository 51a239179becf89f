#include "VtkImageWriter.h"

#include "Model/Automaton/CellReadLock.h"
#include "Model/Automaton/ParticleCountField.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialFactory.h"

#include <QSaveFile>
#include <QtEndian>
#include <algorithm>
#include <set>
#include <vector>

namespace Model {
namespace Export {

namespace {

using Automaton::Cell;
using Automaton::ParticleCountField;
using Automaton::TotalVolume;

// Each appended array is preceded by its length in bytes in this type.
using ByteCount = quint64;

// One appended cell array: the materials (no field) or a particle count field, by name.
struct CellArray {
    QString name;
    std::shared_ptr<Automaton::ParticleCountField> field;
};

// How many z planes of VTK order are gathered before they are written: a buffer of a few
// megabytes, reused, rather than a copy of the whole array in fresh memory (whose page faults
// would cost more than the gathering).
constexpr uint32_t kPlanesPerChunk = 8;

// Appends one cell array: its byte count, then valueOf(cell index) of every cell in VTK's order
// (x fastest), gathered plane chunk by plane chunk. Reading cells x, y, z0..z0 + k in the
// volume's order keeps the reads in short runs.
template <typename ValueOf>
bool appendArray(QSaveFile &file, const TotalVolume &volume, ValueOf &&valueOf)
{
    const uint32_t nx = volume.sizeX();
    const uint32_t ny = volume.sizeY();
    const uint32_t nz = volume.sizeZ();
    const size_t plane = size_t(nx) * ny;
    const ByteCount bytes = qToLittleEndian(ByteCount(plane * nz * sizeof(uint32_t)));
    if (file.write(reinterpret_cast<const char *>(&bytes), sizeof bytes) != qint64(sizeof bytes))
        return false;
    std::vector<uint32_t> chunk(plane * std::min(kPlanesPerChunk, nz));
    for (uint32_t z0 = 0; z0 < nz; z0 += kPlanesPerChunk) {
        const uint32_t planes = std::min(kPlanesPerChunk, nz - z0);
        for (uint32_t x = 0; x < nx; ++x) {
            for (uint32_t y = 0; y < ny; ++y) {
                const uint32_t first = volume.cellIndex(x, y, z0);
                uint32_t *target = chunk.data() + size_t(y) * nx + x;
                for (uint32_t k = 0; k < planes; ++k)
                    target[k * plane] = valueOf(first + k);
            }
        }
        const size_t count = plane * planes;
        qToLittleEndian<uint32_t>(chunk.data(), qsizetype(count), chunk.data());
        const qint64 chunkBytes = qint64(count * sizeof(uint32_t));
        if (file.write(reinterpret_cast<const char *>(chunk.data()), chunkBytes) != chunkBytes)
            return false;
    }
    return true;
}

QByteArray numberText(double value)
{
    return QByteArray::number(value, 'g', 9);
}

QByteArray escapedAttribute(const QString &text)
{
    return text.toHtmlEscaped().toUtf8();
}

// VTK writes string arrays in ASCII as the bytes of each string in decimal, each string closed
// by a 0.
QByteArray asciiStrings(const QStringList &strings)
{
    QByteArray out;
    for (const QString &text : strings) {
        for (const char c : text.toUtf8())
            out += QByteArray::number(uint(uchar(c))) + ' ';
        out += "0 ";
    }
    return out.trimmed();
}

QByteArray materialTable(const std::set<uint32_t> &ids)
{
    auto catalogue = Materials::MaterialFactory::instance();
    QByteArray idText;
    QStringList names;
    QByteArray colorText;
    for (const uint32_t id : ids) {
        const Materials::Material material = catalogue->material(id);
        const bool known = material.materialId() == id;
        idText += QByteArray::number(id) + ' ';
        names << (known || id == 0 ? material.name() : QStringLiteral("Unknown material %1").arg(id));
        const Materials::Color color = known ? material.color() : Materials::Material::kDefaultColor;
        for (const float c : color)
            colorText += numberText(c) + ' ';
    }
    const QByteArray count = QByteArray::number(qulonglong(ids.size()));
    QByteArray out;
    out += "      <FieldData>\n";
    out += "        <DataArray type=\"UInt32\" Name=\"MaterialId\" NumberOfTuples=\"" + count
           + "\" format=\"ascii\">" + idText.trimmed() + "</DataArray>\n";
    out += "        <Array type=\"String\" Name=\"MaterialName\" NumberOfTuples=\"" + count
           + "\" format=\"ascii\">" + asciiStrings(names) + "</Array>\n";
    out += "        <DataArray type=\"Float32\" Name=\"MaterialColor\" NumberOfComponents=\"4\" NumberOfTuples=\""
           + count + "\" format=\"ascii\">" + colorText.trimmed() + "</DataArray>\n";
    out += "      </FieldData>\n";
    return out;
}

QByteArray header(const TotalVolume &volume, const std::vector<CellArray> &arrays, const std::set<uint32_t> &ids)
{
    const QByteArray extent = "0 " + QByteArray::number(volume.sizeX()) + " 0 " + QByteArray::number(volume.sizeY())
                              + " 0 " + QByteArray::number(volume.sizeZ());
    const Util::Vector3D origin = volume.origin();
    QByteArray out;
    out += "<?xml version=\"1.0\"?>\n";
    out += "<VTKFile type=\"ImageData\" version=\"1.0\" byte_order=\"LittleEndian\" header_type=\"UInt64\">\n";
    out += "  <ImageData WholeExtent=\"" + extent + "\" Origin=\"" + numberText(origin.x) + ' '
           + numberText(origin.y) + ' ' + numberText(origin.z) + "\" Spacing=\""
           + numberText(volume.cellSizeX()) + ' ' + numberText(volume.cellSizeY()) + ' '
           + numberText(volume.cellSizeZ()) + "\">\n";
    out += materialTable(ids);
    out += "    <Piece Extent=\"" + extent + "\">\n";
    out += "      <PointData>\n      </PointData>\n";
    out += "      <CellData Scalars=\"" + QByteArray(VtkImageWriter::kMaterialArray) + "\">\n";
    ByteCount offset = 0;
    for (const CellArray &array : arrays) {
        out += "        <DataArray type=\"UInt32\" Name=\"" + escapedAttribute(array.name)
               + "\" format=\"appended\" offset=\"" + QByteArray::number(offset) + "\"/>\n";
        offset += sizeof(ByteCount) + ByteCount(volume.cellCount()) * sizeof(uint32_t);
    }
    out += "      </CellData>\n";
    out += "    </Piece>\n";
    out += "  </ImageData>\n";
    out += "  <AppendedData encoding=\"raw\">\n   _";
    return out;
}

} // namespace

QString VtkImageWriter::write(TotalVolume &volume, const QString &fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot create %1: %2.").arg(fileName, file.errorString());

    const Automaton::CellReadLock lock(volume);
    const Cell *cells = lock.cells();
    std::vector<CellArray> arrays{{QLatin1String(kMaterialArray), nullptr}};
    for (const QString &name : volume.particleCountFieldNames()) {
        if (auto field = volume.particleCountField(name))
            arrays.push_back({name, field});
    }
    std::set<uint32_t> ids;
    uint32_t last = 0;
    for (uint32_t i = 0; i < volume.cellCount(); ++i) {
        const uint32_t id = cells[i].material();
        if (i == 0 || id != last)
            ids.insert(id);
        last = id;
    }

    bool written = file.write(header(volume, arrays, ids)) >= 0;
    for (const CellArray &array : arrays) {
        if (!written)
            break;
        if (array.field) {
            const ParticleCountField &field = *array.field;
            written = appendArray(file, volume, [&field](uint32_t i) { return field.particleCount(i); });
        } else {
            written = appendArray(file, volume, [cells](uint32_t i) { return cells[i].material(); });
        }
    }
    written = written && file.write("\n  </AppendedData>\n</VTKFile>\n") >= 0;
    if (!written || !file.commit())
        return QStringLiteral("Cannot write %1: %2.").arg(fileName, file.errorString());
    return QString();
}

} // namespace Export
} // namespace Model
