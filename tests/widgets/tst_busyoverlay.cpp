#include "widgets/busyoverlay.h"

#include <QImage>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include <memory>

namespace {

QTimer *spinnerTimer(BusyOverlay *overlay)
{
    return overlay->findChild<QTimer *>();
}

// Clicks through the window system at a point of the top-level widget, so the click lands on
// whatever widget is topmost there, as a real user's click would.
void clickWindowAt(QWidget *topLevel, const QPoint &pos)
{
    QTest::mouseClick(topLevel->windowHandle(), Qt::LeftButton, Qt::NoModifier, pos);
}

} // namespace

class TestBusyOverlay : public QObject
{
    Q_OBJECT

private slots:
    void coversTargetAndFollowsResize();
    void startShowsTextAndStopHides();
    void animatesOnlyWhileOnScreen();
    void veilLetsPageShowThrough();
    void swallowsClicksWhileRunning();
    void destroyingTargetOrOverlayIsSafe();
};

void TestBusyOverlay::coversTargetAndFollowsResize()
{
    QWidget target;
    target.resize(300, 200);
    BusyOverlay overlay(&target);
    QCOMPARE(overlay.parentWidget(), &target);
    QCOMPARE(overlay.objectName(), QStringLiteral("busyOverlay"));

    target.show();
    QVERIFY(QTest::qWaitForWindowExposed(&target));
    QVERIFY(!overlay.isVisible());   // hidden until started, even once the page is shown

    // Resized while idle: the next start still covers the target.
    target.resize(320, 240);
    overlay.start();
    QCOMPARE(overlay.geometry(), target.rect());

    // Resized while running.
    target.resize(500, 410);
    QTRY_COMPARE(overlay.geometry(), target.rect());
    target.resize(120, 90);
    QTRY_COMPARE(overlay.geometry(), target.rect());
}

void TestBusyOverlay::startShowsTextAndStopHides()
{
    QWidget target;
    target.resize(300, 200);
    BusyOverlay overlay(&target);
    target.show();
    QVERIFY(QTest::qWaitForWindowExposed(&target));

    QVERIFY(!overlay.isRunning());
    overlay.stop();   // stopping an idle overlay is harmless
    QVERIFY(!overlay.isRunning());
    QVERIFY(!overlay.isVisible());

    QTimer *timer = spinnerTimer(&overlay);
    QVERIFY(timer);
    QVERIFY(!timer->isActive());

    overlay.start(QStringLiteral("加载数据中..."));
    QVERIFY(overlay.isRunning());
    QVERIFY(overlay.isVisible());
    QCOMPARE(overlay.text(), QStringLiteral("加载数据中..."));
    QVERIFY(timer->isActive());
    QVERIFY(timer->interval() > 0 && timer->interval() <= 200);

    // A second start while running only changes the text.
    overlay.start(QStringLiteral("正在保存..."));
    QVERIFY(overlay.isRunning());
    QVERIFY(overlay.isVisible());
    QVERIFY(timer->isActive());
    QCOMPARE(overlay.text(), QStringLiteral("正在保存..."));

    overlay.stop();
    QVERIFY(!overlay.isRunning());
    QVERIFY(!overlay.isVisible());
    QVERIFY(!timer->isActive());

    overlay.stop();
    QVERIFY(!overlay.isRunning());

    // Restartable, and a start without text clears the previous one.
    overlay.start();
    QVERIFY(overlay.isRunning());
    QVERIFY(timer->isActive());
    QVERIFY(overlay.text().isEmpty());
}

void TestBusyOverlay::animatesOnlyWhileOnScreen()
{
    QWidget target;
    target.resize(200, 150);
    BusyOverlay overlay(&target);
    QTimer *timer = spinnerTimer(&overlay);
    QVERIFY(timer);

    // Started on a page that is not shown yet: running, but nothing to animate.
    overlay.start(QStringLiteral("loading"));
    QVERIFY(overlay.isRunning());
    QVERIFY(!timer->isActive());

    target.show();
    QVERIFY(QTest::qWaitForWindowExposed(&target));
    QVERIFY(overlay.isVisible());
    QTRY_VERIFY(timer->isActive());

    target.hide();
    QTRY_VERIFY(!timer->isActive());
    QVERIFY(overlay.isRunning());

    target.show();
    QTRY_VERIFY(timer->isActive());

    overlay.stop();
    target.hide();
    target.show();
    QVERIFY(QTest::qWaitForWindowExposed(&target));
    QVERIFY(!overlay.isVisible());
    QVERIFY(!timer->isActive());
}

