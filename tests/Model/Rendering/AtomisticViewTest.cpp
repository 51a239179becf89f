// The atomistic view of a small silicon lattice: the sphere it draws atoms with, which atoms
// and links it keeps, and the unit cells and outlines inside the cut box.

#include "common/Cells.h"
#include "common/Materials.h"

#include "Model/Automaton/TotalVolumePainter.h"
#include "Model/Rendering/AtomisticView.h"
#include "Model/SiLattice/SiLattice.h"
#include "Model/SiLattice/SiLatticeGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>

using Model::SiAtom;
using Model::Rendering::AtomisticView;
using Model::Rendering::VisualizationOptions;
using namespace TestSupport;

namespace {

constexpr double kBondLength = Model::SiLatticeGeometry::kUnitCellEdge * 1.7320508075688772 / 4.0; // a·√3/4

VisualizationOptions atomistic(bool surfaceOnly)
{
    VisualizationOptions o;
    o.renderSiAtoms = true;
    o.renderSurfaceAtomsOnly = surfaceOnly;
    o.renderAtomLinks = true;
    o.renderUnitCells = true;
    o.renderUnitCellOutlines = true;
    return o;
}

double segmentLength(const std::vector<float> &v, size_t segment)
{
    const float *a = v.data() + segment * 6;
    const float *b = a + 3;
    return std::sqrt(double(a[0] - b[0]) * (a[0] - b[0]) + double(a[1] - b[1]) * (a[1] - b[1]) +
                     double(a[2] - b[2]) * (a[2] - b[2]));
}

} // namespace

TEST(AtomisticView, SphereIsAClosedTwiceSubdividedIcosahedron)
{
    const std::vector<float> sphere = AtomisticView::icosphere(AtomisticView::kSphereSubdivisions);
    ASSERT_EQ(sphere.size(), 2u * 960u * 3u);
    const size_t half = sphere.size() / 2;
    std::map<std::tuple<long, long, long>, int> vertices;
    // Each undirected edge is shared by exactly two triangles that run along it in opposite ways.
    std::map<std::pair<std::tuple<long, long, long>, std::tuple<long, long, long>>, int> directed;
    const auto key = [&](size_t corner) {
        const float *p = sphere.data() + half + corner * 3;
        return std::make_tuple(std::lround(p[0] * 1e5), std::lround(p[1] * 1e5), std::lround(p[2] * 1e5));
    };
    for (size_t corner = 0; corner < 960; ++corner) {
        const float *scaled = sphere.data() + corner * 3;
        const float *normal = sphere.data() + half + corner * 3;
        EXPECT_NEAR(std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]), 1.0, 1e-5);
        EXPECT_NEAR(scaled[0], normal[0] * AtomisticView::kAtomRadius, 1e-6);
        ++vertices[key(corner)];
        const size_t first = corner - corner % 3;
        ++directed[{key(corner), key(first + (corner + 1) % 3)}];
    }
    EXPECT_EQ(vertices.size(), 162u);
    for (const auto &edge : directed) {
        EXPECT_EQ(edge.second, 1);
        EXPECT_EQ(directed.count({edge.first.second, edge.first.first}), 1u);
    }
}

TEST(AtomisticView, ColoursAtomsByTheirBondCounts)
{
    EXPECT_EQ(AtomisticView::atomColor(3, 9), AtomisticView::kStableColor);
    EXPECT_EQ(AtomisticView::atomColor(3, 8), AtomisticView::kThreeBondColor);
    EXPECT_EQ(AtomisticView::atomColor(2, 5), AtomisticView::kTwoBondColor);
    EXPECT_EQ(AtomisticView::atomColor(4, 12), AtomisticView::kOtherColor);
    EXPECT_EQ(AtomisticView::atomColor(1, 0), AtomisticView::kOtherColor);
}

