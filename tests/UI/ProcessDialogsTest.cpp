// The option dialogs of the process steps: the values they hand on under their process-list names
// (in SI units where they show laboratory ones) and take back from a list step, the list steps
// they make, the fields that limit each other, and each step run from the main window's menu
// through its modal dialog.

#include "UiTestSupport.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/CreateSubstrate/CreateSubstrateOperation.h"
#include "Core/Operations/Doping/DopableMaterials.h"
#include "Core/Operations/GlueSubstrate/GlueLayout.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDepositionOperation.h"
#include "Core/Operations/RandomWalkDoping/RandomWalkDopingOperation.h"
#include "Core/Operations/SiWetEtching/AtomisticSiWetEtchingOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/ProcessTypes.h"
#include "Model/Materials/MaterialFactory.h"
#include "Model/Process/ProcessFactory.h"
#include "UI/BatchRun/Dialog/ProcessEditors.h"
#include "UI/Observers/ProcessOptionsObservers.h"
#include "UI/Operations/AnisotropicDepositionDialog.h"
#include "UI/Operations/AnisotropicEtchingDialog.h"
#include "UI/Operations/ContinuousWetEtchingDialog.h"
#include "UI/Operations/CreateSubstrateDialog.h"
#include "UI/Operations/DopingDialog.h"
#include "UI/Operations/ElectrodepositionDialog.h"
#include "UI/Operations/GlueSubstrateDialog.h"
#include "UI/Operations/IonImplantationDialog.h"
#include "UI/Operations/IsotropicDepositionDialog.h"
#include "UI/Operations/MooreOptionsDialog.h"
#include "UI/Operations/PVDOptionsDialog.h"
#include "UI/Operations/PlanarizationOptionsDialog.h"
#include "UI/Operations/RandomWalkDopingDialog.h"
#include "UI/Operations/SiOxidationDialog.h"
#include "UI/Operations/SimpleRIEDialog.h"
#include "UI/Operations/SpinCoatingOptionsDialog.h"
#include "UI/Operations/WetEtchingDialog.h"
#include "common/Cells.h"
#include "common/Materials.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

using namespace Ui::Operations;
using namespace TestSupport;
using namespace UiTest;
namespace P = Engine::Parameters;

namespace {

constexpr uint32_t kNDoped = Model::Materials::kNDopedSiliconMaterial;
constexpr uint32_t kPDoped = Model::Materials::kPDopedSiliconMaterial;

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

// Makes the dialog and prepares it with `setUp`, as the step's observer would.
template <class Dialog>
DialogMaker maker(std::function<void(Dialog &)> setUp = nullptr)
{
    return [setUp] {
        auto dialog = std::make_unique<Dialog>();
        if (setUp)
            setUp(*dialog);
        return std::unique_ptr<ProcessOptionsDialog>(std::move(dialog));
    };
}

// A step that asks for its options when it runs, one of another kind, and a dialog for the latter.
class AskingStep : public Core::Operations::Operation {
public:
    explicit AskingStep(Core::ApplicationModel *model) : Operation(model, "Asking Step", 0) {}
    void execute() override { askForOptions(); }
    void cancel() override {}
    void finish() override {}
    double thickness = -1.0;
};

class OtherStep : public AskingStep {
    using AskingStep::AskingStep;
};

struct OtherStepDialog : QDialog {
    explicit OtherStepDialog(QWidget *parent) : QDialog(parent) {}
    void offerChoicesFor(const OtherStep &) {}
    void applyTo(OtherStep &step) const { step.thickness = 1.0; }
};

} // namespace

