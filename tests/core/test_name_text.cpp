// Names lose control and invisible characters; search texts lose control characters only. Names
// that look alike are told apart.

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
        const QString composed = QStringLiteral("Cr\u00e8me de Cassis"), decomposed = QStringLiteral("Cre\u0300me de Cassis");
        const QString accent = QStringLiteral("one has a composed '\u00e8', the other 'e' followed by a combining accent");
        QTest::newRow("identical") << composed << composed << "";
        QTest::newRow("not alike") << "Gin" << "Rum" << "";
        QTest::newRow("accents are not ignored") << composed << "Creme de Cassis" << "";
        QTest::newRow("letter case") << "Fresh lemon juice" << "Fresh Lemon Juice" << "they differ in letter case";
        QTest::newRow("composed first") << composed << decomposed << accent;
        QTest::newRow("decomposed first") << decomposed << composed << accent;
        QTest::newRow("two marks") << "Vi\u1ec7t" << "Vie\u0323\u0302t" << "one has a composed '\u1ec7', the other 'e' followed by combining accents";
        QTest::newRow("invisible") << "Gin" << "G\u200bin" << "one has an invisible character U+200B";
        QTest::newRow("other invisibles") << "G\u200bin" << "Gin\ufeff\u00ad\ufeff"
                                          << "one has an invisible character U+200B, the other invisible characters U+FEFF and U+00AD";
        QTest::newRow("same invisible elsewhere") << "G\u200bin" << "Gi\u200bn" << "they have an invisible character U+200B in different places";
        QTest::newRow("all at once") << composed << "CRE\u0300ME DE CASSIS\u200b"
                                     << "they differ in letter case, " + accent + ", and one has an invisible character U+200B";
        QTest::newRow("equivalent sign") << "\u2126 Bitters" << "\u03a9 Bitters" << "they are written with different but equivalent characters";
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
