// Views that frame the work: the first volume of an empty scene, an opened document and the
// named views are centred and zoomed so that the volumes fill about two thirds of the view.

#include "UiTestSupport.h"

#include "Model/Automaton/TotalVolume.h"
#include "UI/GLWidget.h"

#include <QTest>

namespace {

using Model::Automaton::TotalVolume;

std::shared_ptr<TotalVolume> volumeAt(const Util::Vector3D &origin, uint32_t sx, uint32_t sy, uint32_t sz, float cell)
{
    return std::make_shared<TotalVolume>(sx, sy, sz, cell, cell, cell, origin,
                                         std::vector<uint32_t>(size_t(sx) * sy * sz, 1u));
}

class ViewFraming : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = UiTest::makeWindow();
        window->resize(800, 600);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        view = window->view();
    }

    Core::ApplicationModel &model() { return window->presenter().applicationModel(); }

    void add(const std::shared_ptr<TotalVolume> &volume)
    {
        model().scene().addObject(volume);
        volumes.push_back(volume);
        model().notifyUpdateObservers();
    }

    // The volume's box through the view's matrices, in normalised device coordinates.
    QRectF projectedBox(const TotalVolume &v) const
    {
        const QMatrix4x4 m = view->projectionMatrix() * view->viewState().modelView();
        const Util::Vector3D o = v.origin();
        float left = 2.0f, right = -2.0f, bottom = 2.0f, top = -2.0f;
        for (int corner = 0; corner < 8; ++corner) {
            const QVector3D p(float(o.x) + ((corner & 1) ? v.sizeX() * v.cellSizeX() : 0.0f),
                              float(o.y) + ((corner & 2) ? v.sizeY() * v.cellSizeY() : 0.0f),
                              float(o.z) + ((corner & 4) ? v.sizeZ() * v.cellSizeZ() : 0.0f));
            const QVector3D ndc = m.map(p);
            EXPECT_LE(std::abs(ndc.z()), 1.0f) << "corner " << corner << " clipped in depth";
            left = std::min(left, ndc.x());
            right = std::max(right, ndc.x());
            bottom = std::min(bottom, ndc.y());
            top = std::max(top, ndc.y());
        }
        return QRectF(QPointF(left, bottom), QPointF(right, top));
    }

    // Every volume inside the view, and together covering at least half of its width or height.
    void expectFramed(const char *when)
    {
        const QRectF screen(-1.0, -1.0, 2.0, 2.0);
        QRectF all;
        for (const auto &v : volumes) {
            const QRectF box = projectedBox(*v);
            EXPECT_TRUE(screen.contains(box)) << when;
            all = all.isNull() ? box : all.united(box);
        }
        EXPECT_GE(std::max(all.width(), all.height()) / 2.0, 0.5) << when;
        EXPECT_NEAR(std::max(all.width(), all.height()) / 2.0, 2.0 / 3.0, 0.1) << when;
    }

    std::unique_ptr<Ui::MainWindow> window;
    Ui::GLWidget *view = nullptr;
    std::vector<std::shared_ptr<TotalVolume>> volumes;
};

} // namespace

TEST_F(ViewFraming, AFreshEmptyWindowKeepsTheDefaultView)
{
    model().notifyUpdateObservers();
    window->setView("front");
    EXPECT_EQ(view->zoom(), 1.0f);
    EXPECT_EQ(view->axisTranslation(), QVector3D(0, 0, 0));
    EXPECT_EQ(view->screenPosition(), QPointF(0, 0));
    EXPECT_FALSE(view->isFramed());
}

TEST_F(ViewFraming, FirstVolumeIsFramedAndTheViewTurnsAboutItsCentre)
{
    // Far from the origin and far smaller than the view at zoom 1.
    add(volumeAt(Util::Vector3D(300.0, -120.0, 40.0), 20, 10, 6, 0.5f));
    expectFramed("after the first volume");
    EXPECT_GT(view->zoom(), 1.0f);
    const QVector3D centre(305.0f, -117.5f, 41.5f);
    EXPECT_LT((view->viewState().modelView().map(centre)).length(), 1e-3f) << "the centre is the pivot";

    // A second volume is not framed by itself; the named views frame both.
    const float zoom = view->zoom();
    add(volumeAt(Util::Vector3D(250.0, -150.0, 0.0), 10, 10, 10, 1.0f));
    EXPECT_EQ(view->zoom(), zoom);
    for (const char *name : {"front", "top", "right", "bottom", "left", "back"}) {
        window->setView(name);
        expectFramed(name);
    }
}

TEST_F(ViewFraming, FramingFollowsResizesUntilTheUserMovesTheView)
{
    add(volumeAt(Util::Vector3D(0.0, 0.0, 0.0), 100, 100, 80, 1.0f));
    expectFramed("created");
    window->resize(1200, 900);
    QTest::qWait(50);
    expectFramed("resized");

    view->setZoom(view->zoom() * 0.5f);
    const float chosen = view->zoom();
    window->resize(700, 500);
    QTest::qWait(50);
    EXPECT_EQ(view->zoom(), chosen) << "the user's zoom stays";
    EXPECT_FALSE(view->isFramed());
}

TEST_F(ViewFraming, ATallVolumeSeenEndOnIsNotClippedInDepth)
{
    window->setView("top");
    add(volumeAt(Util::Vector3D(0.0, 0.0, 0.0), 4, 4, 2000, 1.0f));
    for (const auto &v : volumes)
        projectedBox(*v); // checks the depth of every corner
    EXPECT_TRUE(view->isFramed());
}
