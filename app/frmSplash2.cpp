#include "app/frmSplash2.h"

#include "common/version.h"

#include "common/CCommonRoutines.h"
#include "common/program_objects.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QTimer>

// The pictures live in a static library: naming them here makes the linker keep them.
static void initArtwork()
{
    Q_INIT_RESOURCE(zestro);
}

namespace {
frmSplash2 *s_instance = nullptr;

constexpr int kMajor = ZESTRO_VERSION_MAJOR;
constexpr int kMinor = ZESTRO_VERSION_MINOR;
constexpr int kTicksShown = 3;
constexpr QSize kSize(420, 260);
constexpr QRect kLogoRect(40, 66, 128, 128);

QLabel *splashLabel(QWidget *parent, const QString &name, int pointSize, bool bold, const QColor &colour)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}
} // namespace

frmSplash2::frmSplash2(QWidget *parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash2"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Its closing must never be taken for the end of the program, whatever else is on screen.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(kSize);

    initArtwork();
    m_logo.load(QStringLiteral(":/icons/zestro.png"));

    lblProductName = splashLabel(this, QStringLiteral("lblProductName"), 30, true, Qt::white);
    lblProductName->setText(QStringLiteral("Zestro"));
    lblProductName->setGeometry(196, 78, 200, 52);

    lblVersion = splashLabel(this, QStringLiteral("lblVersion"), 11, false, QColor(0xc8, 0xe0, 0xee));
    lblVersion->setText(QStringLiteral("Version %1.%2").arg(kMajor).arg(kMinor));
    lblVersion->setGeometry(199, 132, 200, 22);

    auto *tagline = splashLabel(this, QStringLiteral("lblTagline"), 9, false, QColor(0x9f, 0xc2, 0xd6));
    tagline->setText(QStringLiteral("Your drink-recipe library"));
    tagline->setGeometry(199, 166, 200, 20);

    static CCommonRoutines fallback;
    (program().commonRoutines ? *program().commonRoutines : fallback).CenterForm(this);

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &frmSplash2::Timer1_Timer);
    Timer1->start();
    // It stays on top of everything: it must not hide the tip of the day or a message.
    qApp->installEventFilter(this);
}

bool frmSplash2::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched != this && qobject_cast<QDialog *>(watched)
        && static_cast<QWidget *>(watched)->isWindow()) {
        Timer1->stop();
        close();
    }
    return QDialog::eventFilter(watched, event);
}

frmSplash2::~frmSplash2()
{
    if (s_instance == this)
        s_instance = nullptr;
}

void frmSplash2::showSplash()
{
    if (!s_instance)
        s_instance = new frmSplash2;
    s_instance->show();
}

frmSplash2 *frmSplash2::instance()
{
    return s_instance;
}

void frmSplash2::Timer1_Timer()
{
    ++m_ticks;
    if (m_ticks == kTicksShown) {
        Timer1->stop();
        close();
    }
}

void frmSplash2::closeEvent(QCloseEvent *event)
{
    // Unloading drops the program's reference at once; the object itself goes a moment later.
    if (s_instance == this)
        s_instance = nullptr;
    QDialog::closeEvent(event);
}

void frmSplash2::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);

    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0.0, QColor(0x2a, 0x6f, 0x96));
    sky.setColorAt(1.0, QColor(0x10, 0x2d, 0x45));
    p.fillRect(rect(), sky);

    // A soft light behind the picture and a lime line under the name.
    QRadialGradient glow(QPointF(kLogoRect.center()), 120);
    glow.setColorAt(0.0, QColor(255, 255, 255, 46));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(rect(), glow);
    p.fillRect(QRect(199, 160, 150, 2), QColor(0xb7, 0xe0, 0x4a));

    if (!m_logo.isNull())
        p.drawPixmap(kLogoRect, m_logo);

    p.setPen(QColor(0x0b, 0x1f, 0x30));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
