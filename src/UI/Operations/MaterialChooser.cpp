#include "MaterialChooser.h"

#include <QComboBox>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace Ui {
namespace Operations {

namespace {
constexpr int kSwatchSize = 16; // pixels

QIcon swatch(const QColor &color)
{
    QPixmap pixmap(kSwatchSize, kSwatchSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    QColor fill = color;
    fill.setAlpha(255); // the swatch shows the hue; translucency would hide it
    painter.setBrush(fill);
    painter.drawRect(0, 0, kSwatchSize - 1, kSwatchSize - 1);
    return QIcon(pixmap);
}
} // namespace

QColor materialColor(const Model::Materials::Material &material)
{
    const auto c = material.color();
    return QColor::fromRgbF(c[0], c[1], c[2], c[3]);
}

void fillMaterialChooser(QComboBox *chooser, const std::vector<Model::Materials::Material> &materials)
{
    chooser->clear();
    for (const auto &material : materials)
        chooser->addItem(swatch(materialColor(material)), material.name(), material.materialId());
}

uint32_t chosenMaterialId(const QComboBox *chooser)
{
    if (chooser->currentIndex() < 0)
        return 0;
    return chooser->currentData().toUInt();
}

bool chooseMaterial(QComboBox *chooser, uint32_t id)
{
    const int index = chooser->findData(id);
    if (index < 0)
        return false;
    chooser->setCurrentIndex(index);
    return true;
}

} // namespace Operations
} // namespace Ui
