#include "support/main_window_fixture.h"

#include "app/startup.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "core/settings_access.h"
#include "support/fixture_db.h"

#include "store/CDatabase.h"

#include <QAction>
#include <QDialog>
#include <QTest>
#include <sqlite3.h>
#include <QTreeWidget>

StartedProgram::StartedProgram(const Options &options)
{
    setProgramFolder(m_programDir.path());
    if (options.copyLibrary)
        fixture::starterLibrary(m_programDir.path());
    SaveSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"),
                options.tips ? QStringLiteral("1") : QStringLiteral("0"));
    SaveSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), QStringLiteral("Random Drink"),
                options.randomDrink ? QStringLiteral("1") : QStringLiteral("0"));
    SaveSetting(QStringLiteral("Zestro"), QStringLiteral("Options"), QStringLiteral("ShowSearching"),
                options.showSearching ? QStringLiteral("True") : QStringLiteral("False"));
    m_form = std::make_unique<frmMain>();
    Form_Load(*m_form, options.commandLine);
}

StartedProgram::~StartedProgram()
{
    if (program().mainForm == m_form.get())
        Form_Unload(*m_form);
    m_form.reset();
    setProgramFolder(QString());
}

CDatabase &StartedProgram::db()
{
    return *program().database;
}

QString StartedProgram::libraryPath() const
{
    return m_programDir.filePath(QStringLiteral("zestro.mdb"));
}

QStringList StartedProgram::listedNames() const
{
    QStringList names;
    for (int i = 0; i < m_form->drinkCount(); ++i)
        names << m_form->drinkAt(i);
    return names;
}

QString StartedProgram::selectedName() const
{
    return m_form->drinkAt(m_form->selectedDrinkRow());
}

void StartedProgram::exec(const QString &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(db().database().handle(), sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString text = QString::fromUtf8(error);
        sqlite3_free(error);
        QTest::qFail(qPrintable(QStringLiteral("SQL failed: ") + text), __FILE__, __LINE__);
    }
    db().drinksTable().Requery();
    db().ingredientsTable().Requery();
    db().drinkRelTable().Requery();
}

QStringList StartedProgram::rows(const QString &sql)
{
    QStringList out;
    for (auto rs = db().database().OpenRecordset(sql); !rs->Eof(); rs->MoveNext()) {
        QStringList fields;
        for (const QString &f : rs->fieldNames())
            fields << rs->value(f).toString();
        out << fields.join(QLatin1Char('|'));
    }
    return out;
}

QString menuCaption(const QAction *item)
{
    return QString(item->text()).replace(QStringLiteral("&&"), QChar(1)).remove(QLatin1Char('&')).replace(QChar(1), QLatin1Char('&'));
}

void triggerCommand(frmMain &window, const QString &name)
{
    QAction *command = window.command(name);
    QVERIFY2(command, qPrintable(name + QStringLiteral(" is no command of the main window")));
    QVERIFY2(command->isEnabled(), qPrintable(name + QStringLiteral(" is disabled")));
    command->trigger();
}

ModalScript::ModalScript(std::function<int(QDialog &)> handler)
{
    setShowModalHandler([this, handler](QDialog &dialog) {
        shown << (dialog.objectName().isEmpty() ? QString::fromLatin1(dialog.metaObject()->className()) : dialog.objectName());
        return handler ? handler(dialog) : int(QDialog::Rejected);
    });
}

ModalScript::~ModalScript()
{
    setShowModalHandler({});
}
