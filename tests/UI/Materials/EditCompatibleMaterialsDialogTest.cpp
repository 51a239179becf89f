// The "Edit Compatible Materials" dialog edits a working copy of the process catalogue.
#include "Model/Materials/MaterialFactory.h"
#include "Model/Process/ProcessFactory.h"
#include "UI/Materials/EditCompatibleMaterialsDialog.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

using Model::Process::Process;
using Model::Process::ProcessFactory;

namespace {

class EditCompatibleMaterials : public ::testing::Test {
protected:
    void SetUp() override
    {
        Model::Materials::MaterialFactory::instance()->createDefaultMaterials();
        ProcessFactory::instance()->createDefaultProcesses();
        dialog = std::make_unique<Ui::EditCompatibleMaterialsDialog>();
        processChooser = dialog->findChild<QComboBox *>(QStringLiteral("cbxProcess"));
        available = dialog->findChild<QListWidget *>(QStringLiteral("lstAvailableMaterials"));
        compatible = dialog->findChild<QListWidget *>(QStringLiteral("lstCompatibleMaterials"));
        insert = dialog->findChild<QPushButton *>(QStringLiteral("btnInsert"));
        remove = dialog->findChild<QPushButton *>(QStringLiteral("btnRemove"));
        ASSERT_TRUE(processChooser && available && compatible && insert && remove);
    }

    void chooseProcess(uint32_t id) { processChooser->setCurrentIndex(processChooser->findData(id)); }

    static QStringList names(const QListWidget *list)
    {
        QStringList result;
        for (int row = 0; row < list->count(); ++row)
            result << list->item(row)->text();
        return result;
    }

    static void select(QListWidget *list, const QStringList &names)
    {
        for (const QString &name : names)
            list->findItems(name, Qt::MatchExactly).first()->setSelected(true);
    }

    std::vector<uint32_t> workingList(uint32_t processId) const
    {
        for (const Process &process : dialog->processes())
            if (process.processId() == processId)
                return process.compatibleMaterials();
        return {};
    }

    std::unique_ptr<Ui::EditCompatibleMaterialsDialog> dialog;
    QComboBox *processChooser = nullptr;
    QListWidget *available = nullptr;
    QListWidget *compatible = nullptr;
    QPushButton *insert = nullptr;
    QPushButton *remove = nullptr;
};

} // namespace

// Each process splits the catalogue into its compatible materials and the others; insert and
// remove move materials between them in a working copy only.
TEST_F(EditCompatibleMaterials, InsertAndRemoveChangeOnlyTheWorkingCopy)
{
    ASSERT_EQ(processChooser->count(), 18);
    EXPECT_EQ(processChooser->itemText(2), QStringLiteral("CVD"));
    chooseProcess(3);
    EXPECT_EQ(names(compatible), (QStringList{"Thermal Si02", "Poly-Si"}));
    EXPECT_EQ(compatible->item(1)->data(Qt::UserRole).toUInt(), 16u);
    EXPECT_EQ(available->count(), 13);
    EXPECT_TRUE(available->findItems(QStringLiteral("Poly-Si"), Qt::MatchExactly).isEmpty());

    select(available, {"Au (bulk)", "Si"});
    insert->click();
    EXPECT_EQ(workingList(3), (std::vector<uint32_t>{3, 16, 1, 9}));
    EXPECT_EQ(names(compatible), (QStringList{"Thermal Si02", "Poly-Si", "Si", "Au (bulk)"}));
    EXPECT_EQ(available->count(), 11);
    EXPECT_TRUE(available->selectedItems().isEmpty());

    select(compatible, {"Thermal Si02", "Si"});
    remove->click();
    EXPECT_EQ(workingList(3), (std::vector<uint32_t>{16, 9}));
    EXPECT_EQ(names(compatible), (QStringList{"Poly-Si", "Au (bulk)"}));
    EXPECT_TRUE(compatible->selectedItems().isEmpty());

    // Another process is untouched, and coming back shows the edited list.
    chooseProcess(7);
    EXPECT_EQ(compatible->count(), 0);
    EXPECT_EQ(available->count(), 15);
    chooseProcess(3);
    EXPECT_EQ(names(compatible), (QStringList{"Poly-Si", "Au (bulk)"}));

    EXPECT_EQ(ProcessFactory::instance()->process(3).compatibleMaterials(), (std::vector<uint32_t>{3, 16}));
    EXPECT_EQ(dialog->processes().size(), 18u);
}
