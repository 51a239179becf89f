// The option dialogs of anisotropic deposition and etching, PVD and simple RIE: their forms and
// fields, the round trip of their process-list values, and the menu actions that open them.

#include "Core/ApplicationModel.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimplePhysicalVaporDeposition.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimpleReactiveIonEtching.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimpleReactiveIonEtchingOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "Model/Materials/MaterialFactory.h"
#include "Model/Process/ProcessFactory.h"
#include "Engine/ProcessTypes.h"
#include "UI/BatchRun/Dialog/ProcessEditors.h"
#include "UI/MainWindow.h"
#include "UI/MainWindowPresenter.h"
#include "UI/Observers/ProcessOptionsObservers.h"
#include "UI/Operations/AnisotropicDepositionDialog.h"
#include "UI/Operations/AnisotropicEtchingDialog.h"
#include "UI/Operations/MaterialChooser.h"
#include "UI/Operations/PVDOptionsDialog.h"
#include "UI/Operations/SimpleRIEDialog.h"

#include "common/Cells.h"
#include "common/Materials.h"
#include "common/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

using namespace Ui::Operations;
namespace Parameters = Engine::Parameters;
using Core::Operations::SimplePhysicalVaporDeposition;
using Core::Operations::SimpleReactiveIonEtching;
using TestSupport::kSilicon;

namespace {

void expectBox(QDialog &dialog, const char *name, int decimals, double minimum, double value, const char *suffix)
{
    auto *box = dialog.findChild<QDoubleSpinBox *>(name);
    ASSERT_NE(box, nullptr) << name;
    EXPECT_EQ(box->decimals(), decimals) << name;
    EXPECT_DOUBLE_EQ(box->minimum(), minimum) << name;
    EXPECT_EQ(box->maximum(), 1e9) << name;
    EXPECT_DOUBLE_EQ(box->value(), value) << name;
    EXPECT_EQ(box->suffix(), suffix) << name;
}

bool hasLabel(QDialog &dialog, const QString &text)
{
    for (auto *label : dialog.findChildren<QLabel *>())
        if (label->text() == text)
            return true;
    return false;
}

int offeredCount(QDialog &dialog)
{
    return dialog.findChild<QComboBox *>("cbxMaterial")->count();
}

int materialsOfProcess(uint32_t id)
{
    return int(Model::Process::ProcessFactory::instance()->process(id).compatibleMaterialRecords().size());
}

} // namespace

TEST(DirectionalDialogs, FormsTitlesLabelsAndDefaults)
{
    AnisotropicDepositionDialog deposition;
    EXPECT_EQ(deposition.objectName(), "AnisotropicDepositionBaseDialog");
    EXPECT_EQ(deposition.windowTitle(), "PVD Options");
    EXPECT_TRUE(hasLabel(deposition, "Film thickness"));
    EXPECT_TRUE(hasLabel(deposition, "Horizontal ratio"));
    expectBox(deposition, "dbxThickness", 2, 0.0, 10.0, " units");
    expectBox(deposition, "dbxHorizontalRatio", 3, 0.0, 0.5, "");
    EXPECT_EQ(offeredCount(deposition), materialsOfProcess(16));

    AnisotropicEtchingDialog etching;
    EXPECT_EQ(etching.objectName(), "AnisotropicEtchingBaseDialog");
    EXPECT_TRUE(hasLabel(etching, "Etch Depth"));
    expectBox(etching, "dbxDepth", 2, 0.0, 10.0, " units");
    expectBox(etching, "dbxHorizontalRatio", 3, 0.0, 0.5, "");
    EXPECT_EQ(offeredCount(etching), materialsOfProcess(17));

    PVDOptionsDialog pvd;
    EXPECT_EQ(pvd.objectName(), "PVDOptionsBaseDialog");
    expectBox(pvd, "dbxThickness", 2, 0.0, 10.0, " units");
    EXPECT_DOUBLE_EQ(pvd.findChild<QDoubleSpinBox *>("dbxHorizontalRatio")->minimum(), 0.01);
    EXPECT_EQ(pvd.findChild<QRadioButton *>("rbtDepositOnTop")->text(), "Deposit on top");
    EXPECT_EQ(pvd.findChild<QRadioButton *>("rbtDepositOnBothSides")->text(), "Deposit on both sides");
    EXPECT_EQ(pvd.findChild<QRadioButton *>("rbtDepositOnBottom")->text(), "Deposit on bottom");
    EXPECT_EQ(pvd.sides(), uint32_t(SimplePhysicalVaporDeposition::Top));
    EXPECT_EQ(offeredCount(pvd), materialsOfProcess(4));

    SimpleRIEDialog rie;
    EXPECT_EQ(rie.windowTitle(), "Simple RIE Options");
    EXPECT_EQ(rie.minimumSize(), QSize(400, 280));
    EXPECT_EQ(rie.maximumSize(), QSize(400, 280));
    EXPECT_TRUE(hasLabel(rie, "Etch Depth"));
    EXPECT_TRUE(hasLabel(rie, "Select Material"));
    auto *depth = rie.findChild<QSpinBox *>("sbxEtchDepth");
    ASSERT_NE(depth, nullptr);
    EXPECT_EQ(depth->minimum(), 1);
    EXPECT_EQ(depth->maximum(), 999999999);
    EXPECT_EQ(depth->value(), 1);
    EXPECT_EQ(depth->suffix(), " units");
    EXPECT_EQ(rie.findChild<QCheckBox *>("chkEtchFromBelow")->text(), "Etch from below");
    EXPECT_EQ(rie.findChild<QCheckBox *>("chkEtchFromTop")->text(), "Etch from top");
    EXPECT_EQ(rie.directions(), SimpleReactiveIonEtching::kFromTop);
    EXPECT_EQ(offeredCount(rie), int(Model::Materials::MaterialFactory::instance()->materials().size()));
}

