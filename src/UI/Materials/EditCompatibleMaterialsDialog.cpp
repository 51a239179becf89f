#include "EditCompatibleMaterialsDialog.h"

#include "Model/Materials/MaterialFactory.h"
#include "Model/Process/ProcessFactory.h"
#include "ui_EditCompatibleMaterialsDialog.h"

#include <QListWidgetItem>

namespace Ui {

using Model::Materials::Material;
using Model::Process::Process;

namespace {

void addMaterialItem(QListWidget *list, const Material &material)
{
    auto *item = new QListWidgetItem(material.name(), list);
    item->setData(Qt::UserRole, material.materialId());
}

} // namespace

EditCompatibleMaterialsDialog::EditCompatibleMaterialsDialog(QWidget *parent)
    : QDialog(parent),
      ui(std::make_unique<EditCompatibleMaterialsDialogForm>()),
      workingCopy(Model::Process::ProcessFactory::instance()->processes())
{
    ui->setupUi(this);
    for (const Process &process : workingCopy)
        ui->cbxProcess->addItem(process.name(), process.processId());

    connect(ui->cbxProcess, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &EditCompatibleMaterialsDialog::processChosen);
    connect(ui->btnInsert, &QPushButton::clicked, this, &EditCompatibleMaterialsDialog::insertClicked);
    connect(ui->btnRemove, &QPushButton::clicked, this, &EditCompatibleMaterialsDialog::removeClicked);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    refreshLists();
}

EditCompatibleMaterialsDialog::~EditCompatibleMaterialsDialog() = default;

Process *EditCompatibleMaterialsDialog::chosenProcess()
{
    if (ui->cbxProcess->currentIndex() < 0)
        return nullptr;
    const uint32_t id = ui->cbxProcess->currentData().toUInt();
    for (Process &process : workingCopy)
        if (process.processId() == id)
            return &process;
    return nullptr;
}

void EditCompatibleMaterialsDialog::processChosen(int)
{
    refreshLists();
}

void EditCompatibleMaterialsDialog::refreshLists()
{
    ui->lstAvailableMaterials->clear();
    ui->lstCompatibleMaterials->clear();
    const Process *process = chosenProcess();
    if (!process)
        return;
    for (const Material &material : process->compatibleMaterialRecords())
        addMaterialItem(ui->lstCompatibleMaterials, material);
    for (const Material &material : Model::Materials::MaterialFactory::instance()->materials())
        if (!process->isCompatible(material.materialId()))
            addMaterialItem(ui->lstAvailableMaterials, material);
}

std::vector<uint32_t> EditCompatibleMaterialsDialog::selectedIds(const QListWidget *list)
{
    // In list order, whatever order the items were clicked in.
    std::vector<uint32_t> ids;
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->isSelected())
            ids.push_back(list->item(row)->data(Qt::UserRole).toUInt());
    return ids;
}

void EditCompatibleMaterialsDialog::insertClicked()
{
    if (Process *process = chosenProcess())
        for (uint32_t id : selectedIds(ui->lstAvailableMaterials))
            process->appendCompatibleMaterial(id);
    refreshLists();
}

void EditCompatibleMaterialsDialog::removeClicked()
{
    if (Process *process = chosenProcess())
        for (uint32_t id : selectedIds(ui->lstCompatibleMaterials))
            process->removeCompatibleMaterial(id);
    refreshLists();
}

} // namespace Ui
