#include "FrmApropos.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "Artwork.h"
#include "Look.h"
#include "ReadAloud.h"
#include "WindowDrag.h"

namespace zerin::ui {

namespace {

// Twips of the window's design (15 to a pixel at 96 dpi) as pixels.
constexpr int Px(int twips) {
    return twips / 15;
}

QLabel* PanelLabel(QWidget* panel, const char* name, const QString& text, const QFont& font,
                   Qt::Alignment alignment, const QRect& place) {
    auto* label = new QLabel(text, panel);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    label->setAlignment(alignment | Qt::AlignAbsolute | Qt::AlignVCenter);
    label->setGeometry(place);
    return label;
}

}  // namespace

LogoImage::LogoImage(QImage picture, QWidget* parent)
    : QWidget(parent), picture_(std::move(picture)) {
    setCursor(Qt::PointingHandCursor);
}

void LogoImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), picture_);
}

void LogoImage::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void LogoImage::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) emit clicked();
}

FrmApropos::FrmApropos(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog) {
    setObjectName(QStringLiteral("FrmApropos"));
    setWindowTitle(QStringLiteral("حول البرنامج"));
    setFixedSize(Px(8250), Px(8475));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral(
        "#FrmApropos { background-color: rgb(236, 228, 206); border: 1px solid rgb(120, 96, "
        "60); }"));

    auto* logo = new LogoImage(LogoArtwork(), this);
    logo->setObjectName(QStringLiteral("ImgLogo"));
    logo->setGeometry(Px(90), Px(90), Px(8100), Px(6600));
    connect(logo, &LogoImage::clicked, this, &QDialog::accept);
    NameControl(
        logo, QStringLiteral("شعار البرنامج"),
        TipWithKey(QStringLiteral("انقر على الشعار لإغلاق النافذة"), QKeySequence(Qt::Key_Escape)));
    BuildPanel();
    new WindowDrag(*this);
}

void FrmApropos::BuildPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Picture1"));
    panel->setGeometry(Px(90), Px(6720), Px(8100), Px(1695));
    panel->setAttribute(Qt::WA_StyledBackground);
    panel->setStyleSheet(QStringLiteral(
        "#Picture1 { background-color: rgb(255, 251, 236); border: 1px solid rgb(190, 170, "
        "130); }"
        "QLabel { background: transparent; color: black; }"
        "#Label1_1 { color: rgb(128, 64, 64); }"
        "#Label2 { color: rgb(255, 255, 0); background-color: black; }"));
    // The designed places, widened where Arabic faces need more room than the original's.
    PanelLabel(panel, "Label1_0", QStringLiteral("برنامج زيرين"),
               PartFont(QStringLiteral("Andalus"), 36), Qt::AlignLeft,
               QRect(Px(120), Px(30), Px(4980), Px(1170)));
    PanelLabel(panel, "Label1_1", QStringLiteral("هدية من فريق البورفان"),
               PartFont(QStringLiteral("Tahoma"), 14.25), Qt::AlignRight,
               QRect(Px(4800), Px(60), Px(3105), Px(630)));
    PanelLabel(panel, "Label1_2", QStringLiteral("الإصدار  المجاني"),
               PartFont(QStringLiteral("Tahoma"), 11.25, true), Qt::AlignHCenter,
               QRect(Px(120), Px(1200), Px(2100), Px(480)));
    PanelLabel(panel, "Label2", QStringLiteral("نسخة كاملة"),
               PartFont(QStringLiteral("Tahoma"), 9.75, true), Qt::AlignHCenter,
               QRect(Px(6660), Px(1260), Px(1380), Px(420)));
    // The gazetteer's attribution, as its licence asks, on two lines.
    PanelLabel(panel, "LblGeoNames",
               QStringLiteral("بيانات الأماكن: GeoNames (geonames.org)\nرخصة CC BY 4.0"),
               PartFont(QStringLiteral("Tahoma"), 8), Qt::AlignHCenter,
               QRect(Px(3200), Px(960), Px(3400), Px(720)));
}

}  // namespace zerin::ui
