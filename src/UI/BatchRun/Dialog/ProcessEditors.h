#pragma once

#include "Engine/ProcessData.h"

#include <QString>
#include <QVariantMap>
#include <cstdint>
#include <functional>

class QDialog;
class QWidget;

namespace Ui {

// How the batch dialog reaches the user when a step is added or modified. Both functions are
// replaced by tests.
struct ProcessEditContext {
    enum class FileMode { Open, Save };
    // Runs a dialog modally; true when it was accepted.
    using DialogRunner = std::function<bool(QDialog &dialog)>;
    // Asks for a file name; empty when the user cancelled.
    using FileChooser = std::function<QString(QWidget *parent, FileMode mode, const QString &caption,
                                              const QString &directory, const QString &filter)>;

    QWidget *parent = nullptr;
    DialogRunner runDialog;
    FileChooser chooseFile;
};

// What the batch dialog knows of one process type: how to ask the user for its parameters, and
// which of them the list shows. Each process step that gets an option dialog adds one entry
// to the table in ProcessEditors.cpp; most entries are {type, &editInDialog<TheDialog>}.
struct ProcessEditor {
    uint32_t type;
    // Opens the type's option dialog filled from `values` (the step's parameters, or nothing
    // for a new step). On acceptance `values` receives the dialog's values and true is returned.
    bool (*edit)(ProcessEditContext &context, uint32_t type, QVariantMap &values);
    // Whether a parameter other than a material's is listed, given all values of the step;
    // null when all are.
    bool (*isVisible)(const QString &name, const QVariantMap &values) = nullptr;
    // The doping steps list the material id beside its name.
    bool materialIdVisible = false;
};

// The editor of a type, or null when that process cannot be edited in a list yet.
const ProcessEditor *processEditor(uint32_t type);

// A new step of `type` from an option dialog's values: every "<base>_Id" value becomes the
// three material parameters of that base, every other value a parameter of its own.
Engine::ProcessData makeProcessStep(const ProcessEditor &editor, uint32_t type, const QVariantMap &values);

// Opens the step's option dialog filled from the step and, on acceptance, replaces its values
// by the dialog's; the visibility of existing parameters stays as it is. False when the user
// cancelled or the type has no editor.
bool modifyProcessStep(ProcessEditContext &context, Engine::ProcessData &step);

} // namespace Ui
