#include "app/window_state.h"

#include "app/detail_pane.h"

#include "core/product_info.h"
#include "core/settings_access.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSplitter>
#include <QStyle>

#include <algorithm>
#include <climits>

namespace {

const QString kSection = QStringLiteral("Window");
// Qt's own record of the window's place, size and state, in base64: it knows the frame, the screen
// and the size a maximized window goes back to, and it is refused on a screen of another scale.
const QString kGeometry = QStringLiteral("Geometry");
// Kept by earlier versions; read while there is no geometry yet.
const QString kPosition = QStringLiteral("Position");
const QString kSize = QStringLiteral("Size");
const QString kMaximized = QStringLiteral("Maximized");
// The splitters by object name, with the key each is kept under. The detail panes follow the content
// of the drink shown until the user drags them; only a dragged position is a choice worth keeping,
// and keeping any other would stop that sizing on the next start.
struct KeptSplitter {
    const char *name;
    const char *key;
    bool onlyWhenDragged;
};
const KeptSplitter kSplitters[] = {{"splMain", "Splitter", false}, {"splDetail", "Detail Splitter", true}};

QString setting(const QString &key)
{
    return GetSetting(kAppTitle, kSection, key);
}

QString numbers(const QList<int> &values)
{
    QStringList texts;
    for (int v : values)
        texts << QString::number(v);
    return texts.join(QLatin1Char(','));
}

// "12,34,56": `count` whole numbers, or none when the text is not that (edited by hand, damaged).
QList<int> numbersOf(const QString &text, qsizetype count)
{
    const QStringList parts = text.split(QLatin1Char(','));
    QList<int> values;
    for (const QString &part : parts) {
        bool ok = false;
        const int v = part.trimmed().toInt(&ok);
        if (!ok || v < -100000 || v > 100000)
            return {};
        values << v;
    }
    return values.size() == count ? values : QList<int>();
}

// A frame at `place` that some screen shows enough of to grab and move it; else centred on the
// screen nearest to where it was, no larger than that screen's free area.
QRect onScreen(QRect place, const QSize &minimum)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return place;
    QScreen *nearest = QGuiApplication::primaryScreen();
    int distance = INT_MAX;
    for (QScreen *screen : screens) {
        const QRect area = screen->availableGeometry();
        // The top strip holds the title bar: the window can be moved while part of it shows.
        const QRect grip = area.intersected(QRect(place.left(), place.top(), place.width(), 30));
        const QSize desktop = screen->availableVirtualGeometry().size();
        if (grip.width() >= 80 && grip.height() >= 20 && place.width() <= desktop.width() && place.height() <= desktop.height())
            return place;
        const int d = (area.center() - place.center()).manhattanLength();
        if (d < distance) {
            distance = d;
            nearest = screen;
        }
    }
    const QRect area = nearest->availableGeometry();
    place.setSize(place.size().boundedTo(area.size()).expandedTo(minimum));
    place.moveCenter(area.center());
    place.moveTopLeft(QPoint(qMax(place.left(), area.left()), qMax(place.top(), area.top())));
    return place;
}

// The frame the desktop draws around the window: known once the window was shown; before that a
// title bar and a thin border are allowed for.
QMargins frameOf(const QWidget &form)
{
    const QRect outer = form.frameGeometry();
    const QRect inner = form.geometry();
    if (form.isVisible() && outer != inner)
        return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                        outer.bottom() - inner.bottom());
    const int border = 4;
    return QMargins(border, form.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &form) + border, border, border);
}

// The window, frame and all, inside the free area of the screen it lands on: no larger, and moved
// in from the edges. A maximized or full-screen window is the screen's to place.
void fitToScreen(QMainWindow &form)
{
    if (form.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    QScreen *screen = QGuiApplication::screenAt(form.geometry().center());
    if (!screen)
        screen = form.screen() ? form.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QMargins frame = frameOf(form);
    const QSize room = area.size().shrunkBy(frame).expandedTo(QSize(1, 1));
    form.setMinimumSize(form.minimumSize().boundedTo(room)); // a small screen still shows it whole
    const QSize size = form.size().boundedTo(room);
    QRect outer(form.frameGeometry().topLeft(), size.grownBy(frame));
    outer.moveLeft(qBound(area.left(), outer.left(), area.right() - outer.width() + 1));
    outer.moveTop(qBound(area.top(), outer.top(), area.bottom() - outer.height() + 1));
    // Only what must change: the place Qt restored stays exact.
    if (size != form.size())
        form.resize(size);
    if (outer.topLeft() != form.frameGeometry().topLeft())
        form.move(outer.topLeft()); // move() places the frame
}

// The place and size that earlier versions kept, with a place no screen shows brought back.
void restoreOldPlace(QMainWindow &form)
{
    const QList<int> position = numbersOf(setting(kPosition), 2);
    const QList<int> size = numbersOf(setting(kSize), 2);
    if (position.isEmpty() || size.isEmpty())
        return;
    const QSize wanted = QSize(size[0], size[1]).expandedTo(form.minimumSize()).boundedTo(form.maximumSize());
    const QRect place = onScreen(QRect(QPoint(position[0], position[1]), wanted), form.minimumSize());
    form.resize(place.size());
    form.move(place.topLeft());
    if (setting(kMaximized) == QLatin1String("true"))
        form.setWindowState(form.windowState() | Qt::WindowMaximized);
}

} // namespace

void restoreWindowState(QMainWindow &form)
{
    const QString geometry = setting(kGeometry);
    // A geometry Qt refuses (kept on a screen of another size or scale) leaves the first size.
    if (geometry.isEmpty())
        restoreOldPlace(form);
    else
        form.restoreGeometry(QByteArray::fromBase64(geometry.toLatin1()));
    fitToScreen(form);
    for (const auto &[name, key, onlyWhenDragged] : kSplitters) {
        auto *splitter = form.findChild<QSplitter *>(QLatin1String(name));
        if (!splitter)
            continue;
        const QList<int> sizes = numbersOf(setting(QLatin1String(key)), splitter->count());
        if (!sizes.isEmpty() && std::all_of(sizes.cbegin(), sizes.cend(), [](int v) { return v > 0; })) {
            splitter->setSizes(sizes);
            splitter->setProperty(DetailPaneSizer::kUserSized, true);
        }
    }
}

void saveWindowState(const QMainWindow &form)
{
    if (!form.isVisible())
        return;
    QList<std::pair<QString, QString>> values = {{kGeometry, QString::fromLatin1(form.saveGeometry().toBase64())}};
    for (const auto &[name, key, onlyWhenDragged] : kSplitters)
        if (const auto *splitter = form.findChild<QSplitter *>(QLatin1String(name))) {
            const bool dragged = splitter->property(DetailPaneSizer::kUserSized).toBool();
            values.append({QLatin1String(key), dragged || !onlyWhenDragged ? numbers(splitter->sizes()) : QString()});
        }
    SaveSettings(kAppTitle, kSection, values);
}
