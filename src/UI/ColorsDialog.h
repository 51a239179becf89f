#pragma once

#include "Model/ColorTable.h"
#include "Util/Vector4D.h"

#include <QDialog>
#include <array>
#include <memory>

class QPushButton;

namespace Ui {
class ColorsDialogForm;

// "Change Default Colors": the background, grid, object and outline colours. The two load
// buttons fill the fields from the default or the low colour scheme and choose that scheme;
// picking a colour by hand chooses the custom set. On acceptance, applyToTable makes the chosen
// set current and writes the four fields into the custom set.
class ColorsDialog : public QDialog {
    Q_OBJECT
public:
    explicit ColorsDialog(QWidget *parent = nullptr);
    ~ColorsDialog() override;

    // Fills the four fields from colour set `set` and chooses it.
    void loadSet(int set);
    int chosenSet() const { return chosen; }
    Util::Vector4D fieldColor(Model::ColorTable::Kind kind) const;
    // As a colour picked by hand: chooses the custom set. Only the four edited kinds count.
    void setFieldColor(Model::ColorTable::Kind kind, const Util::Vector4D &color);

    void applyToTable() const;

    ColorsDialogForm *form() const { return ui.get(); }

private:
    static constexpr int kFieldCount = 4;
    static int fieldIndex(Model::ColorTable::Kind kind);
    void pickColor(int field);
    void showField(int field);

    std::unique_ptr<ColorsDialogForm> ui;
    std::array<QPushButton *, kFieldCount> buttons{};
    std::array<Util::Vector4D, kFieldCount> fields;
    int chosen = Model::ColorTable::kDefaultSet;
};

} // namespace Ui
