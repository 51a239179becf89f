#include "RunProcessesDialog.h"

#include "Core/ApplicationModel.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Persistence/MaterialConflict.h"
#include "UI/BatchRun/Dialog/MoveProcessDialog.h"
#include "UI/FileDialogTexts.h"
#include "Engine/ProcessListRun.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/ProcessTypes.h"
#include "UI/LastFolders.h"
#include "UI/MainWindow.h"
#include "UI/Observers/MaterialConflictObserver.h"
#include "Util/Vector3D.h"
#include "ui_RunProcessesDialog.h"

#include <QCloseEvent>
#include <QColor>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPixmap>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

namespace Ui {

namespace {

constexpr int kProgressInterval = 500; // ms
constexpr int kColorIconSize = 25;     // pixels
constexpr int kShutdownPoll = 20;      // ms between looks at the run guard while the dialog is destroyed

struct ProcessChoice {
    const char *text;
    uint32_t type;
};
// The combo box sorts them by text.
const ProcessChoice kProcessChoices[] = {
    {"Anisotropic Deposition", Engine::AnisotropicDepositionType},
    {"Anisotropic Etching", Engine::AnisotropicEtchingType},
    {"Create Substrate", Engine::CreateSubstrateType},
    {"CVD", Engine::CvdType},
    {"Doping", Engine::DopingType},
    {"Electroplating", Engine::ElectroplatingType},
    {"Ion Implantation", Engine::IonImplantationType},
    {"Isotropic Etching", Engine::IsotropicEtchingType},
    {"Isotropic Deposition", Engine::IsotropicDepositionType},
    {"Moore Deposition", Engine::MooreDepositionType},
    {"Moore Etching", Engine::MooreEtchingType},
    {"Photolithography", Engine::PhotolithographyType},
    {"Planarization", Engine::PlanarizationType},
    {"Pour Material", Engine::SpinCoatingType},
    {"Random Walk Doping", Engine::RandomWalkDopingType},
    {"PVD", Engine::PvdType},
    {"RIE", Engine::SimpleRieType},
    {"Save Image", Engine::SaveImageType},
    {"Si Wet Etching", Engine::SiWetEtchingType},
    {"Si Wet Etching (CCA)", Engine::SiWetEtchingCcaType},
    {"Thermal Oxidation", Engine::SiOxidationType},
};

QString valueText(const QVariant &value)
{
    if (value.userType() == qMetaTypeId<Util::Vector3D>()) {
        const auto v = value.value<Util::Vector3D>();
        return QStringLiteral("%1; %2; %3").arg(v.x).arg(v.y).arg(v.z);
    }
    return value.toString();
}

QIcon colorIcon(const QColor &color)
{
    QPixmap pixmap(kColorIconSize, kColorIconSize);
    pixmap.fill(color);
    return QIcon(pixmap);
}

QString chooseFileWithDialog(QWidget *parent, ProcessEditContext::FileMode mode, const QString &caption,
                             const QString &directory, const QString &filter)
{
    if (mode == ProcessEditContext::FileMode::Open)
        return QFileDialog::getOpenFileName(parent, caption, directory, filter);
    return QFileDialog::getSaveFileName(parent, caption, directory, filter);
}

} // namespace

RunProcessesDialog::RunProcessesDialog(QWidget *parent, Core::ApplicationModel *model)
    : QDialog(parent), ui(std::make_unique<RunProcessesDialogForm>()), mainWindow(parent), model(model)
{
    ui->setupUi(this);
    baseTitle = windowTitle();
    for (const ProcessChoice &choice : kProcessChoices)
        ui->cbxProcessType->addItem(QString::fromLatin1(choice.text), choice.type);
    ui->cbxProcessType->model()->sort(0);
    ui->cbxProcessType->setCurrentIndex(0);

    progressTimer.setInterval(kProgressInterval);
    connect(&progressTimer, &QTimer::timeout, this, &RunProcessesDialog::updateProgress);
    connect(ui->treeWidget, &QTreeWidget::itemSelectionChanged, this, &RunProcessesDialog::selectionChanged);

    listFile.setWarning([](const QString &title, const QString &text) { QMessageBox::warning(nullptr, title, text); });
    editContext.parent = this;
    editContext.runDialog = [](QDialog &dialog) { return dialog.exec() == QDialog::Accepted; };
    editContext.chooseFile = &chooseFileWithDialog;
    saveImage = [this](const QString &filename) { return saveImageThroughView(filename); };
    updateTitle();
}

RunProcessesDialog::RunProcessesDialog(QWidget *parent, std::shared_ptr<Model::Automaton::TotalVolume> volume,
                                       Core::ApplicationModel *model)
    : RunProcessesDialog(parent, model)
{
    runVolume = std::move(volume);
}

RunProcessesDialog::RunProcessesDialog(QWidget *parent, const QString &fileName, Core::ApplicationModel *model)
    : RunProcessesDialog(parent, model)
{
    if (!fileName.isEmpty())
        loadList(fileName);
}

RunProcessesDialog::~RunProcessesDialog()
{
    progressTimer.stop();
    if (runFuture.isRunning()) {
        closing = true;
        // The worker may be waiting in a blocking call of updateGeometry on this thread:
        // deliver that call while waiting, or neither side would ever go on.
        while (!runGuard.tryAcquire(1, kShutdownPoll))
            QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
        runGuard.release();
        runFuture.waitForFinished();
    }
}

bool RunProcessesDialog::isRunning()
{
    if (!runGuard.tryAcquire())
        return true;
    runGuard.release();
    return false;
}

void RunProcessesDialog::updateTitle()
{
    setWindowTitle(baseTitle + QLatin1Char(' ') + fileName);
}

// ---- The tree ----

void RunProcessesDialog::rebuildTree()
{
    QTreeWidget *tree = ui->treeWidget;
    tree->clear();
    for (int i = 0; i < processList.size(); ++i) {
        const Engine::ProcessData &step = processList[i];
        auto *row = new QTreeWidgetItem(tree);
        row->setText(0, QString::number(i + 1));
        row->setText(1, Engine::processName(step.processType()));
        row->setData(1, Qt::UserRole, step.id());
        const auto &values = step.parameters();
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            if (!step.visibility().value(it.key(), false))
                continue;
            auto *child = new QTreeWidgetItem(row);
            child->setText(2, it.key());
            child->setText(3, valueText(it.value()));
            const QString colorName = Engine::Parameters::colorOf(it.key());
            if (values.contains(colorName))
                child->setIcon(3, colorIcon(values.value(colorName).value<QColor>()));
        }
    }
    for (int i = 0; i < processList.size(); ++i)
        if (processList[i].isExpanded())
            tree->topLevelItem(i)->setExpanded(true);
    tree->resizeColumnToContents(0);
    tree->resizeColumnToContents(1);
}

