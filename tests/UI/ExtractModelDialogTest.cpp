// The "Extract Model" tool window: its buttons, saving the netlist, the messages when
// there is nothing to save or the file cannot be written, and how the window and the operation
// end each other. Started as the operation factory makes it, through a main window.

#include "UiTestSupport.h"

#include "Core/Operations/ModelExtraction/RunModelExtraction.h"
#include "Core/Operations/OperationIds.h"
#include "Model/Automaton/TotalVolumePainter.h"
#include "UI/ModelExtraction/ExtractModelDialog.h"
#include "common/Cells.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>

using Core::Operations::RunModelExtraction;
using Ui::Operations::ExtractModelDialog;

namespace {

struct ExtractModelDialogTest : ::testing::Test {
    ExtractModelDialogTest() { model.scene().addObject(volume); }
    ~ExtractModelDialogTest() override
    {
        if (dialog)
            delete dialog.data();
    }

    // Starts "Model Extraction" on the volume and finds its tool window.
    void start()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // a window closed before
        if (!volume->isSelected()) {
            model.selectionMode().setSelectionMode(true);
            model.selectionMode().toggleObject(volume->objectId());
        }
        model.startOperation(Core::Operations::ModelExtractionId);
        dialog = window->findChild<ExtractModelDialog *>();
    }
    QPushButton *button(const char *name) { return dialog->findChild<QPushButton *>(QLatin1String(name)); }

    // A silicon block x < 4 with a beam of material 2 (10 × 2 × 1 cells) from its high-x face.
    static uint32_t beam(uint32_t x, uint32_t, uint32_t z) { return x < 4 ? 1u : z == 1 ? 2u : 0u; }
    static uint32_t solid(uint32_t, uint32_t, uint32_t) { return 1u; }

    std::unique_ptr<Ui::MainWindow> window = UiTest::makeWindow();
    Core::ApplicationModel &model = window->presenter().applicationModel();
    std::shared_ptr<Model::Automaton::TotalVolume> volume = TestSupport::volumeOf(14, 2, 3, beam);
    QPointer<ExtractModelDialog> dialog;
    QTemporaryDir folder;
};

} // namespace

TEST_F(ExtractModelDialogTest, OpensAsANonModalToolWindowWithOnlyTheFirstStepEnabled)
{
    start();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(dialog->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_EQ(dialog->windowTitle(), "Extract Model");
    EXPECT_TRUE(button("btnRunStepOne")->isEnabled());
    EXPECT_FALSE(button("btnRunStepTwo")->isEnabled());
    EXPECT_FALSE(button("btnRunStepThree")->isEnabled());

    button("btnRunStepOne")->click();
    EXPECT_FALSE(button("btnRunStepOne")->isEnabled());
    EXPECT_TRUE(button("btnRunStepTwo")->isEnabled());
    button("btnRunStepTwo")->click();
    EXPECT_FALSE(button("btnRunStepTwo")->isEnabled());
    EXPECT_TRUE(button("btnRunStepThree")->isEnabled());
    EXPECT_EQ(model.scene().objects().size(), 3);
}

TEST_F(ExtractModelDialogTest, StepThreeSavesTheNetlistWhereTheUserSaysAndRemembersIt)
{
    start();
    ASSERT_TRUE(dialog);
    const QString path = folder.filePath(QStringLiteral("beam.cir"));
    QStringList startedAt;
    dialog->setFileNameChooser([&](QWidget *, const QString &startAt) {
        startedAt << startAt;
        return path;
    });
    button("btnRunStepOne")->click();
    button("btnRunStepTwo")->click();
    button("btnRunStepThree")->click();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    EXPECT_EQ(QString::fromLocal8Bit(file.readAll()),
              "Model extracted by Voxfab\nc1 1 0 2.54737e-13 \nl1 1 0 2.85714e-08 \n.end \n");
    // The next save starts where this one saved.
    button("btnRunStepThree")->click();
    ASSERT_EQ(startedAt.size(), 2);
    EXPECT_EQ(startedAt[1], path);
    EXPECT_EQ(ExtractModelDialog::lastNetlistDirectory(), path);
}

// Nothing extracted: a message and no file dialog. A file that cannot be written: a message, and
// the window and its operation stay.
TEST_F(ExtractModelDialogTest, StepThreeSaysWhyNothingWasSaved)
{
    for (bool extracted : {false, true}) {
        SCOPED_TRACE(extracted ? "unwritable file" : "nothing extracted");
        TestSupport::setMaterials(*volume, TestSupport::materialsOf(*TestSupport::volumeOf(14, 2, 3, extracted ? beam : solid)));
        start();
        ASSERT_TRUE(dialog);
        bool asked = false;
        dialog->setFileNameChooser([&](QWidget *, const QString &) {
            asked = true;
            return folder.filePath(QStringLiteral("no-such-folder/beam.cir"));
        });
        button("btnRunStepOne")->click();
        button("btnRunStepTwo")->click();
        const auto shown = UiTest::answerNextBox();
        button("btnRunStepThree")->click();
        EXPECT_EQ(shown->title, extracted ? "File Error" : "No model data");
        EXPECT_EQ(shown->text, extracted ? "Unable to save to selected file!" : "No model data was extracted.");
        EXPECT_EQ(asked, extracted);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(std::dynamic_pointer_cast<RunModelExtraction>(model.currentOperation()));
        dialog->close();
    }
}

// Closing the window finishes the operation; cancelling the operation closes the window. Either
// way the helper objects go and the volume shows again.
TEST_F(ExtractModelDialogTest, TheWindowAndTheOperationEndEachOther)
{
    for (bool cancel : {false, true}) {
        SCOPED_TRACE(cancel ? "cancel" : "close");
        start();
        ASSERT_TRUE(dialog);
        button("btnRunStepOne")->click();
        if (cancel) {
            model.cancelCurrent();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_TRUE(!dialog || !dialog->isVisible());
        } else {
            dialog->close();
        }
        EXPECT_EQ(model.currentOperation(), nullptr);
        EXPECT_EQ(model.scene().objects().size(), 1);
        EXPECT_FALSE(volume->painter().isHidden());
    }
}
