// The ".vti" file read back: header, extents, placement, the cell arrays in VTK's x-fastest
// order and the material table.

#include "Model/Automaton/ParticleCountField.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Export/VtkImageWriter.h"
#include "Model/Materials/MaterialFactory.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>

using Model::Automaton::ParticleCountField;
using Model::Automaton::TotalVolume;
using Model::Export::VtkImageWriter;

namespace {

// A written ".vti": the XML text before the raw data, and the raw arrays in file order.
struct VtiFile {
    QString xml;
    std::vector<std::vector<uint32_t>> arrays;

    std::string attribute(const QString &element, const QString &name) const
    {
        const QRegularExpression pattern(QStringLiteral("<%1\\b[^>]*?\\s%2=\"([^\"]*)\"").arg(element, name));
        return pattern.match(xml).captured(1).toStdString();
    }
};

VtiFile readVti(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QByteArray marker = "<AppendedData encoding=\"raw\">";
    const int start = bytes.indexOf(marker);
    const int underscore = bytes.indexOf('_', start);
    EXPECT_GE(start, 0);
    VtiFile vti;
    vti.xml = QString::fromUtf8(bytes.left(start));
    int at = underscore + 1;
    while (at + 8 <= bytes.size() && bytes.mid(at, 2) != "\n ") {
        quint64 count = 0;
        std::memcpy(&count, bytes.constData() + at, sizeof count);
        at += 8;
        std::vector<uint32_t> values(count / 4);
        std::memcpy(values.data(), bytes.constData() + at, count);
        at += int(count);
        vti.arrays.push_back(values);
    }
    EXPECT_TRUE(bytes.mid(at).trimmed().endsWith("</VTKFile>"));
    return vti;
}

std::vector<uint32_t> rampMaterials(uint32_t nx, uint32_t ny, uint32_t nz)
{
    std::vector<uint32_t> materials(size_t(nx) * ny * nz);
    for (uint32_t x = 0; x < nx; ++x)
        for (uint32_t y = 0; y < ny; ++y)
            for (uint32_t z = 0; z < nz; ++z)
                materials[(x * ny + y) * nz + z] = z == 0 ? 1u : (x + y + z) % 3 == 0 ? 0u : 2u;
    return materials;
}

} // namespace

TEST(VtkImageWriterTest, HeaderPlacementAndMaterialsReadBackInVtkOrder)
{
    const uint32_t nx = 5, ny = 3, nz = 4;
    const auto materials = rampMaterials(nx, ny, nz);
    TotalVolume volume(nx, ny, nz, 0.5f, 0.25f, 2.0f, Util::Vector3D(10.0, -3.0, 1.5), materials);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ramp.vti"));
    ASSERT_EQ(VtkImageWriter::write(volume, path), QString());

    const VtiFile vti = readVti(path);
    EXPECT_EQ(vti.attribute(QStringLiteral("VTKFile"), QStringLiteral("type")), "ImageData");
    EXPECT_EQ(vti.attribute(QStringLiteral("VTKFile"), QStringLiteral("byte_order")), "LittleEndian");
    EXPECT_EQ(vti.attribute(QStringLiteral("VTKFile"), QStringLiteral("header_type")), "UInt64");
    EXPECT_EQ(vti.attribute(QStringLiteral("ImageData"), QStringLiteral("WholeExtent")), "0 5 0 3 0 4");
    EXPECT_EQ(vti.attribute(QStringLiteral("Piece"), QStringLiteral("Extent")), "0 5 0 3 0 4");
    EXPECT_EQ(vti.attribute(QStringLiteral("ImageData"), QStringLiteral("Origin")), "10 -3 1.5");
    EXPECT_EQ(vti.attribute(QStringLiteral("ImageData"), QStringLiteral("Spacing")), "0.5 0.25 2");
    EXPECT_EQ(vti.attribute(QStringLiteral("CellData"), QStringLiteral("Scalars")), "material");
    EXPECT_FALSE(vti.xml.contains(QStringLiteral("Random Walk")));

    ASSERT_EQ(vti.arrays.size(), 1u);
    const std::vector<uint32_t> &written = vti.arrays.front();
    ASSERT_EQ(written.size(), materials.size());
    for (uint32_t x = 0; x < nx; ++x)
        for (uint32_t y = 0; y < ny; ++y)
            for (uint32_t z = 0; z < nz; ++z)
                ASSERT_EQ(written[(z * ny + y) * nx + x], materials[(x * ny + y) * nz + z]) << x << ' ' << y << ' ' << z;

    // The table names the three ids that occur, with their catalogue names in VTK's string form.
    const QRegularExpression ids(QStringLiteral("Name=\"MaterialId\" NumberOfTuples=\"3\" format=\"ascii\">0 1 2<"));
    EXPECT_TRUE(ids.match(vti.xml).hasMatch()) << vti.xml.toStdString();
    auto catalogue = Model::Materials::MaterialFactory::instance();
    QString nameBytes;
    for (const char c : catalogue->material(1).name().toUtf8())
        nameBytes += QString::number(int(c)) + QLatin1Char(' ');
    EXPECT_TRUE(vti.xml.contains(nameBytes + QStringLiteral("0"))) << vti.xml.toStdString();
    EXPECT_TRUE(vti.xml.contains(QStringLiteral("Name=\"MaterialColor\" NumberOfComponents=\"4\"")));

    // A folder that does not exist: the reason is given and no file is left.
    const QString unwritable = dir.filePath(QStringLiteral("missing/folder/out.vti"));
    EXPECT_FALSE(VtkImageWriter::write(volume, unwritable).isEmpty());
    EXPECT_FALSE(QFile::exists(unwritable));
}

TEST(VtkImageWriterTest, ParticleCountFieldsBecomeCellArraysOfCounterSums)
{
    const uint32_t nx = 2, ny = 2, nz = 3;
    TotalVolume volume(nx, ny, nz, 1.0f, 1.0f, 1.0f, Util::Vector3D(0.0), rampMaterials(nx, ny, nz));
    auto field = std::make_shared<ParticleCountField>(volume.cellCount());
    for (uint32_t cell = 0; cell < volume.cellCount(); ++cell) {
        field->counters(cell)[0] = cell;
        field->counters(cell)[ParticleCountField::kStaySlot] = 100;
    }
    volume.setParticleCountField(ParticleCountField::kTypeNName, field);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("field.vti"));
    ASSERT_EQ(VtkImageWriter::write(volume, path), QString());

    const VtiFile vti = readVti(path);
    ASSERT_EQ(vti.arrays.size(), 2u);
    EXPECT_TRUE(vti.xml.contains(QStringLiteral("Name=\"%1\" format=\"appended\" offset=\"%2\"")
                                     .arg(ParticleCountField::kTypeNName)
                                     .arg(8 + 4 * volume.cellCount())));
    for (uint32_t x = 0; x < nx; ++x)
        for (uint32_t y = 0; y < ny; ++y)
            for (uint32_t z = 0; z < nz; ++z)
                EXPECT_EQ(vti.arrays[1][(z * ny + y) * nx + x], volume.cellIndex(x, y, z) + 100);
}
