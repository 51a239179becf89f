#pragma once

#include "Model/Materials/Material.h"

#include <QDialog>
#include <memory>
#include <vector>

namespace Ui {

class ManageMaterialsDialogForm;
class MaterialTableViewItem;

// "Manage Materials": a table of a copy of the material catalogue, taken when the dialog opens,
// where colours and constants (and the names of user materials) can be edited and materials
// added. The dialog never writes the catalogue; whoever opened it applies materials() on
// acceptance.
class ManageMaterialsDialog : public QDialog {
    Q_OBJECT

public:
    explicit ManageMaterialsDialog(QWidget *parent = nullptr);
    ~ManageMaterialsDialog() override;

    // The table rows in row order.
    std::vector<Model::Materials::Material> materials() const;

    MaterialTableViewItem *tableModel() const { return model; }

    // Accepts only a table whose densities and Young's moduli are positive and whose Poisson
    // ratios lie strictly between -1 and 0.5; otherwise says which value is wrong, selects it
    // and stays open.
    void accept() override;

    // Why a material's constants are not physical, naming the material and the value; empty
    // when they are. `column` receives the table column of the first wrong value.
    static QString propertyProblem(const Model::Materials::Material &material, int *column = nullptr);

private slots:
    void addMaterialClicked();

private:
    std::unique_ptr<ManageMaterialsDialogForm> ui;
    MaterialTableViewItem *model = nullptr;
};

} // namespace Ui
