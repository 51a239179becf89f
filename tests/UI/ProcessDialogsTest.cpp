// The option dialogs of the process steps: the values they hand on under their process-list names
// and take back from a list step, the list steps they make, the fields that limit each other, and
// each step run from the main window's menu through its modal dialog.

#include "Core/ApplicationModel.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimplePhysicalVaporDeposition.h"
#include "Core/Operations/AnisotropicFilmDeposition/SimpleReactiveIonEtching.h"
#include "Core/Operations/CreateSubstrate/CreateSubstrateOperation.h"
#include "Core/Operations/Doping/DopableMaterials.h"
#include "Core/Operations/GlueSubstrate/GlueLayout.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDepositionOperation.h"
#include "Core/Operations/SiWetEtching/AtomisticSiWetEtchingOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/ProcessTypes.h"
#include "Model/Materials/MaterialFactory.h"
#include "Model/Process/ProcessFactory.h"
#include "UI/BatchRun/Dialog/ProcessEditors.h"
#include "UI/MainWindow.h"
#include "UI/MainWindowPresenter.h"
#include "UI/Observers/ProcessOptionsObservers.h"
#include "UI/Operations/AnisotropicDepositionDialog.h"
#include "UI/Operations/AnisotropicEtchingDialog.h"
#include "UI/Operations/ContinuousWetEtchingDialog.h"
#include "UI/Operations/CreateSubstrateDialog.h"
#include "UI/Operations/DopingDialog.h"
#include "UI/Operations/ElectrodepositionDialog.h"
#include "UI/Operations/ExtractFilmDialog.h"
#include "UI/Operations/GlueSubstrateDialog.h"
#include "UI/Operations/IonImplantationDialog.h"
#include "UI/Operations/IsotropicDepositionDialog.h"
#include "UI/Operations/IsotropicEtchingDialog.h"
#include "UI/Operations/MaterialChooser.h"
#include "UI/Operations/MooreOptionsDialog.h"
#include "UI/Operations/PVDOptionsDialog.h"
#include "UI/Operations/PlanarizationOptionsDialog.h"
#include "UI/Operations/SiOxidationDialog.h"
#include "UI/Operations/SimpleRIEDialog.h"
#include "UI/Operations/SpinCoatingOptionsDialog.h"
#include "UI/Operations/WetEtchingDialog.h"
#include "common/Cells.h"
#include "common/Materials.h"
#include "common/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

using namespace Ui::Operations;
using namespace TestSupport;
namespace P = Engine::Parameters;
using Core::Operations::SimplePhysicalVaporDeposition;
using Core::Operations::SimpleReactiveIonEtching;