int RunProcessesDialog::stepOfRow(const QTreeWidgetItem *item) const
{
    if (!item)
        return -1;
    if (item->parent())
        item = item->parent();
    bool ok = false;
    const int position = item->text(0).toInt(&ok);
    return ok && position >= 1 && position <= processList.size() ? position - 1 : -1;
}

int RunProcessesDialog::selectedStep() const
{
    const auto rows = ui->treeWidget->selectedItems();
    return rows.isEmpty() ? -1 : stepOfRow(rows.first());
}

void RunProcessesDialog::selectStep(int index)
{
    if (QTreeWidgetItem *row = ui->treeWidget->topLevelItem(index))
        ui->treeWidget->setCurrentItem(row);
}

void RunProcessesDialog::on_treeWidget_itemExpanded(QTreeWidgetItem *item)
{
    const int index = stepOfRow(item);
    if (index >= 0)
        processList[index].setExpanded(true);
}

void RunProcessesDialog::on_treeWidget_itemCollapsed(QTreeWidgetItem *item)
{
    const int index = stepOfRow(item);
    if (index >= 0)
        processList[index].setExpanded(false);
}

// Only steps can be selected: the buttons act on steps.
void RunProcessesDialog::selectionChanged()
{
    const auto rows = ui->treeWidget->selectedItems();
    if (!rows.isEmpty() && rows.first()->parent())
        ui->treeWidget->clearSelection();
}

// ---- Editing the list ----

