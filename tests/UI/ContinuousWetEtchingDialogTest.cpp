// The options of the continuous (CCA) wet etch: the form, its process-list value, the batch
// editor of type 20 and the menu action that opens it.

#include "Engine/ProcessParameterNames.h"
#include "Engine/ProcessTypes.h"
#include "UI/BatchRun/Dialog/ProcessEditors.h"
#include "UI/MainWindow.h"
#include "UI/MainWindowPresenter.h"
#include "UI/Operations/ContinuousWetEtchingDialog.h"

#include "common/Cells.h"
#include "common/Materials.h"
#include "common/TestSupport.h"

#include <QDoubleSpinBox>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

using Ui::Operations::ContinuousWetEtchingDialog;

TEST(ContinuousWetEtchingDialog, FormDepthAndListStep)
{
    ContinuousWetEtchingDialog dialog;
    EXPECT_EQ(dialog.objectName(), "ContinuousWetEtchingBaseDialog");
    EXPECT_EQ(dialog.windowTitle(), "Wet Etching Options");
    auto *depth = dialog.findChild<QDoubleSpinBox *>("dbxEtchDepth");
    ASSERT_NE(depth, nullptr);
    EXPECT_EQ(depth->suffix(), " units");
    depth->setValue(3.25);
    EXPECT_EQ(dialog.parameters(), (QVariantMap{{Engine::Parameters::kDepth, 3.25}}));

    ContinuousWetEtchingDialog copy;
    copy.loadParameters({{Engine::Parameters::kDepth, 7.5}});
    EXPECT_DOUBLE_EQ(copy.etchDepth(), 7.5);

    const Ui::ProcessEditor *editor = Ui::processEditor(Engine::SiWetEtchingCcaType);
    ASSERT_NE(editor, nullptr);
    const Engine::ProcessData step = Ui::makeProcessStep(*editor, Engine::SiWetEtchingCcaType, dialog.parameters());
    EXPECT_TRUE(step.getParameterVisibility(Engine::Parameters::kDepth));
    EXPECT_EQ(Engine::processName(Engine::SiWetEtchingCcaType), "Si wet etching (CCA)");
    EXPECT_EQ(Engine::processName(Engine::RandomWalkDopingType), "Doping (Random Walk CA)");
}

TEST(ContinuousWetEtchingDialog, TheMenuActionEtchesTheDepthTheDialogAsksFor)
{
    Ui::MainWindow window;
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    auto &model = window.presenter().applicationModel();
    auto volume = TestSupport::flatVolume(10, 10, 14, 10, TestSupport::kSilicon);
    model.scene().addObject(volume);

    TestSupport::answerNextModal([&](QWidget *widget) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->objectName(), "ContinuousWetEtchingBaseDialog");
        dialog->findChild<QDoubleSpinBox *>("dbxEtchDepth")->setValue(2.0);
        dialog->accept();
    });
    window.presenter().operationActivated("29");
    // Eight steps, four (100) layers: cell 9 empties.
    EXPECT_EQ(TestSupport::countInColumn(*volume, 5, 5, TestSupport::kSilicon), 9u);
    const auto messages = window.presenter().commandConsole().output()->toPlainText();
    EXPECT_TRUE(messages.contains("Continuous Wet Etch: Operation finished.")) << messages.toStdString();
}
