#pragma once

// What the UI tests share: a dialog's field by name, a main window the test owns, its console,
// message boxes answered and noted, and mask images.

#include "Core/ApplicationModel.h"
#include "Core/Operations/ObjectOperation.h"
#include "UI/MainWindow.h"
#include "UI/MainWindowPresenter.h"
#include "UI/Operations/MaterialChooser.h"
#include "common/TestSupport.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QImage>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace UiTest {

template <class T>
T *child(QObject &parent, const QString &name)
{
    T *widget = parent.findChild<T *>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
}

// Sets a field the way a user would: a spin box's value, a material chooser's material, a button's
// check.
inline void set(QWidget &dialog, const char *name, double value)
{
    QObject *field = dialog.findChild<QObject *>(name);
    ASSERT_NE(field, nullptr) << name;
    if (auto *box = qobject_cast<QDoubleSpinBox *>(field))
        box->setValue(value);
    else if (auto *count = qobject_cast<QSpinBox *>(field))
        count->setValue(int(value));
    else if (auto *chooser = qobject_cast<QComboBox *>(field))
        ASSERT_TRUE(Ui::Operations::chooseMaterial(chooser, uint32_t(value))) << name << " " << value;
    else if (auto *button = qobject_cast<QAbstractButton *>(field))
        button->setChecked(value != 0.0);
    else
        FAIL() << name << " is no field";
}

using Fields = std::vector<std::pair<const char *, double>>;

inline void fill(QWidget &dialog, const Fields &fields)
{
    for (const auto &field : fields)
        set(dialog, field.first, field.second);
}

inline void pressOk(QWidget &dialog)
{
    dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
}

// Fills the next modal dialog's fields and presses its OK.
inline void fillNextModal(const Fields &fields)
{
    TestSupport::answerNextModal([fields](QWidget *modal) {
        fill(*modal, fields);
        pressOk(*modal);
    });
}

inline std::unique_ptr<Ui::MainWindow> makeWindow()
{
    auto window = std::make_unique<Ui::MainWindow>();
    window->setAttribute(Qt::WA_DeleteOnClose, false); // the test owns it
    return window;
}

inline QString consoleText(Ui::MainWindow &window)
{
    return window.presenter().commandConsole().output()->toPlainText();
}

// An undoable step that changes nothing and finishes as soon as it starts, or waits for Enter
// (posting `prompt` first, as the object operations do, when given one).
class FakeStep : public Core::Operations::ObjectOperation {
public:
    FakeStep(Core::ApplicationModel *model, std::string name, bool waitForEnter = false, std::string prompt = {})
        : ObjectOperation(model, std::move(name), 99 /* no operation of the program */), waitForEnter(waitForEnter),
          prompt(std::move(prompt))
    {
    }
    void execute() override
    {
        if (++executions == 1 && waitForEnter) {
            if (!prompt.empty())
                postMessage(prompt);
            model->inputRequest().requestEnter(this);
            return;
        }
        finish();
    }
    void cancel() override
    {
        ++cancels;
        cancelWithMessage();
    }
    void finish() override
    {
        postMessage("Operation finished.");
        model->operationFinished();
    }
    bool undo() override { return true; }
    bool redo() override { return true; }

    bool waitForEnter;
    std::string prompt;
    int executions = 0;
    int cancels = 0;
};

// What a message box showed.
struct Shown {
    QString title, text, details;
    int defaultButton = QMessageBox::NoButton;
    QString all() const { return title + " / " + text + " / " + details; }
};

// Answers the next modal, which must be a message box, with `button` and notes what it showed;
// `then` answers the modal that follows (a file dialog, an error box).
inline std::shared_ptr<Shown> answerNextBox(int button = QMessageBox::Ok,
                                            std::function<void(QWidget *)> then = nullptr, int timeoutMs = 60000)
{
    auto shown = std::make_shared<Shown>();
    TestSupport::answerNextModal(
        [=](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            ASSERT_TRUE(box) << modal->metaObject()->className();
            *shown = {box->windowTitle(), box->text(), box->informativeText(),
                      box->standardButton(box->defaultButton())};
            if (then)
                TestSupport::answerNextModal(then);
            box->button(QMessageBox::StandardButton(button))->click();
        },
        timeoutMs);
    return shown;
}

// A white image whose left `dark` pixel columns are black, written to `dir`.
inline QString writeMask(const QTemporaryDir &dir, const QString &name, int width, int height, int dark)
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

} // namespace UiTest
