#include "help/taboutbox.h"

#include "ui/designfont.h"

#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

constexpr int kClientWidth = 298;
constexpr int kClientHeight = 297;
constexpr int kLogoSize = 80;

const QColor kFuchsia(0xFF, 0x00, 0xFF);

const char* const kDedication = "Vexorel! was written for the Chronolite ballistic chronograph, "
                                "to bring the velocities it measures onto the computer, where "
                                "they can be kept, charted and compared.\n"
                                "\n"
                                "Good luck and accurate shooting!";

// A target with a shot streaking into it. The picture has no alpha channel, so it is
// painted over the panel's own colour to sit seamlessly on it. The desktop icon
// (data/icons/hicolor/scalable/apps/org.vexorel.Vexorel.svg) draws the same; keep them alike.
QImage drawLogo(const QColor& background)
{
    QImage image(kLogoSize, kLogoSize, QImage::Format_RGB888);
    image.fill(background);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const QPointF centre(43.5, 38.5);
    const QColor ink(0x20, 0x20, 0x20);

    painter.setPen(QPen(ink, 1.2));
    painter.setBrush(Qt::white);
    painter.drawEllipse(centre, 34.0, 34.0);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, 28.0, 28.0);
    painter.drawEllipse(centre, 22.0, 22.0);

    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawEllipse(centre, 16.0, 16.0);
    painter.setPen(QPen(Qt::white, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, 10.5, 10.5);
    painter.drawEllipse(centre, 5.0, 5.0);

    // The trace fades in from the muzzle side, in the colour of the program's name.
    const QPointF muzzle(3.0, 77.0);
    const QPointF hit(centre.x() + 2.5, centre.y() - 2.5);
    QColor faded = kFuchsia;
    faded.setAlpha(0);
    QLinearGradient trace(muzzle, hit);
    trace.setColorAt(0.0, faded);
    trace.setColorAt(0.7, kFuchsia);
    trace.setColorAt(1.0, kFuchsia.darker(130));
    QPainterPath streak;
    const QPointF across(2.2, 2.2);
    streak.moveTo(muzzle);
    streak.lineTo(hit - across);
    streak.lineTo(hit + across);
    streak.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(trace);
    painter.drawPath(streak);

    painter.setPen(QPen(Qt::white, 1.2));
    painter.setBrush(kFuchsia.darker(160));
    painter.drawEllipse(hit, 3.0, 3.0);
    return image;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_okButton(new QPushButton(QStringLiteral("OK"), this))
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About Vexorel!"));
    setFont(ui::designFont());
    setFixedSize(kClientWidth, kClientHeight);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

    auto* icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setAccessibleName(QStringLiteral("Program logo"));
    icon->setFixedSize(kLogoSize, kLogoSize);
    m_icon = icon;

    auto* productName = new QLabel(QStringLiteral("Vexorel!"), panel);
    productName->setObjectName(QStringLiteral("ProductName"));
    productName->setAccessibleName(QStringLiteral("Program name"));
    m_productName = productName;
    QPalette namePalette = productName->palette();
    namePalette.setColor(QPalette::WindowText, kFuchsia);
    productName->setPalette(namePalette);

    auto* version = new QLabel(QStringLiteral("Version Beta"), panel);
    version->setObjectName(QStringLiteral("Version"));
    version->setAccessibleName(QStringLiteral("Version"));
    QFont versionFont = ui::designFont();
    versionFont.setPointSize(7);
    version->setFont(versionFont);
    QPalette versionPalette = version->palette();
    versionPalette.setColor(QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    version->setPalette(versionPalette);

    auto* bevel = new QFrame(panel);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);

    // Left editable on purpose: the dedication is the user's to scribble on.
    auto* memo = new QPlainTextEdit(panel);
    memo->setObjectName(QStringLiteral("Memo1"));
    memo->setAccessibleName(QStringLiteral("Dedication"));
    memo->setFrameShape(QFrame::NoFrame);
    memo->setPlainText(QString::fromUtf8(kDedication));
    QPalette memoPalette = memo->palette();
    memoPalette.setColor(QPalette::Base, memoPalette.color(QPalette::Window));
    memo->setPalette(memoPalette);

    auto* panelLayout = new QGridLayout(panel);
    panelLayout->setContentsMargins(8, 8, 8, 8);
    panelLayout->setHorizontalSpacing(12);
    panelLayout->addWidget(icon, 0, 0, 2, 1, Qt::AlignLeft | Qt::AlignTop);
    panelLayout->addWidget(productName, 0, 1, Qt::AlignLeft | Qt::AlignBottom);
    panelLayout->addWidget(version, 1, 1, Qt::AlignLeft | Qt::AlignTop);
    panelLayout->addWidget(bevel, 2, 0, 1, 2);
    panelLayout->addWidget(memo, 3, 0, 1, 2);
    panelLayout->setColumnStretch(1, 1);
    panelLayout->setRowStretch(3, 1);

    m_okButton->setObjectName(QStringLiteral("OKButton"));
    m_okButton->setAccessibleName(QStringLiteral("OK"));
    m_okButton->setAutoDefault(true);
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_okButton);
    buttonRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(panel, 1);
    layout->addLayout(buttonRow);
}

void TAboutBox::OKButtonClick()
{
    accept();
}

void TAboutBox::showEvent(QShowEvent* event)
{
    // Drawn at the first show: a logo and a font of its own are not worth a start-up.
    if (m_icon->pixmap().isNull()) {
        m_icon->setPixmap(QPixmap::fromImage(drawLogo(palette().color(QPalette::Window))));
        QFont nameFont(QStringLiteral("Times New Roman"));
        nameFont.setStyleHint(QFont::Serif);
        nameFont.setPixelSize(32);
        m_productName->setFont(nameFont);
    }
    // Enter must press OK even if the user left the caret in the dedication last time.
    m_okButton->setFocus();

    if (!event->spontaneous()) {
        if (const QScreen* target = screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(target->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QDialog::showEvent(event);
}
