// Where the program finds its side files and makes the user's library, in a build tree and in an
// installed tree (bin/ beside share/zestro/).

#include "app/user_library.h"
#include "common/seams.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

class TestInstallLayout : public QObject {
    Q_OBJECT

private slots:
    void firstRunCopiesTheStarterToTheRightPlace_data()
    {
        QTest::addColumn<QString>("starterIn"); // folder under the root holding the side files
        QTest::addColumn<QString>("oldLibraryIn"); // a library there before the start, or none
        QTest::addColumn<QString>("dataFolder");
        QTest::addColumn<QString>("library");
        QTest::newRow("build tree") << "bin" << "" << "bin" << "bin/zestro.mdb";
        QTest::newRow("installed") << "share/zestro" << "" << "share/zestro" << "home/Zestro/zestro.mdb";
        QTest::newRow("installed, used before") << "share/zestro" << "home/Zestro" << "share/zestro" << "home/Zestro/zestro.mdb";
        QTest::newRow("installed, library beside program") << "share/zestro" << "bin" << "share/zestro" << "bin/zestro.mdb";
        QTest::newRow("no side files anywhere") << "" << "" << "bin" << "bin/zestro.mdb";
    }
    void firstRunCopiesTheStarterToTheRightPlace()
    {
        QFETCH(QString, starterIn);
        QFETCH(QString, oldLibraryIn);
        QFETCH(QString, dataFolder);
        QFETCH(QString, library);
        QTemporaryDir root;
        const QDir dir(root.path());
        auto put = [&](const QString &folder, const QString &name, const QByteArray &bytes) {
            QVERIFY(dir.mkpath(folder));
            QFile file(dir.filePath(folder + QLatin1Char('/') + name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        };
        QVERIFY(dir.mkpath(QStringLiteral("bin")));
        if (!starterIn.isEmpty()) { // read-only, as a package installs it
            put(starterIn, kStarterLibraryName, "starter");
            QVERIFY(QFile::setPermissions(dir.filePath(starterIn + QLatin1Char('/') + kStarterLibraryName),
                                          QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        }
        if (!oldLibraryIn.isEmpty())
            put(oldLibraryIn, kUserLibraryName, "used");
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("home"))));
        setProgramFolder(dir.filePath(QStringLiteral("bin")));

        QCOMPARE(DataFolder(), dir.filePath(dataFolder));
        QString problem;
        QCOMPARE(provideUserLibrary(&problem), dir.filePath(library));
        QCOMPARE(problem, QString());
        QFile made(dir.filePath(library));
        const QByteArray expected = !oldLibraryIn.isEmpty() ? "used" : !starterIn.isEmpty() ? "starter" : "";
        QCOMPARE(made.open(QIODevice::ReadOnly) ? made.readAll() : QByteArray(), expected);
        if (expected == "starter") // the user's copy is theirs to change
            QVERIFY(made.permissions() & QFile::WriteOwner);
        // An installed copy writes nothing into its program folder.
        if (starterIn != QLatin1String("bin") && oldLibraryIn != QLatin1String("bin"))
            QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("bin/zestro.mdb"))));
        setProgramFolder(QString());
    }

    // A data folder that cannot be made: no library, and a sentence saying what, where and why.
    void firstRunThatCannotCopySaysWhy()
    {
        QTemporaryDir root;
        const QDir dir(root.path());
        QVERIFY(dir.mkpath(QStringLiteral("share/zestro")) && dir.mkpath(QStringLiteral("bin")));
        for (const QString &name : {QStringLiteral("share/zestro/") + kStarterLibraryName, QStringLiteral("home")}) {
            QFile file(dir.filePath(name)); // "home" a file, so no folder can be made in it
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("x") == 1);
        }
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("home"))));
        setProgramFolder(dir.filePath(QStringLiteral("bin")));
        QString problem;
        const QString library = provideUserLibrary(&problem);
        setProgramFolder(QString());
        QCOMPARE(library, dir.filePath(QStringLiteral("home/Zestro/zestro.mdb")));
        QVERIFY(!QFile::exists(library));
        QCOMPARE(problem, QStringLiteral("Zestro could not make your library '%1' from the starter library '%2': the folder '%3' "
                                         "cannot be made or written.")
                              .arg(library, dir.filePath(QStringLiteral("share/zestro/zestro-starter.mdb")),
                                   dir.filePath(QStringLiteral("home/Zestro"))));
    }

    // A build tree whose program folder the user cannot write (installed by someone else): the
    // library goes to the user's data folder. Root writes anywhere, so as root the check runs in a
    // copy of this test started as another user.
    void unwritableProgramFolderSendsTheLibraryHome()
    {
        const QString given = qEnvironmentVariable("ZESTRO_LAYOUT_ROOT");
        std::optional<QTemporaryDir> made;
        if (given.isEmpty()) {
            made.emplace();
            const QDir dir(made->path());
            QVERIFY(dir.mkpath(QStringLiteral("bin")) && dir.mkpath(QStringLiteral("home")));
            QFile starter(dir.filePath(QStringLiteral("bin/") + kStarterLibraryName));
            QVERIFY(starter.open(QIODevice::WriteOnly) && starter.write("starter") == 7);
            starter.close();
            const auto open = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
            QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("bin")), open));
            QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("home")), open | QFile::WriteOwner | QFile::WriteOther));
            QVERIFY(QFile::setPermissions(dir.path(), open | QFile::WriteOwner));
            if (::geteuid() == 0) {
                if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
                    QSKIP("needs setpriv to run as another user");
                QProcess child;
                QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
                env.insert(QStringLiteral("ZESTRO_LAYOUT_ROOT"), made->path());
                child.setProcessEnvironment(env);
                child.start(QStringLiteral("setpriv"), {"--reuid=65534", "--regid=65534", "--clear-groups",
                                                        QCoreApplication::applicationFilePath(), QString::fromLatin1(QTest::currentTestFunction())});
                QVERIFY(child.waitForFinished(20000));
                QVERIFY2(child.exitCode() == 0, child.readAllStandardOutput().constData());
                QVERIFY(QFile::exists(made->filePath(QStringLiteral("home/Zestro/zestro.mdb"))));
                QFile::setPermissions(dir.filePath(QStringLiteral("bin")), open | QFile::WriteOwner); // to be removed
                return;
            }
        }
        const QDir dir(given.isEmpty() ? made->path() : given);
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("home"))));
        setProgramFolder(dir.filePath(QStringLiteral("bin")));
        QString problem;
        const QString library = provideUserLibrary(&problem);
        setProgramFolder(QString());
        QCOMPARE(problem, QString());
        QCOMPARE(library, dir.filePath(QStringLiteral("home/Zestro/zestro.mdb")));
        QFile copy(library);
        QVERIFY(copy.open(QIODevice::ReadOnly) && copy.readAll() == "starter");
        if (made)
            QFile::setPermissions(dir.filePath(QStringLiteral("bin")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

QTEST_GUILESS_MAIN(TestInstallLayout)
#include "test_install_layout.moc"
