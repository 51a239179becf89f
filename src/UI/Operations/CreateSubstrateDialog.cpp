#include "CreateSubstrateDialog.h"

#include "MaterialChooser.h"
#include "Model/Automaton/TotalVolume.h"
#include "ui_CreateSubstrateDialog.h"

#include <QMessageBox>

namespace Ui {
namespace Operations {

namespace {
const char *const kVolumeSize[3] = {"Volume Size X", "Volume Size Y", "Volume Size Z"};
const char *const kSubstrateSize[3] = {"Substrate Size X", "Substrate Size Y", "Substrate Size Z"};
const char *const kDelta[3] = {"Substrate Delta X", "Substrate Delta Y", "Substrate Delta Z"};
const char *const kCentre[3] = {"Substrate Center X", "Substrate Center Y", "Substrate Center Z"};
const char *const kCorner = "Lower Left Front Corner";
const char *const kSpherical = "SphericalSubstrate";
const char *const kRadius = "Substrate Radius";
const char *const kMaterialId = "Material_Id";
const char *const kMaterialName = "Material";
const char *const kMaterialColor = "Material_Color";
} // namespace

CreateSubstrateDialog::CreateSubstrateDialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<CreateSubstrateDialogForm>())
{
    ui->setupUi(this);
    connect(ui->sbxVolumeSizeX, qOverload<int>(&QSpinBox::valueChanged), this,
            &CreateSubstrateDialog::volumeSizeXChanged);
    connect(ui->sbxVolumeSizeY, qOverload<int>(&QSpinBox::valueChanged), this,
            &CreateSubstrateDialog::volumeSizeYChanged);
    connect(ui->sbxVolumeSizeZ, qOverload<int>(&QSpinBox::valueChanged), this,
            &CreateSubstrateDialog::volumeSizeZChanged);
    for (int axis = 0; axis < 3; ++axis)
        connect(substrateField(axis), qOverload<int>(&QSpinBox::valueChanged), this,
                &CreateSubstrateDialog::substrateSizeChanged);
    connect(ui->chkSpherical, &QCheckBox::toggled, this, &CreateSubstrateDialog::sphericalToggled);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &CreateSubstrateDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &CreateSubstrateDialog::reject);

    // Bring every coupled limit in line with the initial values.
    volumeSizeXChanged(ui->sbxVolumeSizeX->value());
    volumeSizeYChanged(ui->sbxVolumeSizeY->value());
    volumeSizeZChanged(ui->sbxVolumeSizeZ->value());
    substrateSizeChanged();
    sphericalToggled(ui->chkSpherical->isChecked());
}

CreateSubstrateDialog::~CreateSubstrateDialog() = default;

QSpinBox *CreateSubstrateDialog::volumeField(int axis) const
{
    QSpinBox *fields[3] = {ui->sbxVolumeSizeX, ui->sbxVolumeSizeY, ui->sbxVolumeSizeZ};
    return fields[axis];
}

QSpinBox *CreateSubstrateDialog::substrateField(int axis) const
{
    QSpinBox *fields[3] = {ui->sbxSubstrateSizeX, ui->sbxSubstrateSizeY, ui->sbxSubstrateSizeZ};
    return fields[axis];
}

QSpinBox *CreateSubstrateDialog::displacementField(int axis) const
{
    QSpinBox *fields[3] = {ui->sbxDeltaX, ui->sbxDeltaY, ui->sbxDeltaZ};
    return fields[axis];
}

QSpinBox *CreateSubstrateDialog::centreField(int axis) const
{
    QSpinBox *fields[3] = {ui->sbxCenterX, ui->sbxCenterY, ui->sbxCenterZ};
    return fields[axis];
}

void CreateSubstrateDialog::volumeSizeXChanged(int value)
{
    ui->sbxSubstrateSizeX->setMaximum(value);
    ui->sbxSubstrateSizeX->setValue(value);
    ui->sbxDeltaX->setMaximum(0);
    ui->sbxCenterX->setMaximum(value - 1);
}

void CreateSubstrateDialog::volumeSizeYChanged(int value)
{
    ui->sbxSubstrateSizeY->setMaximum(value);
    ui->sbxSubstrateSizeY->setValue(value);
    ui->sbxDeltaY->setMaximum(0);
    ui->sbxCenterY->setMaximum(value - 1);
}

void CreateSubstrateDialog::volumeSizeZChanged(int value)
{
    ui->sbxSubstrateSizeZ->setMaximum(value);
    ui->sbxDeltaZ->setMaximum(value - ui->sbxSubstrateSizeZ->value());
    ui->sbxCenterZ->setMaximum(value - 1);
}

