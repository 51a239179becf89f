#pragma once

#include <QDialog>
#include <memory>
#include <vector>

namespace Ui {
class ViewDialogForm;
class GLWidget;

// "Set vew and lighting": the view's axis translation, rotation angles, screen position and
// 1/zoom on one page, and its lamps on the other. The dialog edits a copy; applyTo writes
// every value into the view. Lamp angles are shown in degrees; the view keeps radians.
// Field limits: distances and screen position ±100000, rotation angles -360..360 (whole
// degrees), 1/zoom 0.001..1000, lamp radius 0..100000, θ -360..360, φ -90..90.
class ViewDialog : public QDialog {
    Q_OBJECT
public:
    enum Page { ViewPage = 0, LightingPage = 1 };

    struct LampEntry {
        double radius = 0.0;
        double theta = 0.0; // degrees
        double phi = 0.0;   // degrees
        bool enabled = false;
    };

    ViewDialog(const GLWidget &view, Page page, QWidget *parent = nullptr);
    ~ViewDialog() override;

    void applyTo(GLWidget &view) const;

    std::vector<LampEntry> lamps() const { return lampEntries; }
    ViewDialogForm *form() const { return ui.get(); }

private slots:
    void showLamp(int index);
    void storeLamp();
    void addLamp();
    void deleteLamp();

private:
    void fillLampChoice(int current);

    std::unique_ptr<ViewDialogForm> ui;
    std::vector<LampEntry> lampEntries;
    int activeLamp = 1;
    bool loadingLamp = false;
};

} // namespace Ui
