#include "ExtractedModel.h"

#include <GL/gl.h>

namespace Model {
namespace ModelExtraction {

namespace {

const std::array<float, 3> kBoxColors[ExtractedModel::kColorCount] = {
    {{1.f, 0.f, 0.f}},   {{1.f, 1.f, 0.f}},     {{1.f, 1.f, 1.f}},   {{0.f, 1.f, 0.f}}, {{0.f, 1.f, 1.f}},
    {{1.f, 0.f, 1.f}},   {{0.f, 0.f, 1.f}},     {{.5f, 0.f, 0.f}},   {{.5f, .5f, 0.f}}, {{.5f, .5f, .5f}},
    {{0.f, .5f, 0.f}},   {{0.f, .5f, .5f}},     {{.5f, 0.f, .5f}},   {{0.f, 0.f, .5f}},
};
constexpr float kOutlineGrey = 0.25f;

// Corner (i & 1 ? high x : low x, i & 2 ? high y : low y, i & 4 ? high z : low z).
struct Corners {
    float low[3];
    float high[3];
    void vertex(int i) const { glVertex3f(i & 1 ? high[0] : low[0], i & 2 ? high[1] : low[1], i & 4 ? high[2] : low[2]); }
};

// Each face's corners counter-clockwise seen from outside, with its outward normal.
struct FaceCorners {
    int corners[4];
    float normal[3];
};
const FaceCorners kFaces[kFaceCount] = {
    {{0, 4, 6, 2}, {-1.f, 0.f, 0.f}}, // low x
    {{1, 3, 7, 5}, {1.f, 0.f, 0.f}},  // high x
    {{0, 1, 5, 4}, {0.f, -1.f, 0.f}}, // low y
    {{2, 6, 7, 3}, {0.f, 1.f, 0.f}},  // high y
    {{0, 2, 3, 1}, {0.f, 0.f, -1.f}}, // low z
    {{4, 5, 7, 6}, {0.f, 0.f, 1.f}},  // high z
};

Corners cornersOf(const RectangularCuboidEnvelope &box)
{
    const float s = ExtractedModel::kZScale;
    return {{float(box.x), float(box.y), float(box.z) * s},
            {float(box.x + box.sizeX), float(box.y + box.sizeY), float(box.z + box.sizeZ) * s}};
}

} // namespace

ExtractedModel::ExtractedModel(Envelopes envelopes) : boxes(std::move(envelopes)) {}

std::array<float, 3> ExtractedModel::boxColor(int n)
{
    return kBoxColors[((n % kColorCount) + kColorCount) % kColorCount];
}

void ExtractedModel::move(const Util::Vector4D &displacement)
{
    shift[0] += float(displacement.x);
    shift[1] += float(displacement.y);
    shift[2] += float(displacement.z);
}

void ExtractedModel::paint(bool, bool, const Util::Vector3D &)
{
    glPushMatrix();
    glTranslatef(shift[0], shift[1], shift[2]);
    drawBoxes();
    glPopMatrix();
}

void ExtractedModel::paintForPicking()
{
    glPushMatrix();
    drawBoxes();
    glPopMatrix();
}

void ExtractedModel::drawBoxes()
{
    colorCursor = 0;
    for (const EnvelopePointer &box : boxes) {
        const Corners corners = cornersOf(*box);
        glColor3fv(kBoxColors[colorCursor].data());
        glBegin(GL_QUADS);
        for (const FaceCorners &face : kFaces) {
            glNormal3fv(face.normal);
            for (int corner : face.corners)
                corners.vertex(corner);
        }
        glEnd();
        colorCursor = (colorCursor + 1) % kColorCount;

        glColor3f(kOutlineGrey, kOutlineGrey, kOutlineGrey);
        for (const FaceCorners &face : kFaces) {
            glBegin(GL_LINE_LOOP);
            for (int corner : face.corners)
                corners.vertex(corner);
            glEnd();
        }
    }
}

} // namespace ModelExtraction
} // namespace Model
