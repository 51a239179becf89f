// "Export VTK ..." and "Export STL ...": which volume they write, the surface choice, and what
// the user sees when there is nothing to export.

#include "Model/Scene.h"
#include "UI/VolumeExport.h"
#include "common/Cells.h"
#include "common/TestSupport.h"

#include <QFile>
#include <QInputDialog>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

using Ui::VolumeExport;

namespace {

uint32_t stlTriangles(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray bytes = file.readAll();
    uint32_t count = 0;
    std::memcpy(&count, bytes.constData() + 80, sizeof count);
    return count;
}

} // namespace

TEST(VolumeExport, WritesTheSelectedVolumeElseTheFirst)
{
    Model::Scene scene;
    const auto first = TestSupport::flatVolume(2, 2, 2, 2, 1);
    const auto second = TestSupport::flatVolume(3, 3, 3, 3, 1);
    scene.addObject(first);
    scene.addObject(second);
    EXPECT_EQ(VolumeExport::volumeToExport(scene), first);
    second->setSelected(true);
    EXPECT_EQ(VolumeExport::volumeToExport(scene), second);

    QTemporaryDir dir;
    const QString vti = dir.filePath(QStringLiteral("second.vti"));
    ASSERT_TRUE(VolumeExport::exportVtk(nullptr, scene, vti));
    QFile file(vti);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("WholeExtent=\"0 3 0 3 0 3\""));
}

TEST(VolumeExport, StlAsksForTheSurfaceWhenNoneIsGiven)
{
    Model::Scene scene;
    scene.addObject(TestSupport::flatVolume(3, 3, 3, 3, 1));
    QTemporaryDir dir;
    const QString cubes = dir.filePath(QStringLiteral("cubes.stl"));
    ASSERT_TRUE(VolumeExport::exportStl(nullptr, scene, cubes, 0));
    EXPECT_EQ(stlTriangles(cubes), 6u * 9u * 2u) << "two triangles per face of the 3 × 3 × 3 block";

    QStringList offered;
    TestSupport::answerNextModal([&](QWidget *widget) {
        auto *dialog = qobject_cast<QInputDialog *>(widget);
        ASSERT_NE(dialog, nullptr);
        offered = dialog->comboBoxItems();
        dialog->setTextValue(QLatin1String(VolumeExport::kStlSmooth));
        dialog->accept();
    });
    const QString smooth = dir.filePath(QStringLiteral("smooth.stl"));
    ASSERT_TRUE(VolumeExport::exportStl(nullptr, scene, smooth));
    EXPECT_EQ(offered, QStringList({VolumeExport::kStlCubes, VolumeExport::kStlSmooth}))
        << "the view shows cube faces, so they come first";
    EXPECT_GT(stlTriangles(smooth), 0u);
    EXPECT_NE(stlTriangles(smooth), stlTriangles(cubes));
}

TEST(VolumeExport, WithoutAVolumeNothingIsWrittenAndTheUserIsTold)
{
    Model::Scene scene;
    QTemporaryDir dir;
    QString title;
    TestSupport::answerNextModal([&](QWidget *widget) {
        title = widget->windowTitle();
        widget->close();
    });
    EXPECT_FALSE(VolumeExport::exportVtk(nullptr, scene, dir.filePath(QStringLiteral("x.vti"))));
    EXPECT_EQ(title, QStringLiteral("Missing Cell Volume"));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("x.vti"))));
}
