#include "RandomWalkDopingDialog.h"

#include "MaterialChooser.h"
#include "Core/Operations/RandomWalkDoping/RandomWalkDoping.h"
#include "Core/Operations/RandomWalkDoping/RandomWalkDopingOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "Model/Materials/MaterialIds.h"
#include "ui_RandomWalkDopingDialog.h"

namespace Ui {
namespace Operations {

namespace {

namespace Parameters = Engine::Parameters;

// Stored value = shown value × factor.
constexpr double kSquareCentimetre = 1e-4;  // m² per cm²
constexpr double kMicrometre = 1e-6;        // m per µm
constexpr double kPerCubicCentimetre = 1e6; // m⁻³ per cm⁻³
constexpr double kMinute = 60.0;            // s per minute
constexpr double kPerCent = 0.01;

} // namespace

RandomWalkDopingDialog::RandomWalkDopingDialog(QWidget *parent)
    : ProcessOptionsDialog(parent), ui(std::make_unique<RandomWalkDopingBaseDialog>())
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox);

    auto bindScaled = [this](const char *name, QDoubleSpinBox *box, double factor) {
        bind(QLatin1String(name), [box, factor] { return QVariant(box->value() * factor); },
             [box, factor](const QVariant &v) { box->setValue(v.toDouble() / factor); });
    };
    bindScaled(Parameters::kDiffusionCoefficient, ui->dbxDiffusionCoefficient, kSquareCentimetre);
    bindScaled(Parameters::kCellSize, ui->dbxCellSize, kMicrometre);
    bindScaled(Parameters::kTimeStepDuration, ui->dbxTimeStepDuration, 1.0);
    bindScaled(Parameters::kSurfaceConcentration, ui->dbxSurfaceConcentration, kPerCubicCentimetre);
    bindScaled(Parameters::kDopingTime, ui->dbxDopingTime, kMinute);
    // The threshold is a share of the surface concentration, so it is bound after it.
    auto surface = ui->dbxSurfaceConcentration;
    auto threshold = ui->dbxThreshold;
    bind(QLatin1String(Parameters::kDopingThreshold),
         [surface, threshold] { return QVariant(threshold->value() * surface->value() * kPerCubicCentimetre * kPerCent); },
         [surface, threshold](const QVariant &v) {
             const double whole = surface->value() * kPerCubicCentimetre * kPerCent;
             threshold->setValue(whole > 0.0 ? v.toDouble() / whole : 0.0);
         });
    bindMaterial(Parameters::kMaterial, ui->cbxMaterial,
                 materialsOfProcess(Core::Operations::RandomWalkDoping::kDopingProcess));
    chooseMaterial(ui->cbxMaterial, Model::Materials::kNDopedSiliconMaterial);

    for (QDoubleSpinBox *box : {static_cast<QDoubleSpinBox *>(ui->dbxDiffusionCoefficient), ui->dbxCellSize,
                                static_cast<QDoubleSpinBox *>(ui->dbxTimeStepDuration),
                                static_cast<QDoubleSpinBox *>(ui->dbxSurfaceConcentration)})
        connect(box, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, [this] { showProblem(); });
}

RandomWalkDopingDialog::~RandomWalkDopingDialog() = default;

Core::Operations::RandomWalkDopingParameters RandomWalkDopingDialog::values() const
{
    const QVariantMap map = parameters();
    Core::Operations::RandomWalkDopingParameters walk;
    walk.diffusionCoefficient = map.value(Parameters::kDiffusionCoefficient).toDouble();
    walk.cellSize = map.value(Parameters::kCellSize).toDouble();
    walk.timeStep = map.value(Parameters::kTimeStepDuration).toDouble();
    walk.surfaceConcentration = map.value(Parameters::kSurfaceConcentration).toDouble();
    walk.dopingTime = map.value(Parameters::kDopingTime).toDouble();
    walk.threshold = map.value(Parameters::kDopingThreshold).toDouble();
    walk.dopedMaterial = chosenMaterialId(ui->cbxMaterial);
    return walk;
}

void RandomWalkDopingDialog::applyTo(Core::Operations::RandomWalkDopingOperation &operation) const
{
    const auto walk = values();
    operation.setDiffusionCoefficient(walk.diffusionCoefficient);
    operation.setCellSize(walk.cellSize);
    operation.setTimeStepDuration(walk.timeStep);
    operation.setSurfaceConcentration(walk.surfaceConcentration);
    operation.setDopingTime(walk.dopingTime);
    operation.setDopingThreshold(walk.threshold);
    operation.setDopedMaterial(walk.dopedMaterial);
}

bool RandomWalkDopingDialog::showProblem()
{
    const QString problem = values().problem();
    ui->lblStability->setText(problem);
    return problem.isEmpty();
}

void RandomWalkDopingDialog::accept()
{
    if (showProblem())
        ProcessOptionsDialog::accept();
}

} // namespace Operations
} // namespace Ui