namespace {

constexpr uint32_t kNDoped = Model::Materials::kNDopedSiliconMaterial;
constexpr uint32_t kPDoped = Model::Materials::kPDopedSiliconMaterial;

template <class T>
T *child(QWidget &dialog, const char *name)
{
    T *widget = dialog.findChild<T *>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void setLength(QWidget &dialog, const char *name, double value)
{
    child<QDoubleSpinBox>(dialog, name)->setValue(value);
}

void setCount(QWidget &dialog, const char *name, int value)
{
    child<QSpinBox>(dialog, name)->setValue(value);
}

void choose(QWidget &dialog, uint32_t material, const char *name = "cbxMaterial")
{
    ASSERT_TRUE(chooseMaterial(child<QComboBox>(dialog, name), material)) << name << " " << material;
}

QString labelText(QWidget &dialog, const char *name)
{
    auto *label = dialog.findChild<QLabel *>(name);
    return label ? label->text() : QString();
}

std::vector<uint32_t> offeredIds(QWidget &dialog, const char *name)
{
    auto *chooser = child<QComboBox>(dialog, name);
    std::vector<uint32_t> ids;
    for (int i = 0; chooser && i < chooser->count(); ++i)
        ids.push_back(chooser->itemData(i).toUInt());
    return ids;
}

std::vector<uint32_t> idsOf(const std::vector<Model::Materials::Material> &materials)
{
    std::vector<uint32_t> ids;
    for (const auto &material : materials)
        ids.push_back(material.materialId());
    return ids;
}

std::vector<uint32_t> materialsOfProcess(uint32_t process)
{
    return idsOf(Model::Process::ProcessFactory::instance()->process(process).compatibleMaterialRecords());
}

using DialogMaker = std::function<std::unique_ptr<ProcessOptionsDialog>()>;

template <class Dialog>
DialogMaker maker()
{
    return [] { return std::unique_ptr<ProcessOptionsDialog>(new Dialog); };
}

} // namespace

TEST(ProcessDialogs, ValuesGoOutUnderTheirListNamesAndComeBackFromAListStep)
{
    struct Row {
        const char *name;
        DialogMaker make;
        std::function<void(ProcessOptionsDialog &)> fill;
        std::function<void(const QVariantMap &, ProcessOptionsDialog &copy)> expect;
    };
    const Row rows[] = {
        {"anisotropic deposition", maker<AnisotropicDepositionDialog>(),
         [](ProcessOptionsDialog &d) {
             setLength(d, "dbxThickness", 3.25);
             setLength(d, "dbxHorizontalRatio", 0.125);
         },
         [](const QVariantMap &values, ProcessOptionsDialog &copy) {
             EXPECT_EQ(values.keys(), (QStringList{"Film Thickness", "Horizontal to Vertical Ratio", "Material_Id"}));
             EXPECT_FLOAT_EQ(static_cast<AnisotropicDepositionDialog &>(copy).horizontalRatio(), 0.125f);
         }},
        {"anisotropic etching", maker<AnisotropicEtchingDialog>(),
         [](ProcessOptionsDialog &d) { setLength(d, "dbxDepth", 4.5); },
         [](const QVariantMap &values, ProcessOptionsDialog &copy) {
             EXPECT_TRUE(values.contains(P::kEtchDepth));
             EXPECT_FLOAT_EQ(static_cast<AnisotropicEtchingDialog &>(copy).depth(), 4.5f);
         }},
        {"PVD", maker<PVDOptionsDialog>(),
         [](ProcessOptionsDialog &d) {
             child<QRadioButton>(d, "rbtDepositOnBothSides")->setChecked(true);
             setLength(d, "dbxThickness", 2.0);
         },
         [](const QVariantMap &values, ProcessOptionsDialog &copy) {
             EXPECT_EQ(values.value(P::kDepositOnValue).toInt(), 3);
             EXPECT_EQ(values.value(P::kDepositOn).toString(), "Deposit on both sides");
             EXPECT_EQ(static_cast<PVDOptionsDialog &>(copy).sides(),
                       uint32_t(SimplePhysicalVaporDeposition::BothSides));
         }},
        {"simple RIE", maker<SimpleRIEDialog>(),
         [](ProcessOptionsDialog &d) {
             setCount(d, "sbxEtchDepth", 7);
             child<QCheckBox>(d, "chkEtchFromTop")->setChecked(false);
             child<QCheckBox>(d, "chkEtchFromBelow")->setChecked(true);
             choose(d, kOxide);
         },
         [](const QVariantMap &values, ProcessOptionsDialog &copy) {
             EXPECT_EQ(values.value(P::kEtchDirectionValue).toInt(), 2);
             EXPECT_EQ(values.value(P::kEtchDepth).toUInt(), 7u);
             EXPECT_EQ(static_cast<SimpleRIEDialog &>(copy).directions(), SimpleReactiveIonEtching::kFromBelow);
             EXPECT_EQ(static_cast<SimpleRIEDialog &>(copy).materialId(), kOxide);
         }},
        {"doping", maker<DopingDialog>(),
         [](ProcessOptionsDialog &d) {
             setLength(d, "dblDopingDepth", 3.25);
             choose(d, kPDoped, "cbxDopedMaterial");
         },
         [](const QVariantMap &values, ProcessOptionsDialog &copy) {
             EXPECT_EQ(values.keys(), (QStringList{"Doped Material_Id", "Doping Depth"}));
             EXPECT_EQ(values.value(P::kDopingDepth).userType(), int(QMetaType::Float));
             EXPECT_FLOAT_EQ(static_cast<DopingDialog &>(copy).dopingDepth(), 3.25f);
             EXPECT_EQ(static_cast<DopingDialog &>(copy).dopedMaterialId(), kPDoped);
         }},
        {"ion implantation", maker<IonImplantationDialog>(),
         [](ProcessOptionsDialog &d) {
             setLength(d, "dblImplantationDepth", 4.5);
             setLength(d, "dblVerticalSpread", 0.25);
             setLength(d, "dblAnnealingDistance", 1.75);
             choose(d, kNDoped, "cbxDopedMaterial");
         },
         [](const QVariantMap &values, ProcessOptionsDialog &copy) {
             EXPECT_EQ(values.keys(), (QStringList{"Annealing Distance", "Doped Material_Id", "Implantation Depth",
                                                   "Vertical Spread"}));
             for (const char *name : {"Annealing Distance", "Implantation Depth", "Vertical Spread"})
                 EXPECT_EQ(values.value(name).userType(), int(QMetaType::Float)) << name;
             auto &implantation = static_cast<IonImplantationDialog &>(copy);
             EXPECT_FLOAT_EQ(implantation.verticalSpread(), 0.25f);
             EXPECT_FLOAT_EQ(implantation.annealingDistance(), 1.75f);
             EXPECT_EQ(implantation.dopedMaterialId(), kNDoped);
         }},
        {"Si wet etching", maker<WetEtchingDialog>(), [](ProcessOptionsDialog &d) { setLength(d, "dblDepth", 3.5); },
         [](const QVariantMap &values, ProcessOptionsDialog &copy) {
             EXPECT_EQ(values, (QVariantMap{{P::kDepth, 3.5}}));
             EXPECT_DOUBLE_EQ(static_cast<WetEtchingDialog &>(copy).depth(), 3.5);
         }},
        {"continuous wet etching", maker<ContinuousWetEtchingDialog>(),
         [](ProcessOptionsDialog &d) { setLength(d, "dbxEtchDepth", 3.25); },
         [](const QVariantMap &values, ProcessOptionsDialog &copy) {
             EXPECT_EQ(values, (QVariantMap{{P::kDepth, 3.25}}));
             EXPECT_DOUBLE_EQ(static_cast<ContinuousWetEtchingDialog &>(copy).etchDepth(), 3.25);
         }},
        {"Moore etching",
         [] {
             auto dialog = std::make_unique<MooreOptionsDialog>();
             dialog->showAsEtching();
             return std::unique_ptr<ProcessOptionsDialog>(std::move(dialog));
         },
         [](ProcessOptionsDialog &d) {
             setCount(d, "sbxValue", 4);
             choose(d, kAluminium);
         },
         [](const QVariantMap &values, ProcessOptionsDialog &) {
             EXPECT_EQ(values, (QVariantMap{{"Depth", 4u}, {"Material_Id", kAluminium}}));
         }},
        {"planarization", maker<PlanarizationOptionsDialog>(),
         [](ProcessOptionsDialog &d) {
             static_cast<PlanarizationOptionsDialog &>(d).fitToHeight(20);
             setCount(d, "sbxMaximumHeight", 7);
             setCount(d, "sbxMinimumHeight", 5);
         },
         [](const QVariantMap &values, ProcessOptionsDialog &) {
             EXPECT_EQ(values, (QVariantMap{{"Maximum Height", 7u}, {"Minimum Height", 5u}}));
         }},
        {"pour material", maker<SpinCoatingOptionsDialog>(),
         [](ProcessOptionsDialog &d) {
             setCount(d, "sbxHeight", 12);
             choose(d, 12u);
         },
         [](const QVariantMap &values, ProcessOptionsDialog &) {
             EXPECT_EQ(values, (QVariantMap{{"Maximum Height", 12u}, {"Material_Id", 12u}}));
         }},
        {"create substrate",
         [] {
             auto dialog = std::make_unique<CreateSubstrateDialog>();
             dialog->setMaterials(Model::Materials::MaterialFactory::instance()->materials());
             return std::unique_ptr<ProcessOptionsDialog>(std::move(dialog));
         },
         [](ProcessOptionsDialog &d) {
             setCount(d, "sbxVolumeSizeX", 30);
             setCount(d, "sbxVolumeSizeZ", 12);
             setCount(d, "sbxSubstrateSizeZ", 4);
             setCount(d, "sbxDeltaZ", 3);
             setLength(d, "dblCornerX", -2.5);
             choose(d, 4u);
         },
         [](const QVariantMap &values, ProcessOptionsDialog &) {
             EXPECT_EQ(values.value("Volume Size X").toUInt(), 30u);
             EXPECT_EQ(values.value("Substrate Delta Z").toUInt(), 3u);
             EXPECT_EQ(values.value("Material_Id").toUInt(), 4u);
             EXPECT_EQ(values.value("Material").toString(), "Al (bulk)");
             EXPECT_FALSE(values.value("SphericalSubstrate").toBool());
         }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        auto dialog = row.make();
        row.fill(*dialog);
        const QVariantMap values = dialog->parameters();
        auto copy = row.make();
        copy->loadParameters(values);
        EXPECT_EQ(copy->parameters(), values);
        row.expect(values, *copy);
    }

    // One form serves both Moore steps, and names the layer count after the step it shows.
    MooreOptionsDialog moore;
    moore.showAsEtching();
    EXPECT_EQ(labelText(moore, "lblValue"), "Etch Depth");
    moore.showAsDeposition();
    EXPECT_EQ(labelText(moore, "lblValue"), "Film Thickness");
    EXPECT_EQ(moore.parameters().keys(), (QStringList{"Material_Id", "Thickness"}));
}

TEST(ProcessDialogs, ListStepsShowTheNamesAndHideTheChoiceCodes)
{
    struct Row {
        uint32_t type;
        DialogMaker make;
        QStringList shown, hidden;
    };
    const Row rows[] = {
        {Engine::AnisotropicDepositionType, maker<AnisotropicDepositionDialog>(),
         {"Film Thickness", "Horizontal to Vertical Ratio", "Material"}, {"Material_Id", "Material_Color"}},
        {Engine::PvdType, maker<PVDOptionsDialog>(), {"Deposit On", "Thickness"}, {"DepositOn"}},
        {Engine::SimpleRieType, maker<SimpleRIEDialog>(), {"Etch Direction", "Etch Depth"}, {"EtchDirectionValue"}},
        {Engine::DopingType, maker<DopingDialog>(), {"Doped Material", "Doped Material_Id", "Doping Depth"},
         {"Doped Material_Color"}},
        {Engine::IonImplantationType, maker<IonImplantationDialog>(),
         {"Doped Material_Id", "Implantation Depth", "Vertical Spread", "Annealing Distance"},
         {"Doped Material_Color"}},
        {Engine::SiOxidationType, maker<SiOxidationDialog>(), {P::kMicronConversion, P::kOxidationTemperature},
         {P::kOxidationThickness, P::kOxidationTimeSet}},
        {Engine::SiWetEtchingType, maker<WetEtchingDialog>(), {P::kDepth}, {}},
        {Engine::SiWetEtchingCcaType, maker<ContinuousWetEtchingDialog>(), {P::kDepth}, {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(Engine::processName(row.type).toStdString());
        const Ui::ProcessEditor *editor = Ui::processEditor(row.type);
        ASSERT_NE(editor, nullptr);
        auto dialog = row.make();
        const Engine::ProcessData step = Ui::makeProcessStep(*editor, row.type, dialog->parameters());
        for (const QString &name : row.shown)
            EXPECT_TRUE(step.getParameterVisibility(name)) << name.toStdString();
        for (const QString &name : row.hidden)
            EXPECT_FALSE(step.getParameterVisibility(name)) << name.toStdString();
    }
    EXPECT_NE(Ui::processEditor(Engine::AnisotropicEtchingType), nullptr);
    SimpleRIEDialog rie;
    EXPECT_EQ(Ui::makeProcessStep(*Ui::processEditor(Engine::SimpleRieType), Engine::SimpleRieType, rie.parameters())
                  .getProcessParameter("Etch Direction")
                  .toString(),
              "From top");

    // An oxidation grown to a thickness lists the thickness, not the time.
    SiOxidationDialog oxidation;
    child<QRadioButton>(oxidation, "rbtGrowToThickness")->setChecked(true);
    const Engine::ProcessData toThickness = Ui::makeProcessStep(
        *Ui::processEditor(Engine::SiOxidationType), Engine::SiOxidationType, oxidation.parameters());
    EXPECT_TRUE(toThickness.getParameterVisibility(P::kOxidationThickness));
    EXPECT_FALSE(toThickness.getParameterVisibility(P::kOxidationTime));
    EXPECT_FALSE(toThickness.getParameterVisibility(P::kOxidationThicknessSet));
}

TEST(ProcessDialogs, ChoosersOfferTheMaterialsTheirProcessAllows)
{
    const auto all = idsOf(ProcessOptionsDialog::allMaterials());
    AnisotropicDepositionDialog deposition;
    EXPECT_EQ(offeredIds(deposition, "cbxMaterial"), materialsOfProcess(16));
    AnisotropicEtchingDialog etching;
    EXPECT_EQ(offeredIds(etching, "cbxMaterial"), materialsOfProcess(17));
    PVDOptionsDialog pvd;
    EXPECT_EQ(offeredIds(pvd, "cbxMaterial"), materialsOfProcess(4));
    SimpleRIEDialog rie;
    EXPECT_EQ(offeredIds(rie, "cbxMaterial"), all);
    DopingDialog doping;
    EXPECT_EQ(offeredIds(doping, "cbxDopedMaterial"), materialsOfProcess(Core::Operations::kSimpleDopingProcess));
    EXPECT_EQ(offeredIds(doping, "cbxDopedMaterial"), (std::vector<uint32_t>{kSilicon, kNDoped, kPDoped, 16}));
    IonImplantationDialog implantation;
    EXPECT_EQ(offeredIds(implantation, "cbxDopedMaterial"),
              materialsOfProcess(Core::Operations::kIonImplantationProcess));
    MooreOptionsDialog moore;
    EXPECT_EQ(offeredIds(moore, "cbxMaterial"), all);
    ElectrodepositionDialog plating;
    EXPECT_EQ(offeredIds(plating, "cbxConductingMaterial"), all);

    // Isotropic deposition serves several steps: the observer offers the materials of the step's
    // own process before the dialog shows.
    Core::ApplicationModel model;
    model.scene().addObject(flatVolume(6, 6, 8, 3, kSilicon));
    auto op = std::make_shared<Core::Operations::IsotropicFilmDepositionOperation>(
        &model, "CVD", Core::Operations::IsotropicFilmDepositionOperation::kCvdProcess);
    auto observer = std::make_shared<Ui::Observers::IsotropicFilmDepositionObserver>(&model, nullptr);
    std::vector<uint32_t> offered;
    observer->setDialogRunner([&](IsotropicDepositionDialog &dialog) {
        offered = offeredIds(dialog, "cbxMaterial");
        return false;
    });
    op->setOptionsObserver(observer);
    model.startOperation(op);
    EXPECT_EQ(offered, materialsOfProcess(3));
}

TEST(ProcessDialogs, FieldsThatLimitEachOther)
{
    CreateSubstrateDialog substrate;
    setCount(substrate, "sbxVolumeSizeX", 40);
    EXPECT_EQ(child<QSpinBox>(substrate, "sbxSubstrateSizeX")->maximum(), 40);
    EXPECT_EQ(child<QSpinBox>(substrate, "sbxSubstrateSizeX")->value(), 40);
    EXPECT_EQ(child<QSpinBox>(substrate, "sbxCenterX")->maximum(), 39);
    setCount(substrate, "sbxSubstrateSizeX", 25);
    EXPECT_EQ(child<QSpinBox>(substrate, "sbxDeltaX")->maximum(), 15);
    setCount(substrate, "sbxVolumeSizeZ", 20); // the substrate height is kept, within the new maximum
    EXPECT_EQ(child<QSpinBox>(substrate, "sbxSubstrateSizeZ")->value(), 20);
    EXPECT_EQ(child<QSpinBox>(substrate, "sbxDeltaZ")->maximum(), 0);
    setCount(substrate, "sbxSubstrateSizeZ", 5);
    EXPECT_EQ(child<QSpinBox>(substrate, "sbxDeltaZ")->maximum(), 15);
    child<QCheckBox>(substrate, "chkSpherical")->setChecked(true);
    EXPECT_FALSE(child<QWidget>(substrate, "boxFields")->isEnabled());
    EXPECT_TRUE(child<QWidget>(substrate, "sphereFields")->isEnabled());

    // The planarization minimum never passes the maximum.
    PlanarizationOptionsDialog planarization;
    planarization.fitToHeight(20);
    EXPECT_EQ(child<QSpinBox>(planarization, "sbxMaximumHeight")->value(), 20);
    EXPECT_EQ(child<QSpinBox>(planarization, "sbxMinimumHeight")->maximum(), 20);
    planarization.loadParameters({{"Maximum Height", 7u}, {"Minimum Height", 5u}});
    EXPECT_EQ(child<QSpinBox>(planarization, "sbxMinimumHeight")->maximum(), 7);
    setCount(planarization, "sbxMaximumHeight", 3);
    EXPECT_EQ(planarization.minimumHeight(), 3u);

    // Gluing: the final size starts at the combined height and never goes below it; the top
    // substrate moves only within the base.
    GlueSubstrateDialog glue;
    auto base = flatVolume(10, 8, 6, 3, kSilicon);
    auto top = flatVolume(4, 3, 5, 2, kOxide);
    glue.setLimits(Core::Operations::GlueLayout::of(*base, *top));
    EXPECT_FALSE(child<QSpinBox>(glue, "sbxSizeX")->isEnabled());
    EXPECT_EQ(child<QSpinBox>(glue, "sbxSizeY")->value(), 8);
    EXPECT_EQ(child<QSpinBox>(glue, "sbxSizeZ")->value(), 6);
    setCount(glue, "sbxSizeZ", 2);
    EXPECT_EQ(glue.finalSizeZ(), 6u);
    setCount(glue, "sbxSizeZ", 40);
    EXPECT_EQ(glue.finalSizeZ(), 40u);
    EXPECT_EQ(child<QSpinBox>(glue, "sbxDisplacementY")->maximum(), 5);
    setCount(glue, "sbxDisplacementX", 9);
    EXPECT_EQ(glue.displacementX(), 6u);

    // Oxidation by time or to a thickness: only the fields of the chosen mode are open.
    SiOxidationDialog oxidation;
    EXPECT_TRUE(oxidation.growsByTime());
    EXPECT_FALSE(child<QDoubleSpinBox>(oxidation, "dbxThickness")->isEnabled());
    child<QRadioButton>(oxidation, "rbtGrowToThickness")->setChecked(true);
    EXPECT_TRUE(oxidation.growsToThickness());
    EXPECT_TRUE(child<QDoubleSpinBox>(oxidation, "dbxThickness")->isEnabled());
    for (const char *name : {"dbxTime", "dbxTemperature", "dbxPressure"})
        EXPECT_FALSE(child<QDoubleSpinBox>(oxidation, name)->isEnabled()) << name;
}

// The oxidation dialog shows Celsius and hands on kelvin.
TEST(ProcessDialogs, OxidationListValuesCarryKelvin)
{
    SiOxidationDialog dialog;
    setLength(dialog, "dbxTemperature", 1100.0);
    setLength(dialog, "dbxTime", 2.5);
    setLength(dialog, "dbxMicronConversion", 40.0);
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
    EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>(copy, "dbxTemperature")->value(), 1026.85);
    EXPECT_NEAR(copy.kelvin(), 1300.0, 1e-9);
    EXPECT_TRUE(copy.growsToThickness());
    EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>(copy, "dbxThickness")->value(), 0.25);
    EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>(copy, "dbxMicronConversion")->value(), 40.0);
}

TEST(ProcessDialogs, CreateSubstrateRefusesAVolumeThisComputerCannotHold)
{
    CreateSubstrateDialog dialog;
    for (const char *name : {"sbxVolumeSizeX", "sbxVolumeSizeY", "sbxVolumeSizeZ"})
        setCount(dialog, name, 10000);
    QString title, text;
    answerNextModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        ASSERT_TRUE(box);
        title = box->windowTitle();
        text = box->text();
        box->accept();
    });
    dialog.accept();
    EXPECT_EQ(title, "Volume too large");
    EXPECT_TRUE(text.contains("1000000000000 cells")) << text.toStdString();
    EXPECT_EQ(dialog.result(), QDialog::Rejected); // still open, nothing accepted
}

