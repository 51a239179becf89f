#include "Core/ApplicationModel.h"
#include "Core/Operations/Operation.h"
#include "UI/Observers/ProcessOptionsObserver.h"

#include <QDialog>
#include <gtest/gtest.h>

namespace {

// A step that asks for its options once it runs, and keeps what it was given.
class FakeStep : public Core::Operations::Operation {
public:
    FakeStep(Core::ApplicationModel *model, uint32_t process) : Operation(model, "Fake Step", 0), process(process) {}
    void execute() override { askForOptions(); }
    void cancel() override {}
    void finish() override {}

    const uint32_t process;
    double thickness = -1.0;
};

class OtherStep : public FakeStep {
public:
    using FakeStep::FakeStep;
};

// Offers "choices" that depend on the step (its process), and writes one value.
class FakeDialog : public QDialog {
public:
    explicit FakeDialog(QWidget *parent) : QDialog(parent) {}
    void offerChoicesFor(const FakeStep &step) { offeredProcess = step.process; }
    void applyTo(FakeStep &step) const { step.thickness = thickness; }

    uint32_t offeredProcess = 0;
    double thickness = 0.0;
};


} // namespace

TEST(ProcessOptionsObserver, ShowsNothingWhenTheCurrentOperationIsNotItsOwn)
{
    Core::ApplicationModel model;
    bool shown = false;
    auto observer = std::make_shared<Ui::Observers::ProcessOptionsObserver<FakeDialog, OtherStep>>(&model, nullptr);
    observer->setDialogRunner([&](FakeDialog &) { return shown = true; });

    auto step = std::make_shared<FakeStep>(&model, 7);
    step->setOptionsObserver(observer);
    model.startOperation(step);
    EXPECT_FALSE(shown);
    EXPECT_EQ(step->thickness, -1.0);
}
