// The material dialogs: "Manage Materials" (its table model, the colour editor, "Add Material"
// and the refusal of unphysical constants) and "Edit Compatible Materials", which edits a working
// copy of the process catalogue.

#include "../UiTestSupport.h"

#include "Model/Materials/MaterialFactory.h"
#include "Model/Process/ProcessFactory.h"
#include "UI/Materials/ColorItemDelegate.h"
#include "UI/Materials/EditCompatibleMaterialsDialog.h"
#include "UI/Materials/ManageMaterialsDialog.h"
#include "UI/Materials/MaterialTableViewItem.h"

#include <QApplication>
#include <QColorDialog>
#include <QListWidget>
#include <QTableView>

using Model::Materials::Material;
using Model::Materials::MaterialFactory;
using Model::Process::Process;
using Model::Process::ProcessFactory;
using Ui::MaterialTableViewItem;

namespace {

const Material kSilicon(1, QStringLiteral("Si"), 2329, 1.88e11f, 0.28f);
const Material kUser(2100, QStringLiteral("Glue"), 1100, 2e9f, 0.45f, {1.0f, 0.0f, 0.2f, 0.5f});

class MaterialTable : public ::testing::Test {
protected:
    MaterialTableViewItem model{{kSilicon, kUser}};

    QModelIndex cell(int row, int column) const { return model.index(row, column); }
};

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

TEST_F(MaterialTable, OnlyUserMaterialsHaveEditableNamesAndIdsNeverAre)
{
    const auto editable = [this](int row, int column) {
        return model.flags(cell(row, column)).testFlag(Qt::ItemIsEditable);
    };
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 6; ++column)
            EXPECT_EQ(editable(row, column), column > 1 || (column == 1 && row == 1)) << row << " " << column;
    EXPECT_FALSE(model.setData(cell(0, 1), QStringLiteral("Silicon")));
    EXPECT_FALSE(model.setData(cell(1, 0), 2200u));
    EXPECT_EQ(model.materials()[0], kSilicon);
    EXPECT_EQ(model.materials()[1], kUser);
}

TEST_F(MaterialTable, ShowsAndEditsColoursByChannelAndNumbersThroughDouble)
{
    EXPECT_EQ(model.data(cell(0, 0)).toUInt(), 1u);
    EXPECT_EQ(model.data(cell(0, 1)).toString(), QStringLiteral("Si"));
    EXPECT_EQ(model.data(cell(0, 2)).value<QColor>(), QColor(127, 127, 127, 255));
    EXPECT_EQ(model.data(cell(1, 2)).value<QColor>(), QColor(255, 0, 51, 127));
    EXPECT_FLOAT_EQ(model.data(cell(0, 4)).toFloat(), 1.88e11f);
    // Numbers are edited as text that reads back as the same float.
    EXPECT_EQ(model.data(cell(0, 4), Qt::EditRole).toString(), QStringLiteral("1.88e+11"));
    EXPECT_EQ(model.data(cell(1, 5), Qt::EditRole).toString(), QStringLiteral("0.45"));

    EXPECT_TRUE(model.setData(cell(0, 2), QColor(255, 51, 0, 128)));
    const Model::Materials::Color expected{1.0f, 0.2f, 0.0f, 128 / 255.0f};
    EXPECT_EQ(model.materials()[0].color(), expected);
    EXPECT_EQ(model.data(cell(0, 2)).value<QColor>(), QColor(255, 51, 0, 128));

    EXPECT_TRUE(model.setData(cell(0, 3), 7.5));
    EXPECT_TRUE(model.setData(cell(0, 4), QStringLiteral("1.5e+11")));
    EXPECT_TRUE(model.setData(cell(0, 5), QStringLiteral("0.3")));
    EXPECT_TRUE(model.setData(cell(1, 1), QStringLiteral("Epoxy")));
    EXPECT_EQ(model.materials()[0], Material(1, QStringLiteral("Si"), 7.5f, 1.5e11f, 0.3f, expected));
    EXPECT_EQ(model.materials()[1].name(), QStringLiteral("Epoxy"));

    // Values that do not fit the column leave the material as it was.
    EXPECT_FALSE(model.setData(cell(0, 3), QStringLiteral("heavy")));
    EXPECT_FALSE(model.setData(cell(1, 1), QStringLiteral("  ")));
    EXPECT_FALSE(model.setData(cell(0, 3), 9.0, Qt::DisplayRole));
    EXPECT_EQ(model.materials()[0].density(), 7.5f);
    EXPECT_EQ(model.materials()[1].name(), QStringLiteral("Epoxy"));
}

