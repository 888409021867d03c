#include "app/window_state.h"

#include "app/detail_pane.h"

#include "core/product_info.h"
#include "core/settings_access.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSplitter>

#include <algorithm>
#include <climits>

namespace {

const QString kSection = QStringLiteral("Window");
const QString kPosition = QStringLiteral("Position");
const QString kSize = QStringLiteral("Size");
const QString kMaximized = QStringLiteral("Maximized");
const QString kShownDrink = QStringLiteral("Shown Drink");
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

} // namespace

void restoreWindowState(QMainWindow &form)
{
    const QList<int> position = numbersOf(setting(kPosition), 2);
    const QList<int> size = numbersOf(setting(kSize), 2);
    if (position.isEmpty() || size.isEmpty())
        return;
    const QSize wanted = QSize(size[0], size[1]).expandedTo(form.minimumSize()).boundedTo(form.maximumSize());
    const QRect place = onScreen(QRect(QPoint(position[0], position[1]), wanted), form.minimumSize());
    form.resize(place.size());
    form.move(place.topLeft());
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
    if (setting(kMaximized) == QLatin1String("true"))
        form.setWindowState(form.windowState() | Qt::WindowMaximized);
}

void saveWindowState(const QMainWindow &form, const std::optional<QString> &shownDrink)
{
    if (!form.isVisible())
        return;
    const bool maximized = form.isMaximized() || form.isFullScreen();
    // Maximized, the window is kept at the place and size it goes back to; move() places the frame,
    // and the frame's offset is the same in either state.
    const QRect normal = maximized ? form.normalGeometry() : form.geometry();
    const QPoint frame = form.geometry().topLeft() - form.frameGeometry().topLeft();
    QList<std::pair<QString, QString>> values = {
        {kPosition, numbers({normal.left() - frame.x(), normal.top() - frame.y()})},
        {kSize, numbers({normal.width(), normal.height()})},
        {kMaximized, maximized ? QStringLiteral("true") : QStringLiteral("false")},
    };
    for (const auto &[name, key, onlyWhenDragged] : kSplitters)
        if (const auto *splitter = form.findChild<QSplitter *>(QLatin1String(name))) {
            const bool dragged = splitter->property(DetailPaneSizer::kUserSized).toBool();
            values.append({QLatin1String(key), dragged || !onlyWhenDragged ? numbers(splitter->sizes()) : QString()});
        }
    if (shownDrink)
        values.append({kShownDrink, *shownDrink});
    SaveSettings(kAppTitle, kSection, values);
}

QString lastShownDrink()
{
    return setting(kShownDrink);
}
