// Direct cubic faces: which cell faces a volume shows, where, and in what order.

#include "PainterTestSupport.h"

#include "Model/Automaton/CellReadLock.h"
#include "Model/Geometry/DirectCubicSurface.h"

#include <gtest/gtest.h>
#include <random>
#include <tuple>

using namespace PainterTestSupport;
using Model::Geometry::DirectCubicSurface;

namespace {

using Box = std::array<uint32_t, 3>;

class DirectFaces : public ::testing::Test {
protected:
    // The faces of the cells in [lower, upper), the whole volume when no box is given, in the
    // catalogue's colours.
    const DirectCubicSurface &facesOf(TotalVolume &volume, const Box &lower = {0, 0, 0}, Box upper = {0, 0, 0})
    {
        if (upper == Box{0, 0, 0})
            upper = {volume.sizeX(), volume.sizeY(), volume.sizeZ()};
        const Model::Automaton::CellReadLock lock(volume);
        surface.build(volume, lock.cells(), lower.data(), upper.data(), catalogueColors());
        return surface;
    }

    ScopedTestMaterials materials;
    DirectCubicSurface surface;
};

TEST_F(DirectFaces, OneOpaqueCellShowsItsSixFacesInFaceOrderAtScaledCorners)
{
    const float s[3] = {2.0f, 3.0f, 0.5f};
    auto volume = emptyVolume(3, 4, 5, s[0], s[1], s[2]);
    setMaterial(*volume, 1, 2, 3, kMagenta);
    const auto &faces = facesOf(*volume);

    ASSERT_EQ(faces.opaqueFaces().size(), 6u);
    EXPECT_TRUE(faces.translucentFaces().empty());
    const uint32_t cell[3] = {1, 2, 3};
    for (int k = 0; k < 6; ++k) {
        const QuadFace &face = faces.opaqueFaces()[k];
        EXPECT_EQ(face.normalIndex, k);
        EXPECT_EQ(face.materialId, kMagenta);
        EXPECT_EQ(face.color, (Rgba{0.8f, 0.2f, 0.5f, 1.0f}));
        EXPECT_EQ(face.outlineColor, face.color);
        for (int j = 0; j < 4; ++j)
            for (int a = 0; a < 3; ++a)
                EXPECT_FLOAT_EQ(face.vertices[j][a], float(cell[a] + Model::Geometry::kFaceCorners[k][j][a]) * s[a])
                    << "face " << k << " corner " << j;
    }
}

// Cell A at (1, 1, 1) and cell B at (2, 1, 1), A's face 5 toward B.
struct NeighbourCase {
    uint32_t a;
    uint32_t b;
    uint32_t bCuts;
    size_t opaque;
    size_t translucent;
    bool aShowsFaceTowardB;
};

TEST_F(DirectFaces, NeighboursHideOnlyWhatTheRulesSay)
{
    const NeighbourCase cases[] = {
        {kSi, kOxide, 0, 10, 0, false},     // opaque covers opaque
        {kGlass, kGlass, 0, 0, 10, false},  // one translucent body shows its hull
        {kGlass, kResin, 0, 0, 12, true},   // two translucent bodies show both faces
        {kGlass, kSi, 0, 6, 5, false},      // opaque shows its face toward translucent, not back
        {kSi, kVapour, 0, 6, 0, true},      // an invisible cell covers and shows nothing
        {kSi, kSi, 1, 6, 0, true},          // nor does a cut one
        {kGlass, kGlass, 2, 0, 5, false},   // a cut part of the same body still hides
        {kGlass, kSi, 1, 0, 6, true},       // a cut opaque cell does not
        {kUnknown, kOxide, 0, 10, 0, false}, // a material missing from the catalogue is solid
        {kFarGlass, kUnknown, 0, 6, 5, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::Message() << "A " << c.a << " B " << c.b << " cut " << c.bCuts);
        auto volume = emptyVolume(4, 3, 3);
        setMaterial(*volume, 1, 1, 1, c.a);
        setMaterial(*volume, 2, 1, 1, c.b);
        setCutCount(*volume, 2, 1, 1, c.bCuts);
        const auto &faces = facesOf(*volume);
        EXPECT_EQ(faces.opaqueFaces().size(), c.opaque);
        EXPECT_EQ(faces.translucentFaces().size(), c.translucent);
        size_t towardB = 0;
        for (const auto *list : {&faces.opaqueFaces(), &faces.translucentFaces()})
            for (const auto &face : *list)
                towardB += face.normalIndex == 5 && face.vertices[0][0] == 2.0f ? 1 : 0;
        EXPECT_EQ(towardB, c.aShowsFaceTowardB ? 1u : 0u);
        EXPECT_EQ(faces.translucentTree()->faces().size(), c.translucent);
    }
    auto volume = emptyVolume(2, 2, 2);
    setMaterial(*volume, 0, 0, 0, kUnknown);
    EXPECT_EQ(facesOf(*volume).opaqueFaces().front().color, DirectCubicSurface::kMissingMaterialColor);
}

TEST_F(DirectFaces, OnlyTheCutBoxShowsFacesAndItsBoundaryAlways)
{
    auto volume = emptyVolume(4, 5, 6, 1.0f, 2.0f, 1.5f);
    fill(*volume, kSi);
    const Box lower{1, 1, 2};
    const Box upper{3, 4, 5};
    const auto &faces = facesOf(*volume, lower, upper);
    const size_t blockFaces = 2 * (2 * 3 + 2 * 3 + 3 * 3);
    EXPECT_EQ(faces.opaqueFaces().size(), blockFaces);
    for (const auto &face : faces.opaqueFaces())
        for (const auto &v : face.vertices) {
            EXPECT_TRUE(v[0] >= 1.0f && v[0] <= 3.0f) << face;
            EXPECT_TRUE(v[1] >= 2.0f && v[1] <= 8.0f) << face;
            EXPECT_TRUE(v[2] >= 3.0f && v[2] <= 7.5f) << face;
        }

    fill(*volume, kGlass);
    EXPECT_EQ(facesOf(*volume, lower, upper).translucentFaces().size(), blockFaces);

    // A box reaching past the volume is the whole volume.
    EXPECT_EQ(facesOf(*volume, {0, 0, 0}, {40, 50, 60}).translucentFaces().size(),
              size_t(2 * (4 * 5 + 4 * 6 + 5 * 6)));
}

TEST_F(DirectFaces, OrderIsAscendingCellThenFaceWhateverTheThreadCount)
{
    auto volume = emptyVolume(23, 11, 19, 0.5f, 1.0f, 2.0f);
    const uint32_t palette[] = {0, 0, 0, kSi, kOxide, kGlass, kResin, kVapour, kUnknown, kFarGlass};
    std::mt19937 random(20240611);
    auto *cells = volume->lockCells();
    for (uint32_t i = 0; i < volume->cellCount(); ++i) {
        cells[i].setMaterial(palette[random() % std::size(palette)]);
        cells[i].setCutCount(random() % 7 == 0 ? 1 : 0);
    }
    volume->unlockCells();
    Box lower{0, 0, 0};
    Box upper{volume->sizeX(), volume->sizeY(), volume->sizeZ()};
    auto facesWith = [&](int threads) {
        ScopedMaxThreads scoped(threads);
        const auto &faces = facesOf(*volume, lower, upper);
        return std::make_pair(describe(faces.opaqueFaces()), describe(faces.translucentFaces()));
    };

    const auto single = facesWith(1);
    const auto &list = surface.opaqueFaces();
    ASSERT_GT(list.size(), 100u);
    ASSERT_GT(single.second.size(), 100u);
    auto cellAndFace = [](const QuadFace &face) {
        const auto &corner = Model::Geometry::kFaceCorners[face.normalIndex][0];
        const auto &v = face.vertices[0];
        return std::make_tuple(int(v[0] / 0.5f) - corner[0], int(v[1]) - corner[1], int(v[2] / 2.0f) - corner[2],
                               int(face.normalIndex));
    };
    for (size_t i = 1; i < list.size(); ++i)
        ASSERT_LT(cellAndFace(list[i - 1]), cellAndFace(list[i])) << "at " << i;
    for (int threads : {2, 3, 8})
        EXPECT_EQ(facesWith(threads), single) << threads << " threads";

    // A box narrower along x than the thread count is built as one slab.
    lower = {6, 2, 1};
    upper = {8, 10, 17};
    const auto narrow = facesWith(1);
    ASSERT_FALSE(narrow.first.empty());
    for (int threads : {3, 8})
        EXPECT_EQ(facesWith(threads), narrow) << threads << " threads";

    // Slabs of one and two planes: every plane of them borders another slab.
    for (uint32_t width : {3u, 4u, 5u}) {
        upper[0] = lower[0] + width;
        const auto thin = facesWith(1);
        ASSERT_FALSE(thin.first.empty());
        for (int threads : {2, 3})
            EXPECT_EQ(facesWith(threads), thin) << width << " planes, " << threads << " threads";
    }
}

} // namespace
