#include "Core/ApplicationModel.h"
#include "Core/Operations/IsotropicFilmDeposition/ElectrodepositionOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDepositionOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmEtchingOperation.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialFactory.h"
#include "Model/Process/ProcessFactory.h"
#include "UI/MainWindow.h"
#include "UI/MainWindowPresenter.h"
#include "UI/Observers/ProcessOptionsObservers.h"
#include "UI/Operations/ElectrodepositionDialog.h"
#include "UI/Operations/IsotropicDepositionDialog.h"
#include "UI/Operations/IsotropicEtchingDialog.h"
#include "UI/Operations/MaterialChooser.h"
#include "common/TestSupport.h"

#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

using namespace Core::Operations;
using Model::Automaton::TotalVolume;

namespace {

constexpr uint32_t kSilicon = 1;

std::shared_ptr<TotalVolume> siliconSlab()
{
    std::vector<uint32_t> materials(6 * 6 * 8, 0);
    for (size_t i = 0; i < materials.size(); ++i)
        if (i % 8 < 3)
            materials[i] = kSilicon;
    return std::make_shared<TotalVolume>(6, 6, 8, 1.f, 1.f, 1.f, Util::Vector3D(), materials);
}

uint32_t materialAt(TotalVolume &volume, uint32_t x, uint32_t y, uint32_t z)
{
    auto *cells = volume.lockCells();
    const uint32_t id = cells[volume.cellIndex(x, y, z)].material();
    volume.unlockCells();
    return id;
}

void expectThicknessBox(QDialog &dialog, const char *name)
{
    auto *box = dialog.findChild<QDoubleSpinBox *>(name);
    ASSERT_NE(box, nullptr) << name;
    EXPECT_EQ(box->decimals(), 2);
    EXPECT_EQ(box->minimum(), 0.0);
    EXPECT_EQ(box->maximum(), 1e9);
    EXPECT_EQ(box->value(), 10.0);
    EXPECT_EQ(box->suffix(), " units");
}

} // namespace

TEST(IsotropicDialogs, FormsTitlesAndThicknessBoxes)
{
    Ui::Operations::IsotropicDepositionDialog deposition;
    EXPECT_EQ(deposition.objectName(), "IsotropicDepositionBaseDialog");
    EXPECT_EQ(deposition.windowTitle(), "Isotropic Film Deposition");
    expectThicknessBox(deposition, "dblThickness");

    Ui::Operations::IsotropicEtchingDialog etching;
    EXPECT_EQ(etching.objectName(), "IsotropicEtchingBaseDialog");
    EXPECT_EQ(etching.windowTitle(), "Isotropic Film Etching");
    expectThicknessBox(etching, "dblDepth");

    Ui::Operations::ElectrodepositionDialog plating;
    EXPECT_EQ(plating.objectName(), "ElectroplatingBaseDialog");
    EXPECT_EQ(plating.windowTitle(), "Electroplating Options");
    expectThicknessBox(plating, "dblThickness");
    EXPECT_NE(plating.findChild<QComboBox *>("cbxConductingMaterial"), nullptr);
}

TEST(IsotropicObservers, DepositionOffersTheMaterialsOfItsProcessAndWritesTheChoice)
{
    Core::ApplicationModel model;
    model.scene().addObject(siliconSlab());
    auto op = std::make_shared<IsotropicFilmDepositionOperation>(
        &model, "CVD", IsotropicFilmDepositionOperation::kCvdProcess);
    auto observer = std::make_shared<Ui::Observers::IsotropicFilmDepositionObserver>(&model, nullptr);
    const auto allowed = Model::Process::ProcessFactory::instance()->process(3).compatibleMaterialRecords();
    ASSERT_FALSE(allowed.empty());
    int offered = -1;
    observer->setDialogRunner([&](Ui::Operations::IsotropicDepositionDialog &dialog) {
        auto *chooser = dialog.findChild<QComboBox *>("cbxMaterial");
        offered = chooser->count();
        Ui::Operations::chooseMaterial(chooser, allowed.back().materialId());
        dialog.findChild<QDoubleSpinBox *>("dblThickness")->setValue(2.0);
        return true;
    });
    op->setOptionsObserver(observer);
    model.startOperation(op);
    EXPECT_EQ(offered, int(allowed.size()));
    auto volume = op->chosenVolume();
    ASSERT_NE(volume, nullptr);
    EXPECT_EQ(materialAt(*volume, 2, 2, 4), allowed.back().materialId());
    EXPECT_EQ(materialAt(*volume, 2, 2, 5), 0u);
    EXPECT_EQ(model.undoRedo().undoName(), "CVD");
}

TEST(IsotropicObservers, CancelledDialogsLeaveTheOperationsUnset)
{
    Core::ApplicationModel model;
    auto volume = siliconSlab();
    model.scene().addObject(volume);

    auto etching = std::make_shared<IsotropicFilmEtchingOperation>(&model);
    auto etchObserver = std::make_shared<Ui::Observers::IsotropicFilmEtchingObserver>(&model, nullptr);
    etchObserver->setDialogRunner([](Ui::Operations::IsotropicEtchingDialog &) { return false; });
    etching->setOptionsObserver(etchObserver);
    model.startOperation(etching);
    EXPECT_EQ(model.inputRequest().message(), "Isotropic Etching: Operation canceled.");

    auto plating = std::make_shared<ElectrodepositionOperation>(&model);
    auto plateObserver = std::make_shared<Ui::Observers::ElectrodepositionObserver>(&model, nullptr);
    int catalogueSize = -1;
    plateObserver->setDialogRunner([&](Ui::Operations::ElectrodepositionDialog &dialog) {
        catalogueSize = dialog.findChild<QComboBox *>("cbxConductingMaterial")->count();
        return false;
    });
    plating->setOptionsObserver(plateObserver);
    model.startOperation(plating);
    EXPECT_EQ(model.inputRequest().message(), "Electroplating: Operation canceled.");
    EXPECT_EQ(catalogueSize, int(Model::Materials::MaterialFactory::instance()->materials().size()));
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
    EXPECT_EQ(materialAt(*volume, 2, 2, 2), kSilicon);
}

TEST(IsotropicObservers, EtchingFromTheMainWindowRunsThroughItsModalDialog)
{
    Ui::MainWindow window;
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    auto &model = window.presenter().applicationModel();
    auto volume = siliconSlab();
    model.scene().addObject(volume);

    TestSupport::answerNextModal([](QWidget *widget) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->objectName(), "IsotropicEtchingBaseDialog");
        ASSERT_TRUE(Ui::Operations::chooseMaterial(dialog->findChild<QComboBox *>("cbxMaterial"), kSilicon));
        dialog->findChild<QDoubleSpinBox *>("dblDepth")->setValue(1.0);
        dialog->accept();
    });
    window.presenter().operationActivated("14");
    const auto messages = window.presenter().commandConsole().output()->toPlainText();
    EXPECT_TRUE(messages.contains("Isotropic Etching: Operation finished.")) << messages.toStdString();
    EXPECT_EQ(materialAt(*volume, 2, 2, 2), 0u);
    EXPECT_EQ(materialAt(*volume, 2, 2, 1), kSilicon);
}
