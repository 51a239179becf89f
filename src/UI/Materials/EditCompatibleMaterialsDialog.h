#pragma once

#include "Model/Process/Process.h"

#include <QDialog>
#include <memory>
#include <vector>

class QListWidget;

namespace Ui {

class EditCompatibleMaterialsDialogForm;

// "Edit Compatible Materials": for the process chosen in the combo box, moves materials between
// "Available Materials" and "Compatible Materials". Works on a copy of all processes, taken when
// the dialog opens; whoever opened it applies processes() on acceptance.
class EditCompatibleMaterialsDialog : public QDialog {
    Q_OBJECT

public:
    explicit EditCompatibleMaterialsDialog(QWidget *parent = nullptr);
    ~EditCompatibleMaterialsDialog() override;

    // The working copy, in ascending process id order.
    std::vector<Model::Process::Process> processes() const { return workingCopy; }

    EditCompatibleMaterialsDialogForm *form() const { return ui.get(); }

private slots:
    void processChosen(int index);
    void insertClicked();
    void removeClicked();

private:
    // The working-copy entry of the process chosen in the combo box, or null.
    Model::Process::Process *chosenProcess();
    // Fills both lists from the chosen process; selections are cleared.
    void refreshLists();
    static std::vector<uint32_t> selectedIds(const QListWidget *list);

    std::unique_ptr<EditCompatibleMaterialsDialogForm> ui;
    std::vector<Model::Process::Process> workingCopy;
};

} // namespace Ui
