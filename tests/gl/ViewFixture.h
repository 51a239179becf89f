#pragma once

#include "Model/Object.h"
#include "UI/GLWidget.h"
#include "UI/MainWindow.h"

#include <QImage>
#include <QPoint>
#include <gtest/gtest.h>
#include <memory>

namespace GlTest {

// A box drawn unlit in one colour, picked by its own faces: enough of a scene object to test
// the view without the cell volume painter.
class BoxObject : public Model::Object {
public:
    BoxObject(const Util::Vector3D &low, const Util::Vector3D &high, QRgb color)
        : low(low), high(high), rgb(color)
    {
    }

    uint32_t objectType() const override { return ExtractedModelType; }
    void paint(bool drawFaces, bool drawOutlines, const Util::Vector3D &eyePosition) override;
    void paintForPicking() override { drawBox(); }
    Object *clone() override { return nullptr; }
    void move(const Util::Vector4D &displacement) override;
    void transform(const Util::Vector4D &, const Util::Vector4D &) override {}

    Util::Vector3D lowCorner() const { return low; }

private:
    void drawBox() const;

    Util::Vector3D low;
    Util::Vector3D high;
    QRgb rgb;
};

// A main window of a fixed size, shown on the X server, with a GL context in its view. Top view
// (the world's x to the right, y up, z towards the viewer), axes hidden, low colour scheme
// (white background), and a green box of edge 40 around the origin in the scene.
class ViewTest : public ::testing::Test {
protected:
    static constexpr int kWindowWidth = 500;
    static constexpr int kWindowHeight = 400;
    static constexpr QRgb kBoxColor = 0xff00ff00;
    static constexpr QRgb kWhite = 0xffffffff;

    void SetUp() override;
    void TearDown() override;

    // Widget pixel under a world point, through the view's own matrices.
    QPoint screenPointOf(const Util::Vector3D &world) const;
    QPoint centre() const { return QPoint(view->width() / 2, view->height() / 2); }
    QImage frame() { return view->renderedImage(); }

    void moveMouse(const QPoint &pos, Qt::MouseButtons buttons = Qt::NoButton,
                   Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void wheel(int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    std::unique_ptr<Ui::MainWindow> window;
    Ui::GLWidget *view = nullptr;
    std::shared_ptr<BoxObject> box;
};

} // namespace GlTest
