// The cut dialogs: their forms and texts, the coupled limits and the preview of "Cut Cell
// Volume", the mask row of "Masked Cell Cut Options" with unreadable and ill-sized images, and the
// three cut actions run from the main window.

#include "Core/ApplicationModel.h"
#include "Core/Operations/Cuts/CutCellVolumeOperation.h"
#include "UI/MainWindow.h"
#include "UI/MainWindowPresenter.h"
#include "UI/Operations/CutCellVolumeDialog.h"
#include "UI/Operations/MaskedCutOptionsDialog.h"
#include "common/Cells.h"
#include "common/TestSupport.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using Core::Operations::CutBox;
using Ui::Operations::CutCellVolumeDialog;
using Ui::Operations::MaskedCutOptionsDialog;

namespace {

constexpr uint32_t kSilicon = 1;

const QString kFailure = QStringLiteral(
    "Top Mask file not found!<br/>Please verify the filename is correct and you have the correct permissions.");

template <class T>
T *child(QWidget &parent, const QString &name)
{
    T *widget = parent.findChild<T *>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
}

QSpinBox *limit(QWidget &dialog, const char *kind, const char *axis)
{
    return child<QSpinBox>(dialog, QStringLiteral("sbx%1%2").arg(kind, axis));
}

// A white image whose left `dark` pixel columns are black.
QString writeMask(const QTemporaryDir &dir, const QString &name, int width, int height, int dark)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int x = 0; x < dark; ++x)
        for (int y = 0; y < height; ++y)
            image.setPixel(x, y, qRgb(0, 0, 0));
    const QString path = dir.filePath(name);
    image.save(path);
    return path;
}

std::string boxText(const CutBox &box)
{
    std::string text;
    for (int i = 0; i < 3; ++i)
        text += std::to_string(box.lower[i]) + "-" + std::to_string(box.upper[i]) + " ";
    return text;
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
    QStringList warnings;
    dialog.setWarning([&](QWidget *, const QString &text) { warnings << text; });
    QString caption, filter;
    dialog.setFileChooser([&](QWidget *, const QString &c, const QString &, const QString &f) {
        caption = c;
        filter = f;
        return writeMask(dir, "mask.png", 5, 3, 2);
    });

    child<QPushButton>(dialog, "btnMaskChoose")->click();
    EXPECT_EQ(caption, "Choose Mask File");
    EXPECT_EQ(filter, "Image Files (*.png *.jpg *.bmp)");
    EXPECT_FALSE(dialog.hasMask()) << "choosing a file does not apply it";
    child<QPushButton>(dialog, "btnMaskApply")->click();
    EXPECT_TRUE(dialog.hasMask());
    EXPECT_EQ(dialog.mask().width, 5u);
    EXPECT_EQ(dialog.mask().bits.count(true), 6);
    EXPECT_EQ(child<QLabel>(dialog, "lblMaskSize")->text(), "5 \u00d7 3 pixels");

    // Missing, not an image, and an empty name.
    QFile text(dir.filePath("notes.png"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not an image");
    text.close();
    for (const QString &bad : {dir.filePath("missing.png"), dir.filePath("notes.png"), QString()}) {
        child<QLineEdit>(dialog, "txtMaskFile")->setText(bad);
        child<QPushButton>(dialog, "btnMaskApply")->click();
    }
    EXPECT_EQ(warnings, (QStringList{kFailure, kFailure, kFailure}));
    EXPECT_EQ(dialog.mask().width, 5u) << "a failed load keeps the mask applied before";

    child<QLineEdit>(dialog, "txtMaskFile")->setText(writeMask(dir, "small.bmp", 2, 3, 0));
    child<QPushButton>(dialog, "btnMaskApply")->click();
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
    QStringList warnings;
    dialog.setWarning([&](QWidget *, const QString &text) { warnings << text; });

    child<QLineEdit>(dialog, "txtMaskFile")->setText(dir.filePath("missing.png"));
    dialog.accept();
    EXPECT_EQ(warnings, QStringList{kFailure});
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
    Ui::MainWindow window;
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    auto &model = window.presenter().applicationModel();
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
        child<QLineEdit>(*widget, "txtMaskFile")->setText(maskFile);
        child<QPushButton>(*widget, "btnMaskApply")->click();
        overlayWhileOpen = volume->topMaskA();
        qobject_cast<QDialog *>(widget)->accept();
    });
    window.presenter().operationActivated("34");
    EXPECT_EQ(overlayWhileOpen, 4u);
    EXPECT_EQ(cutColumns(), (std::vector<uint32_t>{0, 1, 1, 1}));
    EXPECT_EQ(volume->topMaskA(), 0u);

    window.presenter().undo();
    EXPECT_EQ(cutColumns(), (std::vector<uint32_t>{0, 0, 0, 0}));

    TestSupport::answerNextModal([&](QWidget *widget) {
        ASSERT_EQ(widget->objectName(), "CutCellVolumeBaseDialog");
        limit(*widget, "Lower", "Z")->setValue(1);
        qobject_cast<QDialog *>(widget)->accept();
    });
    window.presenter().operationActivated("16");
    EXPECT_EQ(volume->painter().cutLimits().lower, (std::array<uint32_t, 3>{{0, 0, 1}}));

    window.presenter().operationActivated("35");
    EXPECT_EQ(cutColumns(), (std::vector<uint32_t>{0, 0, 0, 0}));

    EXPECT_FALSE(model.isModified()) << "cuts leave the document as it was saved";
}
