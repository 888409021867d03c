// The common routines that work on windows and their controls.

#include "common/CCommonRoutines.h"

#include "core/name_order.h"
#include "common/string_table.h"
#include "core/engine_error.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QWidget>

namespace {

// The string whose number the text holds; throws when the text is no number or the string is missing.
QString numbered(const QString &text)
{
    bool ok = false;
    const int id = text.trimmed().toInt(&ok);
    if (!ok || id <= 0)
        throw EngineError(err::TypeMismatch, QStringLiteral("Type mismatch"));
    return LoadResString(id);
}

int tagOf(const QObject *o)
{
    bool ok = false;
    const int tag = o->property("tag").toInt(&ok);
    return ok ? tag : 0;
}

void captionControl(QWidget *w)
{
    if (auto *label = qobject_cast<QLabel *>(w)) {
        if (tagOf(label) > 0)
            label->setText(LoadResString(tagOf(label)));
    } else if (auto *tree = qobject_cast<QTreeWidget *>(w)) {
        // Column headers carry their numbers in a list property "columnTags".
        const QVariantList tags = tree->property("columnTags").toList();
        QTreeWidgetItem *header = tree->headerItem();
        for (int c = 0; c < tags.size() && c < tree->columnCount(); ++c) {
            try {
                header->setText(c, LoadResString(tags[c].toInt()));
            } catch (const EngineError &) {
            }
        }
    } else if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
        for (int i = 0; i < tabs->count(); ++i) {
            try {
                tabs->setTabText(i, LoadResString(tabs->widget(i)->property("tag").toInt()));
                tabs->setTabToolTip(i, numbered(tabs->tabToolTip(i)));
            } catch (const EngineError &) {
            }
        }
    } else if (auto *bar = qobject_cast<QToolBar *>(w)) {
        for (QAction *a : bar->actions()) {
            try {
                a->setToolTip(numbered(a->toolTip()));
            } catch (const EngineError &) {
            }
        }
    } else if (tagOf(w) > 0) {
        const QString text = LoadResString(tagOf(w));
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            button->setText(text);
        else if (auto *group = qobject_cast<QGroupBox *>(w))
            group->setTitle(text);
        else
            w->setWindowTitle(text);
    }
}

} // namespace

void CCommonRoutines::LoadResStrings(QWidget *form) const
{
    if (!form)
        return;
    // Menu items whose caption is a number take that string.
    for (QAction *a : form->findChildren<QAction *>()) {
        try {
            a->setText(numbered(a->text()));
        } catch (const EngineError &) {
        }
    }
    for (QWidget *w : form->findChildren<QWidget *>()) {
        try {
            captionControl(w);
        } catch (const EngineError &) {
            // No tag, no number or no such string: leave this control as it is.
        }
    }
}

void CCommonRoutines::MakeToolbarFlat(QToolBar *tbToolBar) const
{
    if (!tbToolBar)
        return;
    for (QAction *action : tbToolBar->actions()) {
        if (auto *button = qobject_cast<QToolButton *>(tbToolBar->widgetForAction(action)))
            button->setAutoRaise(!button->autoRaise());
    }
    tbToolBar->update();
}

void CCommonRoutines::FillInText(QComboBox *ctlComboBox)
{
    QLineEdit *edit = ctlComboBox ? ctlComboBox->lineEdit() : nullptr;
    if (!edit)
        return;
    int caret = edit->cursorPosition();
    if (m_pendingCaret > 0) {
        caret = m_pendingCaret;
        edit->setCursorPosition(caret);
    }
    const QString prefix = edit->text().left(caret);
    // Blind to case and accents: "creme" goes on to "Crème de cassis".
    const QString wanted = searchKey(prefix);
    int found = -1;
    for (int i = 0; i < ctlComboBox->count(); ++i) {
        if (searchKey(ctlComboBox->itemText(i)).startsWith(wanted)) {
            found = i;
            break;
        }
    }
    if (found >= 0) {
        const QSignalBlocker block(ctlComboBox);
        ctlComboBox->setCurrentIndex(found);
        edit->setText(ctlComboBox->itemText(found));
    } else {
        m_pendingCaret = int(prefix.size());
        edit->setText(prefix); // raises the change event again; the nested call uses the pending caret
    }
    edit->setCursorPosition(caret);
    edit->deselect();
    m_pendingCaret = 0;
}
