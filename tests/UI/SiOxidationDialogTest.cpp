// The "Si Oxidation Options" dialog: its form and modes, the kelvin it hands on for the Celsius
// it shows, its process-list values, and the menu action that opens it.

#include "Core/ApplicationModel.h"
#include "Core/Operations/SiOxidation/SimpleSiOxidationOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/ProcessTypes.h"
#include "UI/BatchRun/Dialog/ProcessEditors.h"
#include "UI/MainWindow.h"
#include "UI/MainWindowPresenter.h"
#include "UI/Observers/ProcessOptionsObservers.h"
#include "UI/Operations/SiOxidationDialog.h"

#include "common/Cells.h"
#include "common/Materials.h"
#include "common/TestSupport.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <gtest/gtest.h>

using Ui::Operations::SiOxidationDialog;
namespace P = Engine::Parameters;
using TestSupport::kOxide;
using TestSupport::kSilicon;

namespace {

QDoubleSpinBox *box(QDialog &dialog, const char *name)
{
    return dialog.findChild<QDoubleSpinBox *>(name);
}

QRadioButton *mode(QDialog &dialog, const char *name)
{
    return dialog.findChild<QRadioButton *>(name);
}

bool hasLabel(QDialog &dialog, const QString &text)
{
    for (auto *label : dialog.findChildren<QLabel *>())
        if (label->text() == text)
            return true;
    return false;
}

} // namespace

TEST(SiOxidationDialog, FormLabelsUnitsAndTheFieldsOfTheChosenMode)
{
    SiOxidationDialog dialog;
    EXPECT_EQ(dialog.objectName(), "SiOxidationBaseDialog");
    EXPECT_EQ(dialog.windowTitle(), "Si Oxidation Options");
    for (const char *text : {"Time", "Oxide thickness", "Temperature", "Pressure", "Cell units per micron"})
        EXPECT_TRUE(hasLabel(dialog, text)) << text;
    EXPECT_TRUE(hasLabel(dialog, "Conversion between cell units and microns. Si cells are approximately "
                                 "1.0 x 1.0 x 0.35 units."));
    EXPECT_EQ(box(dialog, "dbxTime")->suffix(), " hours");
    EXPECT_EQ(box(dialog, "dbxThickness")->suffix(), " microns");
    EXPECT_EQ(box(dialog, "dbxPressure")->suffix(), " atm");
    EXPECT_EQ(box(dialog, "dbxTemperature")->suffix(), QString::fromUtf8(" °C"));
    EXPECT_DOUBLE_EQ(box(dialog, "dbxMicronConversion")->value(), 1.0);

    EXPECT_TRUE(dialog.growsByTime());
    EXPECT_TRUE(box(dialog, "dbxTemperature")->isEnabled());
    EXPECT_FALSE(box(dialog, "dbxThickness")->isEnabled());
    mode(dialog, "rbtGrowToThickness")->setChecked(true);
    EXPECT_FALSE(dialog.growsByTime());
    EXPECT_TRUE(dialog.growsToThickness());
    EXPECT_TRUE(box(dialog, "dbxThickness")->isEnabled());
    for (const char *name : {"dbxTime", "dbxTemperature", "dbxPressure"})
        EXPECT_FALSE(box(dialog, name)->isEnabled()) << name;
}

TEST(SiOxidationDialog, ListValuesCarryKelvinAndComeBackThroughLoadParameters)
{
    SiOxidationDialog dialog;
    box(dialog, "dbxTemperature")->setValue(1100.0);
    box(dialog, "dbxTime")->setValue(2.5);
    box(dialog, "dbxMicronConversion")->setValue(40.0);
    QVariantMap values = dialog.parameters();
    EXPECT_DOUBLE_EQ(values.value(P::kOxidationTemperature).toDouble(), 1373.15);
    EXPECT_TRUE(values.value(P::kOxidationTimeSet).toBool());
    EXPECT_FALSE(values.value(P::kOxidationThicknessSet).toBool());
    EXPECT_EQ(values.size(), 7);

    values[P::kOxidationTemperature] = 1300.0;
    values[P::kOxidationThickness] = 0.25;
    values[P::kOxidationTimeSet] = false;
    values[P::kOxidationThicknessSet] = true;
    SiOxidationDialog copy;
    copy.loadParameters(values);
    EXPECT_DOUBLE_EQ(box(copy, "dbxTemperature")->value(), 1026.85);
    EXPECT_NEAR(copy.kelvin(), 1300.0, 1e-9);
    EXPECT_TRUE(copy.growsToThickness());
    EXPECT_DOUBLE_EQ(box(copy, "dbxThickness")->value(), 0.25);
    EXPECT_DOUBLE_EQ(box(copy, "dbxMicronConversion")->value(), 40.0);
    EXPECT_DOUBLE_EQ(box(copy, "dbxTime")->value(), 2.5);
}

TEST(SiOxidationDialog, BatchListShowsTheValuesOfTheChosenModeOnly)
{
    const Ui::ProcessEditor *editor = Ui::processEditor(Engine::SiOxidationType);
    ASSERT_NE(editor, nullptr);
    SiOxidationDialog dialog;
    const Engine::ProcessData byTime = Ui::makeProcessStep(*editor, Engine::SiOxidationType, dialog.parameters());
    EXPECT_TRUE(byTime.getParameterVisibility(P::kMicronConversion));
    EXPECT_TRUE(byTime.getParameterVisibility(P::kOxidationTemperature));
    EXPECT_FALSE(byTime.getParameterVisibility(P::kOxidationThickness));
    EXPECT_FALSE(byTime.getParameterVisibility(P::kOxidationTimeSet));

    mode(dialog, "rbtGrowToThickness")->setChecked(true);
    const Engine::ProcessData toThickness = Ui::makeProcessStep(*editor, Engine::SiOxidationType, dialog.parameters());
    EXPECT_TRUE(toThickness.getParameterVisibility(P::kOxidationThickness));
    EXPECT_FALSE(toThickness.getParameterVisibility(P::kOxidationTime));
    EXPECT_FALSE(toThickness.getParameterVisibility(P::kOxidationThicknessSet));
}

TEST(SiOxidationDialog, TheMenuActionGrowsTheOxideTheDialogAsksFor)
{
    Ui::MainWindow window;
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    auto &model = window.presenter().applicationModel();
    auto volume = TestSupport::flatVolume(5, 5, 20, 10, kSilicon);
    model.scene().addObject(volume);

    TestSupport::answerNextModal([&](QWidget *widget) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->objectName(), "SiOxidationBaseDialog");
        mode(*dialog, "rbtGrowToThickness")->setChecked(true);
        // D = 0.1 µm × 50 = 5: 2 cells above the surface, 2 below.
        box(*dialog, "dbxThickness")->setValue(0.1);
        box(*dialog, "dbxMicronConversion")->setValue(50.0);
        dialog->accept();
    });
    window.presenter().operationActivated("26");
    EXPECT_EQ(TestSupport::countInColumn(*volume, 2, 2, kOxide), 4u);
    EXPECT_EQ(TestSupport::countInColumn(*volume, 2, 2, kSilicon), 8u);
    const auto messages = window.presenter().commandConsole().output()->toPlainText();
    EXPECT_TRUE(messages.contains("Simple Si Oxidation: Operation finished.")) << messages.toStdString();
}