TEST(DirectionalDialogs, ParametersComeBackThroughLoadParameters)
{
    const auto roundTrip = [](ProcessOptionsDialog &from, ProcessOptionsDialog &to) {
        to.loadParameters(from.parameters());
        return to.parameters() == from.parameters();
    };

    AnisotropicDepositionDialog deposition, depositionCopy;
    deposition.findChild<QDoubleSpinBox *>("dbxThickness")->setValue(3.25);
    deposition.findChild<QDoubleSpinBox *>("dbxHorizontalRatio")->setValue(0.125);
    const QVariantMap values = deposition.parameters();
    EXPECT_EQ(values.keys(), (QStringList{"Film Thickness", "Horizontal to Vertical Ratio", "Material_Id"}));
    EXPECT_TRUE(roundTrip(deposition, depositionCopy));
    EXPECT_FLOAT_EQ(depositionCopy.horizontalRatio(), 0.125f);

    AnisotropicEtchingDialog etching, etchingCopy;
    etching.findChild<QDoubleSpinBox *>("dbxDepth")->setValue(4.5);
    EXPECT_TRUE(etching.parameters().contains(Parameters::kEtchDepth));
    EXPECT_TRUE(roundTrip(etching, etchingCopy));
    EXPECT_FLOAT_EQ(etchingCopy.depth(), 4.5f);

    PVDOptionsDialog pvd, pvdCopy;
    pvd.findChild<QRadioButton *>("rbtDepositOnBothSides")->setChecked(true);
    pvd.findChild<QDoubleSpinBox *>("dbxThickness")->setValue(2.0);
    EXPECT_EQ(pvd.parameters().value(Parameters::kDepositOnValue).toInt(), 3);
    EXPECT_EQ(pvd.parameters().value(Parameters::kDepositOn).toString(), "Deposit on both sides");
    EXPECT_TRUE(roundTrip(pvd, pvdCopy));
    EXPECT_EQ(pvdCopy.sides(), uint32_t(SimplePhysicalVaporDeposition::BothSides));
    pvd.findChild<QRadioButton *>("rbtDepositOnBottom")->setChecked(true);
    EXPECT_EQ(pvd.parameters().value(Parameters::kDepositOnValue).toInt(), 2);

    SimpleRIEDialog rie, rieCopy;
    rie.findChild<QSpinBox *>("sbxEtchDepth")->setValue(7);
    rie.findChild<QCheckBox *>("chkEtchFromTop")->setChecked(false);
    rie.findChild<QCheckBox *>("chkEtchFromBelow")->setChecked(true);
    ASSERT_TRUE(chooseMaterial(rie.findChild<QComboBox *>("cbxMaterial"), TestSupport::kOxide));
    EXPECT_EQ(rie.parameters().value(Parameters::kEtchDirectionValue).toInt(), 2);
    EXPECT_EQ(rie.parameters().value(Parameters::kEtchDepth).toUInt(), 7u);
    EXPECT_TRUE(roundTrip(rie, rieCopy));
    EXPECT_EQ(rieCopy.directions(), SimpleReactiveIonEtching::kFromBelow);
    EXPECT_EQ(rieCopy.materialId(), TestSupport::kOxide);
}

