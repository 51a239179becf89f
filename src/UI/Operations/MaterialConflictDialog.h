#pragma once

#include "Model/Materials/Material.h"
#include "Model/Persistence/MaterialConflict.h"

#include <QDialog>
#include <cstdint>
#include <memory>
#include <vector>

namespace Ui {
class MaterialConflictBaseDialog;

namespace Operations {

// Asks what to do with a loaded material whose id the catalogue gives to another name: four
// exclusive answers, none chosen at first; the replacement list is usable only with its answer.
class MaterialConflictDialog : public QDialog {
    Q_OBJECT
public:
    explicit MaterialConflictDialog(QWidget *parent = nullptr);
    ~MaterialConflictDialog() override;

    void setMaterials(const Model::Materials::Material &existing, const Model::Materials::Material &loaded,
                      const std::vector<Model::Materials::Material> &catalogue);

    // False while no answer is checked.
    bool hasChoice() const;
    Model::Persistence::MaterialConflict::Choice choice() const;
    // The material chosen in the replacement list (0 when the list is empty).
    uint32_t replacementId() const;

    MaterialConflictBaseDialog *form() const { return ui.get(); }

private:
    std::unique_ptr<MaterialConflictBaseDialog> ui;
};

} // namespace Operations
} // namespace Ui