void RunProcessesDialog::on_btnAddProcess_clicked()
{
    const uint32_t type = ui->cbxProcessType->currentData().toUInt();
    const ProcessEditor *editor = processEditor(type);
    if (!editor) {
        QMessageBox::information(this, baseTitle,
                                 QStringLiteral("The process \"%1\" is not available in process lists yet.")
                                     .arg(ui->cbxProcessType->currentText()));
        return;
    }
    QVariantMap values;
    if (!editor->edit(editContext, type, values))
        return;
    processList.append(makeProcessStep(*editor, type, values));
    rebuildTree();
}

void RunProcessesDialog::on_btnModify_clicked()
{
    const auto rows = ui->treeWidget->selectedItems();
    if (!rows.isEmpty())
        on_treeWidget_itemDoubleClicked(rows.first(), 0);
}

void RunProcessesDialog::on_treeWidget_itemDoubleClicked(QTreeWidgetItem *item, int)
{
    const int index = stepOfRow(item);
    if (index < 0)
        return;
    if (modifyProcessStep(editContext, processList[index]))
        rebuildTree();
}

void RunProcessesDialog::on_btnRemoveProcess_clicked()
{
    const auto rows = ui->treeWidget->selectedItems();
    if (rows.isEmpty())
        return;
    for (const QTreeWidgetItem *row : rows) {
        const uint32_t id = row->data(1, Qt::UserRole).toUInt();
        for (int i = 0; i < processList.size(); ++i) {
            if (processList[i].id() == id) {
                processList.removeAt(i);
                break;
            }
        }
    }
    rebuildTree();
}

void RunProcessesDialog::moveStep(int from, int to)
{
    processList.move(from, to);
    rebuildTree();
    selectStep(to);
}

void RunProcessesDialog::on_btnMoveUp_clicked()
{
    const int index = selectedStep();
    if (index > 0)
        moveStep(index, index - 1);
}

void RunProcessesDialog::on_btnMoveDown_clicked()
{
    const int index = selectedStep();
    if (index >= 0 && index + 1 < processList.size())
        moveStep(index, index + 1);
}

void RunProcessesDialog::on_btnMoveTo_clicked()
{
    const int index = selectedStep();
    if (index < 0)
        return;
    MoveProcessDialog dialog(processList, processList[index].id(), this);
    if (!editContext.runDialog(dialog))
        return;
    const auto target = dialog.targetId();
    if (!target)
        return;
    const Engine::ProcessData moved = processList.takeAt(index);
    int position = 0;
    while (position < processList.size() && processList[position].id() != *target)
        ++position;
    if (dialog.placeAfter() && position < processList.size())
        ++position;
    processList.insert(position, moved);
    rebuildTree();
    selectStep(position);
}

void RunProcessesDialog::on_btnNewList_clicked()
{
    if (processList.isEmpty())
        return;
    QMessageBox box(this);
    box.setText(QStringLiteral("Creating a new process list."));
    box.setInformativeText(QStringLiteral("You will lose any unsaved changes, do you wish to continue?"));
    box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        // A save that was declined or failed keeps the list: it is not thrown away unsaved.
        if (!saveList())
            break;
        Q_FALLTHROUGH();
    case QMessageBox::Discard:
        processList.clear();
        rebuildTree();
        fileName.clear();
        setWindowTitle(baseTitle);
        break;
    case QMessageBox::Cancel:
        break;
    default:
        qDebug() << __FILE__ << Q_FUNC_INFO << "Run process create new list message box returned unexpected value.";
        break;
    }
}

// ---- Files ----

bool RunProcessesDialog::loadList(const QString &name)
{
    // A list's materials may clash with the catalogue's; the conflict dialog then shows on its
    // own, without a parent. The main window's observer is put back afterwards, so that its
    // documents still show the dialog over the window.
    auto &conflict = Model::Persistence::MaterialConflict::instance();
    const std::shared_ptr<Util::IObserver> windowObserver = conflict.observer();
    conflict.setObserver(std::make_shared<Observers::MaterialConflictObserver>(nullptr));
    QList<Engine::ProcessData> loaded;
    const bool read = listFile.read(name, loaded);
    conflict.setObserver(windowObserver);
    if (!read)
        return false;
    processList = loaded;
    rebuildTree();
    fileName = name;
    updateTitle();
    return true;
}

bool RunProcessesDialog::writeList(const QString &name)
{
    return listFile.write(name, processList);
}

