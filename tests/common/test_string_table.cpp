// The numbered captions: English texts, the user's language, fallback and unknown numbers.

#include "common/string_table.h"
#include "core/engine_error.h"

#include <QtTest>

class TestStringTable : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void englishText_data();
    void englishText();
    void translation_data();
    void translation();
    void unknownNumber_data();
    void unknownNumber();
    void languageFollowsOverride();
};

void TestStringTable::cleanup()
{
    setStringTableLanguage(QLocale::AnyLanguage);
}

void TestStringTable::englishText_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");

    QTest::newRow("general marker") << 0 << "+++ GENERAL +++";
    QTest::newRow("main window marker") << 100 << "+++ frmMain +++";
    QTest::newRow("Done") << 3 << "&Done";
    QTest::newRow("Previous") << 104 << "< &Previous";
    QTest::newRow("last menu caption") << 170 << "&Add...";
    QTest::newRow("Back") << 201 << "< Back";
    QTest::newRow("wizard Cancel") << 204 << "Cancel";
    QTest::newRow("wizard prompt") << 210 << "Select or enter ingredients to search for.";
    QTest::newRow("editor ingredients button") << 304 << "&Ingredients >>";
    QTest::newRow("tip check box") << 403 << "&Show Tips at Startup";
}

void TestStringTable::englishText()
{
    QFETCH(int, id);
    QFETCH(QString, text);
    setStringTableLanguage(QLocale::English);
    QCOMPARE(LoadResString(id), text);
}

void TestStringTable::translation_data()
{
    QTest::addColumn<QLocale::Language>("language");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");

    QTest::newRow("German Cancel") << QLocale::German << 2 << "Abbrechen";
    QTest::newRow("French Cancel") << QLocale::French << 2 << "Annuler";
    QTest::newRow("Spanish Cancel") << QLocale::Spanish << 2 << "Cancelar";
    QTest::newRow("Spanish OK") << QLocale::Spanish << 1 << "Aceptar";
    QTest::newRow("Spanish Previous") << QLocale::Spanish << 104 << "< Atrás";
    QTest::newRow("French Next") << QLocale::French << 105 << "Suite >";
    QTest::newRow("Italian Back") << QLocale::Italian << 201 << "< Indietro";
    QTest::newRow("Spanish wizard Next") << QLocale::Spanish << 202 << "Siguiente >";
    QTest::newRow("German wizard Cancel") << QLocale::German << 204 << "Abbrechen";
    // Entries without a translation give the English text.
    QTest::newRow("German OK falls back") << QLocale::German << 1 << "OK";
    QTest::newRow("French Finish falls back") << QLocale::French << 203 << "&Finish";
    QTest::newRow("Italian marker falls back") << QLocale::Italian << 400 << "+++ frmTip +++";
    // A language with no translations at all gives English throughout.
    QTest::newRow("Dutch Cancel") << QLocale::Dutch << 2 << "Cancel";
}

void TestStringTable::translation()
{
    QFETCH(QLocale::Language, language);
    QFETCH(int, id);
    QFETCH(QString, text);
    setStringTableLanguage(language);
    QCOMPARE(LoadResString(id), text);
}

void TestStringTable::unknownNumber_data()
{
    QTest::addColumn<int>("id");

    QTest::newRow("gap in the table") << 402;
    QTest::newRow("negative") << -1;
    QTest::newRow("beyond the table") << 32767;
}

void TestStringTable::unknownNumber()
{
    QFETCH(int, id);
    int number = 0;
    QString description;
    try {
        LoadResString(id);
    } catch (const EngineError &e) {
        number = e.number();
        description = e.description();
    }
    QCOMPARE(number, err::ResourceNotFound);
    QCOMPARE(description, QStringLiteral("Resource with identifier '%1' not found").arg(id));
}

void TestStringTable::languageFollowsOverride()
{
    // Switching languages takes effect on the next lookup even though the table is read only once.
    setStringTableLanguage(QLocale::French);
    QCOMPARE(LoadResString(2), QStringLiteral("Annuler"));
    setStringTableLanguage(QLocale::German);
    QCOMPARE(LoadResString(2), QStringLiteral("Abbrechen"));
    // Back to the system's language; the tests normally run under the C locale, which is English.
    const QLocale::Language system = QLocale::system().language();
    if (system == QLocale::German || system == QLocale::French || system == QLocale::Italian
        || system == QLocale::Spanish)
        QSKIP("The system language has its own translation of Cancel");
    setStringTableLanguage(QLocale::AnyLanguage);
    QCOMPARE(LoadResString(2), QStringLiteral("Cancel"));
}

QTEST_GUILESS_MAIN(TestStringTable)
#include "test_string_table.moc"