TEST(ProcessDialogs, ACancelledDialogLeavesTheVolumeAndTheHistoryAlone)
{
    Core::ApplicationModel model;
    auto volume = flatVolume(6, 6, 8, 4, kSilicon);
    model.scene().addObject(volume);
    auto op = std::make_shared<Core::Operations::AtomisticSiWetEtchingOperation>(&model);
    auto observer = std::make_shared<Ui::Observers::AtomicSiBCAEtchObserver>(&model, nullptr);
    observer->setDialogRunner([](WetEtchingDialog &) { return false; });
    op->setOptionsObserver(observer);
    model.startOperation(op);
    EXPECT_EQ(model.inputRequest().message(), "BCA Wet Etch: Operation canceled.");
    EXPECT_EQ(countInColumn(*volume, 3, 3, kSilicon), 4u);
    EXPECT_FALSE(volume->siLattice());
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
    EXPECT_EQ(model.currentOperation(), nullptr);
}

TEST(ProcessDialogs, CreateSubstrateObserverHandsTheAcceptedSphereToTheOperation)
{
    Core::ApplicationModel model;
    auto op = std::make_shared<Core::Operations::CreateSubstrateOperation>(&model);
    auto observer = std::make_shared<Ui::Observers::CreateSubstrateObserver>(&model, nullptr);
    observer->setDialogRunner([](CreateSubstrateDialog &dialog) {
        const std::pair<const char *, int> fields[] = {{"sbxVolumeSizeX", 10}, {"sbxVolumeSizeY", 8},
                                                       {"sbxVolumeSizeZ", 6},  {"sbxCenterX", 5},
                                                       {"sbxCenterY", 4},      {"sbxCenterZ", 3},
                                                       {"sbxRadius", 2}};
        child<QCheckBox>(dialog, "chkSpherical")->setChecked(true);
        for (const auto &field : fields)
            setCount(dialog, field.first, field.second);
        return true;
    });
    op->setOptionsObserver(observer);
    model.startOperation(op);
    auto volume = op->createdVolume();
    ASSERT_TRUE(volume);
    EXPECT_EQ(volume->sizeX() * volume->sizeY() * volume->sizeZ(), 480u);
    EXPECT_NE(materialAt(*volume, 5, 4, 3), 0u);
    EXPECT_EQ(materialAt(*volume, 0, 0, 0), 0u);
}

