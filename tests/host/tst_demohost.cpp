// The demo host as a user starts it: the built binary, signed in from the command line,
// against the embedded simulator or a server that is not there.
#include <QCryptographicHash>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class tst_DemoHost : public QObject
{
    Q_OBJECT

private:
    struct Run
    {
        bool finished = false;
        QProcess::ExitStatus status = QProcess::CrashExit;
        int code = -1;
        QString output;
    };

    // home: where the user's data and configuration locations lie (a fresh home folder).
    static Run runHost(const QStringList &arguments, const QString &home)
    {
        QProcess host;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.remove(QStringLiteral("QX_HOUSEBOOK_SERVER"));  // the host picks its own server
        env.remove(QStringLiteral("QX_HOUSEBOOK_DATA_DIR"));  // and its own data folder
        env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/cache"));
        host.setProcessEnvironment(env);
        host.setProcessChannelMode(QProcess::MergedChannels);
        host.start(QStringLiteral(HOUSEBOOK_BIN_DIR "/qx_host"), arguments);
        Run run;
        run.finished = host.waitForStarted(10000) && host.waitForFinished(90000);
        if (!run.finished)
            host.kill();
        run.status = host.exitStatus();
        run.code = host.exitCode();
        run.output = QString::fromUtf8(host.readAll());
        return run;
    }

    // The value of the host's "qx_host: <key> <value>" line.
    static QString reported(const Run &run, const QString &key)
    {
        const QString prefix = QStringLiteral("qx_host: %1 ").arg(key);
        for (const QString &line : run.output.split(QLatin1Char('\n'))) {
            if (line.startsWith(prefix))
                return line.mid(prefix.size()).trimmed();
        }
        return QString();
    }

    // The personal database of a phone: cp- and characters 8 to 23 of the MD5 of the phone.
    static QString personalDbName(const QString &phone)
    {
        const QByteArray md5 = QCryptographicHash::hash(phone.toLatin1(), QCryptographicHash::Md5).toHex();
        return QStringLiteral("cp-%1.db").arg(QString::fromLatin1(md5.mid(8, 16)));
    }

private slots:
    // Signed in against the embedded simulator, the sale book is drawn and saved.
    void signsInAndPicturesTheSaleBook()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString shot = dir.filePath(QStringLiteral("s.png"));
        const Run run = runHost({QStringLiteral("--phone"), QStringLiteral("13800000001"), QStringLiteral("--open"),
                                 QStringLiteral("loadHouseListWidget"), QStringLiteral("--screenshot"), shot,
                                 QStringLiteral("--quit-after"), QStringLiteral("20000")},
                                dir.path());
        QVERIFY2(run.finished, qPrintable(run.output));
        QCOMPARE(run.status, QProcess::NormalExit);
        QVERIFY2(run.code == 0, qPrintable(run.output));
        // The login state came from the simulator's replies for that user.
        QVERIFY2(run.output.contains(QStringLiteral("signed in 13800000001 company ")), qPrintable(run.output));
        QVERIFY(QFileInfo(shot).size() > 0);
        const QImage image(shot, "PNG");
        QVERIFY(!image.isNull());
        // The whole main window, not an empty or half-built surface.
        QVERIFY(image.width() >= 800 && image.height() >= 500);
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 7) {
            for (int x = 0; x < image.width(); x += 7)
                colours.insert(image.pixel(x, y));
        }
        QVERIFY(colours.size() > 10);
    }

    // Nothing listens on the port: the host says why it could not sign in and ends with an
    // error code instead of crashing or waiting for ever.
    void unreachableServerEndsWithSignInError()
    {
        QTemporaryDir home;
        const Run run = runHost({QStringLiteral("--server"), QStringLiteral("http://127.0.0.1:1"),
                                 QStringLiteral("--phone"), QStringLiteral("13800000001"),
                                 QStringLiteral("--quit-after"), QStringLiteral("20000")},
                                home.path());
        QVERIFY2(run.finished, qPrintable(run.output));
        QCOMPARE(run.status, QProcess::NormalExit);
        QCOMPARE(run.code, 2);
        QVERIFY2(run.output.contains(QStringLiteral("登录失败")), qPrintable(run.output));
    }

    // A phone the alliance does not know is not signed in (it used to become the manager):
    // the host names the reason and ends with the sign-in error code.
    void unknownPhoneIsRefused()
    {
        QTemporaryDir home;
        const Run run = runHost({QStringLiteral("--phone"), QStringLiteral("12345"), QStringLiteral("--quit-after"),
                                 QStringLiteral("20000")},
                                home.path());
        QVERIFY2(run.finished, qPrintable(run.output));
        QCOMPARE(run.status, QProcess::NormalExit);
        QCOMPARE(run.code, 2);
        QVERIFY2(run.output.contains(QStringLiteral("qx_host: 登录失败：该手机号未注册：12345")), qPrintable(run.output));
        QVERIFY2(!run.output.contains(QStringLiteral("signed in")), qPrintable(run.output));
    }

    // Each user of the demo host keeps their personal store in a folder of their own under
    // the user's data location, not in the shared build folder.
    void usersGetTheirOwnDataFolders()
    {
        QTemporaryDir home;
        QStringList folders;
        for (const QString &phone : {QStringLiteral("13800000001"), QStringLiteral("13800000002")}) {
            const Run run = runHost({QStringLiteral("--phone"), phone, QStringLiteral("--open"),
                                     QStringLiteral("loadHouseListWidget"), QStringLiteral("--screenshot"),
                                     home.filePath(phone + QStringLiteral(".png")), QStringLiteral("--quit-after"),
                                     QStringLiteral("20000")},
                                    home.path());
            QVERIFY2(run.finished && run.code == 0, qPrintable(run.output));
            const QString folder = reported(run, QStringLiteral("data"));
            QCOMPARE(folder, home.filePath(QStringLiteral("data/qx_host/") + phone));
            const QString db = folder + QStringLiteral("/sql/4_2_0_1/") + personalDbName(phone);
            QVERIFY2(QFileInfo(db).isFile(), qPrintable(db + QLatin1Char('\n') + run.output));
            folders << folder;
        }
        QVERIFY(folders.at(0) != folders.at(1));
    }
};

QTEST_GUILESS_MAIN(tst_DemoHost)
#include "tst_demohost.moc"
