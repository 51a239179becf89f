#include "VtkImageWriter.h"

#include "Model/Automaton/CellReadLock.h"
#include "Model/Automaton/ParticleCountField.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialFactory.h"

#include <QSaveFile>
#include <QtEndian>
#include <set>
#include <vector>

namespace Model {
namespace Export {

namespace {

using Automaton::Cell;
using Automaton::TotalVolume;

// Each appended array is preceded by its length in bytes in this type.
using ByteCount = quint64;

// One appended cell array: its name and its values in VTK order (x fastest).
struct CellArray {
    QString name;
    std::vector<uint32_t> values;
};

// Where the value of cell (x, y, z) goes in VTK order, for a volume of the given sizes. The
// loops below walk the cells in the volume's own order (z fastest) so that the big cell records
// are read once, front to back; only the small 32-bit values are scattered.
template <typename ValueOf>
std::vector<uint32_t> inVtkOrder(const TotalVolume &volume, ValueOf &&valueOf)
{
    const uint32_t nx = volume.sizeX();
    const uint32_t ny = volume.sizeY();
    const uint32_t nz = volume.sizeZ();
    std::vector<uint32_t> out(size_t(nx) * ny * nz);
    const size_t zStride = size_t(nx) * ny;
    uint32_t index = 0;
    for (uint32_t x = 0; x < nx; ++x) {
        for (uint32_t y = 0; y < ny; ++y) {
            uint32_t *column = out.data() + size_t(y) * nx + x;
            for (uint32_t z = 0; z < nz; ++z, ++index)
                column[z * zStride] = valueOf(index);
        }
    }
    return out;
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
        offset += sizeof(ByteCount) + array.values.size() * sizeof(uint32_t);
    }
    out += "      </CellData>\n";
    out += "    </Piece>\n";
    out += "  </ImageData>\n";
    out += "  <AppendedData encoding=\"raw\">\n   _";
    return out;
}

bool writeArray(QSaveFile &file, std::vector<uint32_t> &values)
{
    const ByteCount bytes = qToLittleEndian(ByteCount(values.size() * sizeof(uint32_t)));
    qToLittleEndian<uint32_t>(values.data(), qsizetype(values.size()), values.data());
    return file.write(reinterpret_cast<const char *>(&bytes), sizeof bytes) == qint64(sizeof bytes)
           && file.write(reinterpret_cast<const char *>(values.data()), qint64(values.size() * sizeof(uint32_t)))
                  == qint64(values.size() * sizeof(uint32_t));
}

} // namespace

QString VtkImageWriter::write(TotalVolume &volume, const QString &fileName)
{
    std::vector<CellArray> arrays;
    std::set<uint32_t> ids;
    {
        const Automaton::CellReadLock lock(volume);
        const Cell *cells = lock.cells();
        arrays.push_back({QLatin1String(kMaterialArray), inVtkOrder(volume, [cells](uint32_t i) {
                              return cells[i].material();
                          })});
        // The ids that occur, from the transposed copy rather than the big cell records.
        uint32_t last = 0;
        bool any = false;
        for (const uint32_t id : arrays.front().values) {
            if (!any || id != last)
                ids.insert(id);
            last = id;
            any = true;
        }
        for (const QString &name : volume.particleCountFieldNames()) {
            const auto field = volume.particleCountField(name);
            if (!field)
                continue;
            arrays.push_back({name, inVtkOrder(volume, [&field](uint32_t i) { return field->particleCount(i); })});
        }
    }

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot create %1: %2.").arg(fileName, file.errorString());
    bool written = file.write(header(volume, arrays, ids)) >= 0;
    for (CellArray &array : arrays)
        written = written && writeArray(file, array.values);
    written = written && file.write("\n  </AppendedData>\n</VTKFile>\n") >= 0;
    if (!written || !file.commit())
        return QStringLiteral("Cannot write %1: %2.").arg(fileName, file.errorString());
    return QString();
}

} // namespace Export
} // namespace Model
