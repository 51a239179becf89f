#include "TotalVolumePainter.h"

#include "TotalVolume.h"

namespace Model {
namespace Automaton {

TotalVolumePainter::TotalVolumePainter(TotalVolume &volume) : owner(volume) {}

// The surface builders and the drawing passes live here once the view draws volumes;
// until then a volume draws nothing.
void TotalVolumePainter::paint(bool, bool, const Util::Vector3D &) {}

void TotalVolumePainter::paintForPicking() {}

} // namespace Automaton
} // namespace Model
