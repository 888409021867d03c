#include "app/frmTip.h"

#include "common/CZestro30.h"
#include "common/CCommonRoutines.h"
#include "common/command_guard.h"
#include "common/seams.h"
#include "common/string_table.h"

#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadialGradient>
#include <QStringDecoder>
#include <QVBoxLayout>

namespace {
const QString kTipFileName = QStringLiteral("TIPOFDAY.TXT");

// A light bulb with a few rays, drawn rather than shipped so that the dialog needs no image file.
QPixmap bulbPicture(qreal ratio)
{
    const QSize size(56, 72);
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);

    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    // Rays
    p.setPen(QPen(QColor(240, 180, 20), 2.2, Qt::SolidLine, Qt::RoundCap));
    const QPointF centre(28, 26);
    for (const QLineF &ray : {QLineF(28, 3, 28, 0), QLineF(10, 9, 7, 6), QLineF(46, 9, 49, 6),
                              QLineF(4, 26, 1, 26), QLineF(52, 26, 55, 26)})
        p.drawLine(ray);

    // Glass: a circle narrowing into the neck
    QPainterPath glass;
    glass.moveTo(21, 48);
    glass.cubicTo(21, 40, 10, 36, 10, 26);
    glass.arcTo(QRectF(10, 8, 36, 36), 180, -180);
    glass.cubicTo(46, 36, 35, 40, 35, 48);
    glass.closeSubpath();
    QRadialGradient light(centre - QPointF(5, 6), 24);
    light.setColorAt(0.0, QColor(255, 255, 230));
    light.setColorAt(0.55, QColor(255, 232, 110));
    light.setColorAt(1.0, QColor(245, 190, 40));
    p.setBrush(light);
    p.setPen(QPen(QColor(170, 120, 10), 1.4));
    p.drawPath(glass);

    // Filament
    p.setPen(QPen(QColor(200, 110, 10), 1.3));
    p.setBrush(Qt::NoBrush);
    QPainterPath filament;
    filament.moveTo(24, 47);
    filament.lineTo(24, 33);
    filament.cubicTo(24, 28, 32, 28, 32, 33);
    filament.lineTo(32, 47);
    p.drawPath(filament);

    // Screw base
    p.setPen(QPen(QColor(90, 90, 95), 1));
    QLinearGradient metal(20, 0, 36, 0);
    metal.setColorAt(0.0, QColor(150, 150, 158));
    metal.setColorAt(0.5, QColor(225, 225, 232));
    metal.setColorAt(1.0, QColor(130, 130, 138));
    p.setBrush(metal);
    p.drawRoundedRect(QRectF(20, 48, 16, 13), 2, 2);
    for (qreal y : {52.0, 56.0})
        p.drawLine(QPointF(20, y), QPointF(36, y));
    p.setBrush(QColor(70, 70, 75));
    p.drawRoundedRect(QRectF(24, 61, 8, 5), 2, 2);
    return pixmap;
}

// The file is meant to be plain text in the system's 8-bit code page; a file saved as UTF-8 is
// read as such, since that is what today's editors write.
QString decodeTipFile(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}
} // namespace

frmTip::frmTip(QWidget *parent)
    : QDialog(parent)
{
    buildControls();

    setWindowTitle(QStringLiteral("Tip of the Day"));
    chkLoadTipsAtStartup->setText(LoadResString(403));
    cmdNextTip->setText(LoadResString(401));
    cmdOK->setText(LoadResString(1));
    resize(sizeHint().expandedTo(QSize(440, 240)));
    CCommonRoutines().CenterForm(this);

    chkLoadTipsAtStartup->setChecked(CZestro30().ShowTips() != 0);
    // Only the user's clicks store the setting; loading it writes nothing.
    connect(chkLoadTipsAtStartup, &QCheckBox::clicked, this, [this](bool checked) {
        RunCommand([&] { chkLoadTipsAtStartup_Click(checked); });
    });

    Randomize();
    if (!LoadTips(DataFolder() + QLatin1Char('/') + kTipFileName))
        lblTipText->setText(missingFileText());
}