TEST(DirectionalObservers, RieObserverHandsTheCheckBoxesToTheDirectionBits)
{
    Core::ApplicationModel model;
    auto volume = TestSupport::flatVolume(4, 4, 8, 4, kSilicon);
    model.scene().addObject(volume);
    auto op = std::make_shared<Core::Operations::SimpleReactiveIonEtchingOperation>(&model);
    auto observer = std::make_shared<Ui::Observers::SimpleRIEObserver>(&model, nullptr);
    observer->setDialogRunner([](SimpleRIEDialog &dialog) {
        dialog.findChild<QCheckBox *>("chkEtchFromTop")->setChecked(false);
        dialog.findChild<QCheckBox *>("chkEtchFromBelow")->setChecked(true);
        dialog.findChild<QSpinBox *>("sbxEtchDepth")->setValue(3);
        return true;
    });
    op->setOptionsObserver(observer);
    model.startOperation(op);
    EXPECT_EQ(op->directionFlags(), SimpleReactiveIonEtching::kFromBelow);
    // The substrate has no face looking down: nothing to etch from below.
    EXPECT_EQ(TestSupport::countInColumn(*volume, 1, 1, kSilicon), 4u);
    EXPECT_EQ(model.inputRequest().message(), "Simple RIE: Operation finished.");
}

TEST(DirectionalObservers, PvdAndRieFromTheMainWindowRunThroughTheirDialogs)
{
    Ui::MainWindow window;
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    auto &model = window.presenter().applicationModel();
    auto volume = TestSupport::flatVolume(6, 6, 10, 3, kSilicon);
    model.scene().addObject(volume);
    const uint32_t deposited = TestSupport::kAluminium; // a PVD material

    TestSupport::answerNextModal([&](QWidget *widget) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->objectName(), "PVDOptionsBaseDialog");
        ASSERT_TRUE(chooseMaterial(dialog->findChild<QComboBox *>("cbxMaterial"), deposited));
        dialog->findChild<QDoubleSpinBox *>("dbxThickness")->setValue(2.0);
        dialog->accept();
    });
    window.presenter().operationActivated("31");
    EXPECT_EQ(TestSupport::countInColumn(*volume, 2, 2, deposited), 2u);

    TestSupport::answerNextModal([&](QWidget *widget) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->objectName(), "SimpleRIEBaseDialog");
        ASSERT_TRUE(chooseMaterial(dialog->findChild<QComboBox *>("cbxMaterial"), deposited));
        dialog->findChild<QSpinBox *>("sbxEtchDepth")->setValue(1);
        dialog->accept();
    });
    window.presenter().operationActivated("30");
    EXPECT_EQ(TestSupport::countInColumn(*volume, 2, 2, deposited), 1u);

    const auto messages = window.presenter().commandConsole().output()->toPlainText();
    EXPECT_TRUE(messages.contains("PVD: Operation finished.")) << messages.toStdString();
    EXPECT_TRUE(messages.contains("Simple RIE: Operation finished.")) << messages.toStdString();
    EXPECT_EQ(window.presenter().applicationModel().undoRedo().undoName(), "PVD");
}

TEST(DirectionalProcessEditors, ListStepsNameTheirParametersAndHideTheChoiceCodes)
{
    const Ui::ProcessEditor *anisotropic = Ui::processEditor(Engine::AnisotropicDepositionType);
    ASSERT_NE(anisotropic, nullptr);
    AnisotropicDepositionDialog deposition;
    const Engine::ProcessData depositionStep
        = Ui::makeProcessStep(*anisotropic, Engine::AnisotropicDepositionType, deposition.parameters());
    EXPECT_EQ(depositionStep.parameters().keys(), (QStringList{"Film Thickness", "Horizontal to Vertical Ratio",
                                                               "Material", "Material_Color", "Material_Id"}));
    EXPECT_FALSE(depositionStep.getParameterVisibility("Material_Id"));
    EXPECT_TRUE(depositionStep.getParameterVisibility("Horizontal to Vertical Ratio"));

    PVDOptionsDialog pvd;
    const Engine::ProcessData pvdStep
        = Ui::makeProcessStep(*Ui::processEditor(Engine::PvdType), Engine::PvdType, pvd.parameters());
    EXPECT_FALSE(pvdStep.getParameterVisibility("DepositOn"));
    EXPECT_TRUE(pvdStep.getParameterVisibility("Deposit On"));
    EXPECT_TRUE(pvdStep.getParameterVisibility("Thickness"));

    SimpleRIEDialog rie;
    const Engine::ProcessData rieStep
        = Ui::makeProcessStep(*Ui::processEditor(Engine::SimpleRieType), Engine::SimpleRieType, rie.parameters());
    EXPECT_FALSE(rieStep.getParameterVisibility("EtchDirectionValue"));
    EXPECT_EQ(rieStep.getProcessParameter("Etch Direction").toString(), "From top");
    EXPECT_TRUE(rieStep.getParameterVisibility("Etch Depth"));
    EXPECT_NE(Ui::processEditor(Engine::AnisotropicEtchingType), nullptr);
}