void RunProcessesDialog::on_btnLoadList_clicked()
{
    const QString name = editContext.chooseFile(this, ProcessEditContext::FileMode::Open, FileDialogTexts::processListCaption(),
                                                lastFolder(FileKind::ProcessLists), FileDialogTexts::processListFilter());
    rememberFolder(FileKind::ProcessLists, name);
    if (!name.isEmpty())
        loadList(name);
}

void RunProcessesDialog::on_btnSaveList_clicked()
{
    saveList();
}

void RunProcessesDialog::on_btnSaveListAs_clicked()
{
    saveListAs();
}

bool RunProcessesDialog::saveList()
{
    if (fileName.isEmpty())
        return saveListAs();
    return writeList(fileName);
}

bool RunProcessesDialog::saveListAs()
{
    const QString start = fileName.isEmpty() ? lastFolder(FileKind::ProcessLists) : fileName;
    const QString name = editContext.chooseFile(this, ProcessEditContext::FileMode::Save, FileDialogTexts::processListCaption(),
                                                start, FileDialogTexts::processListFilter());
    rememberFolder(FileKind::ProcessLists, name);
    if (name.isEmpty() || !writeList(name))
        return false;
    fileName = name;
    updateTitle();
    return true;
}

// ---- The run ----

void RunProcessesDialog::on_btnRun_clicked()
{
    ui->progressBar->setValue(0);
    ui->progressBar->setEnabled(true);
    ui->progressBar->setRange(0, processList.size());
    if (!runGuard.tryAcquire())
        return;
    completed = 0;
    progressTimer.start();
    // The worker runs its own copy, so that the list stays editable during the run.
    const QList<Engine::ProcessData> steps = processList;
    runFuture = QtConcurrent::run(QThreadPool::globalInstance(), [this, steps] { runProcessList(steps); });
}

void RunProcessesDialog::runProcessList(const QList<Engine::ProcessData> &steps)
{
    // This task mostly waits at the automata's slab barriers; lend its pool thread to the slab
    // tasks so that they get the full thread count.
    QThreadPool::globalInstance()->releaseThread();

    Engine::ProcessListRun run(*model, runVolume);
    run.setImageSaver([this, &run](const QString &filename) {
        runVolume = run.volume(); // a "Create Substrate" step may have made a new one
        return saveImage(filename);
    });
    // A failed step is written to the debug log by the run; the progress bar shows where it stopped.
    run.run(steps, &completed);
    runVolume = run.volume();

    QThreadPool::globalInstance()->reserveThread();
    runGuard.release();
}

QString RunProcessesDialog::saveImageThroughView(const QString &filename)
{
    QMetaObject::invokeMethod(this, "updateGeometry", Qt::BlockingQueuedConnection, Q_ARG(QString, filename));
    return imageError;
}

void RunProcessesDialog::updateGeometry(QString filename)
{
    imageError.clear();
    if (closing) {
        imageError = QStringLiteral("the batch run was closed");
        return;
    }
    repaintView();
    if (filename.isEmpty())
        return;
    auto *window = qobject_cast<MainWindow *>(mainWindow);
    if (!window)
        imageError = QStringLiteral("there is no view to take the image from");
    else if (!window->saveImage(filename))
        imageError = QStringLiteral("the view could not be saved as ") + filename;
}

void RunProcessesDialog::repaintView()
{
    if (auto *window = qobject_cast<MainWindow *>(mainWindow))
        window->repaintCentralWidget();
}

void RunProcessesDialog::updateProgress()
{
    ui->progressBar->setValue(int(completed.load()));
    if (!runGuard.tryAcquire()) {
        progressTimer.start();
        return;
    }
    progressTimer.stop();
    if (runVolume) {
        repaintView();
    } else {
        QMessageBox::critical(this, QStringLiteral("Missing Cell Volume"),
                              QStringLiteral("No cell volume was selected and a cell volume was not created. The cell "
                                             "volume must be created before any other process."));
        completed = 0;
    }
    ui->progressBar->setValue(int(completed.load()));
    runGuard.release();
}

// ---- Closing ----

void RunProcessesDialog::on_btnClose_clicked()
{
    if (!isRunning())
        close();
}

void RunProcessesDialog::reject()
{
    if (!isRunning())
        QDialog::reject();
}

void RunProcessesDialog::closeEvent(QCloseEvent *event)
{
    if (isRunning())
        event->ignore();
    else
        QDialog::closeEvent(event);
}

} // namespace Ui
