#include "ExportDataDialog.h"

#include "ui_ExportDataDialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace Ui {
namespace Operations {

namespace {

const char *const kDefaultFileName = "output.csv";

QDir &lastDirectory()
{
    static QDir directory = QDir::home();
    return directory;
}

} // namespace

ExportDataDialog::ExportDataDialog(const QStringList &fieldNames, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<ExportDataForm>())
{
    ui->setupUi(this);
    ui->txtOutputFilename->setText(lastDirectory().path() + QDir::separator() + QLatin1String(kDefaultFileName));
    ui->cbxDataToExport->addItems(fieldNames);
    connect(ui->btnChooseFile, &QPushButton::clicked, this, &ExportDataDialog::chooseFile);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, &QDialog::accepted, this, &ExportDataDialog::onAccepted);
}

ExportDataDialog::~ExportDataDialog() = default;

QString ExportDataDialog::fileName() const
{
    return ui->txtOutputFilename->text();
}

QString ExportDataDialog::chosenField() const
{
    return ui->cbxDataToExport->currentText();
}

QDir ExportDataDialog::lastExportDirectory()
{
    return lastDirectory();
}

void ExportDataDialog::chooseFile()
{
    const QString name = QFileDialog::getSaveFileName(this, QStringLiteral("Choose Output File"),
                                                      lastDirectory().path(), QStringLiteral("CSV File (*.csv)"));
    if (!name.isEmpty())
        ui->txtOutputFilename->setText(name);
}

// The next export starts in the folder of this one's file.
void ExportDataDialog::onAccepted()
{
    lastDirectory() = QFileInfo(fileName()).absoluteDir();
}

} // namespace Operations
} // namespace Ui
