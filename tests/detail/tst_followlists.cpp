#include <QtTest>
class TestFollowLists : public QObject { Q_OBJECT };
QTEST_MAIN(TestFollowLists)
#include "tst_followlists.moc"
