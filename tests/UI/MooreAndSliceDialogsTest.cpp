// The option dialogs of Moore deposition and etching, planarization and "Pour Material": their
// forms, their list parameters both ways, and each step run from the main window's action.

#include "Core/ApplicationModel.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialFactory.h"
#include "UI/MainWindow.h"
#include "UI/MainWindowPresenter.h"
#include "UI/Operations/MaterialChooser.h"
#include "UI/Operations/MooreOptionsDialog.h"
#include "UI/Operations/PlanarizationOptionsDialog.h"
#include "UI/Operations/SpinCoatingOptionsDialog.h"
#include "common/Cells.h"
#include "common/Materials.h"
#include "common/TestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <gtest/gtest.h>

using namespace Ui::Operations;
using namespace TestSupport;

namespace {

QSpinBox *box(QWidget &dialog, const char *name)
{
    return dialog.findChild<QSpinBox *>(name);
}

QString labelText(QWidget &dialog, const char *name)
{
    auto *label = dialog.findChild<QLabel *>(name);
    return label ? label->text() : QString();
}

// Runs operation `id` from the main window on a 6 × 6 × 8 volume of silicon below z = 3,
// answering its dialog with `answer`; returns the console text.
QString runFromWindow(const char *id, std::function<void(QDialog &)> answer,
                      std::shared_ptr<TotalVolume> volume)
{
    Ui::MainWindow window;
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.presenter().applicationModel().scene().addObject(volume);
    answerNextModal([answer](QWidget *widget) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        ASSERT_NE(dialog, nullptr);
        answer(*dialog);
        dialog->accept();
    });
    window.presenter().operationActivated(id);
    return window.presenter().commandConsole().output()->toPlainText();
}

} // namespace

TEST(MooreOptionsDialog, OneFormForBothStepsLabelledAfterTheStep)
{
    MooreOptionsDialog dialog;
    EXPECT_EQ(dialog.objectName(), "MooreOptionsBaseDialog");
    EXPECT_EQ(dialog.windowTitle(), "Operation Options");
    EXPECT_EQ(labelText(dialog, "lblValue"), "Select Value");
    EXPECT_EQ(labelText(dialog, "lblMaterial"), "Select Film");
    QSpinBox *layers = box(dialog, "sbxValue");
    ASSERT_NE(layers, nullptr);
    EXPECT_EQ(layers->minimum(), 1);
    EXPECT_EQ(layers->maximum(), 999999999);
    EXPECT_EQ(layers->value(), 1);
    EXPECT_EQ(layers->suffix(), " cells");
    EXPECT_EQ(dialog.findChild<QComboBox *>("cbxMaterial")->count(),
              int(Model::Materials::MaterialFactory::instance()->materials().size()));

    dialog.showAsEtching();
    EXPECT_EQ(labelText(dialog, "lblValue"), "Etch Depth");
    const QVariantMap etching{{"Depth", 4u}, {"Material_Id", kAluminium}};
    dialog.loadParameters(etching);
    EXPECT_EQ(dialog.parameters(), etching);

    dialog.showAsDeposition();
    EXPECT_EQ(labelText(dialog, "lblValue"), "Film Thickness");
    EXPECT_EQ(dialog.parameters(), (QVariantMap{{"Thickness", 4u}, {"Material_Id", kAluminium}}));
}

TEST(PlanarizationOptionsDialog, TheMinimumNeverPassesTheMaximum)
{
    PlanarizationOptionsDialog dialog;
    EXPECT_EQ(dialog.objectName(), "PlanarizationOptionsBaseDialog");
    EXPECT_EQ(dialog.windowTitle(), "Planarization Options");
    EXPECT_EQ(box(dialog, "sbxMinimumHeight")->toolTip(), "All cells below this height will be removed.");
    EXPECT_EQ(box(dialog, "sbxMaximumHeight")->toolTip(), "All cells above this height will be removed.");
    EXPECT_EQ(box(dialog, "sbxMaximumHeight")->suffix(), " cells");

    dialog.fitToHeight(20);
    EXPECT_EQ(box(dialog, "sbxMaximumHeight")->maximum(), 20);
    EXPECT_EQ(box(dialog, "sbxMaximumHeight")->value(), 20);
    EXPECT_EQ(box(dialog, "sbxMinimumHeight")->maximum(), 20);

    const QVariantMap values{{"Maximum Height", 7u}, {"Minimum Height", 5u}};
    dialog.loadParameters(values);
    EXPECT_EQ(dialog.parameters(), values);
    EXPECT_EQ(box(dialog, "sbxMinimumHeight")->maximum(), 7);
    box(dialog, "sbxMaximumHeight")->setValue(3);
    EXPECT_EQ(dialog.minimumHeight(), 3u);
}

TEST(SpinCoatingOptionsDialog, FormAndParametersBothWays)
{
    SpinCoatingOptionsDialog dialog;
    EXPECT_EQ(dialog.objectName(), "SpinCoatingOptionsBaseDialog");
    EXPECT_EQ(dialog.windowTitle(), "Pour Material Options");
    EXPECT_EQ(labelText(dialog, "lblHeight"), "Deposition Height");
    EXPECT_EQ(box(dialog, "sbxHeight")->maximum(), 999999999);
    EXPECT_EQ(box(dialog, "sbxHeight")->suffix(), " cells");
    const QVariantMap values{{"Maximum Height", 12u}, {"Material_Id", 12u}};
    dialog.loadParameters(values);
    EXPECT_EQ(dialog.parameters(), values);
}

TEST(MooreAndSliceActions, EachStepRunsFromTheSimulationMenuThroughItsDialog)
{
    auto volume = flatVolume(6, 6, 8, 3, kSilicon);
    QString label;
    QString console = runFromWindow("18", [&](QDialog &dialog) {
        label = labelText(dialog, "lblValue");
        chooseMaterial(dialog.findChild<QComboBox *>("cbxMaterial"), kOxide);
        box(dialog, "sbxValue")->setValue(2);
    }, volume);
    EXPECT_EQ(label, "Film Thickness");
    EXPECT_TRUE(console.contains("Moore film deposition: Operation finished.")) << console.toStdString();
    EXPECT_EQ(countInColumn(*volume, 3, 3, kOxide), 2u);

    console = runFromWindow("19", [&](QDialog &dialog) {
        label = labelText(dialog, "lblValue");
        chooseMaterial(dialog.findChild<QComboBox *>("cbxMaterial"), kOxide);
    }, volume);
    EXPECT_EQ(label, "Etch Depth");
    EXPECT_TRUE(console.contains("Moore film etching: Operation finished.")) << console.toStdString();
    EXPECT_EQ(countInColumn(*volume, 3, 3, kOxide), 1u);

    int fitted = -1;
    console = runFromWindow("22", [&](QDialog &dialog) {
        fitted = box(dialog, "sbxMaximumHeight")->value();
        box(dialog, "sbxMinimumHeight")->setValue(1);
    }, volume);
    EXPECT_EQ(fitted, 8);
    EXPECT_TRUE(console.contains("Planarization: Operation finished.")) << console.toStdString();
    EXPECT_EQ(materialAt(*volume, 3, 3, 0), 0u);

    console = runFromWindow("23", [&](QDialog &dialog) {
        chooseMaterial(dialog.findChild<QComboBox *>("cbxMaterial"), kCopper);
        box(dialog, "sbxHeight")->setValue(6);
    }, volume);
    EXPECT_TRUE(console.contains("Pour Material: Operation finished.")) << console.toStdString();
    EXPECT_EQ(countInColumn(*volume, 3, 3, kCopper), 2u + 1u);
}
