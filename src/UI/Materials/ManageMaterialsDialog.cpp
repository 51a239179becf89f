#include "ManageMaterialsDialog.h"

#include "ColorItemDelegate.h"
#include "MaterialTableViewItem.h"
#include "Model/Materials/MaterialFactory.h"
#include "ui_ManageMaterialsDialog.h"

#include <QHeaderView>
#include <QMessageBox>

namespace Ui {

ManageMaterialsDialog::ManageMaterialsDialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<ManageMaterialsDialogForm>())
{
    ui->setupUi(this);
    model = new MaterialTableViewItem(Model::Materials::MaterialFactory::instance()->materials(), this);
    ui->tblMaterials->setModel(model);
    ui->tblMaterials->setItemDelegateForColumn(MaterialTableViewItem::ColorColumn, new ColorItemDelegate(this));
    ui->tblMaterials->horizontalHeader()->setSectionResizeMode(MaterialTableViewItem::NameColumn,
                                                               QHeaderView::Stretch);

    connect(ui->btnAddMaterial, &QPushButton::clicked, this, &ManageMaterialsDialog::addMaterialClicked);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

ManageMaterialsDialog::~ManageMaterialsDialog() = default;

std::vector<Model::Materials::Material> ManageMaterialsDialog::materials() const
{
    return model->materials();
}

QString ManageMaterialsDialog::propertyProblem(const Model::Materials::Material &material, int *column)
{
    const QString who = QStringLiteral("\"%1\" (id %2)").arg(material.name()).arg(material.materialId());
    auto problem = [&](int wrongColumn, const QString &text) {
        if (column)
            *column = wrongColumn;
        return text;
    };
    if (!(material.density() > 0.0f))
        return problem(MaterialTableViewItem::DensityColumn,
                       QStringLiteral("The density of %1 is %2; a density must be greater than 0.")
                           .arg(who).arg(double(material.density())));
    if (!(material.youngModulus() > 0.0f))
        return problem(MaterialTableViewItem::YoungModulusColumn,
                       QStringLiteral("The Young modulus of %1 is %2; a Young modulus must be greater than 0.")
                           .arg(who).arg(double(material.youngModulus())));
    if (!(material.poissonRatio() > -1.0f && material.poissonRatio() < 0.5f))
        return problem(MaterialTableViewItem::PoissonRatioColumn,
                       QStringLiteral("The Poisson ratio of %1 is %2; a Poisson ratio must lie between -1 and 0.5, "
                                      "both excluded.")
                           .arg(who).arg(double(material.poissonRatio())));
    return QString();
}

void ManageMaterialsDialog::accept()
{
    const std::vector<Model::Materials::Material> rows = model->materials();
    for (size_t row = 0; row < rows.size(); ++row) {
        int column = 0;
        const QString problem = propertyProblem(rows[row], &column);
        if (problem.isEmpty())
            continue;
        const QModelIndex wrong = model->index(int(row), column);
        ui->tblMaterials->scrollTo(wrong);
        ui->tblMaterials->setCurrentIndex(wrong);
        QMessageBox::warning(this, QStringLiteral("Invalid material property"),
                             problem + QStringLiteral(" Correct it, or press Cancel to keep the catalogue as it was."));
        return;
    }
    QDialog::accept();
}

void ManageMaterialsDialog::addMaterialClicked()
{
    const int row = model->addMaterial();
    const QModelIndex name = model->index(row, MaterialTableViewItem::NameColumn);
    ui->tblMaterials->scrollTo(name);
    ui->tblMaterials->setCurrentIndex(name);
}

} // namespace Ui
