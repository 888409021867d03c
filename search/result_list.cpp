// What the searches share once they have found their drinks.

#include "search/result_list.h"

#include "core/number_format.h"
#include "common/seams.h"
#include "search/frmSearchWizard.h"
#include "search/frmStatus.h"

QString lastSearchTook(double start, QString (*format)(double seconds))
{
    return QStringLiteral("Last search took ") + format(elapsedSeconds(start, SecondsSinceMidnight()))
           + QStringLiteral(" seconds.");
}

SearchWindowsCloser::~SearchWindowsCloser()
{
    frmStatus::Unload();
    if (m_wizardToo)
        frmSearchWizard::unloadIfLoaded();
}
