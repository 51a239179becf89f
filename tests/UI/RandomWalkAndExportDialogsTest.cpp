// The "Random Walk Doping Options" dialog (units, the threshold as a share of the surface
// concentration, the refusal of an unstable time step) and the "Export Data" dialog and observer.

#include "UiTestSupport.h"

#include "Core/Operations/ExportData/ExportDataOperation.h"
#include "Core/Operations/RandomWalkDoping/RandomWalkDopingOperation.h"
#include "Model/Automaton/ParticleCountField.h"
#include "UI/Observers/ExportDataObserver.h"
#include "UI/Operations/ExportDataDialog.h"
#include "UI/Operations/RandomWalkDopingDialog.h"
#include "common/Cells.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>

using Ui::Operations::ExportDataDialog;
using Ui::Operations::RandomWalkDopingDialog;

using namespace UiTest;

TEST(RandomWalkDopingDialog, ShowsLaboratoryUnitsAndHandsOnSIUnits)
{
    RandomWalkDopingDialog dialog;
    fill(dialog, {{"dbxDiffusionCoefficient", 1e-10}, // cm²/s
                  {"dbxCellSize", 0.1},               // µm
                  {"dbxTimeStepDuration", 0.08},      // s
                  {"dbxSurfaceConcentration", 1e20},  // cm⁻³
                  {"dbxDopingTime", 2.5},             // minutes
                  {"dbxThreshold", 10.0},             // % of Cs
                  {"cbxMaterial", 15}});
    const QVariantMap values = dialog.parameters();
    EXPECT_DOUBLE_EQ(values.value("Diffusion Coefficient").toDouble(), 1e-14);
    EXPECT_DOUBLE_EQ(values.value("Cell Size").toDouble(), 1e-7);
    EXPECT_DOUBLE_EQ(values.value("Time Step Duration").toDouble(), 0.08);
    EXPECT_DOUBLE_EQ(values.value("Surface Concentration").toDouble(), 1e26);
    EXPECT_DOUBLE_EQ(values.value("Doping Time").toDouble(), 150.0);
    EXPECT_DOUBLE_EQ(values.value("Doping Threshold").toDouble(), 1e25);
    EXPECT_EQ(values.value("Material_Id").toUInt(), 15u);

    // Filled from a list step: the threshold follows the concentration loaded before it.
    RandomWalkDopingDialog again;
    QVariantMap loaded = values;
    loaded["Surface Concentration"] = 2e26;
    loaded["Doping Threshold"] = 5e25;
    again.loadParameters(loaded);
    EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>(again, "dbxSurfaceConcentration")->value(), 2e20);
    EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>(again, "dbxThreshold")->value(), 25.0);
    EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>(again, "dbxDopingTime")->value(), 2.5);
    EXPECT_EQ(again.parameters().value("Material_Id").toUInt(), 15u);

    Core::ApplicationModel model;
    Core::Operations::RandomWalkDopingOperation op(&model);
    dialog.applyTo(op);
    EXPECT_DOUBLE_EQ(op.parameters().diffusionCoefficient, 1e-14);
    EXPECT_DOUBLE_EQ(op.parameters().threshold, 1e25);
    EXPECT_EQ(op.parameters().dopedMaterial, 15u);
}

TEST(RandomWalkDopingDialog, RefusesAnUnstableTimeStepAndSaysWhichIsStable)
{
    RandomWalkDopingDialog dialog;
    fill(dialog, {{"dbxDiffusionCoefficient", 1e-10}, {"dbxCellSize", 0.1}, {"dbxTimeStepDuration", 0.2}});
    auto *message = child<QLabel>(dialog, "lblStability");
    EXPECT_TRUE(message->text().endsWith("A time step of at most 0.166666 s is stable.")) << message->text().toStdString();
    dialog.show();
    dialog.accept();
    EXPECT_EQ(dialog.result(), int(QDialog::Rejected));
    EXPECT_TRUE(dialog.isVisible());

    set(dialog, "dbxTimeStepDuration", 0.1);
    EXPECT_TRUE(message->text().isEmpty());
    dialog.accept();
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
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
