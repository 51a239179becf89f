#include "AboutWindow.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace Ui {

namespace {
const char *const kCredits =
    "<h2>Voxfab</h2>"
    "<p>A simulator of microfabrication processes on a three-dimensional grid of cells: "
    "deposition and etching, photolithography, wet etching of crystalline silicon, oxidation, "
    "doping, planarization, gluing and cuts, shown in an interactive 3D view.</p>"
    "<p>Written by the Voxfab team for MEMS designers, process engineers and students.</p>"
    "<p>Built with the Qt toolkit and OpenGL.</p>";
}

AboutWindow::AboutWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(this);
    label->setObjectName(QStringLiteral("lblCredits"));
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setText(QString::fromUtf8(kCredits));
    layout->addWidget(label);
    auto *versionLabel = new QLabel(QStringLiteral("Version ") + version(), this);
    versionLabel->setObjectName(QStringLiteral("lblVersion"));
    layout->addWidget(versionLabel);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setObjectName(QStringLiteral("btnBox"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString AboutWindow::version()
{
    return QStringLiteral(VOXFAB_VERSION);
}

} // namespace Ui