// Each dialog hands on its fields under their process-list names (some in single precision), and
// a dialog filled from those values hands on the same values again.
TEST(ProcessDialogs, ValuesGoOutUnderTheirListNamesAndComeBackFromAListStep)
{
    struct Row {
        const char *name;
        DialogMaker make;
        Fields fields;
        QVariantMap expected;    // values among parameters()
        QStringList keys;        // every name, when given
        QStringList singles;     // names kept in single precision
    };
    const Row rows[] = {
        {"anisotropic deposition", maker<AnisotropicDepositionDialog>(),
         {{"dbxThickness", 3.25}, {"dbxHorizontalRatio", 0.125}},
         {{"Film Thickness", 3.25}, {"Horizontal to Vertical Ratio", 0.125}},
         {"Film Thickness", "Horizontal to Vertical Ratio", "Material_Id"}, {}},
        {"anisotropic etching", maker<AnisotropicEtchingDialog>(), {{"dbxDepth", 4.5}}, {{P::kEtchDepth, 4.5}}, {}, {}},
        {"PVD", maker<PVDOptionsDialog>(), {{"rbtDepositOnBothSides", 1}, {"dbxThickness", 2.0}},
         {{P::kDepositOnValue, 3}, {P::kDepositOn, "Deposit on both sides"}}, {}, {}},
        {"simple RIE", maker<SimpleRIEDialog>(),
         {{"sbxEtchDepth", 7}, {"chkEtchFromTop", 0}, {"chkEtchFromBelow", 1}, {"cbxMaterial", kOxide}},
         {{P::kEtchDirectionValue, 2}, {P::kEtchDepth, 7u}, {"Material_Id", kOxide}}, {}, {}},
        {"doping", maker<DopingDialog>(), {{"dblDopingDepth", 3.25}, {"cbxDopedMaterial", kPDoped}},
         {{P::kDopingDepth, 3.25}, {"Doped Material_Id", kPDoped}}, {"Doped Material_Id", "Doping Depth"},
         {P::kDopingDepth}},
        {"ion implantation", maker<IonImplantationDialog>(),
         {{"dblImplantationDepth", 4.5}, {"dblVerticalSpread", 0.25}, {"dblAnnealingDistance", 1.75},
          {"cbxDopedMaterial", kNDoped}},
         {{"Implantation Depth", 4.5}, {"Vertical Spread", 0.25}, {"Annealing Distance", 1.75},
          {"Doped Material_Id", kNDoped}},
         {"Annealing Distance", "Doped Material_Id", "Implantation Depth", "Vertical Spread"},
         {"Annealing Distance", "Implantation Depth", "Vertical Spread"}},
        {"Si wet etching", maker<WetEtchingDialog>(), {{"dblDepth", 3.5}}, {{P::kDepth, 3.5}}, {P::kDepth}, {}},
        {"continuous wet etching", maker<ContinuousWetEtchingDialog>(), {{"dbxEtchDepth", 3.25}},
         {{P::kDepth, 3.25}}, {P::kDepth}, {}},
        {"Moore etching", maker<MooreOptionsDialog>([](MooreOptionsDialog &d) { d.showAsEtching(); }), {{"sbxValue", 4}, {"cbxMaterial", kAluminium}},
         {{"Depth", 4u}, {"Material_Id", kAluminium}}, {"Depth", "Material_Id"}, {}},
        {"planarization", maker<PlanarizationOptionsDialog>(), {{"sbxMaximumHeight", 7}, {"sbxMinimumHeight", 5}},
         {{"Maximum Height", 7u}, {"Minimum Height", 5u}}, {"Maximum Height", "Minimum Height"}, {}},
        {"pour material", maker<SpinCoatingOptionsDialog>(), {{"sbxHeight", 12}, {"cbxMaterial", 12}},
         {{"Maximum Height", 12u}, {"Material_Id", 12u}}, {"Material_Id", "Maximum Height"}, {}},
        {"create substrate", maker<CreateSubstrateDialog>([](CreateSubstrateDialog &d) {
             d.setMaterials(Model::Materials::MaterialFactory::instance()->materials());
         }),
         {{"sbxVolumeSizeX", 30}, {"sbxVolumeSizeZ", 12}, {"sbxSubstrateSizeZ", 4}, {"sbxDeltaZ", 3},
          {"dblCornerX", -2.5}, {"cbxMaterial", 4}},
         {{"Volume Size X", 30u}, {"Substrate Delta Z", 3u}, {"Material_Id", 4u}, {"Material", "Al (bulk)"},
          {"SphericalSubstrate", false}},
         {}, {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        auto dialog = row.make();
        fill(*dialog, row.fields);
        const QVariantMap values = dialog->parameters();
        for (auto it = row.expected.begin(); it != row.expected.end(); ++it)
            EXPECT_EQ(values.value(it.key()), it.value()) << it.key().toStdString();
        if (!row.keys.isEmpty()) {
            EXPECT_EQ(values.keys(), row.keys);
        }
        for (const QString &name : row.singles)
            EXPECT_EQ(values.value(name).userType(), int(QMetaType::Float)) << name.toStdString();
        auto copy = row.make();
        copy->loadParameters(values);
        EXPECT_EQ(copy->parameters(), values);
    }

    // One form serves both Moore steps (its label follows the step: see the menu runs below).
    MooreOptionsDialog moore;
    moore.showAsDeposition();
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
        // Grown to a thickness, an oxidation lists the thickness, not the time.
        {Engine::SiOxidationType, maker<SiOxidationDialog>([](SiOxidationDialog &d) { set(d, "rbtGrowToThickness", 1); }),
         {P::kOxidationThickness}, {P::kOxidationTime, P::kOxidationThicknessSet}},
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
}

TEST(ProcessDialogs, ChoosersOfferTheMaterialsTheirProcessAllows)
{
    const auto all = idsOf(ProcessOptionsDialog::allMaterials());
    const struct {
        DialogMaker make;
        const char *chooser;
        std::vector<uint32_t> offered;
    } rows[] = {
        {maker<AnisotropicDepositionDialog>(), "cbxMaterial", materialsOfProcess(16)},
        {maker<AnisotropicEtchingDialog>(), "cbxMaterial", materialsOfProcess(17)},
        {maker<PVDOptionsDialog>(), "cbxMaterial", materialsOfProcess(4)},
        {maker<SimpleRIEDialog>(), "cbxMaterial", all},
        {maker<DopingDialog>(), "cbxDopedMaterial", materialsOfProcess(Core::Operations::kSimpleDopingProcess)},
        {maker<DopingDialog>(), "cbxDopedMaterial", {kSilicon, kNDoped, kPDoped, 16}},
        {maker<IonImplantationDialog>(), "cbxDopedMaterial", materialsOfProcess(Core::Operations::kIonImplantationProcess)},
        {maker<MooreOptionsDialog>(), "cbxMaterial", all},
        {maker<ElectrodepositionDialog>(), "cbxConductingMaterial", all},
    };
    for (const auto &row : rows) {
        auto dialog = row.make();
        EXPECT_EQ(offeredIds(*dialog, row.chooser), row.offered) << dialog->objectName().toStdString();
    }

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
    set(substrate, "sbxVolumeSizeX", 40);
    EXPECT_EQ(child<QSpinBox>(substrate, "sbxSubstrateSizeX")->maximum(), 40);
    EXPECT_EQ(child<QSpinBox>(substrate, "sbxSubstrateSizeX")->value(), 40);
    EXPECT_EQ(child<QSpinBox>(substrate, "sbxCenterX")->maximum(), 39);
    set(substrate, "sbxSubstrateSizeX", 25);
    EXPECT_EQ(child<QSpinBox>(substrate, "sbxDeltaX")->maximum(), 15);
    set(substrate, "sbxVolumeSizeZ", 20); // the substrate height is kept, within the new maximum
    EXPECT_EQ(child<QSpinBox>(substrate, "sbxSubstrateSizeZ")->value(), 20);
    EXPECT_EQ(child<QSpinBox>(substrate, "sbxDeltaZ")->maximum(), 0);
    set(substrate, "sbxSubstrateSizeZ", 5);
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
    set(planarization, "sbxMaximumHeight", 3);
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
    set(glue, "sbxSizeZ", 2);
    EXPECT_EQ(glue.finalSizeZ(), 6u);
    set(glue, "sbxSizeZ", 40);
    EXPECT_EQ(glue.finalSizeZ(), 40u);
    EXPECT_EQ(child<QSpinBox>(glue, "sbxDisplacementY")->maximum(), 5);
    set(glue, "sbxDisplacementX", 9);
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

// The oxidation dialog shows Celsius and hands on kelvin.
TEST(ProcessDialogs, OxidationListValuesCarryKelvin)
{
    SiOxidationDialog dialog;
    set(dialog, "dbxTemperature", 1100.0);
    set(dialog, "dbxTime", 2.5);
    set(dialog, "dbxMicronConversion", 40.0);
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
        set(dialog, name, 10000);
    const auto shown = answerNextBox();
    dialog.accept();
    EXPECT_EQ(shown->title, "Volume too large");
    EXPECT_TRUE(shown->text.contains("1000000000000 cells")) << shown->text.toStdString();
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
        fill(dialog, {{"chkSpherical", 1}, {"sbxVolumeSizeX", 10}, {"sbxVolumeSizeY", 8}, {"sbxVolumeSizeZ", 6},
                      {"sbxCenterX", 5}, {"sbxCenterY", 4}, {"sbxCenterZ", 3}, {"sbxRadius", 2}});
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

// Each step from its menu action: the modal dialog it opens (form and title, what it shows), filled
// as a user would, the cells it leaves (worked out by hand) and its console line.
TEST(ProcessDialogs, EachStepRunsFromTheSimulationMenuThroughItsDialog)
{
    // A column's cell z holds `material`, or (z < 0) the column holds `count` cells of it.
    struct Cell {
        uint32_t x, y;
        int z;
        uint32_t material;
        uint32_t count;
    };
    struct Row {
        const char *id;
        const char *form;
        const char *title;
        std::function<std::shared_ptr<TotalVolume>()> volume;
        std::pair<const char *, QString> shown; // a label's text or a spin box's value when it opens
        Fields fields;
        const char *finished;
        std::vector<Cell> cells;
    };
    const auto siliconBelow = [](uint32_t sx, uint32_t sz, uint32_t height) {
        return [=] { return flatVolume(sx, sx, sz, height, kSilicon); };
    };
    // 6 × 6 × 10 cells: silicon below z = 3 under two layers of `film`.
    const auto filmOnSilicon = [](uint32_t film) {
        return [=] {
            return volumeOf(6, 6, 10, [=](uint32_t, uint32_t, uint32_t z) { return z < 3 ? kSilicon : z < 5 ? film : 0u; });
        };
    };
    const Row rows[] = {
        {"14", "IsotropicEtchingBaseDialog", "Isotropic Film Etching", siliconBelow(6, 8, 3), {},
         {{"cbxMaterial", kSilicon}, {"dblDepth", 1.0}}, "Isotropic Etching: Operation finished.",
         {{2, 2, 2, 0, 0}, {2, 2, 1, kSilicon, 0}}},
        {"27", "AnisotropicDepositionBaseDialog", "PVD Options", siliconBelow(6, 10, 3), {},
         {{"cbxMaterial", kAluminium}, {"dbxThickness", 2.0}, {"dbxHorizontalRatio", 0.0}},
         "Anisotropic Deposition: Operation finished.", {{2, 2, -1, kAluminium, 2}}},
        {"32", "AnisotropicEtchingBaseDialog", nullptr, filmOnSilicon(kAluminium), {},
         {{"cbxMaterial", kAluminium}, {"dbxDepth", 1.0}, {"dbxHorizontalRatio", 0.0}},
         "Anisotropic Etching: Operation finished.", {{2, 2, -1, kAluminium, 1}}},
        {"31", "PVDOptionsBaseDialog", nullptr, siliconBelow(6, 10, 3), {},
         {{"cbxMaterial", kAluminium}, {"dbxThickness", 2.0}}, "PVD: Operation finished.",
         {{2, 2, -1, kAluminium, 2}}},
        {"30", "SimpleRIEBaseDialog", "Simple RIE Options", filmOnSilicon(kAluminium), {},
         {{"cbxMaterial", kAluminium}, {"sbxEtchDepth", 1}}, "Simple RIE: Operation finished.",
         {{2, 2, -1, kAluminium, 1}}},
        // From below only: the film's lowest layer goes, its top stays.
        {"30", "SimpleRIEBaseDialog", nullptr,
         [] { return volumeOf(6, 6, 8, [](uint32_t, uint32_t, uint32_t z) { return z >= 2 && z < 5 ? kAluminium : 0u; }); },
         {}, {{"cbxMaterial", kAluminium}, {"sbxEtchDepth", 1}, {"chkEtchFromTop", 0}, {"chkEtchFromBelow", 1}},
         "Simple RIE: Operation finished.", {{2, 2, 2, 0, 0}, {2, 2, 4, kAluminium, 0}}},
        {"17", "DopingBaseDialog", "Doping Options", siliconBelow(4, 10, 6), {},
         {{"cbxDopedMaterial", kNDoped}, {"dblDopingDepth", 1.0}}, "Doping: Operation finished.",
         {{1, 1, 5, kNDoped, 0}, {1, 1, 4, kSilicon, 0}}},
        {"3", "IonImplantationBaseDialog", "Ion Implantation Options", siliconBelow(4, 10, 6), {},
         {{"cbxDopedMaterial", kPDoped}, {"dblImplantationDepth", 3.0}, {"dblVerticalSpread", 0.0},
          {"dblAnnealingDistance", 0.0}},
         "Ion Implantation: Operation finished.", {{1, 1, -1, kPDoped, 1}, {1, 1, 3, kPDoped, 0}}},
        // D = 0.1 µm × 50 = 5: 2 cells above the surface, 2 below.
        {"26", "SiOxidationBaseDialog", "Si Oxidation Options", siliconBelow(5, 20, 10), {},
         {{"rbtGrowToThickness", 1}, {"dbxThickness", 0.1}, {"dbxMicronConversion", 50.0}},
         "Simple Si Oxidation: Operation finished.", {{2, 2, -1, kOxide, 4}, {2, 2, -1, kSilicon, 8}}},
        {"28", "WetEtchingBaseDialog", "Wet Etching Options", siliconBelow(6, 8, 4), {}, {{"dblDepth", 1.4}},
         "BCA Wet Etch: Operation finished.", {{3, 3, -1, kSilicon, 3}}},
        // Eight steps, four (100) layers: cell 9 empties.
        {"29", "ContinuousWetEtchingBaseDialog", "Wet Etching Options", siliconBelow(10, 14, 10), {},
         {{"dbxEtchDepth", 2.0}}, "Continuous Wet Etch: Operation finished.", {{5, 5, -1, kSilicon, 9}}},
        {"18", "MooreOptionsBaseDialog", "Operation Options", siliconBelow(6, 8, 3), {"lblValue", "Film Thickness"},
         {{"cbxMaterial", kOxide}, {"sbxValue", 2}}, "Moore film deposition: Operation finished.",
         {{3, 3, -1, kOxide, 2}}},
        {"19", "MooreOptionsBaseDialog", "Operation Options", filmOnSilicon(kOxide), {"lblValue", "Etch Depth"},
         {{"cbxMaterial", kOxide}}, "Moore film etching: Operation finished.", {{3, 3, -1, kOxide, 1}}},
        {"22", "PlanarizationOptionsBaseDialog", "Planarization Options", siliconBelow(6, 8, 3),
         {"sbxMaximumHeight", "8"}, {{"sbxMinimumHeight", 1}}, "Planarization: Operation finished.",
         {{3, 3, 0, 0, 0}, {3, 3, 1, kSilicon, 0}}},
        {"23", "SpinCoatingOptionsBaseDialog", "Pour Material Options", siliconBelow(6, 8, 3), {},
         {{"cbxMaterial", kCopper}, {"sbxHeight", 6}}, "Pour Material: Operation finished.",
         {{3, 3, -1, kCopper, 3}}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.id);
        auto window = makeWindow();
        auto volume = row.volume();
        window->presenter().applicationModel().scene().addObject(volume);
        bool answered = false;
        answerNextModal([&](QWidget *widget) {
            auto *dialog = qobject_cast<QDialog *>(widget);
            ASSERT_NE(dialog, nullptr);
            ASSERT_EQ(dialog->objectName(), row.form);
            if (row.title) {
                EXPECT_EQ(dialog->windowTitle(), row.title);
            }
            if (row.shown.first) {
                auto *box = dialog->findChild<QSpinBox *>(row.shown.first);
                EXPECT_EQ(box ? QString::number(box->value()) : labelText(*dialog, row.shown.first), row.shown.second);
            }
            fill(*dialog, row.fields);
            answered = true;
            dialog->accept();
        });
        window->presenter().operationActivated(row.id);
        ASSERT_TRUE(answered);
        const QString console = consoleText(*window);
        EXPECT_TRUE(console.contains(row.finished)) << console.toStdString();
        for (const Cell &cell : row.cells) {
            if (cell.z >= 0)
                EXPECT_EQ(materialAt(*volume, cell.x, cell.y, uint32_t(cell.z)), cell.material) << "z " << cell.z;
            else
                EXPECT_EQ(countInColumn(*volume, cell.x, cell.y, cell.material), cell.count) << cell.material;
        }
    }
}

TEST(ProcessDialogs, GlueAndExtractFilmRunFromTheMenuOnTheSelectedVolumes)
{
    // Runs `id` in a new window holding and selecting `volumes`; leaves the scene in `scene`.
    QList<std::shared_ptr<Model::Object>> scene;
    const auto run = [&](const char *id, const std::vector<std::shared_ptr<TotalVolume>> &volumes,
                         std::function<void(QDialog &)> answer) {
        auto window = makeWindow();
        Core::ApplicationModel &model = window->presenter().applicationModel();
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
        window->presenter().operationActivated(id);
        scene = model.scene().objects();
        return consoleText(*window);
    };
    auto base = flatVolume(10, 8, 6, 3, kSilicon);
    auto top = flatVolume(4, 3, 5, 2, kOxide);
    int offeredZ = 0;
    QString console = run("12", {base, top}, [&](QDialog &dialog) {
        EXPECT_EQ(dialog.objectName(), "GlueSubstrateForm");
        offeredZ = child<QSpinBox>(dialog, "sbxSizeZ")->value();
        set(dialog, "sbxSizeZ", 9);
        set(dialog, "sbxDisplacementX", 6);
        set(dialog, "sbxDisplacementY", 5);
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
        set(dialog, "cbxMaterial", kOxide);
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

TEST(ProcessOptionsObserver, ShowsNothingWhenTheCurrentOperationIsNotItsOwn)
{
    Core::ApplicationModel model;
    bool shown = false;
    auto observer = std::make_shared<Ui::Observers::ProcessOptionsObserver<OtherStepDialog, OtherStep>>(&model, nullptr);
    observer->setDialogRunner([&](OtherStepDialog &) { return shown = true; });
    auto step = std::make_shared<AskingStep>(&model);
    step->setOptionsObserver(observer);
    model.startOperation(step);
    EXPECT_FALSE(shown);
    EXPECT_EQ(step->thickness, -1.0);
}
