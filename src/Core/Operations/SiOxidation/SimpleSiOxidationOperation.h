#pragma once

#include "Core/Operations/PlainVolumeStepOperation.h"

namespace Core {
namespace Operations {

// "Simple Si Oxidation": grows thermal oxide on a chosen volume, for a time at a temperature and
// pressure, or to a thickness. Not undoable; the volume's silicon lattice goes out of date.
class SimpleSiOxidationOperation : public PlainVolumeStepOperation {
public:
    explicit SimpleSiOxidationOperation(ApplicationModel *model);

    // Grows by thickness when that mode is set, else by time when that mode is set; with
    // neither, the operation is cancelled and the volume stays as it is.
    void finish() override;

    // Volume length units per micron (1 unless set).
    void setMicronConversion(double unitsPerMicron) { micronConversion = unitsPerMicron; }
    void setOxidationTime(double hours) { time = hours; }
    // An absolute temperature.
    void setOxidationTemperature(double kelvin) { temperature = kelvin; }
    void setOxidationPressure(double atmospheres) { pressure = atmospheres; }
    void setOxidationThickness(double microns) { thickness = microns; }
    void setOxidationTimeSet(bool on) { timeSet = on; }
    void setOxidationThicknessSet(bool on) { thicknessSet = on; }

private:
    double micronConversion = 1.0;
    double time = 0.0;
    double temperature = 0.0;
    double pressure = 0.0;
    double thickness = 0.0;
    bool timeSet = false;
    bool thicknessSet = false;
};

} // namespace Operations
} // namespace Core
