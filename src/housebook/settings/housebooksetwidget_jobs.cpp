// The "岗位权限" tab of the settings window: the company's jobs, the permissions of the chosen
// one and their save.
#include "settings/housebooksetwidget.h"

#include "services/housebooksettingsservice.h"
#include "settings/permissionhousebookwidget.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/loadfailureview.h"
#include "widgets/namedwidgets.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using Service = HouseBookSettingsService;

QWidget *HouseBookSetWidget::buildJobPage()
{
    auto *page = new QWidget(this);
    m_jobList = new QListWidget(page);
    m_jobList->setObjectName(QStringLiteral("jobListWidget"));
    m_jobList->setFixedWidth(150);
    connect(m_jobList, &QListWidget::currentRowChanged, this, &HouseBookSetWidget::chooseJob);
    m_jobsFailure = new LoadFailureView(QStringLiteral("岗位加载失败："), page);
    m_jobsFailure->setObjectName(QStringLiteral("jobsFailure"));
    connect(m_jobsFailure, &LoadFailureView::retryRequested, this, &HouseBookSetWidget::loadjob);

    m_permission = new PermissionHouseBookWidget(page);
    m_permission->setObjectName(QStringLiteral("permissionHouseBookWidget"));
    connect(m_permission, &PermissionHouseBookWidget::valueChange, this,
            [this](const QList<QVariantMap> &list) { dealBackValue(m_jobId, list); });
    m_authFailure = new LoadFailureView(QStringLiteral("权限加载失败："), page);
    m_authFailure->setObjectName(QStringLiteral("authFailure"));
    connect(m_authFailure, &LoadFailureView::retryRequested, this, [this] { downloadAuthOfJob(m_jobId); });
    m_saveJob = namedButton(QStringLiteral("saveJobButton"), QStringLiteral("保存设置"), page);
    m_saveJob->setEnabled(false);
    connect(m_saveJob, &QPushButton::clicked, this, &HouseBookSetWidget::saveJobAuth);

    auto *editor = new QVBoxLayout;
    editor->addWidget(m_authFailure);
    editor->addWidget(m_permission, 1);
    editor->addWidget(m_saveJob, 0, Qt::AlignRight);
    auto *layout = new QHBoxLayout(page);
    layout->addWidget(m_jobsFailure);
    layout->addWidget(m_jobList);
    layout->addLayout(editor, 1);
    return page;
}

void HouseBookSetWidget::connectJobService()
{
    m_service = new Service(this);
    m_overlay = new BusyOverlay(this);
    connect(m_service, &Service::jobsLoaded, this, &HouseBookSetWidget::showJobs);
    connect(m_service, &Service::jobAuthLoaded, this, &HouseBookSetWidget::deal_downloadJobAuth);
    connect(m_service, &Service::failed, this, [this](Service::Request request, const QString &reason) {
        if (request == Service::LoadJobs) {
            m_jobList->hide();
            m_jobsFailure->showReason(reason);
        } else if (request == Service::LoadJobAuth) {
            showAuthFailure(reason);
        }
    });
    connect(m_service, &Service::saved, this, [this](Service::Request request) {
        if (request == Service::JobAuth)
            AlertWidget::tip(QStringLiteral("保存%1权限设置成功！").arg(QStringLiteral("<%1>").arg(m_savingJobName)));
    });
    connect(m_service, &Service::finished, this, [this](Service::Request request) {
        if (request == Service::JobAuth)
            m_overlay->stop();
    });
}

void HouseBookSetWidget::loadjob()
{
    m_jobsRequested = true;
    m_jobsFailure->hide();
    m_jobList->show();
    m_service->loadJobs();
}

void HouseBookSetWidget::showJobs(const QList<QVariantMap> &jobs)
{
    m_jobList->clear();
    for (const QVariantMap &job : jobs) {
        auto *item = new QListWidgetItem(job.value(QStringLiteral("name")).toString(), m_jobList);
        item->setData(Qt::UserRole, job.value(QStringLiteral("id")).toInt());
    }
    if (m_jobList->count() > 0)
        m_jobList->setCurrentRow(0);
}

void HouseBookSetWidget::chooseJob(int row)
{
    if (QListWidgetItem *item = m_jobList->item(row))
        downloadAuthOfJob(item->data(Qt::UserRole).toInt());
}

QString HouseBookSetWidget::jobName() const
{
    for (int row = 0; row < m_jobList->count(); ++row) {
        if (m_jobList->item(row)->data(Qt::UserRole).toInt() == m_jobId)
            return m_jobList->item(row)->text();
    }
    return QString();
}

// Until the job's permissions have arrived nothing can be saved: an empty editor would
// take every permission away from the job.
void HouseBookSetWidget::downloadAuthOfJob(int jobId)
{
    if (jobId <= 0)
        return;
    m_jobId = jobId;
    m_auth.clear();
    m_saveJob->setText(QStringLiteral("保存<%1>设置").arg(jobName()));
    m_saveJob->setEnabled(false);
    m_authFailure->hide();
    m_permission->show();
    m_service->loadJobAuth(jobId);
}

void HouseBookSetWidget::deal_downloadJobAuth(int jobId, const QList<QVariantMap> &entries)
{
    if (jobId != m_jobId)
        return;  // the agent has chosen another job since
    m_auth = entries;
    m_authFailure->hide();
    m_permission->show();
    fillAuth();
    m_saveJob->setEnabled(true);
}

void HouseBookSetWidget::showAuthFailure(const QString &reason)
{
    if (m_saveJob->isEnabled())
        return;  // a late failure of a job shown before; the current one has arrived
    m_permission->hide();
    m_authFailure->showReason(reason);
}

void HouseBookSetWidget::fillAuth()
{
    m_permission->setPermissionList(m_auth);
}

void HouseBookSetWidget::dealBackValue(int appId, QList<QVariantMap> list)
{
    if (appId == m_jobId)
        m_auth = list;
}

void HouseBookSetWidget::saveJobAuth()
{
    if (m_jobId <= 0 || !m_saveJob->isEnabled())
        return;
    m_savingJobName = jobName();
    m_overlay->start(QStringLiteral("提交设置中..."));
    m_service->saveJobAuth(m_jobId, m_permission->permissionList());
}
