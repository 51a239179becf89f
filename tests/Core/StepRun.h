#pragma once

// Running a process step through the real application model, with a test observer playing its
// options dialog, and a log of the console lines the model posts.

#include "Core/ApplicationModel.h"
#include "common/Observers.h"

#include <functional>
#include <memory>

namespace CoreTest {

// Starts `Op` on `model`. Once the volume is chosen, `options` plays the options dialog; when it
// is empty nothing is set, as when the dialog is declined.
template <class Op>
std::shared_ptr<Op> startStep(Core::ApplicationModel &model, std::function<void(Op &)> options = nullptr)
{
    auto op = std::make_shared<Op>(&model);
    Op *raw = op.get();
    op->setOptionsObserver(std::make_shared<TestSupport::CallObserver>([raw, options] {
        if (options)
            options(*raw);
    }));
    model.startOperation(op);
    return op;
}

// An application model whose console lines are logged.
struct LoggedModel {
    LoggedModel() { model.inputRequest().addObserver(log); }
    void select(const std::shared_ptr<Model::Object> &object)
    {
        model.selectionMode().toggleObject(object->objectId());
    }

    Core::ApplicationModel model;
    std::shared_ptr<TestSupport::MessageLog> log = std::make_shared<TestSupport::MessageLog>(model.inputRequest());
};

} // namespace CoreTest
