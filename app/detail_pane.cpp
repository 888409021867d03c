#include "app/detail_pane.h"

#include "app/missing_marks.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>

namespace {

// The share of the panes' height the ingredients and the comments keep at most while another pane
// wants the room.
constexpr double kLinesShare = 0.5;
constexpr double kCommentsShare = 0.3;

// Text shown on the window's background rather than in a white input box; the role follows the
// palette, so a dark or high-contrast theme needs nothing of its own.
void onWindowBackground(QAbstractScrollArea *area)
{
    area->setFrameShape(QFrame::NoFrame);
    area->viewport()->setBackgroundRole(QPalette::Window);
}

// The palette the line marks are drawn against: the window's colours, as the list shows them.
QPalette listPalette(const QTreeWidget *list)
{
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    return palette;
}

// The tree view asks for a row's height without its column's width, so a wrapped text would be
// cut; this delegate hands the width over.
class WrappingDelegate : public QStyledItemDelegate {
public:
    explicit WrappingDelegate(QTreeView *view) : QStyledItemDelegate(view), m_view(view) {}

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem wrapped(option);
        const bool spanned = m_view->isFirstColumnSpanned(index.row(), index.parent());
        // The style wraps only within a valid rectangle: any height does, the text's own is returned.
        wrapped.rect = QRect(0, 0, spanned ? m_view->viewport()->width() : m_view->columnWidth(index.column()), 1 << 16);
        return QStyledItemDelegate::sizeHint(wrapped, index);
    }

private:
    QTreeView *m_view;
};

} // namespace

void makeHeading(QLabel *label, qreal scale)
{
    label->setFrameShape(QFrame::NoFrame);
    label->setTextFormat(Qt::PlainText); // a drink's name is shown as typed, never as markup
    label->setWordWrap(true);
    label->setForegroundRole(QPalette::WindowText);
    QFont font = label->font();
    font.setBold(true);
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * scale);
    else
        font.setPixelSize(qRound(font.pixelSize() * scale));
    label->setFont(font);
}

QPlainTextEdit *readOnlyTextPane(QWidget *parent, const char *name)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    onWindowBackground(box);
    box->document()->setDocumentMargin(2);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // the text wraps at the pane's width
    box->setMinimumHeight(box->fontMetrics().lineSpacing() * 2 + 8);
    return box;
}

void setUpIngredientList(QTreeWidget *list)
{
    list->setRootIsDecorated(false);
    list->setColumnCount(2);
    list->setHeaderLabels({QStringLiteral("Amount"), QStringLiteral("Ingredient")});
    list->setHeaderHidden(true);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    list->setWordWrap(true); // a long free-text amount or name wraps within its column
    list->setItemDelegate(new WrappingDelegate(list));
    list->setTextElideMode(Qt::ElideNone);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->header()->setStretchLastSection(true);
    list->header()->setSectionResizeMode(0, QHeaderView::Interactive);
    onWindowBackground(list);
    list->setMinimumHeight(list->fontMetrics().lineSpacing() * 2 + 8);
}

void fillIngredientList(QTreeWidget *list, const DrinkDetail &drink)
{
    const QPalette palette = listPalette(list);
    const QIcon missing = drink.barListInUse ? missingIcon(palette) : QIcon();
    const QIcon none = drink.barListInUse ? noMarkIcon() : QIcon();
    QList<QTreeWidgetItem *> items;
    QList<QTreeWidgetItem *> notes;
    items.reserve(drink.lines.size());
    for (const DrinkLine &line : drink.lines) {
        auto *item = new QTreeWidgetItem;
        if (line.ingredient.isEmpty()) { // a note about the lines, not a line
            item->setText(0, line.text);
            notes.append(item);
            items.append(item);
            continue;
        }
        item->setText(0, line.amount);
        item->setText(1, line.ingredient);
        for (int column : {0, 1}) // a wrapped amount and its ingredient start on one line
            item->setTextAlignment(column, Qt::AlignLeft | Qt::AlignTop);
        item->setIcon(0, line.missing ? missing : none);
        if (line.missing) {
            const QString tip = line.ingredient + QStringLiteral(" is not on your bar list.");
            for (int column : {0, 1}) {
                item->setForeground(column, missingColour(palette));
                item->setToolTip(column, tip);
            }
        }
        items.append(item);
    }
    list->clear();
    list->addTopLevelItems(items);
    for (QTreeWidgetItem *note : notes)
        note->setFirstColumnSpanned(true);
}

DetailPaneSizer::DetailPaneSizer(QSplitter *panes, QTreeWidget *lines, QPlainTextEdit *directions, QPlainTextEdit *comments)
    : QObject(panes), m_panes(panes), m_lines(lines), m_directions(directions), m_comments(comments)
{
    connect(panes, &QSplitter::splitterMoved, this, [this] { m_panes->setProperty(kUserSized, true); });
    // The tree view keeps the heights its rows had when they were laid out: a drink shown before the
    // window first appears wraps at the columns' first, narrow widths.
    connect(lines->header(), &QHeaderView::sectionResized, this, &DetailPaneSizer::fitWhenLaidOut);
    panes->installEventFilter(this);
}

