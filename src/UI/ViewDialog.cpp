#include "ViewDialog.h"

#include "GLWidget.h"
#include "ui_ViewDialog.h"

#include <cmath>

namespace Ui {

namespace {

const double kPi = std::acos(-1.0);
// A lamp added in the dialog starts above and in front of the viewer, switched on.
constexpr double kNewLampRadius = 300.0;
constexpr double kNewLampPhi = 45.0; // degrees

double toDegrees(double radians)
{
    return radians * 180.0 / kPi;
}

double toRadians(double degrees)
{
    return degrees * kPi / 180.0;
}

} // namespace

ViewDialog::ViewDialog(const GLWidget &view, Page page, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<ViewDialogForm>())
{
    ui->setupUi(this);
    ui->tabPages->setCurrentIndex(page);

    const QVector3D translation = view.axisTranslation();
    ui->dbxDistanceX->setValue(translation.x());
    ui->dbxDistanceY->setValue(translation.y());
    ui->dbxDistanceZ->setValue(translation.z());
    const QVector3D angles = view.rotationAngles();
    ui->sbxRotationX->setValue(int(std::lround(angles.x())));
    ui->sbxRotationY->setValue(int(std::lround(angles.y())));
    ui->sbxRotationZ->setValue(int(std::lround(angles.z())));
    ui->dbxPositionX->setValue(view.screenPosition().x());
    ui->dbxPositionY->setValue(view.screenPosition().y());
    ui->dbxZoom->setValue(1.0 / double(view.zoom()));

    for (int i = 1; i <= view.lampCount(); ++i) {
        const GLWidget::Lamp lamp = view.lamp(i);
        lampEntries.push_back({lamp.radius, toDegrees(lamp.theta), toDegrees(lamp.phi), view.isLampEnabled(i)});
    }
    activeLamp = view.activeLamp();
    fillLampChoice(activeLamp - 1);

    connect(ui->cbxLamp, qOverload<int>(&QComboBox::currentIndexChanged), this, &ViewDialog::showLamp);
    for (QDoubleSpinBox *field : {ui->dbxLampRadius, ui->dbxLampTheta, ui->dbxLampPhi})
        connect(field, qOverload<double>(&QDoubleSpinBox::valueChanged), this, &ViewDialog::storeLamp);
    connect(ui->chkLampEnabled, &QCheckBox::toggled, this, &ViewDialog::storeLamp);
    connect(ui->btnAddLamp, &QPushButton::clicked, this, &ViewDialog::addLamp);
    connect(ui->btnDeleteLamp, &QPushButton::clicked, this, &ViewDialog::deleteLamp);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &ViewDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &ViewDialog::reject);
}

ViewDialog::~ViewDialog() = default;

void ViewDialog::fillLampChoice(int current)
{
    const QSignalBlocker blocker(ui->cbxLamp);
    ui->cbxLamp->clear();
    for (size_t i = 0; i < lampEntries.size(); ++i)
        ui->cbxLamp->addItem(QString::number(i + 1));
    ui->cbxLamp->setCurrentIndex(current);
    showLamp(current);
    ui->btnAddLamp->setEnabled(int(lampEntries.size()) < GLWidget::kMaxLamps);
    ui->btnDeleteLamp->setEnabled(lampEntries.size() > 1);
}

void ViewDialog::showLamp(int index)
{
    if (index < 0 || index >= int(lampEntries.size()))
        return;
    const LampEntry &lamp = lampEntries[size_t(index)];
    loadingLamp = true;
    ui->dbxLampRadius->setValue(lamp.radius);
    ui->dbxLampTheta->setValue(lamp.theta);
    ui->dbxLampPhi->setValue(lamp.phi);
    ui->chkLampEnabled->setChecked(lamp.enabled);
    loadingLamp = false;
}

void ViewDialog::storeLamp()
{
    const int index = ui->cbxLamp->currentIndex();
    if (loadingLamp || index < 0 || index >= int(lampEntries.size()))
        return;
    LampEntry &lamp = lampEntries[size_t(index)];
    lamp.radius = ui->dbxLampRadius->value();
    lamp.theta = ui->dbxLampTheta->value();
    lamp.phi = ui->dbxLampPhi->value();
    lamp.enabled = ui->chkLampEnabled->isChecked();
}

void ViewDialog::addLamp()
{
    if (int(lampEntries.size()) >= GLWidget::kMaxLamps)
        return;
    lampEntries.push_back({kNewLampRadius, 0.0, kNewLampPhi, true});
    fillLampChoice(int(lampEntries.size()) - 1);
}

void ViewDialog::deleteLamp()
{
    const int index = ui->cbxLamp->currentIndex();
    if (lampEntries.size() <= 1 || index < 0)
        return;
    lampEntries.erase(lampEntries.begin() + index);
    fillLampChoice(std::min(index, int(lampEntries.size()) - 1));
}

void ViewDialog::applyTo(GLWidget &view) const
{
    view.setAxisTranslation(float(ui->dbxDistanceX->value()), float(ui->dbxDistanceY->value()),
                            float(ui->dbxDistanceZ->value()));
    view.setRotation(ui->sbxRotationX->value(), ui->sbxRotationY->value(), ui->sbxRotationZ->value());
    view.setScreenPosition(float(ui->dbxPositionX->value()), float(ui->dbxPositionY->value()));
    view.setZoom(float(1.0 / ui->dbxZoom->value()));

    view.setLampCount(int(lampEntries.size()));
    for (size_t i = 0; i < lampEntries.size(); ++i) {
        const LampEntry &lamp = lampEntries[i];
        const int number = int(i) + 1;
        view.setLampRadius(number, float(lamp.radius));
        view.setLampAngles(number, float(toRadians(lamp.theta)), float(toRadians(lamp.phi)));
        view.setLampEnabled(number, lamp.enabled);
    }
    view.setActiveLamp(std::min(activeLamp, int(lampEntries.size())));
}

} // namespace Ui
