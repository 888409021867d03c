// The options dialog: boxes loaded from the settings, OK stores all three, Cancel and Escape
// store nothing, and the tips box shares its setting with the tip dialog.

#include "app/frmOptions.h"
#include "app/frmTip.h"
#include "common/seams.h"
#include "core/settings_access.h"
#include "support/temp_settings.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QString stored(const QString &key)
{
    return GetSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), key, QStringLiteral("<none>"));
}

void store(const QString &key, const QString &value)
{
    SaveSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), key, value);
}

const QString kTips = QStringLiteral("Show Tips at Startup");
const QString kRandom = QStringLiteral("Random Drink");
const QString kSearching = QStringLiteral("ShowSearching");
} // namespace

class TestOptions : public QObject {
    Q_OBJECT

private slots:
    void loadsThenOkStoresFlipped_data();
    void loadsThenOkStoresFlipped();
    void closingWithoutOkStoresNothing_data();
    void closingWithoutOkStoresNothing();
    void tipsSettingSharedWithTipDialog();
};

void TestOptions::loadsThenOkStoresFlipped_data()
{
    // Stored texts for tips, random and searching (null: never stored), the boxes they tick, and
    // the texts OK stores after the user has clicked every box once.
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QList<bool>>("ticked");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("fresh install") << QStringList{QString(), QString(), QString()} << QList<bool>{true, true, true}
                                   << QStringList{"0", "0", "False"};
    QTest::newRow("all off") << QStringList{"0", "0", "False"} << QList<bool>{false, false, false}
                             << QStringList{"1", "1", "True"};
    QTest::newRow("only tips") << QStringList{"1", "0", "0"} << QList<bool>{true, false, false}
                               << QStringList{"0", "1", "True"};
    QTest::newRow("only random") << QStringList{"0", "-1", "False"} << QList<bool>{false, true, false}
                                 << QStringList{"1", "0", "True"};
    QTest::newRow("only searching") << QStringList{"0", "0", "True"} << QList<bool>{false, false, true}
                                    << QStringList{"1", "1", "False"};
}

void TestOptions::loadsThenOkStoresFlipped()
{
    QFETCH(QStringList, before);
    QFETCH(QList<bool>, ticked);
    QFETCH(QStringList, after);
    TempSettings settings;
    const QStringList keys{kTips, kRandom, kSearching};
    for (int i = 0; i < keys.size(); ++i) {
        if (!before[i].isNull())
            store(keys[i], before[i]);
    }

    frmOptions options;
    const QList<QCheckBox *> boxes{options.chkTips, options.chkRandom, options.chkShowSearching};
    QList<bool> loaded;
    for (QCheckBox *box : boxes)
        loaded << box->isChecked();
    QCOMPARE(loaded, ticked);

    options.show();
    QVERIFY(QTest::qWaitForWindowExposed(&options));
    for (QCheckBox *box : boxes)
        QTest::mouseClick(box, Qt::LeftButton);
    QTest::mouseClick(options.cmdOK, Qt::LeftButton);
    QCOMPARE(options.result(), int(QDialog::Accepted));
    QVERIFY(!options.isVisible());
    QCOMPARE((QStringList{stored(kTips), stored(kRandom), stored(kSearching)}), after);
}

void TestOptions::closingWithoutOkStoresNothing_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Cancel button") << false;
    QTest::newRow("Escape key") << true;
}

void TestOptions::closingWithoutOkStoresNothing()
{
    QFETCH(bool, escape);
    TempSettings settings;
    frmOptions options;
    options.show();
    QVERIFY(QTest::qWaitForWindowExposed(&options));
    for (QCheckBox *box : {options.chkTips, options.chkRandom, options.chkShowSearching})
        box->click();
    if (escape)
        QTest::keyClick(&options, Qt::Key_Escape);
    else
        QTest::mouseClick(options.cmdCancel, Qt::LeftButton);

    QCOMPARE(options.result(), int(QDialog::Rejected));
    QVERIFY(!options.isVisible());
    QVERIFY(!QFile::exists(settings.iniFile()));
}

void TestOptions::tipsSettingSharedWithTipDialog()
{
    TempSettings settings;
    QTemporaryDir folder;
    setProgramFolder(folder.path());

    frmOptions first;
    first.chkTips->setChecked(false);
    first.cmdOK->click();

    frmTip tip;
    QVERIFY(!tip.chkLoadTipsAtStartup->isChecked());
    tip.chkLoadTipsAtStartup->click();

    frmOptions second;
    QVERIFY(second.chkTips->isChecked());
    setProgramFolder(QString());
}

QTEST_MAIN(TestOptions)
#include "test_options.moc"
