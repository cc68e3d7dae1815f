// The property sheet request as a file manager on the bus receives it. A private bus of its
// own keeps the test away from the desktop's file manager.

#include "platform/FileManagerService.h"
#include "actions/ShellActions.h"
#include "results/ResultStateBuilder.h"
#include "ui/RecordingPrompter.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

using namespace pellmora;

namespace {

class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
  public:
    QList<QStringList> Uris;
    QStringList StartupIds;
  public Q_SLOTS:
    void ShowItemProperties(const QStringList& uris, const QString& startupId) {
        Uris.push_back(uris);
        StartupIds.push_back(startupId);
    }
};

class PrivateBus {
  public:
    PrivateBus() {
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--print-address=1")});
        if (!daemon_.waitForStarted(5000)) return;
        for (int i = 0; i < 50 && !daemon_.canReadLine(); ++i)
            daemon_.waitForReadyRead(100);
        Address = QString::fromUtf8(daemon_.readLine().trimmed());
    }
    ~PrivateBus() {
        QDBusConnection::disconnectFromBus(QStringLiteral("file-manager"));
        QDBusConnection::disconnectFromBus(QStringLiteral("program"));
        daemon_.kill();
        daemon_.waitForFinished(5000);
    }
    QString Address;

  private:
    QProcess daemon_;
};

TEST(FileManagerService, AsksForTheSelectedFilesPropertiesWithItsExactUriAndNeverWaits) {
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
        GTEST_SKIP() << "no dbus-daemon to run a private bus";
    PrivateBus bus;
    ASSERT_FALSE(bus.Address.isEmpty());
    QDBusConnection manager = QDBusConnection::connectToBus(bus.Address, "file-manager");
    QDBusConnection program = QDBusConnection::connectToBus(bus.Address, "program");
    ASSERT_TRUE(manager.isConnected() && program.isConnected());
    // With no file manager yet, or no bus at all, nobody takes the request, and it says so.
    EXPECT_FALSE(
        FileManagerService(QStringLiteral("program")).ShowItemProperties(QUrl("file:///nowhere")));
    EXPECT_FALSE(FileManagerService(QStringLiteral("no such bus"))
                     .ShowItemProperties(QUrl("file:///nowhere")));
    FakeFileManager fake;
    ASSERT_TRUE(manager.registerService(QStringLiteral("org.freedesktop.FileManager1")));
    ASSERT_TRUE(manager.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &fake,
                                       QDBusConnection::ExportAllSlots));

    const SearchState state =
        test::ResultState({"/srv/odd \xff dir/"}, {{.Name = "a b.png"}, {.Name = "c"}});
    FileManagerService service(QStringLiteral("program"));
    EXPECT_TRUE(service.ShowItemProperties(QUrl("file:///somewhere")));
    UrlOpener folderOpener; // never needed: the file manager shows the properties
    test::RecordingPrompter prompter;
    ShowFileProperties(state, 0, service, folderOpener, prompter);
    ShowFileProperties(state, -1, service, folderOpener, prompter);
    EXPECT_TRUE(prompter.Prompts.empty());
    const QStringList expected{"file:///srv/odd%20%FF%20dir/a%20b.png"};
    EXPECT_TRUE(QTest::qWaitFor([&] { return fake.Uris.contains(expected); }, 5000));
    QTest::qWait(50); // the request for no row would have arrived by now
    fake.Uris.removeAll(QStringList{"file:///somewhere"});
    ASSERT_EQ(fake.Uris.size(), 1);
    EXPECT_EQ(fake.Uris[0], expected);
    EXPECT_TRUE(fake.StartupIds.contains(QString()));
}

} // namespace

#include "FileManagerServiceTest.moc"