TEST(AtomisticView, KeepsEveryPresentAtomAndLinksItsBonds)
{
    auto volume = flatVolume(4, 4, 4, 2, kSilicon);
    ASSERT_TRUE(volume->createSiLattice());
    const auto lattice = volume->siLattice();
    auto &painter = volume->painter();
    painter.applyOptions(atomistic(false));
    painter.rebuild();
    const AtomisticView &view = painter.atomisticView();

    uint64_t present = 0, open = 0;
    for (const SiAtom &atom : lattice->atoms())
        if (atom.isPresent()) {
            ++present;
            for (uint32_t bond : atom.bonds)
                open += bond == SiAtom::kNoAtom ? 1 : 0;
        }
    ASSERT_GT(present, 0u);
    EXPECT_EQ(view.atoms().size(), present);
    // One segment per bond that leads somewhere: four per atom less the open ones. Bonds between
    // two atoms run their whole length; bonds to fixed positions stop half way.
    const size_t segments = view.links().size() / 6;
    EXPECT_EQ(segments, 4 * present - open);
    size_t whole = 0;
    for (size_t s = 0; s < segments; ++s) {
        const double length = segmentLength(view.links(), s);
        if (std::abs(length - kBondLength) < 1e-4)
            ++whole;
        else
            EXPECT_NEAR(length, kBondLength / 2, 1e-4);
    }
    EXPECT_GT(whole, 0u);
    EXPECT_EQ(whole % 2, 0u); // each inner bond is drawn from both of its atoms

    // Atoms sit in the silicon layer, in the volume's own frame.
    for (const AtomisticView::Atom &atom : view.atoms()) {
        EXPECT_GE(atom.position[2], 0.0f);
        EXPECT_LT(atom.position[2], 2.0f);
    }
    EXPECT_EQ(view.unitCell().size(), 36u * 3u);
    // Unit cells whose origin lies outside the volume (the lattice is turned) are clipped.
    EXPECT_GT(view.unitCellOrigins().size(), 0u);
    EXPECT_LE(view.unitCellOrigins().size(), lattice->unitCells().size());
    EXPECT_EQ(view.outlines().size(), view.unitCellOrigins().size() * 6 * 4 * 3);
    EXPECT_EQ(view.sphere().size(), 2u * 960u * 3u);
}

TEST(AtomisticView, SurfaceAtomsOnlyAndTheCutBoxThinTheAtoms)
{
    auto volume = flatVolume(6, 6, 4, 3, kSilicon);
    ASSERT_TRUE(volume->createSiLattice());
    auto &painter = volume->painter();
    painter.applyOptions(atomistic(false));
    painter.rebuild();
    const size_t all = painter.atomisticView().atoms().size();

    painter.applyOptions(atomistic(true));
    painter.rebuild();
    const size_t surface = painter.atomisticView().atoms().size();
    EXPECT_GT(surface, 0u);
    EXPECT_LT(surface, all);
    // Atoms below the top layer of the flat surface are fully bonded, so none of them is kept.
    for (const AtomisticView::Atom &atom : painter.atomisticView().atoms())
        EXPECT_GT(atom.position[2], 3.0f - float(Model::SiLatticeGeometry::kUnitCellEdge) / 4.0f - 1e-4f);

    // Half the volume cut away along x: every atom, link start and unit-cell origin left lies
    // in the kept half.
    painter.applyOptions(atomistic(false));
    const uint32_t lower[3] = {0, 0, 0};
    const uint32_t upper[3] = {3, 6, 4};
    painter.setCutLimits(lower, upper);
    painter.rebuild();
    const AtomisticView &view = painter.atomisticView();
    EXPECT_GT(view.atoms().size(), 0u);
    EXPECT_LT(view.atoms().size(), all);
    for (const AtomisticView::Atom &atom : view.atoms())
        EXPECT_LT(atom.position[0], 3.0f + 1e-5f);
    for (size_t s = 0; s < view.links().size(); s += 6)
        EXPECT_LT(view.links()[s], 3.0f + 1e-5f);
    for (const auto &origin : view.unitCellOrigins())
        EXPECT_LT(origin[0], 3.0f + 1e-5f);
}

TEST(AtomisticView, BuildsNothingWithoutALatticeOrOptions)
{
    auto volume = flatVolume(3, 3, 3, 2, kSilicon);
    auto &painter = volume->painter();
    painter.applyOptions(atomistic(false));
    painter.rebuild();
    EXPECT_TRUE(painter.atomisticView().atoms().empty());
    EXPECT_TRUE(painter.atomisticView().links().empty());

    ASSERT_TRUE(volume->createSiLattice());
    painter.applyOptions(VisualizationOptions());
    painter.rebuild();
    EXPECT_TRUE(painter.atomisticView().atoms().empty());
    EXPECT_TRUE(painter.atomisticView().outlines().empty());
    EXPECT_TRUE(painter.atomisticView().unitCellOrigins().empty());
}
