#pragma once
// The collaboration cell of the listing table (column "团队协作"): one icon per collaboration
// role of the listing — nobody, assigned, or assigned with the review pending, and marked
// "_my" when the holder is the signed-in user — followed by the listing's progress, all in a
// white pill. A listing outside the collaboration shows "不支持团队协作" instead.
//
// Each cell holds a dozen widgets; in the table they are made only for rows in view
// (deferBuild, see HoverTableCell).
#include "sql/housemessage_datasqltable.h"
#include "widgets/hovertablewidget.h"

class QLabel;
class QStackedWidget;

class HouseBookXieZuoItemView : public HoverTableCell
{
    Q_OBJECT
public:
    using Record = HouseMessage_DataSqlTable::HouseMessageData;
    using Holder = HouseMessage_DataSqlTable::XieZuoItemData;

    // In the order the icons are shown.
    enum Role { LuRuRen, WeiHuRen, WeiTuoRen, ShiKanRen, YaoShiRen, DuJiaRen, ChengJiaoRen, RoleCount };

    // deferBuild: the child widgets are made in ensureBuilt() (or when a label is asked for).
    explicit HouseBookXieZuoItemView(int row = -1, QWidget *parent = nullptr, bool deferBuild = false);

    // Role holders, progress and verification code of the listing; a listing outside the
    // collaboration (HouseRowTexts::takesPartInXieZuo) turns to the second page.
    void setData(const Record &listing);
    // The same in parts: one holder per role, in Role order.
    void setRoles(const QList<Holder> &holders, bool hasVerificationCode);
    void setProgress(int jindu);
    void setSupported(bool supported);

    bool isSupported() const { return m_supported; }
    bool isBuilt() const override { return m_stack != nullptr; }
    void ensureBuilt() override;
    QString progressText() const;
    QString roleIcon(int role) const;
    QString roleToolTip(int role) const;
    // The icon label of a role (builds the cell when needed).
    QLabel *roleLabel(int role);

    // The record field of a role ("lururen", ...), also the icon label's object name suffix.
    static QString roleField(int role);
    static QString iconFor(int role, const Holder &holder, bool hasVerificationCode);
    static QString toolTipFor(int role, const Holder &holder);

private:
    QWidget *createIconsPage();
    QLabel *createTipPage();
    void applyRoles();
    void applyProgress();

    QList<Holder> m_holders;
    bool m_verification = false;
    int m_progress = -1;  // -1: not set yet, shown as 100%
    bool m_supported = true;
    QStackedWidget *m_stack = nullptr;
    QList<QLabel *> m_icons;
    QLabel *m_progressLabel = nullptr;
};
