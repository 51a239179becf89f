#pragma once

#include <QString>
#include <cstdint>

namespace Engine {

// The process type codes of process lists.
enum ProcessType : uint32_t {
    PhotolithographyType = 0,
    SiWetEtchingType = 1,
    MooreDepositionType = 2,
    MooreEtchingType = 3,
    CvdType = 4,
    IsotropicEtchingType = 5,
    PlanarizationType = 6,
    ElectroplatingType = 7,
    DopingType = 8,
    SpinCoatingType = 9,
    SaveImageType = 10,
    CreateSubstrateType = 11,
    PvdType = 12,
    SimpleRieType = 13,
    IonImplantationType = 14,
    SiOxidationType = 15,
    IsotropicDepositionType = 16,
    AnisotropicDepositionType = 17,
    AnisotropicEtchingType = 18,
    RandomWalkDopingType = 19,
    SiWetEtchingCcaType = 20, // beyond the original table: the continuous (CCA) wet etch
};
constexpr uint32_t kLastProcessType = SiWetEtchingCcaType;

// The display name of a type code ("CVD", "Create Substrate", ...); "Unknown process" for any
// code outside the table.
QString processName(uint32_t processType);

} // namespace Engine
