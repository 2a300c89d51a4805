// The two community editors: a dialog of line edits filled with the community's stored values
// (from the local company database, through the community library's record reader), checked
// before they are posted to the community service, which has the last word.
#include "qx_community.h"

#include "common/softservice.h"
#include "qx_jointsale_community.h"

#include <QDialog>
#include <QFormLayout>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>
#include <QUrlQuery>
#include <QVBoxLayout>

#include <functional>
#include <memory>

namespace {

struct Field
{
    const char *key;         // the form key and the stored column
    const char *objectName;
    const char *label;
};

// One editor: its dialog, fields and the check of what was entered (empty: fine).
struct EditorKind
{
    const char *objectName;
    const char *title;
    const char *saveName;
    QList<Field> fields;
    std::function<QString(const QVariantMap &)> check;
};

bool readNumber(const QVariant &v, double *out)
{
    bool ok = false;
    *out = v.toString().trimmed().toDouble(&ok);
    return ok;
}

// A position on the map: both numbers, within their ranges, and not the empty 0.
QString checkLocation(const QVariantMap &values)
{
    double lng = 0;
    double lat = 0;
    if (!readNumber(values.value(QStringLiteral("lng")), &lng) || !readNumber(values.value(QStringLiteral("lat")), &lat)
        || lng == 0 || lat == 0 || qAbs(lng) > 180 || qAbs(lat) > 90)
        return QStringLiteral("请输入正确的经纬度");
    return QString();
}

QString checkYears(const QVariantMap &values)
{
    bool ok = false;
    const int year = values.value(QStringLiteral("years")).toString().trimmed().toInt(&ok);
    if (!ok || year < 1000 || year > 9999)
        return QStringLiteral("请输入正确的建筑年代（1000-9999）");
    return QString();
}

const EditorKind &locationEditor()
{
    static const EditorKind kind{"communityLocationEditor", "标注小区位置", "saveLocationButton",
                                 {{"lng", "lngEdit", "经度："}, {"lat", "latEdit", "纬度："}}, checkLocation};
    return kind;
}

const EditorKind &messageEditor()
{
    static const EditorKind kind{"communityMessageEditor", "修改小区信息", "saveMessageButton",
                                 {{"years", "yearsEdit", "建筑年代："}}, checkYears};
    return kind;
}

class CommunityEditor : public QDialog
{
public:
    CommunityEditor(QWidget *parent, const EditorKind &kind, int communityId, CommunityEdited edited, void *context)
        : QDialog(parent)
        , m_kind(kind)
        , m_communityId(communityId)
        , m_edited(edited)
        , m_context(context)
    {
        setObjectName(QLatin1String(kind.objectName));
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowTitle(QString::fromUtf8(kind.title));
        build();
    }

private:
    void build()
    {
        QVariantMap stored;
        loadLocalCommunityData(m_communityId, &stored);
        auto *layout = new QVBoxLayout(this);
        auto *name = new QLabel(stored.value(QStringLiteral("name")).toString(), this);
        name->setObjectName(QStringLiteral("communityNameLabel"));
        layout->addWidget(name);
        auto *form = new QFormLayout;
        for (const Field &f : m_kind.fields) {
            auto *edit = new QLineEdit(stored.value(QLatin1String(f.key)).toString(), this);
            edit->setObjectName(QLatin1String(f.objectName));
            form->addRow(QString::fromUtf8(f.label), edit);
            m_edits.append(edit);
        }
        layout->addLayout(form);
        m_message = new QLabel(this);
        m_message->setObjectName(QStringLiteral("editorMessage"));
        m_message->setStyleSheet(QStringLiteral("color:#e64340;"));
        layout->addWidget(m_message);
        m_save = new QPushButton(QStringLiteral("保存"), this);
        m_save->setObjectName(QLatin1String(m_kind.saveName));
        layout->addWidget(m_save);
        connect(m_save, &QPushButton::clicked, this, &CommunityEditor::save);
    }

    QVariantMap entered() const
    {
        QVariantMap values;
        for (int k = 0; k < m_kind.fields.size(); ++k)
            values.insert(QLatin1String(m_kind.fields.at(k).key), m_edits.at(k)->text().trimmed());
        return values;
    }

    void save()
    {
        const QVariantMap values = entered();
        const QString wrong = m_kind.check(values);
        const QString address = SoftService::address(QStringLiteral("house/xiaoqu/edit"));
        if (!wrong.isEmpty() || address.isEmpty()) {
            m_message->setText(!wrong.isEmpty() ? wrong : QStringLiteral("未配置房源服务地址，请联系管理员！"));
            return;
        }
        QUrlQuery form;
        form.addQueryItem(QStringLiteral("id"), QString::number(m_communityId));
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            form.addQueryItem(it.key(), QString::fromUtf8(QUrl::toPercentEncoding(it.value().toString())));
        form.addQueryItem(QStringLiteral("lianmai"), QStringLiteral("1"));
        m_save->setEnabled(false);
        m_message->setText(QStringLiteral("保存中..."));
        if (!m_network)
            m_network = new QNetworkAccessManager(this);
        QNetworkReply *reply = m_network->post(SoftService::formRequest(address), form.toString(QUrl::FullyEncoded).toUtf8());
        connect(reply, &QNetworkReply::finished, this, [this, reply, values] { saved(reply, values); });
    }

    // Accepted: the caller hears it once and the editor closes; otherwise it stays open with
    // the reason.
    void saved(QNetworkReply *reply, const QVariantMap &values)
    {
        reply->deleteLater();
        const QJsonObject answer = QJsonDocument::fromJson(reply->readAll()).object();
        if (reply->error() != QNetworkReply::NoError || answer.value(QStringLiteral("code")).toVariant().toInt() != 200) {
            const QString message = answer.value(QStringLiteral("message")).toString();
            m_message->setText(message.isEmpty() ? QStringLiteral("保存失败，请稍后重试！") : message);
            m_save->setEnabled(true);
            return;
        }
        if (m_edited && !m_done) {
            m_done = true;
            m_edited(m_context, values);
        }
        close();
    }

    const EditorKind &m_kind;
    const int m_communityId;
    const CommunityEdited m_edited;
    void *const m_context;
    bool m_done = false;
    QList<QLineEdit *> m_edits;
    QLabel *m_message = nullptr;
    QPushButton *m_save = nullptr;
    QNetworkAccessManager *m_network = nullptr;
};

QWidget *openEditor(QWidget *parent, const EditorKind &kind, int communityId, CommunityEdited edited, void *context)
{
    auto *editor = new CommunityEditor(parent, kind, communityId, edited, context);
    editor->show();
    return editor;
}

} // namespace

QWidget *editCommunityLocation(QWidget *parent, int communityId, CommunityEdited edited, void *context)
{
    return openEditor(parent, locationEditor(), communityId, edited, context);
}

QWidget *editCommunityMessage(QWidget *parent, int communityId, CommunityEdited edited, void *context)
{
    return openEditor(parent, messageEditor(), communityId, edited, context);
}
