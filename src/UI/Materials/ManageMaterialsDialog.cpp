#include "ManageMaterialsDialog.h"

#include "ColorItemDelegate.h"
#include "MaterialTableViewItem.h"
#include "Model/Materials/MaterialFactory.h"
#include "ui_ManageMaterialsDialog.h"

#include <QHeaderView>

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

void ManageMaterialsDialog::addMaterialClicked()
{
    const int row = model->addMaterial();
    const QModelIndex name = model->index(row, MaterialTableViewItem::NameColumn);
    ui->tblMaterials->scrollTo(name);
    ui->tblMaterials->setCurrentIndex(name);
}

} // namespace Ui