// Each step from its menu action: the modal dialog it opens (form and title), answered as a user
// would, the cells it leaves (worked out by hand) and its console line.
TEST(ProcessDialogs, EachStepRunsFromTheSimulationMenuThroughItsDialog)
{
    const auto siliconBelow = [](uint32_t sx, uint32_t sz, uint32_t height) {
        return [=] { return flatVolume(sx, sx, sz, height, kSilicon); };
    };
    // Silicon below z = 3 under two layers of `film`.
    const auto filmOnSilicon = [](uint32_t film) {
        return [=] {
            return volumeOf(6, 6, 10, [=](uint32_t, uint32_t, uint32_t z) { return z < 3 ? kSilicon : z < 5 ? film : 0u; });
        };
    };
    struct Row {
        const char *id;
        const char *form;
        const char *title;
        std::function<std::shared_ptr<TotalVolume>()> volume;
        std::function<void(QDialog &)> answer;
        const char *finished;
        std::function<void(TotalVolume &)> check;
    };
    const Row rows[] = {
        {"14", "IsotropicEtchingBaseDialog", "Isotropic Film Etching", siliconBelow(6, 8, 3),
         [](QDialog &d) {
             choose(d, kSilicon);
             setLength(d, "dblDepth", 1.0);
         },
         "Isotropic Etching: Operation finished.",
         [](TotalVolume &v) {
             EXPECT_EQ(materialAt(v, 2, 2, 2), 0u);
             EXPECT_EQ(materialAt(v, 2, 2, 1), kSilicon);
         }},
        {"31", "PVDOptionsBaseDialog", nullptr, siliconBelow(6, 10, 3),
         [](QDialog &d) {
             choose(d, kAluminium);
             setLength(d, "dbxThickness", 2.0);
         },
         "PVD: Operation finished.", [](TotalVolume &v) { EXPECT_EQ(countInColumn(v, 2, 2, kAluminium), 2u); }},
        {"30", "SimpleRIEBaseDialog", "Simple RIE Options", filmOnSilicon(kAluminium),
         [](QDialog &d) {
             choose(d, kAluminium);
             setCount(d, "sbxEtchDepth", 1);
         },
         "Simple RIE: Operation finished.", [](TotalVolume &v) { EXPECT_EQ(countInColumn(v, 2, 2, kAluminium), 1u); }},
        {"17", "DopingBaseDialog", "Doping Options", siliconBelow(4, 10, 6),
         [](QDialog &d) {
             choose(d, kNDoped, "cbxDopedMaterial");
             setLength(d, "dblDopingDepth", 1.0);
         },
         "Doping: Operation finished.",
         [](TotalVolume &v) {
             EXPECT_EQ(materialAt(v, 1, 1, 5), kNDoped);
             EXPECT_EQ(materialAt(v, 1, 1, 4), kSilicon);
         }},
        {"3", "IonImplantationBaseDialog", "Ion Implantation Options", siliconBelow(4, 10, 6),
         [](QDialog &d) {
             choose(d, kPDoped, "cbxDopedMaterial");
             setLength(d, "dblImplantationDepth", 3.0);
             setLength(d, "dblVerticalSpread", 0.0);
             setLength(d, "dblAnnealingDistance", 0.0);
         },
         "Ion Implantation: Operation finished.",
         [](TotalVolume &v) {
             EXPECT_EQ(countInColumn(v, 1, 1, kPDoped), 1u);
             EXPECT_EQ(materialAt(v, 1, 1, 3), kPDoped);
         }},
        {"26", "SiOxidationBaseDialog", "Si Oxidation Options", siliconBelow(5, 20, 10),
         [](QDialog &d) {
             child<QRadioButton>(d, "rbtGrowToThickness")->setChecked(true);
             // D = 0.1 µm × 50 = 5: 2 cells above the surface, 2 below.
             setLength(d, "dbxThickness", 0.1);
             setLength(d, "dbxMicronConversion", 50.0);
         },
         "Simple Si Oxidation: Operation finished.",
         [](TotalVolume &v) {
             EXPECT_EQ(countInColumn(v, 2, 2, kOxide), 4u);
             EXPECT_EQ(countInColumn(v, 2, 2, kSilicon), 8u);
         }},
        {"28", "WetEtchingBaseDialog", "Wet Etching Options", siliconBelow(6, 8, 4),
         [](QDialog &d) { setLength(d, "dblDepth", 1.4); }, "BCA Wet Etch: Operation finished.",
         [](TotalVolume &v) { EXPECT_EQ(countInColumn(v, 3, 3, kSilicon), 3u); }},
        // Eight steps, four (100) layers: cell 9 empties.
        {"29", "ContinuousWetEtchingBaseDialog", "Wet Etching Options", siliconBelow(10, 14, 10),
         [](QDialog &d) { setLength(d, "dbxEtchDepth", 2.0); }, "Continuous Wet Etch: Operation finished.",
         [](TotalVolume &v) { EXPECT_EQ(countInColumn(v, 5, 5, kSilicon), 9u); }},
        {"18", "MooreOptionsBaseDialog", "Operation Options", siliconBelow(6, 8, 3),
         [](QDialog &d) {
             EXPECT_EQ(labelText(d, "lblValue"), "Film Thickness");
             choose(d, kOxide);
             setCount(d, "sbxValue", 2);
         },
         "Moore film deposition: Operation finished.",
         [](TotalVolume &v) { EXPECT_EQ(countInColumn(v, 3, 3, kOxide), 2u); }},
        {"19", "MooreOptionsBaseDialog", "Operation Options", filmOnSilicon(kOxide),
         [](QDialog &d) {
             EXPECT_EQ(labelText(d, "lblValue"), "Etch Depth");
             choose(d, kOxide);
         },
         "Moore film etching: Operation finished.",
         [](TotalVolume &v) { EXPECT_EQ(countInColumn(v, 3, 3, kOxide), 1u); }},
        {"22", "PlanarizationOptionsBaseDialog", "Planarization Options", siliconBelow(6, 8, 3),
         [](QDialog &d) {
             EXPECT_EQ(child<QSpinBox>(d, "sbxMaximumHeight")->value(), 8) << "fitted to the volume";
             setCount(d, "sbxMinimumHeight", 1);
         },
         "Planarization: Operation finished.",
         [](TotalVolume &v) {
             EXPECT_EQ(materialAt(v, 3, 3, 0), 0u);
             EXPECT_EQ(materialAt(v, 3, 3, 1), kSilicon);
         }},
        {"23", "SpinCoatingOptionsBaseDialog", "Pour Material Options", siliconBelow(6, 8, 3),
         [](QDialog &d) {
             choose(d, kCopper);
             setCount(d, "sbxHeight", 6);
         },
         "Pour Material: Operation finished.", [](TotalVolume &v) { EXPECT_EQ(countInColumn(v, 3, 3, kCopper), 3u); }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.id);
        Ui::MainWindow window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        auto volume = row.volume();
        window.presenter().applicationModel().scene().addObject(volume);
        bool answered = false;
        answerNextModal([&](QWidget *widget) {
            auto *dialog = qobject_cast<QDialog *>(widget);
            ASSERT_NE(dialog, nullptr);
            ASSERT_EQ(dialog->objectName(), row.form);
            if (row.title) {
                EXPECT_EQ(dialog->windowTitle(), row.title);
            }
            row.answer(*dialog);
            answered = true;
            dialog->accept();
        });
        window.presenter().operationActivated(row.id);
        ASSERT_TRUE(answered);
        const QString console = window.presenter().commandConsole().output()->toPlainText();
        EXPECT_TRUE(console.contains(row.finished)) << console.toStdString();
        row.check(*volume);
    }
}

