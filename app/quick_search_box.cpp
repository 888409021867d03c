#include "app/quick_search_box.h"

#include "app/missing_marks.h"

#include <QKeyEvent>
#include <QLabel>
#include <QStyle>

QuickSearchBox::QuickSearchBox(QWidget *parent) : QLineEdit(parent)
{
    setPlaceholderText(QStringLiteral("Search drink names (Ctrl+F)"));
    setToolTip(QStringLiteral("Lists the drinks whose name contains what you type, whatever the case or accents.\n"
                              "Enter keeps it in Recent Searches; Escape lists all drinks again."));
    setClearButtonEnabled(true);
    setMinimumWidth(fontMetrics().horizontalAdvance(placeholderText()) + 60);
    m_hint = new QLabel(QStringLiteral("No match"), this);
    m_hint->setObjectName(QStringLiteral("lblQuickSearchHint"));
    m_hint->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette hintPalette = m_hint->palette();
    hintPalette.setColor(QPalette::WindowText, missingColour(palette()));
    m_hint->setPalette(hintPalette);
    m_hint->hide();
}

void QuickSearchBox::setNoMatch(bool noMatch)
{
    m_hint->setVisible(noMatch);
    // The typed text must not run under the hint.
    setTextMargins(0, 0, noMatch ? m_hint->sizeHint().width() + 6 : 0, 0);
    placeHint();
}

bool QuickSearchBox::showsNoMatch() const
{
    return !m_hint->isHidden();
}

QString QuickSearchBox::hintText() const
{
    return showsNoMatch() ? m_hint->text() : QString();
}

void QuickSearchBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        clear();
        setNoMatch(false);
        emit cleared();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void QuickSearchBox::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    placeHint();
}

void QuickSearchBox::placeHint()
{
    // Left of the clear button, which takes about one icon's width at the right edge.
    const int clearButton = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this) + 8;
    const QSize size = m_hint->sizeHint();
    m_hint->setGeometry(width() - clearButton - size.width(), (height() - size.height()) / 2, size.width(), size.height());
}
