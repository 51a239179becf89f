#include "ProcessTypes.h"

namespace Engine {

QString processName(uint32_t processType)
{
    static const char *const names[] = {
        "Photolithography", "Si wet etching",  "Moore deposition", "Moore etching",
        "CVD",              "Isotropic etching", "Planarization",  "Electroplating",
        "Doping",           "Spin Coating",     "Save Image",       "Create Substrate",
        "PVD",              "Simple RIE",       "Ion Implantation", "Si Oxidation",
        "Isotropic Deposition", "Anisotropic Deposition", "Anisotropic Etching", "Doping (Random Walk CA)",
        "Si wet etching (CCA)",
    };
    if (processType > kLastProcessType)
        return QStringLiteral("Unknown process");
    return QString::fromLatin1(names[processType]);
}

} // namespace Engine
