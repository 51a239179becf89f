#pragma once

#include "Util/IObserver.h"

#include <QPointer>
#include <QWidget>
#include <memory>

namespace Core {
class ApplicationModel;
namespace Operations {
class Operation;
}
}

namespace Ui {
namespace Operations {
class ExtractModelDialog;
}

namespace Observers {

// The tool window of the running model extraction, shared by the observer that opens it and
// the one that closes it; empty while none is open.
using ExtractModelWindow = std::shared_ptr<QPointer<Operations::ExtractModelDialog>>;

// Opens the "Extract Model" tool window over the main window for the model's current
// RunModelExtraction, without waiting for it.
class RunModelExtractionObserver : public Util::IObserver {
public:
    RunModelExtractionObserver(Core::ApplicationModel *model, QWidget *mainWindow, ExtractModelWindow window);
    void update() override;

private:
    Core::ApplicationModel *model;
    QPointer<QWidget> mainWindow;
    ExtractModelWindow window;
};

// Closes the tool window that RunModelExtractionObserver opened, when there is one.
class DestroyModelExtractionDialogObserver : public Util::IObserver {
public:
    explicit DestroyModelExtractionDialogObserver(ExtractModelWindow window) : window(std::move(window)) {}
    void update() override;

private:
    ExtractModelWindow window;
};

// A RunModelExtraction wired to both observers: what the operation factory makes for
// "Model Extraction".
std::shared_ptr<Core::Operations::Operation> makeModelExtraction(Core::ApplicationModel *model, QWidget *mainWindow);

} // namespace Observers
} // namespace Ui
