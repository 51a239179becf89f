#pragma once

// The atomistic view of a cell volume's silicon lattice: each atom an icosphere coloured by its
// bond counts (the quantities wet etching decides by), bonds as lines, unit cells as translucent
// cubes and unit-cell outlines as wire boxes, all clipped to the painter's cut box.
//
// The geometry is plain vertex data, built without a drawing context; only draw*() call OpenGL.

#include "Model/Rendering/VisualizationOptions.h"
#include "Util/Vector3D.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Model {
class SiLattice;
namespace Rendering {

class AtomisticView {
public:
    static constexpr double kUnitCellEdge = 1.4;   // length units
    static constexpr float kAtomRadius = 0.1f;     // length units
    static constexpr int kSphereSubdivisions = 2;
    // A plane (a, b, c, d) in cell units; a point p is inside when a·p + b·p + c·p + d < 1e-6.
    using ClipPlane = std::array<double, 4>;

    // One atom as drawn: where it sits (in the volume's frame) and its 8-bit RGB colour.
    struct Atom {
        std::array<float, 3> position;
        std::array<uint8_t, 3> color;
    };

    // Atom colours by bond counts n and m: (111)-like stable atoms, other three-bonded atoms,
    // two-bonded atoms, and every other count (a fixed atom counts as four bonds).
    static constexpr std::array<uint8_t, 3> kStableColor{0, 0, 255};
    static constexpr std::array<uint8_t, 3> kThreeBondColor{255, 127, 0};
    static constexpr std::array<uint8_t, 3> kTwoBondColor{127, 255, 127};
    static constexpr std::array<uint8_t, 3> kOtherColor{255, 255, 0};
    static std::array<uint8_t, 3> atomColor(int n, int m);

    void setOptions(const VisualizationOptions &options) { flags = options; }

    // Rebuilds the atoms, links, unit cells and outlines that the options ask for from `lattice`
    // (none when it is null). `origin` is the volume's origin (lattice positions are in scene
    // coordinates), `cellSize` the cell edges that turn positions into the cell units of
    // `planes`. Only atoms and unit-cell origins inside every plane are kept.
    void build(const SiLattice *lattice, const Util::Vector3D &origin, const std::array<float, 3> &cellSize,
               const std::vector<ClipPlane> &planes);

    // The unit icosphere's triangle corners scaled by kAtomRadius, followed by the same corners
    // unscaled (the normals); empty until atoms were first asked for.
    const std::vector<float> &sphere() const { return sphereVertices; }
    const std::vector<Atom> &atoms() const { return atomList; }
    // Pairs of points, three floats each.
    const std::vector<float> &links() const { return linkVertices; }
    // One cube of 36 triangle corners (three floats each), and where to draw it.
    const std::vector<float> &unitCell() const { return cubeVertices; }
    const std::vector<std::array<float, 3>> &unitCellOrigins() const { return cubeOrigins; }
    // Six quads of four corners per unit cell, three floats each.
    const std::vector<float> &outlines() const { return outlineVertices; }

    // Atoms, links and outlines; needs a current GL context.
    void drawOpaque() const;
    // The translucent unit cells; blending is on and depth writes off. Needs a GL context.
    void drawTranslucent() const;

    static std::vector<float> icosphere(int subdivisions);

private:
    VisualizationOptions flags;
    std::vector<float> sphereVertices;
    std::vector<Atom> atomList;
    std::vector<float> linkVertices;
    std::vector<float> cubeVertices;
    std::vector<std::array<float, 3>> cubeOrigins;
    std::vector<float> outlineVertices;
};

} // namespace Rendering
} // namespace Model
