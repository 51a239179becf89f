// The dialogs that read mask images and cut: the coupled limits and the preview of "Cut Cell
// Volume", the mask rows of "Masked Cell Cut Options" and of photolithography (apply, remove,
// unreadable and ill-sized images), photolithography's process-list values, and the cut and
// photolithography actions run from the main window.

#include "UiTestSupport.h"

#include "Core/Operations/Cuts/CutCellVolumeOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/ProcessTypes.h"
#include "UI/BatchRun/Dialog/ProcessEditors.h"
#include "UI/Operations/CutCellVolumeDialog.h"
#include "UI/Operations/MaskedCutOptionsDialog.h"
#include "UI/Operations/PhotolithographyDialog.h"
#include "common/Cells.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

using Core::Operations::CutBox;
using Ui::Operations::CutCellVolumeDialog;
using Ui::Operations::MaskedCutOptionsDialog;
using Ui::Operations::PhotolithographyDialog;
namespace Parameters = Engine::Parameters;
using namespace UiTest;

namespace {

constexpr uint32_t kSilicon = 1;
constexpr uint32_t kPositive = 11;

const QString kTopFailure = QStringLiteral(
    "Top Mask file not found!<br/>Please verify the filename is correct and you have the correct permissions.");
const QString kBottomFailure = QStringLiteral(
    "Bottom mask not found error!<br/>Please verify if the filename is correct and you have the correct permissions.");

QSpinBox *limit(QWidget &dialog, const char *kind, const char *axis)
{
    return child<QSpinBox>(dialog, QStringLiteral("sbx%1%2").arg(kind, axis));
}

std::string boxText(const CutBox &box)
{
    std::string text;
    for (int i = 0; i < 3; ++i)
        text += std::to_string(box.lower[i]) + "-" + std::to_string(box.upper[i]) + " ";
    return text;
}

// Names a mask file and applies it; `side` is "Top" or "Bottom", or "" for the cut's only mask.
void applyFile(QWidget &dialog, const char *side, const QString &path)
{
    child<QLineEdit>(dialog, QString("txt%1MaskFile").arg(side))->setText(path);
    child<QPushButton>(dialog, QString("btn%1MaskApply").arg(side))->click();
}

// What a mask dialog showed: its warnings, and the caption and filter of its file chooser, which
// answers `chosen`.
struct MaskDialogSeen {
    QStringList warnings;
    QString caption;
    QString filter;
};

template <typename Dialog>
void seeMaskDialog(Dialog &dialog, MaskDialogSeen &shown, const QString &chosen = QString())
{
    dialog.setWarning([&shown](QWidget *, const QString &text) { shown.warnings << text; });
    dialog.setFileChooser([&shown, chosen](QWidget *, const QString &caption, const QString &, const QString &filter) {
        shown.caption = caption;
        shown.filter = filter;
        return chosen;
    });
}

} // namespace

TEST(CutCellVolumeDialog, RangesFollowTheVolumeAndLimitsPushEachOtherAlong)
{
    CutCellVolumeDialog dialog;
    dialog.setVolume({{6, 4, 5}}, CutBox{{1, 0, 2}, {3, 4, 5}});
    EXPECT_EQ(limit(dialog, "Lower", "X")->maximum(), 5);
    EXPECT_EQ(limit(dialog, "Upper", "X")->minimum(), 1);
    EXPECT_EQ(limit(dialog, "Upper", "X")->maximum(), 6);
    EXPECT_EQ(limit(dialog, "Lower", "Z")->value(), 2);
    EXPECT_EQ(child<QSlider>(dialog, "sldLowerZ")->value(), 2);
    EXPECT_EQ(child<QSlider>(dialog, "sldUpperY")->maximum(), 4);

    limit(dialog, "Lower", "X")->setValue(4); // reaches past upper 3
    EXPECT_EQ(limit(dialog, "Upper", "X")->value(), 5);
    limit(dialog, "Upper", "Z")->setValue(2); // falls onto lower 2
    EXPECT_EQ(limit(dialog, "Lower", "Z")->value(), 1);
    child<QSlider>(dialog, "sldUpperY")->setValue(2);
    EXPECT_EQ(limit(dialog, "Upper", "Y")->value(), 2) << "the slider moves its box";
    EXPECT_EQ(boxText(dialog.box()), boxText(CutBox{{4, 0, 1}, {5, 2, 2}}));

    child<QPushButton>(dialog, "btnReset")->click();
    EXPECT_EQ(boxText(dialog.box()), boxText(CutBox{{0, 0, 0}, {6, 4, 5}}));
}

