#pragma once

// Stand-ins around the operation framework: operations that record every call made on them
// and can be told what to do, a factory that hands them out, and observers. Everything the
// doubles see is written, in order, into one Journal.

#include "Core/ApplicationModel.h"
#include "Core/Operations/IOperationFactory.h"
#include "Core/Operations/ObjectOperation.h"
#include "Model/Automaton/TotalVolume.h"
#include "Util/IObserver.h"

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace CoreTest {

struct Journal {
    std::vector<std::string> entries;
    std::vector<const void *> running; // operations inside their own execute, innermost last
    bool destroyedWhileRunning = false;

    void add(const std::string &entry) { entries.push_back(entry); }
    bool contains(const std::string &entry) const
    {
        return std::find(entries.begin(), entries.end(), entry) != entries.end();
    }
};

// Journals "<name>.execute", "<name>.cancel", "<name>.finish". What each call does beyond that
// is set per test; by default cancel and finish end the operation the usual way.
template <class Base>
class Recording : public Base {
public:
    Recording(Core::ApplicationModel *model, const std::string &name, Journal *journal)
        : Base(model, name, 0), journal(journal)
    {
    }
    ~Recording() override
    {
        const auto &running = journal->running;
        if (std::find(running.begin(), running.end(), this) != running.end())
            journal->destroyedWhileRunning = true;
    }

    std::function<void()> onExecute, onCancel, onFinish;

    void execute() override
    {
        Journal *j = journal; // locals only: the operation may be gone when the step returns
        j->add(this->name() + ".execute");
        j->running.push_back(this);
        if (auto step = onExecute)
            step();
        j->running.pop_back();
    }
    void cancel() override
    {
        journal->add(this->name() + ".cancel");
        if (auto step = onCancel)
            step();
        else
            this->cancelWithMessage();
    }
    void finish() override
    {
        journal->add(this->name() + ".finish");
        if (auto step = onFinish)
            return step();
        this->model->inputRequest().resetRequest();
        this->postMessage("Operation finished.");
        this->model->operationFinished();
    }

    using Base::chooseVolumeThenFinish;
    void finishWhenExecuted() { onExecute = [this] { this->finish(); }; }
    void waitForEnterWhenExecuted() { onExecute = [this] { this->model->inputRequest().requestEnter(this); }; }

protected:
    Journal *journal;
};

using FakeOperation = Recording<Core::Operations::Operation>;

class FakeObjectOperation : public Recording<Core::Operations::ObjectOperation> {
public:
    using Recording::Recording;
    bool undoSucceeds = true;

    bool undo() override
    {
        journal->add(name() + ".undo");
        return undoSucceeds;
    }
    bool redo() override
    {
        journal->add(name() + ".redo");
        return true;
    }
};

class FakeFactory : public Core::Operations::IOperationFactory {
public:
    std::map<uint32_t, std::function<std::shared_ptr<Core::Operations::Operation>()>> makers;

    std::shared_ptr<Core::Operations::Operation> create(uint32_t id) override
    {
        const auto maker = makers.find(id);
        return maker == makers.end() ? nullptr : maker->second();
    }
};

// Journals a fixed label, or what `describe` returns, on every update.
class JournalObserver : public Util::IObserver {
public:
    JournalObserver(Journal *journal, std::function<std::string()> describe)
        : journal(journal), describe(std::move(describe))
    {
    }
    JournalObserver(Journal *journal, const std::string &label) : JournalObserver(journal, [label] { return label; }) {}

    void update() override
    {
        ++calls;
        journal->add(describe());
    }
    int calls = 0;

private:
    Journal *journal;
    std::function<std::string()> describe;
};

// Journals every console line as "console: <line>".
inline void watchConsole(Core::ApplicationModel &model, Journal &journal)
{
    auto &input = model.inputRequest();
    input.addObserver(std::make_shared<JournalObserver>(&journal, [&input] { return "console: " + input.message(); }));
}

// A 2 × 2 × 2 volume of material 1, added to the model's scene.
inline std::shared_ptr<Model::Automaton::TotalVolume> addVolume(Core::ApplicationModel &model)
{
    auto volume = std::make_shared<Model::Automaton::TotalVolume>(2, 2, 2, 1.f, 1.f, 1.f, Util::Vector3D(),
                                                                  std::vector<uint32_t>(8, 1));
    model.scene().addObject(volume);
    return volume;
}

} // namespace CoreTest
