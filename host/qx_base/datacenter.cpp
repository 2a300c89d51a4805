#include "datacenter.h"

int DataCenter::CityID = 0;
int DataCenter::CompanyID = 0;
int DataCenter::YongHuID = 0;
QString DataCenter::UserPhoneNumber;
int DataCenter::JointSaleCompanyId = 0;
int DataCenter::HuaiNanCityId = 0;
bool DataCenter::isManager = false;
bool DataCenter::isJointSaleManger = false;
bool DataCenter::UserOnline = false;
bool DataCenter::CloseAppNeedUpdate = false;

QVariant DataCenter::CookieVar;
QVariant DataCenter::CookieWeb;
QVariantMap DataCenter::HttpHeadMap;

QList<QVariantMap> DataCenter::sqlConnectList;
QByteArray DataCenter::refreshStateOfDB(2, '\0');

QWidget *DataCenter::MainWindowWidget = nullptr;
QString DataCenter::CurrentWindow;
QMap<QString, QList<QPointer<QWidget>>> DataCenter::cp_active_windows;

QList<QWidget *> DataCenter::getWindowsFromName(const QString &name)
{
    QList<QWidget *> live;
    for (const QPointer<QWidget> &w : cp_active_windows.value(name)) {
        if (w)
            live.append(w.data());
    }
    return live;
}

void DataCenter::addThemeWidget(const QString &name, QWidget *widget)
{
    if (!widget)
        return;
    QList<QPointer<QWidget>> &list = cp_active_windows[name];
    list.removeAll(QPointer<QWidget>());
    for (const QPointer<QWidget> &w : list) {
        if (w == widget)
            return;
    }
    list.append(widget);
}

void DataCenter::removeThemeWidget(const QString &name, QWidget *widget)
{
    auto it = cp_active_windows.find(name);
    if (it == cp_active_windows.end())
        return;
    QList<QPointer<QWidget>> &list = it.value();
    for (int i = list.size() - 1; i >= 0; --i) {
        if (!list.at(i) || list.at(i) == widget)
            list.removeAt(i);
    }
    if (list.isEmpty())
        cp_active_windows.erase(it);
}

std::mutex &DataCenter::sqlConnectListLock()
{
    static std::mutex lock;
    return lock;
}

void DataCenter::reset()
{
    CityID = CompanyID = YongHuID = JointSaleCompanyId = HuaiNanCityId = 0;
    UserPhoneNumber.clear();
    isManager = isJointSaleManger = UserOnline = CloseAppNeedUpdate = false;
    CookieVar.clear();
    CookieWeb.clear();
    HttpHeadMap.clear();
    {
        std::lock_guard<std::mutex> locker(sqlConnectListLock());
        sqlConnectList.clear();
    }
    refreshStateOfDB = QByteArray(2, '\0');
    MainWindowWidget = nullptr;
    CurrentWindow.clear();
    cp_active_windows.clear();
}
