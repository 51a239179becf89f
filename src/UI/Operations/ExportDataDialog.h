#pragma once

#include <QDialog>
#include <QDir>
#include <QStringList>
#include <memory>

namespace Ui {
class ExportDataForm;

namespace Operations {

// Asks which data field of a cell volume to export and into which file. The file name starts
// in the folder of the last export (the home folder at first) as "output.csv".
class ExportDataDialog : public QDialog {
    Q_OBJECT
public:
    // `fieldNames`: the volume's property names, in key order.
    explicit ExportDataDialog(const QStringList &fieldNames, QWidget *parent = nullptr);
    ~ExportDataDialog() override;

    QString fileName() const;
    QString chosenField() const;

    // The folder of the last accepted export, for the whole process.
    static QDir lastExportDirectory();

    ExportDataForm *form() const { return ui.get(); }

private slots:
    void chooseFile();
    void onAccepted();

private:
    std::unique_ptr<ExportDataForm> ui;
};

} // namespace Operations
} // namespace Ui