bool DetailPaneSizer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_panes && event->type() == QEvent::Resize) {
        fit();
        fitWhenLaidOut(); // the panes inside still have their old widths now
    }
    return QObject::eventFilter(watched, event);
}

// Once the events in hand are through, when every pane has its new width: the rows wrapped afresh
// and the panes fitted to them. Any number of calls before then make one fit.
void DetailPaneSizer::fitWhenLaidOut()
{
    if (m_fitPending)
        return;
    m_fitPending = true;
    QTimer::singleShot(0, this, [this] {
        m_fitPending = false;
        m_lines->doItemsLayout();
        fit();
    });
}

int DetailPaneSizer::linesHeight(int enough) const
{
    int height = 2 * m_lines->frameWidth();
    // Wrapped at the columns' widths by the delegate, laid out or not.
    for (int i = 0; i < m_lines->topLevelItemCount() && height < enough; ++i)
        height += m_lines->sizeHintForRow(i);
    return std::max(height, m_lines->minimumHeight());
}

int DetailPaneSizer::textHeight(const QPlainTextEdit *pane) const
{
    const int margin = qCeil(pane->document()->documentMargin());
    // The pane is as wide as the splitter; its own width lags behind while the window is resized.
    const int width = std::max(m_panes->contentsRect().width() - 2 * (pane->frameWidth() + margin) - 4, 40);
    const QFontMetrics metrics(pane->font());
    const QString text = pane->toPlainText();
    const int lines = text.isEmpty()
        ? 1
        : metrics.boundingRect(QRect(0, 0, width, 1 << 24), Qt::TextWordWrap, text).height() / metrics.height();
    return std::max(lines * metrics.lineSpacing() + 2 * margin + 2 * pane->frameWidth() + 4, pane->minimumHeight());
}

void DetailPaneSizer::fitAmountColumn()
{
    // The amounts as wide as the widest of them, but never more than a share of the list, so a
    // long free-text amount wraps rather than pushing the ingredients out of sight.
    const QFontMetrics metrics(m_lines->font());
    const int margin = m_lines->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_lines) + 1;
    int widest = 0;
    for (int i = 0; i < m_lines->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = m_lines->topLevelItem(i);
        if (item->isFirstColumnSpanned())
            continue;
        int width = metrics.horizontalAdvance(item->text(0));
        if (!item->icon(0).isNull())
            width += m_lines->iconSize().isValid() ? m_lines->iconSize().width() : 16;
        widest = std::max(widest, width);
    }
    const int gap = widest > 0 ? 2 * margin + metrics.averageCharWidth() * 2 : 0;
    const int cap = std::max(m_lines->viewport()->width(), m_panes->width()) * 2 / 5;
    const int width = std::min(widest + gap, cap);
    if (m_lines->header()->sectionSize(0) != width) {
        m_lines->header()->resizeSection(0, width);
        m_lines->doItemsLayout(); // rows wrapped at the old width take their new height
    }
}

void DetailPaneSizer::fit()
{
    fitAmountColumn();
    if (m_panes->property(kUserSized).toBool() || m_panes->count() != 3)
        return;
    // From the geometry, not sizes(): while a resize is delivered those are still the old ones.
    const int total = m_panes->contentsRect().height() - 2 * m_panes->handleWidth();
    if (total <= 0)
        return;

    // What each pane wants: its caption (and notes under it) plus its content.
    const QWidget *controls[3] = {m_lines, m_directions, m_comments};
    int wanted[3];
    int least[3];
    for (int i = 0; i < 3; ++i) {
        const QWidget *pane = m_panes->widget(i);
        const int overhead = std::max(0, pane->sizeHint().height() - controls[i]->sizeHint().height());
        const int content = i == 0 ? linesHeight(total) : textHeight(static_cast<const QPlainTextEdit *>(controls[i]));
        wanted[i] = overhead + content;
        least[i] = std::max(pane->minimumSizeHint().height(), overhead + controls[i]->minimumHeight());
    }

    // The panes read as one page from the top: each as tall as its content within its share, the
    // comments, last, down to the bottom. Room the comments do not need goes to a pane cut short.
    int lines = std::clamp(wanted[0], least[0], std::max(least[0], int(total * kLinesShare)));
    const int commentsShare = std::clamp(wanted[2], least[2], std::max(least[2], int(total * kCommentsShare)));
    int directions = std::clamp(wanted[1], least[1], std::max(least[1], total - lines - commentsShare));
    int spare = total - lines - directions - wanted[2];
    const int moreLines = std::clamp(wanted[0] - lines, 0, std::max(spare, 0));
    lines += moreLines;
    spare -= moreLines;
    directions += std::clamp(wanted[1] - directions, 0, std::max(spare, 0));
    const int comments = std::max(total - lines - directions, least[2]);
    m_panes->setSizes({lines, directions, comments});
}
