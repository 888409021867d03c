#include "app/frmAbout.h"

#include "app/frmMain.h"
#include "common/CCommonRoutines.h"
#include "common/message_box.h"
#include "core/product_info.h"
#include "common/program_objects.h"
#include "store/CDatabase.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kIconSize = 64;

// A cocktail glass with an olive, for a program started without an icon of its own.
QPixmap drawnIcon(qreal ratio)
{
    QPixmap pixmap(QSize(kIconSize, kIconSize) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    QPainterPath bowl;
    bowl.moveTo(8, 10);
    bowl.lineTo(56, 10);
    bowl.lineTo(32, 36);
    bowl.closeSubpath();
    QPainterPath drink;
    drink.moveTo(14, 16);
    drink.lineTo(50, 16);
    drink.lineTo(32, 35);
    drink.closeSubpath();

    QLinearGradient liquid(0, 16, 0, 35);
    liquid.setColorAt(0, QColor(120, 200, 230));
    liquid.setColorAt(1, QColor(40, 120, 190));
    p.setPen(Qt::NoPen);
    p.setBrush(liquid);
    p.drawPath(drink);

    const QPen glassPen(QColor(60, 70, 90), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(glassPen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(bowl);
    p.drawLine(QPointF(32, 36), QPointF(32, 54));
    p.drawLine(QPointF(21, 56), QPointF(43, 56));

    // Olive on a pick
    p.setPen(QPen(QColor(120, 80, 40), 1.6));
    p.drawLine(QPointF(40, 4), QPointF(28, 26));
    p.setPen(QPen(QColor(40, 80, 20), 1.2));
    p.setBrush(QColor(110, 160, 50));
    p.drawEllipse(QPointF(33, 17), 4.5, 4);
    p.setBrush(QColor(200, 40, 30));
    p.drawEllipse(QPointF(34.5, 16.5), 1.6, 1.4);
    return pixmap;
}

QIcon mainWindowIcon()
{
    if (program().mainForm)
        return program().mainForm->windowIcon();
    return QApplication::windowIcon();
}

QString drinksText()
{
    CDatabase *db = program().database;
    // Start-up may have found no library; the box still opens.
    if (!db || !db->isOpen())
        return QStringLiteral("No database open");
    return db->DrinkCount() + QStringLiteral(" drinks");
}
} // namespace

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
{
    buildControls();
    resize(sizeHint().expandedTo(QSize(460, 0)));
    CCommonRoutines().CenterForm(this);

    const QIcon icon = mainWindowIcon();
    picIcon->setPixmap(icon.isNull() ? drawnIcon(devicePixelRatioF())
                                     : icon.pixmap(QSize(kIconSize, kIconSize), devicePixelRatioF()));
    setWindowTitle(QStringLiteral("About ") + kAppTitle);
    lblVersion->setText(QStringLiteral("Version %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision));
    lblTitle->setText(kAppTitle);
    lblDrinks->setText(drinksText());
    lblCopyright->setText(kLegalNotice);
}

void frmAbout::buildControls()
{
    picIcon = new QLabel(this);
    picIcon->setFixedSize(kIconSize + 8, kIconSize + 8);
    picIcon->setAlignment(Qt::AlignCenter);

    const auto plainLabel = [this](const QString &text = QString()) {
        auto *label = new QLabel(text, this);
        label->setTextFormat(Qt::PlainText);
        return label;
    };

    lblTitle = plainLabel();
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.9);
    lblTitle->setFont(titleFont);
    lblVersion = plainLabel();
    lblDescription = plainLabel(QStringLiteral("Thank you for using Zestro!"));
    lblDrinks = plainLabel();

    auto *facts = new QVBoxLayout;
    facts->setSpacing(2);
    facts->addWidget(lblTitle);
    facts->addWidget(lblVersion);
    facts->addSpacing(10);
    facts->addWidget(lblDescription);
    facts->addWidget(lblDrinks);
    facts->addStretch(1);

    auto *top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addLayout(facts, 1);

    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    lblCopyright = plainLabel();
    lblCopyright->setWordWrap(true);
    QFont smaller = lblCopyright->font();
    smaller.setPointSizeF(smaller.pointSizeF() * 0.9);
    lblCopyright->setFont(smaller);

    // The addresses look and act like links; a click hands them to the desktop.
    lblWeb[0] = plainLabel(kSupportAddress);
    lblWeb[1] = plainLabel(kWebPage);
    for (QLabel *link : lblWeb) {
        QFont underlined = link->font();
        underlined.setUnderline(true);
        link->setFont(underlined);
        QPalette palette = link->palette();
        palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
        link->setPalette(palette);
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }
    lblWeb[0]->setToolTip(QStringLiteral("Write a mail to Dravo"));
    lblWeb[1]->setToolTip(QStringLiteral("Open the Zestro web page"));

    auto *links = new QGridLayout;
    links->setHorizontalSpacing(10);
    links->setVerticalSpacing(4);
    links->addWidget(plainLabel(QStringLiteral("Zestro stuff:")), 0, 0);
    links->addWidget(lblWeb[1], 0, 1);
    links->addWidget(plainLabel(QStringLiteral("Email Dravo:")), 1, 0);
    links->addWidget(lblWeb[0], 1, 1);
    links->setColumnStretch(2, 1);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(10);
    layout->addLayout(top);
    layout->addWidget(rule);
    layout->addWidget(lblCopyright);
    layout->addLayout(links);
    layout->addSpacing(4);
    layout->addLayout(buttons);
}

void frmAbout::lblWeb_Click(int index)
{
    CCommonRoutines localRoutines;
    const CCommonRoutines &routines = program().commonRoutines ? *program().commonRoutines : localRoutines;
    if (index == 0)
        routines.LaunchURL(this, QStringLiteral("mailto:") + kSupportAddress);
    else if (index == 1)
        routines.LaunchURL(this, kWebPage);
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        for (int i = 0; i < int(lblWeb.size()); ++i) {
            if (watched == lblWeb[i] && mouse->button() == Qt::LeftButton
                && lblWeb[i]->rect().contains(mouse->position().toPoint())) {
                lblWeb_Click(i);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}
