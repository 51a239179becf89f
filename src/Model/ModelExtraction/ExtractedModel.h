#pragma once

#include "Model/ModelExtraction/RectangularCuboidEnvelope.h"
#include "Model/Object.h"

#include <array>

namespace Model {
namespace ModelExtraction {

// The boxes (or beams) of a model extraction shown in the scene: each box drawn in one of
// fourteen colours in turn, with grey outlines, shifted by the offset that `move` adds up.
class ExtractedModel : public Object {
public:
    // Vertical scale of the drawing: a box spans z · kZScale to (z + sizeZ) · kZScale.
    static constexpr float kZScale = 0.35355246f;
    static constexpr int kColorCount = 14;

    explicit ExtractedModel(Envelopes envelopes);

    uint32_t objectType() const override { return ExtractedModelType; }
    void paint(bool drawFaces, bool drawOutlines, const Util::Vector3D &eyePosition) override;
    void paintForPicking() override;
    // An extracted model is a view of one extraction run and is never copied.
    Object *clone() override { return nullptr; }
    void move(const Util::Vector4D &displacement) override;
    void transform(const Util::Vector4D &, const Util::Vector4D &) override {}

    const Envelopes &envelopes() const { return boxes; }
    std::array<float, 3> offset() const { return shift; }
    // The fill colour of the n-th box drawn (n counted from 0), RGB.
    static std::array<float, 3> boxColor(int n);

private:
    void drawBoxes();

    Envelopes boxes;
    int colorCursor = 0;
    std::array<float, 3> shift{{0.f, 0.f, 0.f}};
};

} // namespace ModelExtraction
} // namespace Model
