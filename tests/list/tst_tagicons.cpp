// The tag and role icons show the Chinese character of what they mean, so an agent reads them
// without a tooltip. Each icon's white glyph is compared with every candidate character (and
// with Latin letters) drawn in the font the icons are made with; its own character must match
// best, and well.
#include "list/houserowtexts.h"

#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

const QString kFontFile = QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");

using Ink = QVector<double>;

// How much of each pixel is glyph: white drawn over the icon's fill (the most common opaque
// colour), from 0 (fill or transparent) to 1 (white).
Ink glyphInk(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QHash<QRgb, int> counts;
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(argb.pixel(x, y)) == 255)
                ++counts[argb.pixel(x, y)];
        }
    }
    QRgb fill = qRgb(0, 0, 0);
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > counts.value(fill))
            fill = it.key();
    }
    const double fillGray = qGray(fill);
    Ink ink(argb.width() * argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb p = argb.pixel(x, y);
            const double level = (qGray(p) - fillGray) / qMax(1.0, 255 - fillGray);
            ink[y * argb.width() + x] = qAlpha(p) < 128 ? 0 : qBound(0.0, level, 1.0);
        }
    }
    return ink;
}

QImage drawn(const QString &text, const QSize &size, const QString &family, int pixelSize)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(QColor(0, 0, 0));
    QPainter painter(&image);
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(image.rect(), Qt::AlignCenter, text);
    return image;
}

// Overlap of two ink maps (shared ink over all ink), the best over shifts of up to two pixels.
double overlap(const Ink &a, const Ink &b, const QSize &size)
{
    double best = 0;
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            double shared = 0;
            double all = 0;
            for (int y = 0; y < size.height(); ++y) {
                for (int x = 0; x < size.width(); ++x) {
                    const int sx = x + dx;
                    const int sy = y + dy;
                    const bool inside = sx >= 0 && sy >= 0 && sx < size.width() && sy < size.height();
                    const double inB = inside ? b.at(sy * size.width() + sx) : 0;
                    const double inA = a.at(y * size.width() + x);
                    shared += qMin(inA, inB);
                    all += qMax(inA, inB);
                }
            }
            if (all > 0)
                best = qMax(best, shared / all);
        }
    }
    return best;
}

} // namespace

class TestTagIcons : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void iconShowsItsCharacter_data();
    void iconShowsItsCharacter();

private:
    QString m_family;
    QStringList m_candidates;
};

void TestTagIcons::initTestCase()
{
    if (!QFile::exists(kFontFile))
        QSKIP("fonts-wqy-microhei is not installed (scripts/deps.sh)");
    const int id = QFontDatabase::addApplicationFont(kFontFile);
    QVERIFY(id >= 0);
    m_family = QFontDatabase::applicationFontFamilies(id).value(0);
    m_candidates = QStringLiteral("冒,图,齐,钥,顶,锁,封,私,车,独,联,新,视频,录,维,委,勘,成,"
                                  "E,C,S,L,F,P,K,J,A,M,W,D,N,+,¥,!,VR").split(QLatin1Char(','));
}

void TestTagIcons::iconShowsItsCharacter_data()
{
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("character");
    // Through the tag names the community cell uses.
    const QList<QPair<QString, QString>> tags{{"置顶", "顶"}, {"锁盘", "锁"},     {"封盘", "封"},     {"独家", "独"},
                                               {"私房", "私"}, {"有车库", "车"},   {"有图", "图"},     {"视频房源", "视频"},
                                               {"联卖", "联"}, {"中介冒充", "冒"}, {"新上房源", "新"}, {"有钥匙", "钥"},
                                               {"VR", "VR"}};
    for (const auto &tag : tags)
        QTest::newRow(qPrintable(tag.first)) << HouseRowTexts::tagIcon(tag.first) << tag.second;
    // The collaboration roles.
    const QList<QPair<QString, QString>> roles{{"add", "录"},    {"modify", "维"}, {"weituo", "委"},  {"shikan", "勘"},
                                                {"key", "钥"},    {"dujia", "独"},  {"complete", "成"}};
    for (const auto &role : roles)
        QTest::newRow(qPrintable(role.first)) << QStringLiteral(":/res/xiezuo_%1.png").arg(role.first) << role.second;
}

void TestTagIcons::iconShowsItsCharacter()
{
    QFETCH(QString, icon);
    QFETCH(QString, character);
    const QImage image(icon);
    QVERIFY2(!image.isNull(), qPrintable(icon));
    const Ink ink = glyphInk(image);
    QString best;
    double bestScore = -1;
    for (const QString &candidate : qAsConst(m_candidates)) {
        for (int pixelSize : {9, 12, 13}) {
            const double score = overlap(ink, glyphInk(drawn(candidate, image.size(), m_family, pixelSize)), image.size());
            if (qEnvironmentVariableIsSet("DBG")) qWarning() << candidate << pixelSize << score;
            if (score > bestScore) {
                bestScore = score;
                best = candidate;
            }
        }
    }
    QVERIFY2(best == character, qPrintable(QStringLiteral("%1 looks like %2 (%3)").arg(icon, best).arg(bestScore)));
    QVERIFY2(bestScore > 0.4, qPrintable(QString::number(bestScore)));
}

QTEST_MAIN(TestTagIcons)
#include "tst_tagicons.moc"
