#include "MoveProcessDialog.h"

#include "Engine/ProcessTypes.h"
#include "ui_MoveProcessDialog.h"

namespace Ui {

MoveProcessDialog::MoveProcessDialog(const QList<Engine::ProcessData> &list, uint32_t movedId, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<MoveProcessDialogForm>())
{
    ui->setupUi(this);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (int i = 0; i < list.size(); ++i) {
        if (list[i].id() != movedId)
            ui->cbxProcess->addItem(QString::number(i + 1) + QLatin1Char(' ') + Engine::processName(list[i].processType()),
                                    list[i].id());
    }
}

MoveProcessDialog::~MoveProcessDialog() = default;

std::optional<uint32_t> MoveProcessDialog::targetId() const
{
    if (ui->cbxProcess->currentIndex() < 0)
        return std::nullopt;
    return ui->cbxProcess->currentData().toUInt();
}

bool MoveProcessDialog::placeAfter() const
{
    return ui->rbtAfter->isChecked();
}

} // namespace Ui
