// The cantilever rule and the netlist: which boxes start a beam, how a beam is merged, and the
// lumped values of Euler–Bernoulli beams worked out by hand:
//   mass = cells × 2.00129819772e-17 m³ × density × 33/140,  1/k = L³ / (3 E c³ w / 12).

#include "common/Cells.h"

#include "Model/ModelExtraction/BoxDecomposition.h"
#include "Model/ModelExtraction/CantileverExtraction.h"
#include "Model/ModelExtraction/CantileverModelRule.h"
#include "Model/ModelExtraction/CantileverStructure.h"
#include "Model/ModelExtraction/ExtractedModel.h"

#include <gtest/gtest.h>

using namespace Model::ModelExtraction;
using TestSupport::volumeOf;

namespace {

constexpr uint32_t kSilicon = 1;
constexpr uint32_t kAluminium = 4; // 8908 kg/m³ in the beam table
constexpr uint32_t kPolySilicon = 16;

// The first beam, as a text, for readable failures.
std::string boxText(const RectangularCuboidEnvelope &b)
{
    return std::to_string(b.x) + "," + std::to_string(b.y) + "," + std::to_string(b.z) + " " +
           std::to_string(b.sizeX) + "x" + std::to_string(b.sizeY) + "x" + std::to_string(b.sizeZ) + " m" +
           std::to_string(b.material);
}

std::shared_ptr<IStructure> detect(Model::Automaton::TotalVolume &volume, CantileverModelRule &rule)
{
    const ExtractedModel boxes(decomposeIntoBoxes(volume));
    return rule.apply(boxes);
}

// A block of silicon x < 4 over the whole height, and a beam of `material` 10 × 2 × 1 cells
// at z = 1 from its high-x face: free above, below and at its tip.
std::shared_ptr<Model::Automaton::TotalVolume> beamFromBlock(uint32_t material)
{
    return volumeOf(14, 2, 3, [=](uint32_t x, uint32_t, uint32_t z) { return x < 4 ? kSilicon : z == 1 ? material : 0u; });
}

} // namespace

TEST(Cantilever, BeamFromABlockHasTheMassAndStiffnessOfItsSizeAndMaterial)
{
    auto volume = beamFromBlock(2);
    CantileverModelRule rule;
    const auto structure = detect(*volume, rule);
    ASSERT_TRUE(structure);
    ASSERT_EQ(rule.beams().size(), 1u);
    EXPECT_EQ(boxText(*rule.beams()[0]), "4,0,1 10x2x1 m2");

    // 20 cells × 2.00129819772e-17 × 2700 × 33/140 = 2.547366706e-13 kg;
    // k = 3 × 7.0e10 × (1 · 2 / 12) / 10³ = 3.5e7 N/m, 1/k = 2.857142857e-8 m/N.
    const BeamValues values = beamValuesOf(*rule.beams()[0]);
    EXPECT_NEAR(values.mass, 2.54736670595503e-13, 1e-25);
    EXPECT_DOUBLE_EQ(values.stiffness, 3.5e7);
}

TEST(Cantilever, LengthIsTheLongerSideWhicheverAxisTheBeamRunsAlong)
{
    // The same beam along y (2 × 10 × 1) and a square plate (4 × 4 × 2, L = w = 4).
    RectangularCuboidEnvelope alongY(0, 0, 0, 2, 10, 1, 2);
    EXPECT_DOUBLE_EQ(beamValuesOf(alongY).stiffness, 3.5e7);
    // k = 3 × 7.0e10 × (2³ · 4 / 12) / 4³ = 8.75e9; 32 cells of aluminium's 8908 kg/m³.
    RectangularCuboidEnvelope plate(0, 0, 0, 4, 4, 2, kAluminium);
    EXPECT_DOUBLE_EQ(beamValuesOf(plate).stiffness, 8.75e9);
    EXPECT_NEAR(beamValuesOf(plate).mass, 32 * 2.00129819772e-17 * 8908 * 33 / 140, 1e-24);
}