TEST(ProcessDialogs, GlueAndExtractFilmRunFromTheMenuOnTheSelectedVolumes)
{
    // Runs `id` in a new window holding and selecting `volumes`; leaves the scene in `scene`.
    QList<std::shared_ptr<Model::Object>> scene;
    const auto run = [&](const char *id, const std::vector<std::shared_ptr<TotalVolume>> &volumes,
                         std::function<void(QDialog &)> answer) {
        Ui::MainWindow window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        Core::ApplicationModel &model = window.presenter().applicationModel();
        for (const auto &volume : volumes)
            model.scene().addObject(volume);
        for (const auto &volume : volumes)
            model.selectionMode().toggleObject(volume->objectId());
        answerNextModal([answer](QWidget *widget) {
            auto *dialog = qobject_cast<QDialog *>(widget);
            ASSERT_NE(dialog, nullptr);
            answer(*dialog);
            dialog->accept();
        });
        window.presenter().operationActivated(id);
        scene = model.scene().objects();
        return window.presenter().commandConsole().output()->toPlainText();
    };
    auto base = flatVolume(10, 8, 6, 3, kSilicon);
    auto top = flatVolume(4, 3, 5, 2, kOxide);
    int offeredZ = 0;
    QString console = run("12", {base, top}, [&](QDialog &dialog) {
        EXPECT_EQ(dialog.objectName(), "GlueSubstrateForm");
        offeredZ = child<QSpinBox>(dialog, "sbxSizeZ")->value();
        setCount(dialog, "sbxSizeZ", 9);
        setCount(dialog, "sbxDisplacementX", 6);
        setCount(dialog, "sbxDisplacementY", 5);
    });
    EXPECT_EQ(offeredZ, 6);
    EXPECT_TRUE(console.contains("Glue Volumes: volumes glued.")) << console.toStdString();
    ASSERT_EQ(scene.size(), 1);
    auto glued = std::dynamic_pointer_cast<TotalVolume>(scene.front());
    ASSERT_TRUE(glued);
    EXPECT_EQ(glued->sizeZ(), 9u);
    EXPECT_EQ(countInColumn(*glued, 9, 7, kOxide), 2u);
    EXPECT_EQ(countInColumn(*glued, 5, 7, kOxide), 0u);

    console = run("8", {glued}, [&](QDialog &dialog) {
        EXPECT_EQ(dialog.objectName(), "ExtractFilmForm");
        choose(dialog, kOxide);
        child<QCheckBox>(dialog, "chkInvert")->setChecked(true);
    });
    EXPECT_TRUE(console.contains("Extract Film: film extracted.")) << console.toStdString();
    ASSERT_EQ(scene.size(), 2);
    auto film = std::dynamic_pointer_cast<TotalVolume>(scene.back());
    ASSERT_TRUE(film);
    // The 4 × 3 oxide patch turned over about x: y = 5..7 becomes y = 0..2, on the bottom.
    EXPECT_EQ(countInColumn(*film, 9, 0, kOxide), 2u);
    EXPECT_EQ(materialAt(*film, 9, 0, 0), kOxide);
    EXPECT_EQ(countInColumn(*film, 9, 7, kOxide), 0u);
    EXPECT_EQ(countInColumn(*film, 5, 0, kOxide), 0u);
}
