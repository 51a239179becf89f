// The option dialogs of doping and ion implantation: their forms, texts and fields, the round
// trip of their process-list values, the list steps they make, and the menu actions that open
// them.

#include "Core/ApplicationModel.h"
#include "Core/Operations/Doping/DopableMaterials.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/ProcessTypes.h"
#include "Model/Process/ProcessFactory.h"
#include "UI/BatchRun/Dialog/ProcessEditors.h"
#include "UI/MainWindow.h"
#include "UI/MainWindowPresenter.h"
#include "UI/Operations/DopingDialog.h"
#include "UI/Operations/IonImplantationDialog.h"
#include "UI/Operations/MaterialChooser.h"

#include "common/Cells.h"
#include "common/Materials.h"
#include "common/TestSupport.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

using namespace Ui::Operations;
namespace Parameters = Engine::Parameters;
using TestSupport::kSilicon;

namespace {

constexpr uint32_t kNDoped = Model::Materials::kNDopedSiliconMaterial;
constexpr uint32_t kPDoped = Model::Materials::kPDopedSiliconMaterial;

void expectLengthBox(QDialog &dialog, const char *name)
{
    auto *box = dialog.findChild<QDoubleSpinBox *>(name);
    ASSERT_NE(box, nullptr) << name;
    EXPECT_DOUBLE_EQ(box->minimum(), 0.0) << name;
    EXPECT_EQ(box->suffix(), " units") << name;
}

bool hasLabel(QDialog &dialog, const QString &text)
{
    for (auto *label : dialog.findChildren<QLabel *>())
        if (label->text() == text)
            return true;
    return false;
}

// The material ids a chooser offers, in its order.
std::vector<uint32_t> offered(QDialog &dialog)
{
    auto *chooser = dialog.findChild<QComboBox *>("cbxDopedMaterial");
    std::vector<uint32_t> ids;
    for (int i = 0; chooser && i < chooser->count(); ++i)
        ids.push_back(chooser->itemData(i).toUInt());
    return ids;
}

std::vector<uint32_t> compatibleWith(uint32_t process)
{
    return Model::Process::ProcessFactory::instance()->process(process).compatibleMaterials();
}

void setLength(QDialog &dialog, const char *name, double value)
{
    dialog.findChild<QDoubleSpinBox *>(name)->setValue(value);
}

} // namespace

TEST(DopingDialogs, FormsTitlesTextsAndChoices)
{
    DopingDialog doping;
    EXPECT_EQ(doping.objectName(), "DopingBaseDialog");
    EXPECT_EQ(doping.windowTitle(), "Doping Options");
    EXPECT_TRUE(hasLabel(doping, "Doping Depth"));
    EXPECT_TRUE(hasLabel(doping, "Doped Material"));
    EXPECT_TRUE(hasLabel(doping, "This is the doped material. Not to be confused with the materials that will be "
                                 "doped. All materials in the list will be doped, plus Si."));
    expectLengthBox(doping, "dblDopingDepth");
    EXPECT_EQ(offered(doping), compatibleWith(Core::Operations::kSimpleDopingProcess));
    EXPECT_EQ(offered(doping), (std::vector<uint32_t>{kSilicon, kNDoped, kPDoped, 16}));

    IonImplantationDialog implantation;
    EXPECT_EQ(implantation.objectName(), "IonImplantationBaseDialog");
    EXPECT_EQ(implantation.windowTitle(), "Ion Implantation Options");
    for (const char *label : {"Implantation Depth", "Vertical Spread", "Annealing Distance", "Doped Material"})
        EXPECT_TRUE(hasLabel(implantation, label)) << label;
    for (const char *box : {"dblImplantationDepth", "dblVerticalSpread", "dblAnnealingDistance"})
        expectLengthBox(implantation, box);
    EXPECT_EQ(offered(implantation), compatibleWith(Core::Operations::kIonImplantationProcess));
}