TEST(ManageMaterialsDialog, ShowsTheCatalogueAndAddsRowsWithoutTouchingIt)
{
    auto catalogue = MaterialFactory::instance();
    catalogue->createDefaultMaterials();
    Ui::ManageMaterialsDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Manage Materials"));
    EXPECT_EQ(dialog.materials(), catalogue->materials());

    auto *add = dialog.findChild<QPushButton *>(QStringLiteral("btnAddMaterial"));
    ASSERT_NE(add, nullptr);
    add->click();
    add->click();
    ASSERT_EQ(dialog.materials().size(), 17u);
    EXPECT_EQ(catalogue->materials().size(), 15u);
    // Fresh distinct user ids, no constants yet, and an editable name.
    const Material added = dialog.materials()[15];
    EXPECT_EQ(added, Material(added.materialId(), QStringLiteral("New Material"), 0, 0, 0));
    EXPECT_GE(added.materialId(), 2000u);
    EXPECT_EQ(catalogue->material(added.materialId()).materialId(), 0u);
    EXPECT_NE(dialog.materials()[16].materialId(), added.materialId());
    EXPECT_TRUE(dialog.tableModel()->flags(dialog.tableModel()->index(15, 1)).testFlag(Qt::ItemIsEditable));
}

TEST(ManageMaterialsDialog, ColourEditorCommitsOnAcceptOnly)
{
    MaterialFactory::instance()->createDefaultMaterials();
    Ui::ManageMaterialsDialog dialog;
    auto *table = dialog.findChild<QTableView *>(QStringLiteral("tblMaterials"));
    ASSERT_NE(table, nullptr);
    ASSERT_NE(qobject_cast<Ui::ColorItemDelegate *>(table->itemDelegateForColumn(2)), nullptr);
    dialog.show();
    const QModelIndex silicon = dialog.tableModel()->index(0, MaterialTableViewItem::ColorColumn);

    const auto openEditor = [&]() {
        table->edit(silicon);
        QApplication::processEvents();
        return table->findChild<QColorDialog *>();
    };

    QColorDialog *editor = openEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->currentColor(), QColor(127, 127, 127));
    editor->setCurrentColor(QColor(10, 20, 30));
    editor->reject();
    QApplication::processEvents();
    EXPECT_EQ(dialog.materials()[0].toQColor(), QColor(127, 127, 127));

    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    editor = openEditor();
    ASSERT_NE(editor, nullptr);
    editor->setCurrentColor(QColor(10, 20, 30));
    editor->accept();
    QApplication::processEvents();
    EXPECT_EQ(dialog.materials()[0].toQColor(), QColor(10, 20, 30));
}

TEST(ManageMaterialsDialog, UnphysicalConstantsAreRefusedWithAMessageAndTheDialogStaysOpen)
{
    MaterialFactory::instance()->createDefaultMaterials();
    Ui::ManageMaterialsDialog dialog;
    const int silicon = 0;
    struct Case {
        int column;
        double value;
        bool accepted;
    };
    const Case cases[] = {
        {MaterialTableViewItem::DensityColumn, 0.0, false},
        {MaterialTableViewItem::DensityColumn, -5.0, false},
        {MaterialTableViewItem::YoungModulusColumn, 0.0, false},
        {MaterialTableViewItem::PoissonRatioColumn, 0.5, false},
        {MaterialTableViewItem::PoissonRatioColumn, -1.0, false},
        {MaterialTableViewItem::PoissonRatioColumn, -0.2, true}, // auxetic materials exist
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.column) + " " + std::to_string(c.value));
        Ui::ManageMaterialsDialog fresh;
        fresh.show();
        ASSERT_TRUE(fresh.tableModel()->setData(fresh.tableModel()->index(silicon, c.column), c.value, Qt::EditRole));
        const auto told = c.accepted ? nullptr : UiTest::answerNextBox();
        fresh.accept();
        EXPECT_EQ(fresh.result() == QDialog::Accepted, c.accepted);
        EXPECT_EQ(fresh.isVisible(), !c.accepted);
        if (told) {
            EXPECT_TRUE(told->text.contains(QStringLiteral("\"Si\" (id 1)"))) << told->text.toStdString();
        }
    }
    // A new row must be given its constants before the table is accepted.
    dialog.findChild<QPushButton *>(QStringLiteral("btnAddMaterial"))->click();
    EXPECT_FALSE(Ui::ManageMaterialsDialog::propertyProblem(dialog.materials().back()).isEmpty());
}

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