TEST(CutCellVolumeDialog, PreviewShowsEachChangeOnceAndOnlyWhileChecked)
{
    CutCellVolumeDialog dialog;
    dialog.setVolume({{6, 4, 5}}, CutBox{{0, 0, 0}, {6, 4, 5}});
    std::vector<std::string> shown;
    dialog.setPreview([&](const CutBox &box) {
        for (int i = 0; i < 3; ++i)
            EXPECT_LT(box.lower[i], box.upper[i]) << "a preview never shows an empty box";
        shown.push_back(boxText(box));
    });

    limit(dialog, "Lower", "X")->setValue(2);
    EXPECT_TRUE(shown.empty());
    child<QCheckBox>(dialog, "chkPreview")->setChecked(true);
    limit(dialog, "Upper", "Y")->setValue(1);
    limit(dialog, "Lower", "X")->setValue(5); // pushes the upper X limit along: one change
    child<QPushButton>(dialog, "btnReset")->click();
    EXPECT_EQ(shown, (std::vector<std::string>{boxText(CutBox{{2, 0, 0}, {6, 4, 5}}),
                                               boxText(CutBox{{2, 0, 0}, {6, 1, 5}}),
                                               boxText(CutBox{{5, 0, 0}, {6, 1, 5}}),
                                               boxText(CutBox{{0, 0, 0}, {6, 4, 5}})}));
}

TEST(MaskedCutOptionsDialog, ApplyReadsRemoveEmptiesAndBadFilesWarnAndKeepTheMask)
{
    QTemporaryDir dir;
    MaskedCutOptionsDialog dialog;
    dialog.setVolumeColumns(5, 3);
    MaskDialogSeen shown;
    seeMaskDialog(dialog, shown, writeMask(dir, "mask.png", 5, 3, 2));

    child<QPushButton>(dialog, "btnMaskChoose")->click();
    EXPECT_EQ(shown.caption, "Choose Mask File");
    EXPECT_EQ(shown.filter, "Image Files (*.png *.jpg *.bmp)");
    EXPECT_FALSE(dialog.hasMask()) << "choosing a file does not apply it";
    child<QPushButton>(dialog, "btnMaskApply")->click();
    EXPECT_TRUE(dialog.hasMask());
    EXPECT_EQ(dialog.mask().width, 5u);
    EXPECT_EQ(dialog.mask().bits.count(true), 6);
    EXPECT_EQ(child<QLabel>(dialog, "lblMaskSize")->text(), "5 \u00d7 3 pixels");

    // Missing, not an image, and an empty name.
    QFile notes(dir.filePath("notes.png"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly) && notes.write("not an image") > 0);
    notes.close();
    for (const QString &bad : {dir.filePath("missing.png"), dir.filePath("notes.png"), QString()})
        applyFile(dialog, "", bad);
    EXPECT_EQ(shown.warnings, (QStringList{kTopFailure, kTopFailure, kTopFailure}));
    EXPECT_EQ(dialog.mask().width, 5u) << "a failed load keeps the mask applied before";

    applyFile(dialog, "", writeMask(dir, "small.bmp", 2, 3, 0));
    EXPECT_EQ(child<QLabel>(dialog, "lblMaskSize")->text(),
              "2 \u00d7 3 pixels, the volume 5 \u00d7 3 cells: columns outside the mask are cut");

    child<QPushButton>(dialog, "btnMaskRemove")->click();
    EXPECT_TRUE(dialog.hasMask()) << "removing gives the cut an empty mask";
    EXPECT_TRUE(dialog.mask().isEmpty());
    EXPECT_TRUE(child<QLineEdit>(dialog, "txtMaskFile")->text().isEmpty());
    EXPECT_EQ(child<QLabel>(dialog, "lblMaskSize")->text(), "No mask: every column is cut");
}

TEST(MaskedCutOptionsDialog, OkAppliesANamedFileFirstAndStaysOpenWhenItCannotBeRead)
{
    QTemporaryDir dir;
    MaskedCutOptionsDialog dialog;
    MaskDialogSeen shown;
    seeMaskDialog(dialog, shown);

    child<QLineEdit>(dialog, "txtMaskFile")->setText(dir.filePath("missing.png"));
    dialog.accept();
    EXPECT_EQ(shown.warnings, QStringList{kTopFailure});
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.hasMask());

    child<QLineEdit>(dialog, "txtMaskFile")->setText(writeMask(dir, "mask.png", 4, 4, 1));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.mask().bits.count(true), 4);
}

