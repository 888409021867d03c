#include "search/frmStatus.h"

#include "common/CCommonRoutines.h"
#include "common/command_guard.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "search/CAnimate32.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPainter>

namespace {
frmStatus *s_instance = nullptr;

// The clip is drawn against this colour (resources/clip/make_clip.py), so its soft edges match.
const QColor kBackground(0xf4, 0xf6, 0xf9);
const QColor kBorder(0x8c, 0x98, 0xa6);
const QColor kText(0x26, 0x31, 0x3d);

class StatusFrame : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        // Without a title bar the window needs an edge of its own to stand out from what is behind.
        QPainter p(this);
        p.fillRect(rect(), kBackground);
        p.setPen(kBorder);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};
} // namespace

frmStatus::frmStatus(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmStatus"));
    // The search goes on in the main window; the status window must not take the focus from it.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(223, 57);

    auto *frame = new StatusFrame(this);
    frame->setGeometry(rect());

    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    QFont font = lblStatus->font();
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
        font.setFamily(QStringLiteral("Tahoma"));
    lblStatus->setFont(font);
    QPalette textPalette = lblStatus->palette();
    textPalette.setColor(QPalette::WindowText, kText);
    lblStatus->setPalette(textPalette);
    lblStatus->setGeometry(96, 19, width() - 96 - 6, 19);
    lblStatus->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    QWidget *mainWindow = program().mainForm;
    static CCommonRoutines fallback;
    const CCommonRoutines &routines = program().commonRoutines ? *program().commonRoutines : fallback;
    if (mainWindow)
        routines.CenterToWindow(mainWindow, this);
    else
        routines.CenterForm(this);

    m_animate = new CAnimate32;
    m_animate->Create(this, DataFolder() + QStringLiteral("/findfile.gif"), -5, 0, 100, 60);
    m_animate->AnimatePlay();
    lblStatus->raise();
}

frmStatus::~frmStatus()
{
    if (s_instance == this)
        s_instance = nullptr;
    delete m_animate;
}

void frmStatus::setStatusCaption(const QString &text)
{
    if (!s_instance) {
        s_instance = new frmStatus(program().mainForm);
        addFailureCleanup(&frmStatus::Unload); // a failed command must not leave it on screen
    }
    s_instance->lblStatus->setText(text);
    s_instance->show(); // a tool window of the main window: it stays above it
    // The caller lets events run once; the window has to be painted by then.
    s_instance->repaint();
}

void frmStatus::Unload()
{
    frmStatus *form = s_instance;
    if (!form)
        return;
    s_instance = nullptr;
    form->close();
    delete form;
}

bool frmStatus::isLoaded()
{
    return s_instance != nullptr;
}

frmStatus *frmStatus::instance()
{
    return s_instance;
}
