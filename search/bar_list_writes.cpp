#include "search/bar_list_writes.h"

#include "store/CDatabase.h"
#include "store/engine/database.h"
#include "store/write_transaction.h"

#include <QStringList>

void BarListWrites::setOnHand(CDatabase &database, const QList<OnHandChange> &changes)
{
    QStringList on;
    QStringList off;
    for (const OnHandChange &change : changes)
        (change.onHand ? on : off) << QString::number(change.ingredientId); // numbers only: nothing typed
    if (on.isEmpty() && off.isEmpty())
        return;
    {
        // A statement for many ticks at once: one a tick would make a large change slow, and a
        // bounded number of ids keeps each statement small whatever the size of the library.
        constexpr qsizetype kIdsAStatement = 1000;
        database.requireBarList();
        WriteTransaction write(database);
        auto set = [&database](const QStringList &ids, bool value) {
            for (qsizetype from = 0; from < ids.size(); from += kIdsAStatement)
                database.database().Execute(QStringLiteral("UPDATE Ingredients SET Has = %1 WHERE ID IN (%2)")
                                                .arg(value ? QStringLiteral("True") : QStringLiteral("False"),
                                                     ids.mid(from, kIdsAStatement).join(QLatin1Char(','))),
                                            engine::dbFailOnError);
        };
        set(on, true);
        set(off, false);
        write.commit();
    }
    database.ingredientsTable().Requery(); // its rows hold the flags as they were read
}