void CreateSubstrateDialog::substrateSizeChanged()
{
    for (int axis = 0; axis < 3; ++axis)
        displacementField(axis)->setMaximum(volumeField(axis)->value() - substrateField(axis)->value());
}

void CreateSubstrateDialog::sphericalToggled(bool spherical)
{
    ui->boxFields->setEnabled(!spherical);
    ui->sphereFields->setEnabled(spherical);
}

void CreateSubstrateDialog::setMaterials(const std::vector<Model::Materials::Material> &materials)
{
    materialList = materials;
    fillMaterialChooser(ui->cbxMaterial, materials);
}

uint32_t CreateSubstrateDialog::materialId() const
{
    return chosenMaterialId(ui->cbxMaterial);
}

uint32_t CreateSubstrateDialog::volumeSize(int axis) const
{
    return uint32_t(volumeField(axis)->value());
}

Util::Vector3D CreateSubstrateDialog::corner() const
{
    return Util::Vector3D(ui->dblCornerX->value(), ui->dblCornerY->value(), ui->dblCornerZ->value());
}

uint32_t CreateSubstrateDialog::substrateSize(int axis) const
{
    return uint32_t(substrateField(axis)->value());
}

uint32_t CreateSubstrateDialog::displacement(int axis) const
{
    return uint32_t(displacementField(axis)->value());
}

bool CreateSubstrateDialog::isSpherical() const
{
    return ui->chkSpherical->isChecked();
}

uint32_t CreateSubstrateDialog::centre(int axis) const
{
    return uint32_t(centreField(axis)->value());
}

uint32_t CreateSubstrateDialog::radius() const
{
    return uint32_t(ui->sbxRadius->value());
}

QVariantMap CreateSubstrateDialog::parameters() const
{
    QVariantMap values;
    values.insert(kMaterialId, materialId());
    values.insert(kMaterialName, ui->cbxMaterial->currentText());
    QColor color;
    for (const auto &material : materialList)
        if (material.materialId() == materialId())
            color = materialColor(material);
    color.setAlpha(255);
    values.insert(kMaterialColor, color);
    const Util::Vector3D c = corner();
    values.insert(kCorner, QVariantList{c.x, c.y, c.z});
    for (int axis = 0; axis < 3; ++axis) {
        values.insert(kVolumeSize[axis], volumeSize(axis));
        values.insert(kSubstrateSize[axis], substrateSize(axis));
        values.insert(kDelta[axis], displacement(axis));
        values.insert(kCentre[axis], centre(axis));
    }
    values.insert(kSpherical, isSpherical());
    values.insert(kRadius, radius());
    return values;
}

void CreateSubstrateDialog::loadParameters(const QVariantMap &values)
{
    // Volume sizes first: they reset the substrate limits that the later values must respect.
    for (int axis = 0; axis < 3; ++axis)
        if (values.contains(kVolumeSize[axis]))
            volumeField(axis)->setValue(values.value(kVolumeSize[axis]).toInt());
    for (int axis = 0; axis < 3; ++axis) {
        if (values.contains(kSubstrateSize[axis]))
            substrateField(axis)->setValue(values.value(kSubstrateSize[axis]).toInt());
        if (values.contains(kDelta[axis]))
            displacementField(axis)->setValue(values.value(kDelta[axis]).toInt());
        if (values.contains(kCentre[axis]))
            centreField(axis)->setValue(values.value(kCentre[axis]).toInt());
    }
    const QVariantList c = values.value(kCorner).toList();
    if (c.size() == 3) {
        ui->dblCornerX->setValue(c[0].toDouble());
        ui->dblCornerY->setValue(c[1].toDouble());
        ui->dblCornerZ->setValue(c[2].toDouble());
    }
    if (values.contains(kSpherical))
        ui->chkSpherical->setChecked(values.value(kSpherical).toBool());
    if (values.contains(kRadius))
        ui->sbxRadius->setValue(values.value(kRadius).toInt());
    if (values.contains(kMaterialId))
        chooseMaterial(ui->cbxMaterial, values.value(kMaterialId).toUInt());
}

void CreateSubstrateDialog::accept()
{
    QString why;
    if (!Model::Automaton::TotalVolume::sizeIsAcceptable(volumeSize(0), volumeSize(1), volumeSize(2), &why)) {
        QMessageBox::warning(this, QStringLiteral("Volume too large"), why);
        return;
    }
    QDialog::accept();
}

} // namespace Operations
} // namespace Ui
