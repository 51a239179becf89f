#pragma once

#include "ProcessOptionsDialog.h"
#include "Util/Vector3D.h"

#include <QColor>
#include <cstdint>
#include <memory>
#include <vector>

class QSpinBox;

namespace Core {
namespace Operations {
class CreateSubstrateOperation;
}
}

namespace Ui {
class CreateSubstrateDialogForm;

namespace Operations {

// "Create Substrate": the volume's size and corner, and a box or a sphere of one material.
// The fields keep each other consistent: the substrate never reaches past the volume. Every
// material of the catalogue is offered.
class CreateSubstrateDialog : public ProcessOptionsDialog {
    Q_OBJECT
public:
    explicit CreateSubstrateDialog(QWidget *parent = nullptr);
    ~CreateSubstrateDialog() override;

    // Offers these materials instead.
    void setMaterials(const std::vector<Model::Materials::Material> &materials);

    uint32_t materialId() const;
    uint32_t volumeSize(int axis) const;
    Util::Vector3D corner() const;
    uint32_t substrateSize(int axis) const;
    uint32_t displacement(int axis) const;
    bool isSpherical() const;
    uint32_t centre(int axis) const;
    uint32_t radius() const;

    // A box or a sphere, as chosen.
    void applyTo(Core::Operations::CreateSubstrateOperation &operation) const;

    CreateSubstrateDialogForm *form() const { return ui.get(); }

public slots:
    // Refuses, with a "Volume too large" message box, a volume this computer cannot hold.
    void accept() override;

private slots:
    void volumeSizeXChanged(int value);
    void volumeSizeYChanged(int value);
    void volumeSizeZChanged(int value);
    void substrateSizeChanged();
    void sphericalToggled(bool spherical);

private:
    QSpinBox *volumeField(int axis) const;
    QSpinBox *substrateField(int axis) const;
    QSpinBox *displacementField(int axis) const;
    QSpinBox *centreField(int axis) const;
    void bindFields();
    QColor chosenColor() const;

    std::unique_ptr<CreateSubstrateDialogForm> ui;
    std::vector<Model::Materials::Material> materialList;
};

} // namespace Operations
} // namespace Ui
