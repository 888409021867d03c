#include "store/CGeneralDatabase.h"

#include "common/message_box.h"

bool CGeneralDatabase::DoesFieldExist(engine::Database &db, const QString &table, const QString &field)
{
    try {
        db.TableDefs(table).Fields(field);
        return true;
    } catch (const EngineError &e) {
        if (e.number() != err::ItemNotFound)
            MsgBox(QString::number(e.number()) + QLatin1Char(' ') + e.description(), msgbox::vbOKOnly);
        return false;
    }
}

bool CGeneralDatabase::AddField(engine::Database &db, engine::TableDef &tableDef, const QString &field, int type)
{
    Q_UNUSED(db);
    try {
        tableDef.Append(tableDef.CreateField(field, type));
        return true;
    } catch (const EngineError &e) {
        MsgBox(QStringLiteral("Error creating field '") + field + QStringLiteral("' in table '") + tableDef.Name()
                   + QStringLiteral("'.") + QLatin1Char('\n') + QStringLiteral("Error: ") + QString::number(e.number())
                   + QStringLiteral(": ") + e.description(),
               msgbox::vbExclamation);
        return false;
    }
}
