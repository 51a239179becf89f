#include "UserSettings.h"

#include "GLWidget.h"
#include "Model/ColorTable.h"

#include <QSettings>
#include <QWidget>
#include <algorithm>

namespace Ui {
namespace UserSettings {

namespace {

const char *const kColorSetKey = "Colors/currentSet";
const char *const kCustomColorsKey = "Colors/custom";
const char *const kGridSpacingKey = "View/gridSpacing";
const char *const kActiveLampKey = "View/activeLamp";
const char *const kLampsKey = "View/lamps";

QString geometryKey(const QString &name)
{
    return name + QStringLiteral("/geometry");
}

} // namespace

void saveGeometry(const QString &name, const QWidget &window)
{
    QSettings().setValue(geometryKey(name), window.saveGeometry());
}

bool restoreGeometry(const QString &name, QWidget &window)
{
    const QByteArray geometry = QSettings().value(geometryKey(name)).toByteArray();
    return !geometry.isEmpty() && window.restoreGeometry(geometry);
}

void saveColors()
{
    using Model::ColorTable;
    const ColorTable &table = ColorTable::instance();
    QSettings settings;
    settings.setValue(QLatin1String(kColorSetKey), table.currentSet());
    settings.beginWriteArray(QLatin1String(kCustomColorsKey), ColorTable::KindCount);
    for (int kind = 0; kind < ColorTable::KindCount; ++kind) {
        settings.setArrayIndex(kind);
        const Util::Vector4D c = table.color(ColorTable::Kind(kind), ColorTable::kCustomSet);
        settings.setValue(QStringLiteral("rgba"), QVariantList{c.x, c.y, c.z, c.w});
    }
    settings.endArray();
}

void loadColors()
{
    using Model::ColorTable;
    ColorTable &table = ColorTable::instance();
    QSettings settings;
    const int count = settings.beginReadArray(QLatin1String(kCustomColorsKey));
    for (int kind = 0; kind < std::min(count, int(ColorTable::KindCount)); ++kind) {
        settings.setArrayIndex(kind);
        const QVariantList rgba = settings.value(QStringLiteral("rgba")).toList();
        if (rgba.size() == 4)
            table.setColor(ColorTable::Kind(kind), ColorTable::kCustomSet,
                           Util::Vector4D(rgba[0].toDouble(), rgba[1].toDouble(), rgba[2].toDouble(),
                                          rgba[3].toDouble()));
    }
    settings.endArray();
    if (settings.contains(QLatin1String(kColorSetKey)))
        table.setCurrentSet(settings.value(QLatin1String(kColorSetKey)).toInt());
}

void saveView(const GLWidget &view)
{
    QSettings settings;
    settings.setValue(QLatin1String(kGridSpacingKey), view.gridSpacing());
    settings.setValue(QLatin1String(kActiveLampKey), view.activeLamp());
    settings.beginWriteArray(QLatin1String(kLampsKey), view.lampCount());
    for (int number = 1; number <= view.lampCount(); ++number) {
        settings.setArrayIndex(number - 1);
        const GLWidget::Lamp lamp = view.lamp(number);
        settings.setValue(QStringLiteral("radius"), lamp.radius);
        settings.setValue(QStringLiteral("theta"), lamp.theta);
        settings.setValue(QStringLiteral("phi"), lamp.phi);
        settings.setValue(QStringLiteral("enabled"), view.isLampEnabled(number));
    }
    settings.endArray();
}

void loadView(GLWidget &view)
{
    QSettings settings;
    if (settings.contains(QLatin1String(kGridSpacingKey)))
        view.setGridSpacing(settings.value(QLatin1String(kGridSpacingKey)).toDouble());
    const int count = settings.beginReadArray(QLatin1String(kLampsKey));
    if (count > 0) {
        view.setLampCount(count);
        for (int number = 1; number <= view.lampCount(); ++number) {
            settings.setArrayIndex(number - 1);
            view.setLampRadius(number, settings.value(QStringLiteral("radius")).toFloat());
            view.setLampAngles(number, settings.value(QStringLiteral("theta")).toFloat(),
                               settings.value(QStringLiteral("phi")).toFloat());
            view.setLampEnabled(number, settings.value(QStringLiteral("enabled")).toBool());
        }
    }
    settings.endArray();
    if (count > 0 && settings.contains(QLatin1String(kActiveLampKey)))
        view.setActiveLamp(settings.value(QLatin1String(kActiveLampKey)).toInt());
}

} // namespace UserSettings
} // namespace Ui