// The three actions from the main window, the dialogs answered as a user would.
TEST(CutActions, FromTheMainWindowAVolumeIsCutUndoneAndItsCutsRemoved)
{
    QTemporaryDir dir;
    const QString maskFile = writeMask(dir, "left.png", 4, 2, 1);
    auto window = makeWindow();
    auto &model = window->presenter().applicationModel();
    auto volume = TestSupport::flatVolume(4, 2, 3, 2, kSilicon);
    model.scene().addObject(volume);
    const auto cutColumns = [&] {
        const Model::Automaton::CellReadLock lock(*volume);
        std::vector<uint32_t> counts;
        for (uint32_t x = 0; x < 4; ++x)
            counts.push_back(lock.cells()[volume->cellIndex(x, 1, 2)].cutCount());
        return counts;
    };

    uint32_t overlayWhileOpen = 0;
    TestSupport::answerNextModal([&](QWidget *widget) {
        ASSERT_EQ(widget->objectName(), "MaskedCutOptionsBaseDialog");
        applyFile(*widget, "", maskFile);
        overlayWhileOpen = volume->topMaskA();
        qobject_cast<QDialog *>(widget)->accept();
    });
    window->presenter().operationActivated("34");
    EXPECT_EQ(overlayWhileOpen, 4u);
    EXPECT_EQ(cutColumns(), (std::vector<uint32_t>{0, 1, 1, 1}));
    EXPECT_EQ(volume->topMaskA(), 0u);

    window->presenter().undo();
    EXPECT_EQ(cutColumns(), (std::vector<uint32_t>{0, 0, 0, 0}));

    TestSupport::answerNextModal([&](QWidget *widget) {
        ASSERT_EQ(widget->objectName(), "CutCellVolumeBaseDialog");
        limit(*widget, "Lower", "Z")->setValue(1);
        qobject_cast<QDialog *>(widget)->accept();
    });
    window->presenter().operationActivated("16");
    EXPECT_EQ(volume->painter().cutLimits().lower, (std::array<uint32_t, 3>{{0, 0, 1}}));

    window->presenter().operationActivated("35");
    EXPECT_EQ(cutColumns(), (std::vector<uint32_t>{0, 0, 0, 0}));

    EXPECT_FALSE(model.isModified()) << "cuts leave the document as it was saved";
}

TEST(PhotolithographyDialog, ApplyReadsTheImageRemoveEmptiesAndUnreadableFilesWarn)
{
    QTemporaryDir dir;
    PhotolithographyDialog dialog;
    MaskDialogSeen shown;
    seeMaskDialog(dialog, shown, writeMask(dir, "top.png", 5, 3, 2));

    child<QPushButton>(dialog, "btnTopMaskChoose")->click();
    EXPECT_EQ(shown.caption, "Choose Mask File");
    EXPECT_EQ(shown.filter, "Image Files (*.png *.jpg *.bmp)");
    EXPECT_EQ(child<QLineEdit>(dialog, "txtTopMaskFile")->text(), dir.filePath("top.png"));
    EXPECT_TRUE(dialog.topMask().isEmpty()) << "choosing a file does not apply it";
    child<QPushButton>(dialog, "btnTopMaskApply")->click();
    EXPECT_EQ(dialog.topMask().width, 5u);
    EXPECT_EQ(dialog.topMask().height, 3u);
    EXPECT_EQ(dialog.topMask().bits.count(true), 6);
    EXPECT_EQ(child<QLabel>(dialog, "lblTopMaskSize")->text(), "5 \u00d7 3 pixels");

    applyFile(dialog, "Top", dir.filePath("missing.png"));
    applyFile(dialog, "Bottom", dir.filePath("missing.bmp"));
    EXPECT_EQ(shown.warnings, (QStringList{kTopFailure, kBottomFailure}));
    EXPECT_EQ(dialog.topMask().width, 5u) << "a failed load keeps the previous mask";
    EXPECT_TRUE(dialog.bottomMask().isEmpty());

    child<QPushButton>(dialog, "btnTopMaskRemove")->click();
    EXPECT_TRUE(dialog.topMask().isEmpty());
    EXPECT_EQ(dialog.topMask().bits.size(), 0);
    EXPECT_EQ(child<QLabel>(dialog, "lblTopMaskSize")->text(), "No mask");
}

