#pragma once
// What the sale and the rent description pages share: the listing's facts, the promotion
// title and introduction, the promotion photos with their cover, the tags in the first
// page's colours, the panorama address and the map link, the edit entry with its rights
// check, and the previous/next signals the detail window connects. Each page decides where
// the block goes (contentWidget()) and where its promotion data comes from.
#include "detail/describe/describerights.h"
#include "detail/describe/describetexts.h"

#include <QStringList>
#include <QWidget>

class DescribeService;
class PortalPushBase;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;

class DescribePageBase : public QWidget
{
    Q_OBJECT
public:
    explicit DescribePageBase(bool rent, QWidget *parent = nullptr);

    // Shows a listing and loads its promotion data.
    void showRecord(const HouseMessage_DataSqlTable::HouseMessageData &record);
    const HouseMessage_DataSqlTable::HouseMessageData &record() const { return m_record; }
    QList<DescribeTexts::Photo> photos() const { return m_photos; }
    DescribeService *service() const { return m_service; }
    bool isRentPage() const { return m_rent; }

signals:
    void lastHouse();
    void nextHouse();

public slots:
    virtual void refreshData() = 0;
    virtual void editClick() = 0;
    void showHouseTag(const QStringList &houseTagList);
    void showBigPhoto(int index);
    void showHouseMap();
    void noDataClick(QString txt);
    // Makes the index-th photo the cover and stores that.
    void corverPhoto(int index);
    // Whether the user may edit; says why not when refused.
    bool judgeEditAuth();
    // Puts the shown listing on the 58 portal or on XinfuLi; both buttons wait for the push.
    void pushToWuba();
    void pushToXinfuLi();

protected:
    // The shared block; the page puts it into its own layout.
    QWidget *contentWidget() const { return m_content; }
    // Room under the shared block for a page's own rows.
    QVBoxLayout *extraLayout() const { return m_extra; }
    // The promotion data to show (texts as stored: the joiner token is turned into "&" here).
    void showPromotion(const QString &title, const QString &describes, const QList<DescribeTexts::Photo> &photos,
                       const QString &panorama);
    // Posts the photos with the new cover; the page picks the form.
    virtual void saveCover(const QList<DescribeTexts::Photo> &photos) = 0;
    // The right the page's editor needs.
    virtual bool mayEdit(const DescribeRights &rights) const = 0;
    bool isRent() const { return m_rent; }

private:
    void buildContent();
    QWidget *buildHeader();
    QWidget *buildPushRow();
    void startPush(PortalPushBase *push);
    void fillFacts();
    void fillPhotos();
    static void clearLayout(QLayout *layout);

    bool m_rent;
    HouseMessage_DataSqlTable::HouseMessageData m_record;
    QList<DescribeTexts::Photo> m_photos;
    DescribeService *m_service;
    QWidget *m_content = nullptr;
    QVBoxLayout *m_extra = nullptr;
    QLabel *m_titleLabel = nullptr;
    QLabel *m_describesLabel = nullptr;
    QLabel *m_noDataLabel = nullptr;
    QGridLayout *m_factsGrid = nullptr;
    QHBoxLayout *m_tagRow = nullptr;
    QHBoxLayout *m_photoRow = nullptr;
    QLabel *m_panoramaLabel = nullptr;
    QWidget *m_pushRow = nullptr;
    QPushButton *m_pushWuba = nullptr;
    QPushButton *m_pushXinfuLi = nullptr;
};
