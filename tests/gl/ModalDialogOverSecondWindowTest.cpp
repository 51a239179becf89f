// A modal dialog over the second of two main windows leaves both views showing their volumes,
// on the screen and in the view's own frame.

#include "Core/ApplicationModel.h"
#include "Model/Automaton/TotalVolume.h"
#include "UI/GLWidget.h"
#include "UI/MainWindow.h"
#include "UI/MainWindowPresenter.h"
#include "common/TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <memory>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kBlack = 0xff000000;

std::unique_ptr<Ui::MainWindow> windowWithVolume(const QPoint &at)
{
    auto window = std::make_unique<Ui::MainWindow>();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->setGeometry(QRect(at, QSize(420, 360)));
    std::vector<uint32_t> silicon(16 * 16 * 8, 1u);
    window->presenter().scene().addObject(std::make_shared<Model::Automaton::TotalVolume>(
        16, 16, 8, 1.0f, 1.0f, 1.0f, Util::Vector3D(), silicon));
    window->presenter().applicationModel().notifyUpdateObservers(); // frames the volume
    window->show();
    return window;
}

// Share of pixels that are not the (black) background.
double drawnShare(const QImage &image)
{
    if (image.isNull())
        return 0.0;
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            drawn += image.pixel(x, y) != kBlack;
    return double(drawn) / (image.width() * image.height());
}

QImage onScreen(Ui::GLWidget *view)
{
    const QPoint corner = view->mapToGlobal(QPoint(0, 0));
    return QApplication::primaryScreen()
        ->grabWindow(0, corner.x(), corner.y(), view->width(), view->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(ModalDialogOverSecondWindow, BothViewsKeepTheirPicture)
{
    auto first = windowWithVolume(QPoint(0, 0));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(first.get()));
    auto second = windowWithVolume(QPoint(440, 0));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(second.get()));
    ASSERT_TRUE(second->view()->isValid());
    QTest::qWait(200);

    QPointer<Ui::GLWidget> views[] = {first->view(), second->view()};
    double shares[2][2] = {};
    TestSupport::answerNextModal([views, &shares](QWidget *modal) {
        QPointer<QWidget> dialog(modal);
        // The blocked windows repaint after the dialog's first show; on a loaded machine that
        // can take a while, so look every 100 ms, for at most 5 s. A view that stays black
        // fails all the same.
        auto *poll = new QTimer(dialog.data());
        auto looks = std::make_shared<int>(0);
        QObject::connect(poll, &QTimer::timeout, [views, dialog, &shares, looks] {
            bool drawn = true;
            for (int i = 0; i < 2; ++i) {
                shares[i][0] = drawnShare(onScreen(views[i]));
                shares[i][1] = drawnShare(views[i]->renderedImage());
                drawn = drawn && shares[i][0] > 0.15 && shares[i][1] > 0.15;
            }
            if ((drawn || ++*looks >= 50) && dialog)
                static_cast<QDialog *>(dialog.data())->reject();
        });
        poll->start(100);
    });
    QDialog dialog(second.get());
    dialog.setGeometry(0, 600, 160, 80); // beside both views, not over them
    dialog.exec();

    // A framed volume covers a good part of its view (about two thirds across).
    for (int i = 0; i < 2; ++i) {
        EXPECT_GT(shares[i][0], 0.15) << "window " << i + 1 << " on the screen";
        EXPECT_GT(shares[i][1], 0.15) << "window " << i + 1 << "'s frame";
    }
}
