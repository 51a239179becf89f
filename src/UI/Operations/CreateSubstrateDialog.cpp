#include "CreateSubstrateDialog.h"

#include "MaterialChooser.h"
#include "Core/Operations/CreateSubstrate/CreateSubstrateOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/ProcessValueCodec.h"
#include "Model/Automaton/TotalVolume.h"
#include "ui_CreateSubstrateDialog.h"

#include <QMessageBox>

namespace Ui {
namespace Operations {

namespace Parameters = Engine::Parameters;

CreateSubstrateDialog::CreateSubstrateDialog(QWidget *parent)
    : ProcessOptionsDialog(parent), ui(std::make_unique<CreateSubstrateDialogForm>())
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
    connectButtons(ui->buttonBox);

    // Bring every coupled limit in line with the initial values.
    volumeSizeXChanged(ui->sbxVolumeSizeX->value());
    volumeSizeYChanged(ui->sbxVolumeSizeY->value());
    volumeSizeZChanged(ui->sbxVolumeSizeZ->value());
    substrateSizeChanged();
    sphericalToggled(ui->chkSpherical->isChecked());
    bindFields();
}

// Volume sizes first: loading them resets the substrate limits that the later values must respect.
void CreateSubstrateDialog::bindFields()
{
    for (int axis = 0; axis < 3; ++axis)
        bindCount(Parameters::kVolumeSize[axis], volumeField(axis));
    for (int axis = 0; axis < 3; ++axis) {
        bindCount(Parameters::kSubstrateSize[axis], substrateField(axis));
        bindCount(Parameters::kSubstrateDelta[axis], displacementField(axis));
        bindCount(Parameters::kSubstrateCenter[axis], centreField(axis));
    }
    // A vector, or a list of three numbers, is read back.
    bind(Parameters::kLowerLeftFrontCorner, [this] { return QVariant::fromValue(corner()); },
         [this](const QVariant &value) {
             Util::Vector3D c;
             if (!Engine::vector3DFromVariant(value, c))
                 return;
             ui->dblCornerX->setValue(c.x);
             ui->dblCornerY->setValue(c.y);
             ui->dblCornerZ->setValue(c.z);
         });
    bindFlag(Parameters::kSphericalSubstrate, ui->chkSpherical);
    bindCount(Parameters::kSubstrateRadius, ui->sbxRadius);
    materialList = allMaterials();
    bindMaterial(Parameters::kMaterial, ui->cbxMaterial, materialList);
    bind(Parameters::kMaterial, [this] { return QVariant(ui->cbxMaterial->currentText()); });
    bind(Parameters::colorOf(Parameters::kMaterial), [this] { return QVariant(chosenColor()); });
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

QColor CreateSubstrateDialog::chosenColor() const
{
    QColor color;
    for (const auto &material : materialList)
        if (material.materialId() == materialId())
            color = materialColor(material);
    color.setAlpha(255); // lists keep material colours opaque
    return color;
}

void CreateSubstrateDialog::applyTo(Core::Operations::CreateSubstrateOperation &operation) const
{
    if (isSpherical())
        operation.setSphere(materialId(), volumeSize(0), volumeSize(1), volumeSize(2), corner(), centre(0),
                            centre(1), centre(2), radius());
    else
        operation.setBox(materialId(), volumeSize(0), volumeSize(1), volumeSize(2), corner(), displacement(0),
                         displacement(1), displacement(2), substrateSize(0), substrateSize(1), substrateSize(2));
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
