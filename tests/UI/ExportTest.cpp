// "Export VTK ..." and "Export STL ...": which volume they write, the surface choice, and what
// the user sees when there is nothing to export; and the "Export Data" dialog and observer.

#include "UiTestSupport.h"

#include "Core/Operations/ExportData/ExportDataOperation.h"
#include "Model/Automaton/ParticleCountField.h"
#include "Model/Scene.h"
#include "UI/Observers/ExportDataObserver.h"
#include "UI/Operations/ExportDataDialog.h"
#include "UI/VolumeExport.h"
#include "common/Cells.h"

#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <cstring>

using Ui::Operations::ExportDataDialog;
using Ui::VolumeExport;
using UiTest::child;

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

TEST(ExportDataDialog, OffersThePropertiesAndStartsInTheLastExportFolder)
{
    const QStringList names{"Random Walk Particle Count Type N", "Random Walk Particle Count Type P"};
    ExportDataDialog dialog(names);
    auto *box = child<QComboBox>(dialog, "cbxDataToExport");
    ASSERT_EQ(box->count(), 2);
    EXPECT_EQ(box->itemText(1), names[1]);
    EXPECT_EQ(dialog.fileName(), ExportDataDialog::lastExportDirectory().path() + QDir::separator() + "output.csv");

    const QString elsewhere = QDir::temp().filePath("counts.csv");
    child<QLineEdit>(dialog, "txtOutputFilename")->setText(elsewhere);
    box->setCurrentIndex(1);
    dialog.accept();
    EXPECT_EQ(ExportDataDialog::lastExportDirectory(), QDir::temp());
    ExportDataDialog next(names);
    EXPECT_EQ(next.fileName(), QDir::temp().path() + QDir::separator() + "output.csv");
}

// Only the fields the volume holds are offered; a declined dialog hands on nothing.
TEST(ExportDataObserver, HandsTheChosenFieldAndFileToTheOperationOnlyOnAcceptance)
{
    Core::ApplicationModel model;
    auto volume = TestSupport::flatVolume(1, 1, 2, 2, 1);
    volume->setParticleCountField(Model::Automaton::ParticleCountField::kTypePName,
                                  std::make_shared<Model::Automaton::ParticleCountField>(2));
    model.scene().addObject(volume);
    QTemporaryDir dir;
    const QString file = dir.filePath("counts.csv");
    for (bool accept : {false, true}) {
        SCOPED_TRACE(accept ? "accepted" : "declined");
        auto observer = std::make_shared<Ui::Observers::ExportDataObserver>(&model, nullptr);
        QStringList offered;
        observer->setDialogRunner([&](ExportDataDialog &dialog) {
            auto *box = dialog.findChild<QComboBox *>("cbxDataToExport");
            for (int i = 0; i < box->count(); ++i)
                offered << box->itemText(i);
            dialog.findChild<QLineEdit *>("txtOutputFilename")->setText(file);
            return accept;
        });
        auto op = std::make_shared<Core::Operations::ExportDataOperation>(&model);
        op->setOptionsObserver(observer);
        model.startOperation(op);
        EXPECT_EQ(offered, QStringList{"Random Walk Particle Count Type P"});
        EXPECT_EQ(op->key(), accept ? "Random Walk Particle Count Type P" : "");
        EXPECT_EQ(op->outputFileName(), accept ? file : QString());
        EXPECT_EQ(QFile::exists(file), accept);
        EXPECT_EQ(model.currentOperation(), nullptr);
    }
}
