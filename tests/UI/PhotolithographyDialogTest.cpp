// The photolithography dialog: its form, the mask rows (apply, remove, unreadable files), its
// process-list values, and the step run from the main window with the mask shown meanwhile.

#include "Core/ApplicationModel.h"
#include "Core/Operations/Photolithography/PhotolithographyOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/ProcessTypes.h"
#include "Model/Materials/MaterialFactory.h"
#include "UI/BatchRun/Dialog/ProcessEditors.h"
#include "UI/MainWindow.h"
#include "UI/MainWindowPresenter.h"
#include "UI/Observers/ProcessOptionsObservers.h"
#include "UI/Operations/MaterialChooser.h"
#include "UI/Operations/PhotolithographyDialog.h"
#include "common/Cells.h"
#include "common/TestSupport.h"

#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using Ui::Operations::PhotolithographyDialog;
namespace Parameters = Engine::Parameters;

namespace {

constexpr uint32_t kSilicon = 1;
constexpr uint32_t kPositive = 11;

const QString kTopFailure = QStringLiteral(
    "Top Mask file not found!<br/>Please verify the filename is correct and you have the correct permissions.");
const QString kBottomFailure = QStringLiteral(
    "Bottom mask not found error!<br/>Please verify if the filename is correct and you have the correct permissions.");

// A white image with its left `dark` pixel columns black.
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

template <class T>
T *child(QWidget &parent, const char *name)
{
    T *widget = parent.findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void applyFile(QWidget &dialog, const char *side, const QString &path)
{
    child<QLineEdit>(dialog, (std::string("txt") + side + "MaskFile").c_str())->setText(path);
    child<QPushButton>(dialog, (std::string("btn") + side + "MaskApply").c_str())->click();
}

} // namespace

TEST(PhotolithographyDialog, ApplyReadsTheImageRemoveEmptiesAndUnreadableFilesWarn)
{
    QTemporaryDir dir;
    PhotolithographyDialog dialog;
    QStringList warnings;
    dialog.setWarning([&](QWidget *, const QString &text) { warnings << text; });
    QString caption, filter;
    dialog.setFileChooser([&](QWidget *, const QString &c, const QString &, const QString &f) {
        caption = c;
        filter = f;
        return writeMask(dir, "top.png", 5, 3, 2);
    });

    child<QPushButton>(dialog, "btnTopMaskChoose")->click();
    EXPECT_EQ(caption, "Choose Mask File");
    EXPECT_EQ(filter, "Image Files (*.png *.jpg *.bmp)");
    EXPECT_EQ(child<QLineEdit>(dialog, "txtTopMaskFile")->text(), dir.filePath("top.png"));
    EXPECT_TRUE(dialog.topMask().isEmpty()) << "choosing a file does not apply it";
    child<QPushButton>(dialog, "btnTopMaskApply")->click();
    EXPECT_EQ(dialog.topMask().width, 5u);
    EXPECT_EQ(dialog.topMask().height, 3u);
    EXPECT_EQ(dialog.topMask().bits.count(true), 6);
    EXPECT_EQ(child<QLabel>(dialog, "lblTopMaskSize")->text(), "5 \u00d7 3 pixels");

    applyFile(dialog, "Top", dir.filePath("missing.png"));
    applyFile(dialog, "Bottom", dir.filePath("missing.bmp"));
    EXPECT_EQ(warnings, (QStringList{kTopFailure, kBottomFailure}));
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
    ASSERT_TRUE(Ui::Operations::chooseMaterial(child<QComboBox>(dialog, "cbxMaterial"), kPositive));

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
    Ui::MainWindow window;
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    auto &model = window.presenter().applicationModel();
    auto volume = TestSupport::volumeOf(6, 2, 5, [](uint32_t, uint32_t, uint32_t z) {
        return z < 2 ? kSilicon : z < 4 ? kPositive : 0u;
    });
    model.scene().addObject(volume);

    uint32_t widthWhileOpen = 0;
    TestSupport::answerNextModal([&](QWidget *widget) {
        ASSERT_EQ(widget->objectName(), "PhotolithographyBaseDialog");
        applyFile(*widget, "Top", maskFile);
        widthWhileOpen = volume->topMaskA();
        ASSERT_TRUE(Ui::Operations::chooseMaterial(child<QComboBox>(*widget, "cbxMaterial"), kPositive));
        qobject_cast<QDialog *>(widget)->accept();
    });
    window.presenter().operationActivated("20");

    EXPECT_EQ(widthWhileOpen, 3u);
    const QString messages = window.presenter().commandConsole().output()->toPlainText();
    EXPECT_TRUE(messages.contains("Photolithography: Operation finished."));
    // Only the image's dark column 0 keeps its resist; x >= 3 lies outside the image.
    for (uint32_t x = 0; x < 6; ++x)
        EXPECT_EQ(TestSupport::countInColumn(*volume, x, 1, kPositive), x == 0 ? 2u : 0u) << x;
    EXPECT_EQ(volume->topMaskA(), 0u);
}
