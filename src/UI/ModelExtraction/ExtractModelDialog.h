#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

namespace Core {
namespace Operations {
class RunModelExtraction;
}
}

namespace Ui {
class ExtractModelForm;

namespace Operations {

// "Extract Model": the non-modal tool window of a model extraction. Its three buttons run the
// operation's steps in order, each once; the third saves the netlist in a file the user names.
// Closing the window finishes the operation; the window deletes itself when closed.
class ExtractModelDialog : public QDialog {
    Q_OBJECT
public:
    // Asks for the netlist file, starting at `startAt`; an empty answer means none. Tests
    // replace it.
    using FileNameChooser = std::function<QString(QWidget *parent, const QString &startAt)>;

    ExtractModelDialog(std::weak_ptr<Core::Operations::RunModelExtraction> operation, QWidget *parent = nullptr);
    ~ExtractModelDialog() override;

    void setFileNameChooser(FileNameChooser chooser) { chooseFileName = std::move(chooser); }
    // Where the next "Save netlist" starts: the last netlist saved in this run of the program,
    // or the home folder.
    static QString lastNetlistDirectory();

    ExtractModelForm *form() const { return ui.get(); }

public slots:
    void runStepOneClicked();
    void runStepTwoClicked();
    void runStepThreeClicked();

protected:
    void closeEvent(QCloseEvent *event) override;
    // Escape closes the window like its close button, so that the operation finishes.
    void reject() override;

private:
    std::unique_ptr<ExtractModelForm> ui;
    std::weak_ptr<Core::Operations::RunModelExtraction> operation;
    FileNameChooser chooseFileName;
};

} // namespace Operations
} // namespace Ui