QString frmTip::missingFileText()
{
    // A label breaks lines at "\n"; a CR before it would show as a stray character.
    return QStringLiteral("That the ") + kTipFileName + QStringLiteral(" file was not found? ") + QStringLiteral("\n\n")
        + QStringLiteral("Create a text file named ") + kTipFileName
        + QStringLiteral(" using NotePad with 1 tip per line. ")
        + QStringLiteral("Then place it in the same directory as the application. ");
}

void frmTip::buildControls()
{
    picBulb = new QLabel(this);
    picBulb->setPixmap(bulbPicture(devicePixelRatioF()));
    picBulb->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    picBulb->setContentsMargins(14, 16, 14, 14);
    picBulb->setAutoFillBackground(true);
    QPalette stripPalette = picBulb->palette();
    stripPalette.setColor(QPalette::Window, QColor(128, 128, 128));
    picBulb->setPalette(stripPalette);

    lblDidYouKnow = new QLabel(QStringLiteral("Did you know..."), this);
    QFont headline = lblDidYouKnow->font();
    headline.setBold(true);
    headline.setPointSizeF(headline.pointSizeF() * 1.45);
    lblDidYouKnow->setFont(headline);

    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    // Tips are shown as written: markup in the file is text, not formatting.
    lblTipText = new QLabel(this);
    lblTipText->setTextFormat(Qt::PlainText);
    lblTipText->setWordWrap(true);
    lblTipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTipText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblTipText->setMinimumHeight(lblTipText->fontMetrics().lineSpacing() * 5);
    lblTipText->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    auto *textSide = new QVBoxLayout;
    textSide->setContentsMargins(16, 14, 16, 14);
    textSide->setSpacing(8);
    textSide->addWidget(lblDidYouKnow);
    textSide->addWidget(rule);
    textSide->addWidget(lblTipText, 1);

    // The tip sits on a sunken panel in the colours of text to read (white in a light theme) with a
    // grey strip holding the bulb.
    auto *panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAutoFillBackground(true);
    QPalette panelPalette = panel->palette();
    panelPalette.setColor(QPalette::Window, panelPalette.color(QPalette::Base));
    panelPalette.setColor(QPalette::WindowText, panelPalette.color(QPalette::Text));
    panel->setPalette(panelPalette);
    auto *panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    panelLayout->setSpacing(0);
    panelLayout->addWidget(picBulb);
    panelLayout->addLayout(textSide, 1);

    chkLoadTipsAtStartup = new QCheckBox(this);
    cmdNextTip = new QPushButton(this);
    cmdNextTip->setAutoDefault(false);
    cmdOK = new QPushButton(this);
    cmdOK->setDefault(true);
    connect(cmdNextTip, &QPushButton::clicked, this, guarded(&frmTip::ChooseRandomTip, this));
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(chkLoadTipsAtStartup);
    buttons->addStretch(1);
    buttons->addWidget(cmdNextTip);
    buttons->addWidget(cmdOK);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addWidget(panel, 1);
    layout->addLayout(buttons);
}

bool frmTip::LoadTips(const QString &path)
{
    if (path.isEmpty() || !CCommonRoutines().FileExists(path))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;

    QStringList lines = decodeTipFile(file.readAll()).split(QLatin1Char('\n'));
    // The break that ends the last line starts no tip of its own (and an empty file holds none).
    if (lines.last().isEmpty())
        lines.removeLast();
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    Tips = lines;

    ChooseRandomTip();
    return true;
}

void frmTip::ChooseRandomTip()
{
    CurrentTip = int(RandomUnit() * Tips.size()) + 1;
    DisplayCurrentTip();
}

void frmTip::DisplayCurrentTip()
{
    if (CurrentTip >= 1 && CurrentTip <= Tips.size())
        lblTipText->setText(Tips.at(CurrentTip - 1));
}

void frmTip::chkLoadTipsAtStartup_Click(bool checked)
{
    CZestro30().setShowTips(checked ? 1 : 0);
}
