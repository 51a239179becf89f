// The dialogs of "Glue Substrate" and "Extract Film": their forms and limits, and both steps run
// from the main window's actions through them.

#include "Core/ApplicationModel.h"
#include "Core/Operations/GlueSubstrate/GlueLayout.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialFactory.h"
#include "UI/MainWindow.h"
#include "UI/MainWindowPresenter.h"
#include "UI/Operations/ExtractFilmDialog.h"
#include "UI/Operations/GlueSubstrateDialog.h"
#include "UI/Operations/MaterialChooser.h"
#include "common/Cells.h"
#include "common/Materials.h"
#include "common/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <gtest/gtest.h>

using namespace Ui::Operations;
using namespace TestSupport;

namespace {

QSpinBox *box(QWidget &dialog, const char *name)
{
    return dialog.findChild<QSpinBox *>(name);
}

// Runs operation `id` from the main window with `selected` picked beforehand among `volumes`,
// answering its dialog with `answer`; returns the console text and leaves the scene in `scene`.
QString runFromWindow(const char *id, const std::vector<std::shared_ptr<TotalVolume>> &volumes,
                      const std::vector<std::shared_ptr<TotalVolume>> &selected,
                      std::function<void(QDialog &)> answer, QList<std::shared_ptr<Model::Object>> *scene)
{
    Ui::MainWindow window;
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    Core::ApplicationModel &model = window.presenter().applicationModel();
    for (const auto &volume : volumes)
        model.scene().addObject(volume);
    for (const auto &volume : selected)
        model.selectionMode().toggleObject(volume->objectId());
    answerNextModal([answer](QWidget *widget) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        ASSERT_NE(dialog, nullptr);
        answer(*dialog);
        dialog->accept();
    });
    window.presenter().operationActivated(id);
    *scene = model.scene().objects();
    return window.presenter().commandConsole().output()->toPlainText();
}

} // namespace

TEST(GlueSubstrateDialog, FormTextsAndLimitsFittedToTheVolumes)
{
    GlueSubstrateDialog dialog;
    EXPECT_EQ(dialog.objectName(), "GlueSubstrateForm");
    EXPECT_EQ(dialog.windowTitle(), "Glue Substrate");
    auto *size = dialog.findChild<QGroupBox *>("grpFinalSize");
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size->title(), "Final Volume Size");
    EXPECT_EQ(size->toolTip(), "This determines the final volume size.");
    auto *shift = dialog.findChild<QGroupBox *>("grpDisplacement");
    ASSERT_NE(shift, nullptr);
    EXPECT_EQ(shift->title(), "Top Substrate Displacement");
    EXPECT_EQ(shift->toolTip(),
              "Allows you to move the top substrate around if it is smaller than the bottom substrate.");
    EXPECT_EQ(box(dialog, "sbxSizeZ")->toolTip(), "If you wish to continue etching/depositing films on top of the "
                                                 "result, you should increase the Z size accordingly.");
    auto *invert = dialog.findChild<QCheckBox *>("chkInvert");
    ASSERT_NE(invert, nullptr);
    EXPECT_EQ(invert->text(), "Invert Top Substrate");
    EXPECT_EQ(invert->toolTip(),
              "Flips the top substrate around the Y axis. This is the same as what would happen if  you hold the "
              "base substrate on your left hand and the top substrate on your right hand and then placing your "
              "right hand palm down on your left.");

    auto base = flatVolume(10, 8, 6, 3, kSilicon);
    auto top = flatVolume(4, 3, 5, 2, kOxide);
    dialog.setLimits(Core::Operations::GlueLayout::of(*base, *top));
    EXPECT_FALSE(box(dialog, "sbxSizeX")->isEnabled());
    EXPECT_FALSE(box(dialog, "sbxSizeY")->isEnabled());
    EXPECT_TRUE(box(dialog, "sbxSizeZ")->isEnabled());
    EXPECT_EQ(box(dialog, "sbxSizeX")->value(), 10);
    EXPECT_EQ(box(dialog, "sbxSizeY")->value(), 8);
    EXPECT_EQ(box(dialog, "sbxSizeZ")->value(), 6);
    EXPECT_EQ(box(dialog, "sbxSizeZ")->minimum(), 6);
    box(dialog, "sbxSizeZ")->setValue(2);
    EXPECT_EQ(dialog.finalSizeZ(), 6u); // not below the combined height
    box(dialog, "sbxSizeZ")->setValue(40);
    EXPECT_EQ(dialog.finalSizeZ(), 40u);
    EXPECT_EQ(box(dialog, "sbxDisplacementX")->maximum(), 6);
    EXPECT_EQ(box(dialog, "sbxDisplacementY")->maximum(), 5);
    box(dialog, "sbxDisplacementX")->setValue(9);
    EXPECT_EQ(dialog.displacementX(), 6u);
}