void TestBusyOverlay::veilLetsPageShowThrough()
{
    QWidget target;
    target.resize(200, 150);
    QPalette pal = target.palette();
    pal.setColor(QPalette::Window, Qt::red);
    target.setPalette(pal);
    target.setAutoFillBackground(true);
    BusyOverlay overlay(&target);
    target.show();
    QVERIFY(QTest::qWaitForWindowExposed(&target));

    overlay.start(QStringLiteral("loading"));
    const QImage shot = target.grab().toImage();
    const QColor corner = shot.pixelColor(2, 2);
    // Whitened but not opaque: the red page is still visible under the veil.
    QCOMPARE(corner.red(), 255);
    QVERIFY2(corner.green() > 60 && corner.green() < 230, qPrintable(corner.name()));
    QCOMPARE(corner.green(), corner.blue());

    overlay.stop();
    QCOMPARE(target.grab().toImage().pixelColor(2, 2), QColor(Qt::red));
}

void TestBusyOverlay::swallowsClicksWhileRunning()
{
    QWidget target;
    target.resize(300, 200);
    auto *button = new QPushButton(QStringLiteral("刷新"), &target);
    button->setGeometry(100, 80, 80, 30);
    BusyOverlay overlay(&target);
    target.show();
    QVERIFY(QTest::qWaitForWindowExposed(&target));
    QSignalSpy clicked(button, &QPushButton::clicked);
    const QPoint buttonCentre = button->geometry().center();

    // The click path itself reaches the button while idle.
    clickWindowAt(&target, buttonCentre);
    QTRY_COMPARE(clicked.count(), 1);

    overlay.start(QStringLiteral("加载数据中..."));
    clickWindowAt(&target, buttonCentre);
    QCoreApplication::processEvents();
    QCOMPARE(clicked.count(), 1);

    // A widget the page adds while busy stays under the veil as well.
    auto *late = new QPushButton(QStringLiteral("late"), &target);
    late->setGeometry(10, 10, 60, 25);
    late->show();
    QSignalSpy lateClicked(late, &QPushButton::clicked);
    clickWindowAt(&target, late->geometry().center());
    QCoreApplication::processEvents();
    QCOMPARE(lateClicked.count(), 0);

    overlay.stop();
    clickWindowAt(&target, buttonCentre);
    QTRY_COMPARE(clicked.count(), 2);
    clickWindowAt(&target, late->geometry().center());
    QTRY_COMPARE(lateClicked.count(), 1);
}

void TestBusyOverlay::destroyingTargetOrOverlayIsSafe()
{
    // The page goes away while a request is still running.
    {
        auto target = std::make_unique<QWidget>();
        target->resize(200, 150);
        QPointer<BusyOverlay> overlay = new BusyOverlay(target.get());
        target->show();
        QVERIFY(QTest::qWaitForWindowExposed(target.get()));
        overlay->start(QStringLiteral("loading"));
        QVERIFY(spinnerTimer(overlay)->isActive());

        target.reset();
        QVERIFY(overlay.isNull());
        QCoreApplication::processEvents();
    }

    // The overlay is deleted on its own: the page keeps working without it.
    {
        QWidget target;
        target.resize(200, 150);
        auto *overlay = new BusyOverlay(&target);
        target.show();
        QVERIFY(QTest::qWaitForWindowExposed(&target));
        overlay->start();
        delete overlay;
        target.resize(260, 180);
        QCoreApplication::processEvents();
        QVERIFY(target.findChildren<BusyOverlay *>().isEmpty());
    }
}

QTEST_MAIN(TestBusyOverlay)
#include "tst_busyoverlay.moc"
