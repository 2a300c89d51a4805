#pragma once
// The category page of the house-book settings window: the six option lists the entry forms
// and list filters offer (产权, 产证, 交通, 租房标签, 售房标签, 付款方式), each edited in a
// CategoryListEditor. The page shows the lists of the local store, and submit() saves all six
// at once; after a save the store is downloaded again and the page shows what it now holds.
#include <QList>
#include <QWidget>

class BusyOverlay;
class CategoryListEditor;
class HouseBookSettingsService;

class HouseBookItemSetWidget : public QWidget
{
    Q_OBJECT
public:
    explicit HouseBookItemSetWidget(QWidget *parent);

signals:
    void closeWidget();
    void setSuccess();

public slots:
    // Shows the lists as the local store holds them.
    void showSet();
    // Checks that no list is empty (the first empty one is named, nothing is posted), then
    // posts the six lists.
    void submit();

private:
    void buildUi();
    bool checkLists();

    QList<CategoryListEditor *> m_editors;
    HouseBookSettingsService *m_service = nullptr;
    BusyOverlay *m_busy = nullptr;
};
