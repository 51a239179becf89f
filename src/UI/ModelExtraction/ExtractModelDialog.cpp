#include "ExtractModelDialog.h"

#include "ui_ExtractModelDialog.h"

#include "Core/Operations/ModelExtraction/RunModelExtraction.h"
#include "Model/ModelExtraction/CantileverExtraction.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace Ui {
namespace Operations {

namespace {

QString &lastDirectory()
{
    static QString directory;
    return directory;
}

QString askForNetlistFile(QWidget *parent, const QString &startAt)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Save netlist"), startAt,
                                        QStringLiteral("Circuit files *.cir"));
}

} // namespace

ExtractModelDialog::ExtractModelDialog(std::weak_ptr<Core::Operations::RunModelExtraction> operation,
                                       QWidget *parent)
    : QDialog(parent, Qt::Tool),
      ui(std::make_unique<ExtractModelForm>()),
      operation(std::move(operation)),
      chooseFileName(&askForNetlistFile)
{
    ui->setupUi(this);
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    connect(ui->btnRunStepOne, &QPushButton::clicked, this, &ExtractModelDialog::runStepOneClicked);
    connect(ui->btnRunStepTwo, &QPushButton::clicked, this, &ExtractModelDialog::runStepTwoClicked);
    connect(ui->btnRunStepThree, &QPushButton::clicked, this, &ExtractModelDialog::runStepThreeClicked);
}

ExtractModelDialog::~ExtractModelDialog() = default;

QString ExtractModelDialog::lastNetlistDirectory()
{
    return lastDirectory().isEmpty() ? QDir::homePath() : lastDirectory();
}

void ExtractModelDialog::runStepOneClicked()
{
    if (auto op = operation.lock())
        op->runStepOne();
    ui->btnRunStepOne->setEnabled(false);
    ui->btnRunStepTwo->setEnabled(true);
}

void ExtractModelDialog::runStepTwoClicked()
{
    if (auto op = operation.lock())
        op->runStepTwo();
    ui->btnRunStepTwo->setEnabled(false);
    ui->btnRunStepThree->setEnabled(true);
}

void ExtractModelDialog::runStepThreeClicked()
{
    const auto op = operation.lock();
    const QString text = op ? op->netlist() : QString();
    if (text.isEmpty()) {
        QMessageBox::information(this, QStringLiteral("No model data"), QStringLiteral("No model data was extracted."));
        return;
    }
    const QString fileName = chooseFileName(this, lastNetlistDirectory());
    if (fileName.isEmpty())
        return;
    lastDirectory() = fileName;
    if (!Model::ModelExtraction::saveNetlist(fileName, text))
        QMessageBox::warning(this, QStringLiteral("File Error"), QStringLiteral("Unable to save to selected file!"));
}

void ExtractModelDialog::closeEvent(QCloseEvent *event)
{
    if (auto op = operation.lock())
        op->finish();
    event->accept();
}

void ExtractModelDialog::reject()
{
    close();
}

} // namespace Operations
} // namespace Ui
