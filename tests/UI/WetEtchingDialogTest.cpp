// "Wet Etching Options": its form, its value under the process-list name, the list editor of
// type 1, and "Si Wet Etching" from the main window through its modal dialog.

#include "Core/ApplicationModel.h"
#include "Core/Operations/SiWetEtching/AtomisticSiWetEtchingOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/ProcessTypes.h"
#include "UI/BatchRun/Dialog/ProcessEditors.h"
#include "UI/MainWindow.h"
#include "UI/MainWindowPresenter.h"
#include "UI/Observers/ProcessOptionsObservers.h"
#include "UI/Operations/WetEtchingDialog.h"
#include "common/Cells.h"
#include "common/Materials.h"
#include "common/TestSupport.h"

#include <QDialog>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

using namespace TestSupport;

TEST(WetEtchingDialog, AsksForTheDepthUnderItsListName)
{
    Ui::Operations::WetEtchingDialog dialog;
    EXPECT_EQ(dialog.objectName(), "WetEtchingBaseDialog");
    EXPECT_EQ(dialog.windowTitle(), "Wet Etching Options");
    auto *help = dialog.findChild<QLabel *>("lblHelp");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->text(), "Set the depth of the etching. This is how far down the (100) plane on the surface "
                            "will be etched.");
    auto *depth = dialog.findChild<QDoubleSpinBox *>("dblDepth");
    ASSERT_NE(depth, nullptr);
    EXPECT_EQ(depth->suffix(), " units");

    dialog.loadParameters({{Engine::Parameters::kDepth, 3.5}});
    EXPECT_DOUBLE_EQ(dialog.depth(), 3.5);
    EXPECT_EQ(dialog.parameters(), (QVariantMap{{Engine::Parameters::kDepth, 3.5}}));

    const Ui::ProcessEditor *editor = Ui::processEditor(Engine::SiWetEtchingType);
    ASSERT_NE(editor, nullptr);
    const Engine::ProcessData step = Ui::makeProcessStep(*editor, Engine::SiWetEtchingType, dialog.parameters());
    EXPECT_DOUBLE_EQ(step.getProcessParameter(Engine::Parameters::kDepth).toDouble(), 3.5);
}

TEST(WetEtchingDialog, CancellingLeavesTheVolume)
{
    Core::ApplicationModel model;
    auto volume = flatVolume(6, 6, 8, 4, kSilicon);
    model.scene().addObject(volume);
    auto op = std::make_shared<Core::Operations::AtomisticSiWetEtchingOperation>(&model);
    auto observer = std::make_shared<Ui::Observers::AtomicSiBCAEtchObserver>(&model, nullptr);
    observer->setDialogRunner([](Ui::Operations::WetEtchingDialog &) { return false; });
    op->setOptionsObserver(observer);
    model.startOperation(op);
    EXPECT_EQ(model.inputRequest().message(), "BCA Wet Etch: Operation canceled.");
    EXPECT_EQ(countInColumn(*volume, 3, 3, kSilicon), 4u);
    EXPECT_FALSE(volume->siLattice());
}

TEST(WetEtchingDialog, SiWetEtchingFromTheMainWindowRunsThroughItsModalDialog)
{
    Ui::MainWindow window;
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    auto &model = window.presenter().applicationModel();
    auto volume = flatVolume(6, 6, 8, 4, kSilicon);
    model.scene().addObject(volume);

    TestSupport::answerNextModal([](QWidget *widget) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->objectName(), "WetEtchingBaseDialog");
        dialog->findChild<QDoubleSpinBox *>("dblDepth")->setValue(1.4);
        dialog->accept();
    });
    window.presenter().operationActivated("28");
    const auto messages = window.presenter().commandConsole().output()->toPlainText();
    EXPECT_TRUE(messages.contains("BCA Wet Etch: Operation finished.")) << messages.toStdString();
    EXPECT_EQ(countInColumn(*volume, 3, 3, kSilicon), 3u);
}