TEST(ExtractFilmDialog, FormOffersEveryMaterial)
{
    ExtractFilmDialog dialog;
    EXPECT_EQ(dialog.objectName(), "ExtractFilmForm");
    EXPECT_EQ(dialog.windowTitle(), "Extract Film");
    auto *label = dialog.findChild<QLabel *>("lblMaterial");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Select Film to Extract");
    EXPECT_EQ(dialog.findChild<QComboBox *>("cbxMaterial")->count(),
              int(Model::Materials::MaterialFactory::instance()->materials().size()));
    auto *invert = dialog.findChild<QCheckBox *>("chkInvert");
    ASSERT_NE(invert, nullptr);
    EXPECT_EQ(invert->text(), "Invert film after extraction");
    EXPECT_FALSE(dialog.invert());
    ASSERT_TRUE(chooseMaterial(dialog.findChild<QComboBox *>("cbxMaterial"), kCopper));
    EXPECT_EQ(dialog.materialId(), kCopper);
}

TEST(GlueAndExtractFilmActions, BothStepsRunFromTheSimulationMenuThroughTheirDialogs)
{
    auto base = flatVolume(10, 8, 6, 3, kSilicon);
    auto top = flatVolume(4, 3, 5, 2, kOxide);
    QList<std::shared_ptr<Model::Object>> scene;
    int offeredZ = 0;
    QString console = runFromWindow("12", {base, top}, {base, top}, [&](QDialog &dialog) {
        offeredZ = box(dialog, "sbxSizeZ")->value();
        box(dialog, "sbxSizeZ")->setValue(9);
        box(dialog, "sbxDisplacementX")->setValue(6);
        box(dialog, "sbxDisplacementY")->setValue(5);
    }, &scene);
    EXPECT_EQ(offeredZ, 6);
    EXPECT_TRUE(console.contains("Glue Volumes: volumes glued.")) << console.toStdString();
    ASSERT_EQ(scene.size(), 1);
    auto glued = std::dynamic_pointer_cast<TotalVolume>(scene.front());
    ASSERT_TRUE(glued);
    EXPECT_EQ(glued->sizeZ(), 9u);
    EXPECT_EQ(countInColumn(*glued, 9, 7, kOxide), 2u);
    EXPECT_EQ(countInColumn(*glued, 5, 7, kOxide), 0u);

    console = runFromWindow("8", {glued}, {glued}, [&](QDialog &dialog) {
        chooseMaterial(dialog.findChild<QComboBox *>("cbxMaterial"), kOxide);
        dialog.findChild<QCheckBox *>("chkInvert")->setChecked(true);
    }, &scene);
    EXPECT_TRUE(console.contains("Extract Film: film extracted.")) << console.toStdString();
    ASSERT_EQ(scene.size(), 2);
    auto film = std::dynamic_pointer_cast<TotalVolume>(scene.back());
    ASSERT_TRUE(film);
    // The 4 × 3 oxide patch turned over about x: y = 5..7 becomes y = 0..2, on the bottom.
    EXPECT_EQ(countInColumn(*film, 9, 0, kOxide), 2u);
    EXPECT_EQ(materialAt(*film, 9, 0, 0), kOxide);
    EXPECT_EQ(countInColumn(*film, 9, 7, kOxide), 0u);
    EXPECT_EQ(countInColumn(*film, 5, 0, kOxide), 0u);
}