TEST(DopingDialogs, ParametersAreSinglePrecisionAndComeBackThroughLoadParameters)
{
    DopingDialog doping, dopingCopy;
    setLength(doping, "dblDopingDepth", 3.25);
    ASSERT_TRUE(chooseMaterial(doping.findChild<QComboBox *>("cbxDopedMaterial"), kPDoped));
    const QVariantMap values = doping.parameters();
    EXPECT_EQ(values.keys(), (QStringList{"Doped Material_Id", "Doping Depth"}));
    EXPECT_EQ(values.value(Parameters::kDopingDepth).userType(), int(QMetaType::Float));
    dopingCopy.loadParameters(values);
    EXPECT_FLOAT_EQ(dopingCopy.dopingDepth(), 3.25f);
    EXPECT_EQ(dopingCopy.dopedMaterialId(), kPDoped);

    IonImplantationDialog implantation, implantationCopy;
    setLength(implantation, "dblImplantationDepth", 4.5);
    setLength(implantation, "dblVerticalSpread", 0.25);
    setLength(implantation, "dblAnnealingDistance", 1.75);
    ASSERT_TRUE(chooseMaterial(implantation.findChild<QComboBox *>("cbxDopedMaterial"), kNDoped));
    const QVariantMap implanted = implantation.parameters();
    EXPECT_EQ(implanted.keys(), (QStringList{"Annealing Distance", "Doped Material_Id", "Implantation Depth",
                                             "Vertical Spread"}));
    for (const char *name : {"Annealing Distance", "Implantation Depth", "Vertical Spread"})
        EXPECT_EQ(implanted.value(name).userType(), int(QMetaType::Float)) << name;
    implantationCopy.loadParameters(implanted);
    EXPECT_FLOAT_EQ(implantationCopy.implantationDepth(), 4.5f);
    EXPECT_FLOAT_EQ(implantationCopy.verticalSpread(), 0.25f);
    EXPECT_FLOAT_EQ(implantationCopy.annealingDistance(), 1.75f);
    EXPECT_EQ(implantationCopy.dopedMaterialId(), kNDoped);
}

TEST(DopingProcessEditors, ListStepsShowTheDopedMaterialIdAndHideItsColour)
{
    const Ui::ProcessEditor *dopingEditor = Ui::processEditor(Engine::DopingType);
    ASSERT_NE(dopingEditor, nullptr);
    DopingDialog doping;
    const Engine::ProcessData dopingStep = Ui::makeProcessStep(*dopingEditor, Engine::DopingType, doping.parameters());
    EXPECT_EQ(dopingStep.parameters().keys(),
              (QStringList{"Doped Material", "Doped Material_Color", "Doped Material_Id", "Doping Depth"}));
    EXPECT_TRUE(dopingStep.getParameterVisibility("Doped Material_Id"));
    EXPECT_TRUE(dopingStep.getParameterVisibility("Doped Material"));
    EXPECT_FALSE(dopingStep.getParameterVisibility("Doped Material_Color"));
    EXPECT_TRUE(dopingStep.getParameterVisibility("Doping Depth"));

    const Ui::ProcessEditor *implantationEditor = Ui::processEditor(Engine::IonImplantationType);
    ASSERT_NE(implantationEditor, nullptr);
    IonImplantationDialog implantation;
    const Engine::ProcessData implantationStep
        = Ui::makeProcessStep(*implantationEditor, Engine::IonImplantationType, implantation.parameters());
    EXPECT_EQ(implantationStep.parameters().keys(),
              (QStringList{"Annealing Distance", "Doped Material", "Doped Material_Color", "Doped Material_Id",
                           "Implantation Depth", "Vertical Spread"}));
    EXPECT_TRUE(implantationStep.getParameterVisibility("Doped Material_Id"));
    EXPECT_FALSE(implantationStep.getParameterVisibility("Doped Material_Color"));
    EXPECT_TRUE(implantationStep.getParameterVisibility("Vertical Spread"));
}

TEST(DopingActions, BothStepsRunFromTheSimulationMenuThroughTheirDialogs)
{
    Ui::MainWindow window;
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    auto &model = window.presenter().applicationModel();
    auto volume = TestSupport::flatVolume(4, 4, 10, 6, kSilicon);
    model.scene().addObject(volume);

    TestSupport::answerNextModal([&](QWidget *widget) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->objectName(), "DopingBaseDialog");
        ASSERT_TRUE(chooseMaterial(dialog->findChild<QComboBox *>("cbxDopedMaterial"), kNDoped));
        setLength(*dialog, "dblDopingDepth", 1.0);
        dialog->accept();
    });
    window.presenter().operationActivated("17");
    EXPECT_EQ(TestSupport::materialAt(*volume, 1, 1, 5), kNDoped);
    EXPECT_EQ(TestSupport::materialAt(*volume, 1, 1, 4), kSilicon);

    TestSupport::answerNextModal([&](QWidget *widget) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->objectName(), "IonImplantationBaseDialog");
        ASSERT_TRUE(chooseMaterial(dialog->findChild<QComboBox *>("cbxDopedMaterial"), kPDoped));
        setLength(*dialog, "dblImplantationDepth", 3.0);
        setLength(*dialog, "dblVerticalSpread", 0.0);
        setLength(*dialog, "dblAnnealingDistance", 0.0);
        dialog->accept();
    });
    window.presenter().operationActivated("3");
    EXPECT_EQ(TestSupport::countInColumn(*volume, 1, 1, kPDoped), 1u);
    EXPECT_EQ(TestSupport::materialAt(*volume, 1, 1, 3), kPDoped);

    const auto messages = window.presenter().commandConsole().output()->toPlainText();
    EXPECT_TRUE(messages.contains("Doping: Operation finished.")) << messages.toStdString();
    EXPECT_TRUE(messages.contains("Ion Implantation: Operation finished.")) << messages.toStdString();
    EXPECT_EQ(model.undoRedo().undoName(), "Doping");
}