TEST(Cantilever, MaterialsBeyondTheTableUseTheCatalogueConstants)
{
    // Poly-Si in the default catalogue: 2329 kg/m³ and 1.88e11 Pa.
    // 20 cells: 20 × 2.00129819772e-17 × 2329 × 33/140 = 2.19734e-13 kg;
    // k = 3 × 1.88e11 × (2 / 12) / 1000 = 9.4e7, 1/k = 1.06383e-08.
    auto volume = beamFromBlock(kPolySilicon);
    EXPECT_EQ(extractCantileverNetlist(*volume).toStdString(),
              "Model extracted by Voxfab\n"
              "c1 1 0 2.19734e-13 \n"
              "l1 1 0 1.06383e-08 \n"
              ".end \n");
}

TEST(Cantilever, BoxesThatAreNotFreeEndsAreNoCandidates)
{
    CantileverModelRule rule;
    // Beams found by an earlier application are replaced.
    ASSERT_TRUE(detect(*beamFromBlock(2), rule));
    // A box resting on the block (its one neighbour is below it).
    auto onTop = volumeOf(6, 2, 4, [](uint32_t x, uint32_t, uint32_t z) { return z < 2 ? kSilicon : x < 3 && z == 2 ? 2u : 0u; });
    EXPECT_FALSE(detect(*onTop, rule));
    EXPECT_TRUE(rule.beams().empty());

    // A beam of silicon is part of the substrate, not a cantilever.
    auto siliconBeam = beamFromBlock(kSilicon);
    EXPECT_FALSE(detect(*siliconBeam, rule));

    // A bridge held at both ends has two neighbours.
    auto bridge = volumeOf(14, 2, 3, [](uint32_t x, uint32_t, uint32_t z) { return x < 4 || x >= 10 ? kSilicon : z == 1 ? 2u : 0u; });
    EXPECT_FALSE(detect(*bridge, rule));
    EXPECT_EQ(extractCantileverNetlist(*bridge), QString());
}

// Two beams from a silicon block x < 4: A (y 0..2, x 4..18, material 2) and B (y 4..6, x 4..10,
// aluminium). B's tip makes a plane at x = 10 that cuts A in two boxes, so A is found from its
// tip box and walks back through the box between (two neighbours) up to the block.
TEST(Cantilever, TwoBeamsComeInTheOrderOfTheirFreeEndsAndEachMergesItsBoxes)
{
    auto volume = volumeOf(20, 6, 3, [](uint32_t x, uint32_t y, uint32_t z) {
        if (x < 4)
            return kSilicon;
        if (z != 1)
            return 0u;
        if (y < 2 && x < 18)
            return 2u;
        if (y >= 4 && x < 10)
            return kAluminium;
        return 0u;
    });
    CantileverModelRule rule;
    const auto structure = detect(*volume, rule);
    ASSERT_TRUE(structure);
    ASSERT_EQ(rule.beams().size(), 2u);
    EXPECT_EQ(boxText(*rule.beams()[0]), "4,0,1 14x2x1 m2");
    EXPECT_EQ(boxText(*rule.beams()[1]), "4,4,1 6x2x1 m4");

    // A: 28 cells × 2.00129819772e-17 × 2700 × 33/140 = 3.566313388e-13 kg; 1/k = 14³ / 3.5e10 = 7.84e-8.
    // B: 12 cells × 2.00129819772e-17 × 8908 × 33/140 = 5.042653915e-13 kg; 1/k = 6³ / 3.5e10 = 6.171428571e-9.
    EXPECT_EQ(structure->netlist().toStdString(),
              "Model extracted by Voxfab\n"
              "c1 1 0 3.56631e-13 \n"
              "l1 1 0 7.84e-08 \n"
              "c2 2 0 5.04265e-13 \n"
              "l2 2 0 6.17143e-09 \n"
              ".end \n");
}

TEST(ExtractedModelObject, IsAModelThatMovesByItsOffsetAndCannotBeCopied)
{
    ExtractedModel model({std::make_shared<RectangularCuboidEnvelope>(0, 0, 0, 1, 1, 1, 2)});
    EXPECT_EQ(model.clone(), nullptr);
    model.move(Util::Vector4D(3.0, -1.0, 0.5, 9.0));
    model.move(Util::Vector4D(1.0, 0.0, 0.0, 0.0));
    EXPECT_EQ(model.offset(), (std::array<float, 3>{{4.f, -1.f, 0.5f}}));
    // The colours cycle after fourteen boxes.
    EXPECT_NE(ExtractedModel::boxColor(13), ExtractedModel::boxColor(0));
    EXPECT_EQ(ExtractedModel::boxColor(14), ExtractedModel::boxColor(0));
}
