#include "Core/ApplicationModel.h"
#include "Core/Operations/CreateSubstrate/CreateSubstrateOperation.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialFactory.h"
#include "UI/Observers/ProcessOptionsObservers.h"
#include "UI/Operations/CreateSubstrateDialog.h"
#include "common/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QMessageBox>
#include <QSpinBox>
#include <gtest/gtest.h>

using Ui::Operations::CreateSubstrateDialog;

namespace {

// The dialog's widgets, found by their object names as a user's test script would.
struct Fields {
    explicit Fields(QDialog &dialog) : dialog(dialog) {}
    QSpinBox *operator[](const char *name) const { return dialog.findChild<QSpinBox *>(name); }
    QCheckBox *spherical() const { return dialog.findChild<QCheckBox *>("chkSpherical"); }
    QComboBox *material() const { return dialog.findChild<QComboBox *>("cbxMaterial"); }
    QDoubleSpinBox *cornerX() const { return dialog.findChild<QDoubleSpinBox *>("dblCornerX"); }
    QWidget *widget(const char *name) const { return dialog.findChild<QWidget *>(name); }
    QDialog &dialog;
};

} // namespace

TEST(CreateSubstrateDialog, StartsWithTheDefaultVolumeAndSubstrate)
{
    CreateSubstrateDialog dialog;
    EXPECT_EQ(dialog.objectName(), "CreateSubstrateDialogForm");
    EXPECT_EQ(dialog.windowTitle(), "Create Substrate");
    EXPECT_EQ(dialog.volumeSize(0), 100u);
    EXPECT_EQ(dialog.volumeSize(1), 100u);
    EXPECT_EQ(dialog.volumeSize(2), 80u);
    EXPECT_EQ(dialog.substrateSize(0), 100u);
    EXPECT_EQ(dialog.substrateSize(1), 100u);
    EXPECT_EQ(dialog.substrateSize(2), 30u);
    EXPECT_EQ(dialog.displacement(2), 0u);
    EXPECT_EQ(dialog.radius(), 50u);
    EXPECT_FALSE(dialog.isSpherical());
    EXPECT_EQ(Fields(dialog)["sbxDeltaZ"]->maximum(), 50);
    EXPECT_EQ(Fields(dialog)["sbxVolumeSizeX"]->maximum(), 10000);
}

TEST(CreateSubstrateDialog, KeepsTheSubstrateInsideTheVolume)
{
    CreateSubstrateDialog dialog;
    Fields f(dialog);

    f["sbxVolumeSizeX"]->setValue(40);
    EXPECT_EQ(f["sbxSubstrateSizeX"]->maximum(), 40);
    EXPECT_EQ(f["sbxSubstrateSizeX"]->value(), 40);
    EXPECT_EQ(f["sbxCenterX"]->maximum(), 39);
    f["sbxSubstrateSizeX"]->setValue(25);
    EXPECT_EQ(f["sbxDeltaX"]->maximum(), 15);

    f["sbxVolumeSizeZ"]->setValue(20); // the substrate height is kept, within the new maximum
    EXPECT_EQ(f["sbxSubstrateSizeZ"]->maximum(), 20);
    EXPECT_EQ(f["sbxSubstrateSizeZ"]->value(), 20);
    EXPECT_EQ(f["sbxDeltaZ"]->maximum(), 0);
    EXPECT_EQ(f["sbxCenterZ"]->maximum(), 19);
    f["sbxSubstrateSizeZ"]->setValue(5);
    EXPECT_EQ(f["sbxDeltaZ"]->maximum(), 15);

    f.spherical()->setChecked(true);
    EXPECT_FALSE(f.widget("boxFields")->isEnabled());
    EXPECT_TRUE(f.widget("sphereFields")->isEnabled());
}

TEST(CreateSubstrateDialog, ParametersRoundTripUnderTheirListNames)
{
    CreateSubstrateDialog source;
    source.setMaterials(Model::Materials::MaterialFactory::instance()->materials());
    Fields f(source);
    f["sbxVolumeSizeX"]->setValue(30);
    f["sbxVolumeSizeZ"]->setValue(12);
    f["sbxSubstrateSizeZ"]->setValue(4);
    f["sbxDeltaZ"]->setValue(3);
    f.cornerX()->setValue(-2.5);
    f.material()->setCurrentIndex(f.material()->findData(4u));
    const QVariantMap values = source.parameters();
    EXPECT_EQ(values.value("Volume Size X").toUInt(), 30u);
    EXPECT_EQ(values.value("Substrate Delta Z").toUInt(), 3u);
    EXPECT_EQ(values.value("Material_Id").toUInt(), 4u);
    EXPECT_EQ(values.value("Material").toString(), "Al (bulk)");
    EXPECT_FALSE(values.value("SphericalSubstrate").toBool());

    CreateSubstrateDialog target;
    target.setMaterials(Model::Materials::MaterialFactory::instance()->materials());
    target.loadParameters(values);
    EXPECT_EQ(target.parameters(), values);
}

TEST(CreateSubstrateDialog, RefusesAVolumeThisComputerCannotHold)
{
    CreateSubstrateDialog dialog;
    Fields f(dialog);
    f["sbxVolumeSizeX"]->setValue(10000);
    f["sbxVolumeSizeY"]->setValue(10000);
    f["sbxVolumeSizeZ"]->setValue(10000);
    QString title, text;
    TestSupport::answerNextModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        ASSERT_TRUE(box);
        title = box->windowTitle();
        text = box->text();
        box->accept();
    });
    dialog.accept();
    EXPECT_EQ(title, "Volume too large");
    EXPECT_TRUE(text.contains("1000000000000 cells")) << text.toStdString();
    EXPECT_EQ(dialog.result(), QDialog::Rejected); // still open, nothing accepted
}

TEST(CreateSubstrateObserver, HandsTheAcceptedValuesToTheOperation)
{
    Core::ApplicationModel model;
    auto op = std::make_shared<Core::Operations::CreateSubstrateOperation>(&model);
    auto observer = std::make_shared<Ui::Observers::CreateSubstrateObserver>(&model, nullptr);
    observer->setDialogRunner([](CreateSubstrateDialog &dialog) {
        Fields f(dialog);
        f["sbxVolumeSizeX"]->setValue(10);
        f["sbxVolumeSizeY"]->setValue(8);
        f["sbxVolumeSizeZ"]->setValue(6);
        f.spherical()->setChecked(true);
        f["sbxCenterX"]->setValue(5);
        f["sbxCenterY"]->setValue(4);
        f["sbxCenterZ"]->setValue(3);
        f["sbxRadius"]->setValue(2);
        return true;
    });
    op->setOptionsObserver(observer);
    model.startOperation(op);

    auto volume = op->createdVolume();
    ASSERT_TRUE(volume);
    EXPECT_EQ(volume->sizeX() * volume->sizeY() * volume->sizeZ(), 480u);
    const auto *cells = volume->lockCells();
    const uint32_t centre = cells[volume->cellIndex(5, 4, 3)].material();
    const uint32_t outside = cells[volume->cellIndex(0, 0, 0)].material();
    volume->unlockCells();
    EXPECT_NE(centre, 0u);
    EXPECT_EQ(outside, 0u);

    auto rejected = std::make_shared<Core::Operations::CreateSubstrateOperation>(&model);
    observer->setDialogRunner([](CreateSubstrateDialog &) { return false; });
    rejected->setOptionsObserver(observer);
    model.startOperation(rejected);
    EXPECT_FALSE(rejected->parametersAreSet());
    EXPECT_EQ(model.scene().objects().size(), 1);
}
