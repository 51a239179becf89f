#include "MaterialTableViewItem.h"

#include "Model/Materials/MaterialFactory.h"

#include <QColor>
#include <algorithm>

namespace Ui {

namespace {
constexpr int kShownDigits = 6;
constexpr int kFloatRoundTripDigits = 9; // always enough to give a float back unchanged

// The shortest text of at least six significant digits that reads back as the same float.
QString editText(float value)
{
    for (int digits = kShownDigits; digits < kFloatRoundTripDigits; ++digits) {
        const QString text = QString::number(value, 'g', digits);
        if (text.toFloat() == value)
            return text;
    }
    return QString::number(value, 'g', kFloatRoundTripDigits);
}
} // namespace

using Model::Materials::Material;
using Model::Materials::MaterialFactory;

MaterialTableViewItem::MaterialTableViewItem(const std::vector<Material> &materials, QObject *parent)
    : QAbstractTableModel(parent), rows(materials)
{
}

int MaterialTableViewItem::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows.size());
}

int MaterialTableViewItem::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant MaterialTableViewItem::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    const Material &material = rows[index.row()];
    const auto number = [role](float value) -> QVariant {
        if (role == Qt::EditRole)
            return editText(value);
        return double(value);
    };
    switch (index.column()) {
    case MaterialIdColumn:
        return material.materialId();
    case NameColumn:
        return material.name();
    case ColorColumn:
        return material.toQColor();
    case DensityColumn:
        return number(material.density());
    case YoungModulusColumn:
        return number(material.youngModulus());
    case PoissonRatioColumn:
        return number(material.poissonRatio());
    default:
        return QVariant();
    }
}

QVariant MaterialTableViewItem::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section + 1;
    switch (section) {
    case MaterialIdColumn:
        return QStringLiteral("Material Id");
    case NameColumn:
        return QStringLiteral("Material Name");
    case ColorColumn:
        return QStringLiteral("Color");
    case DensityColumn:
        return QString::fromUtf8("Density (kg/m³)");
    case YoungModulusColumn:
        return QStringLiteral("Young Modulus (Pa)");
    case PoissonRatioColumn:
        return QStringLiteral("Poisson Ratio");
    default:
        return QStringLiteral("Column %1").arg(section);
    }
}

bool MaterialTableViewItem::isEditable(const QModelIndex &index) const
{
    switch (index.column()) {
    case NameColumn:
        return rows[index.row()].materialId() >= MaterialFactory::kFirstUserMaterialId;
    case ColorColumn:
    case DensityColumn:
    case YoungModulusColumn:
    case PoissonRatioColumn:
        return true;
    default:
        return false;
    }
}

Qt::ItemFlags MaterialTableViewItem::flags(const QModelIndex &index) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (isEditable(index))
        result |= Qt::ItemIsEditable;
    return result;
}

bool MaterialTableViewItem::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount() || !isEditable(index))
        return false;
    if (!applyEdit(rows[index.row()], index.column(), value))
        return false;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

bool MaterialTableViewItem::applyEdit(Material &material, int column, const QVariant &value)
{
    bool ok = false;
    const auto number = [&value, &ok]() { return float(value.toDouble(&ok)); };
    switch (column) {
    case NameColumn: {
        const QString name = value.toString();
        ok = !name.trimmed().isEmpty(); // a nameless material would be dropped from the catalogue file
        if (ok)
            material.setName(name);
        return ok;
    }
    case ColorColumn: {
        const QColor color = value.value<QColor>();
        ok = color.isValid();
        if (ok)
            material.setColor(color);
        return ok;
    }
    case DensityColumn: {
        const float density = number();
        if (ok)
            material.setDensity(density);
        return ok;
    }
    case YoungModulusColumn: {
        const float youngModulus = number();
        if (ok)
            material.setYoungModulus(youngModulus);
        return ok;
    }
    case PoissonRatioColumn: {
        const float poissonRatio = number();
        if (ok)
            material.setPoissonRatio(poissonRatio);
        return ok;
    }
    default:
        return false;
    }
}

int MaterialTableViewItem::addMaterial()
{
    // The id must also differ from rows added earlier in this dialog, which are not in the
    // catalogue yet.
    auto catalogue = MaterialFactory::instance();
    uint32_t id = 0;
    do {
        id = catalogue->newMaterialId();
    } while (std::any_of(rows.begin(), rows.end(), [id](const Material &m) { return m.materialId() == id; }));

    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    rows.emplace_back(id, QStringLiteral("New Material"), 0.0f, 0.0f, 0.0f);
    endInsertRows();
    return row;
}

} // namespace Ui
