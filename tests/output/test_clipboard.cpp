#include <QtTest>

class TestPlaceholder : public QObject {
    Q_OBJECT
};

QTEST_MAIN(TestPlaceholder)
#include "test_clipboard.moc"
