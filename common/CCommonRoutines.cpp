#include "common/CCommonRoutines.h"

#include "common/seams.h"
#include "core/engine_error.h"
#include "core/number_format.h"

#include <QDir>
#include <QDirIterator>
#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>
#include <QUrl>
#include <QWidget>

namespace {
// Only '*' and '?' are wild cards in a file name; a bracket is an ordinary character of it, so it
// must not open a character class in the name filter.
QString nameFilterFor(const QString &name)
{
    QString filter;
    filter.reserve(name.size());
    for (const QChar c : name) {
        if (c == QLatin1Char('['))
            filter += QStringLiteral("[[]");
        else if (c == QLatin1Char(']'))
            filter += QStringLiteral("[]]");
        else
            filter += c;
    }
    return filter;
}
} // namespace

bool CCommonRoutines::FileExists(const QString &sFilename) const
{
    const qsizetype slash = sFilename.lastIndexOf(QLatin1Char('/'));
    const QString name = sFilename.mid(slash + 1);
    if (name.isEmpty())
        return false;
    QString folder = slash < 0 ? QStringLiteral(".") : sFilename.left(slash);
    if (folder.isEmpty())
        folder = QStringLiteral("/");

    // Normal files only: no Hidden and no System flag. The file system tells "a" from "A", so the
    // search must as well, or a name in the wrong case would pass and then fail to open.
    QDirIterator found(folder, {nameFilterFor(name)}, QDir::Files | QDir::CaseSensitive);
    return found.hasNext();
}

QString CCommonRoutines::GetFilenameFromPath(const QString &sFilename) const
{
    const qsizetype last = qMax(sFilename.lastIndexOf(QLatin1Char('\\')), sFilename.lastIndexOf(QLatin1Char('/')));
    return sFilename.mid(last + 1);
}

QString CCommonRoutines::ListboxToCommaDelimitedString(const QListWidget &lstList) const
{
    QStringList items;
    items.reserve(lstList.count());
    for (int i = 0; i < lstList.count(); ++i)
        items.append(lstList.item(i)->text());
    return items.join(QLatin1Char(','));
}

int CCommonRoutines::CommaDelimitedStringToArray(QStringList &sArray, const QString &sString, int iArraySize) const
{
    // The caller's array has a fixed size: it is cleared to that size and filled from the front.
    // Pieces are stored one by one, so those that fit are kept when a later one overflows.
    sArray = QStringList(qMax(iArraySize, 0));
    const QStringList pieces = sString.split(QLatin1Char(','));
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i >= sArray.size())
            throw EngineError(err::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
        sArray[i] = pieces.at(i);
    }
    return int(pieces.size());
}

void CCommonRoutines::CenterForm(QWidget *roForm) const
{
    if (!roForm)
        return;
    QScreen *screen = roForm->screen() ? roForm->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The available area, so that a panel or dock does not push the window off centre; the
    // frame counts, because move() places a window by its frame.
    const QRect area = screen->availableGeometry();
    const QSize size = roForm->frameGeometry().size();
    roForm->move(area.left() + (area.width() - size.width()) / 2,
                 area.top() + (area.height() - size.height()) / 2);
}

void CCommonRoutines::CenterToWindow(QWidget *frmSourceForm, QWidget *frmForm) const
{
    CenterToWindowH(frmSourceForm, frmForm);
    CenterToWindowV(frmSourceForm, frmForm);
}

void CCommonRoutines::CenterToWindowH(QWidget *frmSourceForm, QWidget *frmForm) const
{
    if (!frmSourceForm || !frmForm)
        return;
    const QRect source = frmSourceForm->frameGeometry();
    const QRect form = frmForm->frameGeometry();
    frmForm->move(source.left() + (source.width() - form.width()) / 2, form.top());
}

void CCommonRoutines::CenterToWindowV(QWidget *frmSourceForm, QWidget *frmForm) const
{
    if (!frmSourceForm || !frmForm)
        return;
    const QRect source = frmSourceForm->frameGeometry();
    const QRect form = frmForm->frameGeometry();
    frmForm->move(form.left(), source.top() + (source.height() - form.height()) / 2);
}

void CCommonRoutines::LaunchURL(QWidget *frmForm, const QString &WebPageURL) const
{
    // The desktop needs no owner window to open an address.
    Q_UNUSED(frmForm);
    OpenUrl(QUrl(WebPageURL));
}

QString CCommonRoutines::FractionToDecimal(const QString &sAmount) const
{
    return fractionToDecimal(sAmount);
}
