// Names lose control and invisible characters; search texts lose control characters only.

#include "core/name_text.h"

#include <QtTest>

class TestNameText : public QObject {
    Q_OBJECT

private slots:
    void cleaning_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");     // cleanName
        QTest::addColumn<QString>("searched"); // withoutControlCharacters
        const QString kept = QStringLiteral(" Cr\u00e8me  de\u00a0cassis \u9152 \U0001F34B\u200a\u2065\u00ac ");
        const QString hidden = QStringLiteral("\u200bG\u200c\u200d\u200e\u200fi\u202a\u202b\u202c\u202d\u202en\u2060\u2064\u2066\u2069\ufeff\u00ad");
        QTest::newRow("nothing to drop") << kept << kept << kept;
        QTest::newRow("C0, DEL and C1") << QStringLiteral("a") + QChar(0) + QStringLiteral("\t\r\n\x1f\x7f\u0080\u0085\u009fb") << "ab" << "ab";
        QTest::newRow("invisible") << hidden << "Gin" << hidden;
        QTest::newRow("nothing left") << QStringLiteral("\u200b\x01\ufeff") << "" << "\u200b\ufeff";
    }

    void cleaning()
    {
        QFETCH(QString, text);
        QFETCH(QString, name);
        QFETCH(QString, searched);
        QCOMPARE(cleanName(text), name);
        QCOMPARE(withoutControlCharacters(text), searched);
    }

    void namesDiffer_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("told");
        QTest::newRow("not alike") << "Cr\u00e8me" << "Creme" << "";
        QTest::newRow("letter case") << "Fresh lemon juice" << "Fresh Lemon Juice" << "they differ in letter case";
        QTest::newRow("invisibles") << "G\u200bin" << "Gin\ufeff\u00ad\ufeff"
                                    << "one has an invisible character U+200B, the other invisible characters U+FEFF and U+00AD";
        QTest::newRow("all at once") << "CRE\u0300ME\u200b" << "Cr\u00e8me" << "they differ in letter case, one has a composed '\u00e8', the "
                                        "other 'e' followed by a combining accent, and one has an invisible character U+200B";
    }
    void namesDiffer()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, told);
        QCOMPARE(howNamesDiffer(a, b), told);
    }
};

QTEST_GUILESS_MAIN(TestNameText)
#include "test_name_text.moc"