TEST(PhotolithographyDialog, ParametersRoundTripAndListTheMaskFilesNotTheirBits)
{
    QTemporaryDir dir;
    PhotolithographyDialog dialog;
    applyFile(dialog, "Top", writeMask(dir, "top.png", 4, 2, 1));
    applyFile(dialog, "Bottom", writeMask(dir, "bottom.bmp", 3, 3, 3));
    set(dialog, "cbxMaterial", kPositive);

    const QVariantMap values = dialog.parameters();
    EXPECT_EQ(values.value(Parameters::idOf(Parameters::kMaterial)).toUInt(), kPositive);
    EXPECT_EQ(values.value(Parameters::kTopMaskWidth).toUInt(), 4u);
    EXPECT_EQ(values.value(Parameters::kTopMaskHeight).toUInt(), 2u);
    EXPECT_EQ(values.value(Parameters::kTopMaskFile).toString(), dir.filePath("top.png"));
    EXPECT_EQ(values.value(Parameters::kTopMask).value<QVector<bool>>(),
              (QVector<bool>{true, true, false, false, false, false, false, false}));
    EXPECT_EQ(values.value(Parameters::kBottomMask).value<QVector<bool>>(), QVector<bool>(9, true));

    PhotolithographyDialog reloaded;
    reloaded.loadParameters(values);
    EXPECT_EQ(reloaded.parameters(), values);
    EXPECT_EQ(reloaded.topMask().bits, dialog.topMask().bits);
    EXPECT_EQ(child<QLineEdit>(reloaded, "txtBottomMaskFile")->text(), dir.filePath("bottom.bmp"));

    const Ui::ProcessEditor *editor = Ui::processEditor(Engine::PhotolithographyType);
    ASSERT_NE(editor, nullptr);
    const Engine::ProcessData step = Ui::makeProcessStep(*editor, Engine::PhotolithographyType, values);
    EXPECT_EQ(step.getProcessParameter(Parameters::kMaterial).toString(), "Photoresist +");
    EXPECT_FALSE(step.getParameterVisibility(Parameters::idOf(Parameters::kMaterial)));
    EXPECT_FALSE(step.getParameterVisibility(Parameters::kTopMask));
    EXPECT_FALSE(step.getParameterVisibility(Parameters::kBottomMask));
    for (const char *name : {Parameters::kMaterial, Parameters::kTopMaskFile, Parameters::kTopMaskWidth,
                             Parameters::kTopMaskHeight, Parameters::kBottomMaskFile, Parameters::kBottomMaskWidth,
                             Parameters::kBottomMaskHeight})
        EXPECT_TRUE(step.getParameterVisibility(name)) << name;
}

TEST(PhotolithographyObserver, FromTheMainWindowTheAppliedMaskShowsAndExposesTheResist)
{
    QTemporaryDir dir;
    const QString maskFile = writeMask(dir, "small.png", 3, 2, 1);
    auto window = makeWindow();
    auto &model = window->presenter().applicationModel();
    auto volume = TestSupport::volumeOf(6, 2, 5, [](uint32_t, uint32_t, uint32_t z) {
        return z < 2 ? kSilicon : z < 4 ? kPositive : 0u;
    });
    model.scene().addObject(volume);

    uint32_t widthWhileOpen = 0;
    TestSupport::answerNextModal([&](QWidget *widget) {
        ASSERT_EQ(widget->objectName(), "PhotolithographyBaseDialog");
        applyFile(*widget, "Top", maskFile);
        widthWhileOpen = volume->topMaskA();
        set(*widget, "cbxMaterial", kPositive);
        qobject_cast<QDialog *>(widget)->accept();
    });
    window->presenter().operationActivated("20");

    EXPECT_EQ(widthWhileOpen, 3u);
    EXPECT_TRUE(consoleText(*window).contains("Photolithography: Operation finished."));
    // Only the image's dark column 0 keeps its resist; x >= 3 lies outside the image.
    for (uint32_t x = 0; x < 6; ++x)
        EXPECT_EQ(TestSupport::countInColumn(*volume, x, 1, kPositive), x == 0 ? 2u : 0u) << x;
    EXPECT_EQ(volume->topMaskA(), 0u);
}
