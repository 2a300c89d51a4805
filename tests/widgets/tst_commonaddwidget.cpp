// Pop-up frame: shade over its owner, registration while shown, self-deletion, content.
#include "datacenter.h"
#include "hostfixture.h"
#include "widgets/commonaddwidget.h"
#include "widgets/openpopup.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

Q_DECLARE_METATYPE(PopupSize)

class TestCommonAddWidget : public QObject
{
    Q_OBJECT
private slots:
    void shadesFirstRegisteredOwnerAndCentres();
    void fallsBackToMainWindow();
    void registersWhileShownAndCleansUpOnClose();
    void closeButtonAndContentCloseSignal();
    void forgetsDestroyedContent();
    void openPopupBySize_data();
    void openPopupBySize();
};

void TestCommonAddWidget::shadesFirstRegisteredOwnerAndCentres()
{
    HostFixture host;
    QWidget other;
    other.resize(300, 200);
    other.show();
    DataCenter::MainWindowWidget = &other;  // the registered "main" window wins over this

    QPointer<CommonAddWidget> popup = new CommonAddWidget(host.mainWindow(), QStringLiteral("main"), true);
    popup->resize(400, 300);
    popup->setTitle(QStringLiteral("房源本设置"), QColor(0, 0, 0, 30));
    popup->show();
    QVERIFY(popup->shade());
    QCOMPARE(popup->shade()->parentWidget(), host.mainWindow());
    QCOMPARE(popup->shade()->geometry(), host.mainWindow()->rect());
    QVERIFY(popup->shade()->styleSheet().contains(QColor(0, 0, 0, 30).name(QColor::HexArgb)));
    QCOMPARE(popup->title(), QStringLiteral("房源本设置"));

    const QPoint ownerCentre = host.mainWindow()->mapToGlobal(host.mainWindow()->rect().center());
    QVERIFY((popup->geometry().center() - ownerCentre).manhattanLength() <= 2);

    host.mainWindow()->resize(900, 700);
    QCOMPARE(popup->shade()->geometry(), host.mainWindow()->rect());
    popup->close();
}

void TestCommonAddWidget::fallsBackToMainWindow()
{
    HostFixture host;
    QPointer<CommonAddWidget> popup = new CommonAddWidget(nullptr, QStringLiteral("detail"), true);
    popup->show();
    QVERIFY(popup->shade());
    QCOMPARE(popup->shade()->parentWidget(), DataCenter::MainWindowWidget);
    popup->close();
}

void TestCommonAddWidget::registersWhileShownAndCleansUpOnClose()
{
    HostFixture host;
    QPointer<CommonAddWidget> popup = new CommonAddWidget(host.mainWindow(), QStringLiteral("main"), true);
    QVERIFY(!DataCenter::getWindowsFromName(QStringLiteral("main")).contains(popup.data()));
    popup->show();
    QVERIFY(DataCenter::getWindowsFromName(QStringLiteral("main")).contains(popup.data()));
    QPointer<QWidget> shade = popup->shade();
    QVERIFY(shade);

    popup->close();
    QVERIFY(shade.isNull());
    QVERIFY(!DataCenter::getWindowsFromName(QStringLiteral("main")).contains(popup.data()));
    QTRY_VERIFY(popup.isNull());
    // The owner stays registered and unshaded.
    QCOMPARE(DataCenter::getWindowsFromName(QStringLiteral("main")), QList<QWidget *>{host.mainWindow()});
    QVERIFY(host.mainWindow()->findChildren<QWidget *>(QStringLiteral("commonAddShade")).isEmpty());
}

void TestCommonAddWidget::closeButtonAndContentCloseSignal()
{
    HostFixture host;
    QPointer<CommonAddWidget> popup = new CommonAddWidget(host.mainWindow());
    popup->show();
    QTest::mouseClick(popup->findChild<QPushButton *>(QStringLiteral("closeButton")), Qt::LeftButton);
    QTRY_VERIFY(popup.isNull());

    popup = new CommonAddWidget(host.mainWindow());
    auto *content = new QPushButton(QStringLiteral("done"));
    popup->setContentWidget(content);
    connect(content, &QPushButton::clicked, popup.data(), &CommonAddWidget::closeWidget);
    popup->show();
    QCOMPARE(content->parentWidget(), popup.data());
    content->click();
    QTRY_VERIFY(popup.isNull());
}

void TestCommonAddWidget::forgetsDestroyedContent()
{
    HostFixture host;
    QPointer<CommonAddWidget> popup = new CommonAddWidget(host.mainWindow());
    auto *content = new QLabel(QStringLiteral("x"));
    popup->setContentWidget(content);
    QCOMPARE(popup->contentWidget(), content);
    delete content;
    QVERIFY(popup->contentWidget() == nullptr);
    popup->show();
    popup->close();
    QTRY_VERIFY(popup.isNull());
}

void TestCommonAddWidget::openPopupBySize_data()
{
    QTest::addColumn<PopupSize>("kind");
    QTest::addColumn<QSize>("size");
    QTest::newRow("detail") << PopupSize::Detail << QSize(912, 692);
    QTest::newRow("entry form") << PopupSize::EntryForm << QSize(762, 762);
    QTest::newRow("settings") << PopupSize::Settings << QSize(762, 662);
    QTest::newRow("days chooser") << PopupSize::DaysChooser << QSize(412, 312);
}

// The frame keeps its size once its content is laid out and it is shown.
void TestCommonAddWidget::openPopupBySize()
{
    QFETCH(PopupSize, kind);
    QFETCH(QSize, size);
    HostFixture host;
    auto *content = new QLabel(QStringLiteral("内容"));
    QPointer<CommonAddWidget> popup = openPopup(host.mainWindow(), kind, QStringLiteral("修改房源-置顶"), content);
    QVERIFY(popup->isVisible());
    QCOMPARE(popup->size(), size);
    QCOMPARE(popup->contentWidget(), content);
    QCOMPARE(popup->title(), QStringLiteral("修改房源-置顶"));
    QCOMPARE(popup->ownerWindow(), QStringLiteral("main"));
    QVERIFY(popup->shade());
    popup->close();
    QTRY_VERIFY(popup.isNull());
}

QTEST_MAIN(TestCommonAddWidget)
#include "tst_commonaddwidget.moc"
