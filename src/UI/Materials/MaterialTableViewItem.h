#pragma once

#include "Model/Materials/Material.h"

#include <QAbstractTableModel>
#include <vector>

namespace Ui {

// Table model of the "Manage Materials" dialog over its own copy of the materials. Ids are never
// edited; names only for user materials (id 2000 and above), since other parts of the program
// refer to the built-in materials by id and name.
class MaterialTableViewItem : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        MaterialIdColumn = 0,
        NameColumn,
        ColorColumn,
        DensityColumn,
        YoungModulusColumn,
        PoissonRatioColumn,
        ColumnCount
    };

    explicit MaterialTableViewItem(const std::vector<Model::Materials::Material> &materials,
                                   QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    // Display and edit roles: the id, the name, the colour as a QColor, the three numbers.
    // Numbers are offered for editing as text, so that values such as 1.88e+11 edit naturally.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Accepts the edit role only: a QColor for the colour, anything convertible to a double for
    // the numbers, a non-empty text for the name.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // Appends a "New Material" row with a fresh catalogue id; returns its row.
    int addMaterial();

    // The rows in row order.
    const std::vector<Model::Materials::Material> &materials() const { return rows; }

private:
    bool isEditable(const QModelIndex &index) const;
    // Writes an edited cell value into `material`; false when the value does not fit the column.
    static bool applyEdit(Model::Materials::Material &material, int column, const QVariant &value);

    std::vector<Model::Materials::Material> rows;
};

} // namespace Ui
