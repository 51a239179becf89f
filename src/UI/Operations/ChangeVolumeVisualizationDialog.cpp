#include "ChangeVolumeVisualizationDialog.h"

#include "Model/Materials/MaterialFactory.h"
#include "ui_ChangeVolumeVisualizationDialog.h"

#include <QColorDialog>

namespace Ui {
namespace Operations {

namespace {

QColor toQColor(const Model::Materials::Color &c)
{
    return QColor::fromRgbF(c[0], c[1], c[2], c[3]);
}

QString twoHexDigits(float channel)
{
    return QString::number(int(channel * 255.0f), 16).rightJustified(2, QLatin1Char('0'));
}

} // namespace

ChangeVolumeVisualizationDialog::ChangeVolumeVisualizationDialog(
    const Model::Rendering::VisualizationOptions &current, QWidget *parent)
    : QDialog(parent),
      ui(std::make_unique<ChangeVolumeVisualizationDialogForm>()),
      chooseColor([](const QColor &start, QWidget *owner) {
          return QColorDialog::getColor(start, owner, QStringLiteral("Select new film color"),
                                        QColorDialog::ShowAlphaChannel);
      })
{
    ui->setupUi(this);
    for (const Model::Materials::Material &material : Model::Materials::MaterialFactory::instance()->materials()) {
        catalogueColors[material.materialId()] = material.color();
        ui->cbxMaterial->addItem(material.name(), material.materialId());
    }

    ui->chkRenderSiAtoms->setChecked(current.renderSiAtoms);
    ui->chkRenderSurfaceAtomsOnly->setChecked(current.renderSurfaceAtomsOnly);
    ui->chkRenderSurfaceAtomsOnly->setEnabled(current.renderSiAtoms);
    ui->chkRenderAtomLinks->setChecked(current.renderAtomLinks);
    ui->chkRenderUnitCells->setChecked(current.renderUnitCells);
    ui->chkRenderUnitCellOutlines->setChecked(current.renderUnitCellOutlines);
    ui->chkRenderEmptyVoxelOutlines->setChecked(current.showEmptyVoxelOutlines);
    ui->cbxSurfaceAlgorithm->setCurrentIndex(int(current.surfaceAlgorithm));
    ui->cbxDistribution->setCurrentIndex(int(current.particleDistribution));
    ui->cbxColorScale->setCurrentIndex(int(current.colorScale));
    showMaterialColor();

    connect(ui->chkRenderSiAtoms, &QCheckBox::toggled, ui->chkRenderSurfaceAtomsOnly, &QWidget::setEnabled);
    connect(ui->cbxMaterial, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &ChangeVolumeVisualizationDialog::showMaterialColor);
    connect(ui->btnChangeColor, &QPushButton::clicked, this, &ChangeVolumeVisualizationDialog::changeColor);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

ChangeVolumeVisualizationDialog::~ChangeVolumeVisualizationDialog() = default;

bool ChangeVolumeVisualizationDialog::renderSiAtoms() const { return ui->chkRenderSiAtoms->isChecked(); }
bool ChangeVolumeVisualizationDialog::renderSurfaceAtomsOnly() const
{
    return ui->chkRenderSurfaceAtomsOnly->isChecked();
}
bool ChangeVolumeVisualizationDialog::renderAtomLinks() const { return ui->chkRenderAtomLinks->isChecked(); }
bool ChangeVolumeVisualizationDialog::renderUnitCells() const { return ui->chkRenderUnitCells->isChecked(); }
bool ChangeVolumeVisualizationDialog::renderUnitCellOutlines() const
{
    return ui->chkRenderUnitCellOutlines->isChecked();
}
bool ChangeVolumeVisualizationDialog::renderEmptyVoxelOutlines() const
{
    return ui->chkRenderEmptyVoxelOutlines->isChecked();
}
int ChangeVolumeVisualizationDialog::surfaceAlgorithm() const { return ui->cbxSurfaceAlgorithm->currentIndex(); }
int ChangeVolumeVisualizationDialog::particleDistribution() const { return ui->cbxDistribution->currentIndex(); }
int ChangeVolumeVisualizationDialog::colorScale() const { return ui->cbxColorScale->currentIndex(); }

Model::Rendering::VisualizationOptions ChangeVolumeVisualizationDialog::options() const
{
    Model::Rendering::VisualizationOptions o;
    o.renderSiAtoms = renderSiAtoms();
    o.renderSurfaceAtomsOnly = renderSurfaceAtomsOnly();
    o.renderAtomLinks = renderAtomLinks();
    o.renderUnitCells = renderUnitCells();
    o.renderUnitCellOutlines = renderUnitCellOutlines();
    o.showEmptyVoxelOutlines = renderEmptyVoxelOutlines();
    o.surfaceAlgorithm = uint32_t(surfaceAlgorithm());
    o.particleDistribution = uint32_t(particleDistribution());
    o.colorScale = uint32_t(colorScale());
    return o;
}

Model::Materials::Color ChangeVolumeVisualizationDialog::colorOfCurrentMaterial() const
{
    const uint32_t id = ui->cbxMaterial->currentData().toUInt();
    const auto changed = changedColors.find(id);
    if (changed != changedColors.end())
        return changed->second;
    const auto listed = catalogueColors.find(id);
    return listed != catalogueColors.end() ? listed->second : Model::Materials::Material::kDefaultColor;
}

void ChangeVolumeVisualizationDialog::showMaterialColor()
{
    const Model::Materials::Color c = colorOfCurrentMaterial();
    ui->lblColorSwatch->setStyleSheet(
        QStringLiteral("background-color : #%1%2%3").arg(twoHexDigits(c[0]), twoHexDigits(c[1]), twoHexDigits(c[2])));
}

void ChangeVolumeVisualizationDialog::changeColor()
{
    if (ui->cbxMaterial->currentIndex() < 0)
        return;
    const QColor chosen = chooseColor(toQColor(colorOfCurrentMaterial()), this);
    if (!chosen.isValid())
        return;
    changedColors[ui->cbxMaterial->currentData().toUInt()] = {float(chosen.redF()), float(chosen.greenF()),
                                                             float(chosen.blueF()), float(chosen.alphaF())};
    showMaterialColor();
}

} // namespace Operations
} // namespace Ui
