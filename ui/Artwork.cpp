#include "Artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdint>

#include "Look.h"

namespace zerin::ui {

namespace {

// A small fixed generator, so that the stars stand in the same places on every run.
class StarRandom {
  public:
    explicit StarRandom(std::uint32_t seed) : state_(seed) {}
    // A number in [0, 1).
    double Unit() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 24);
    }

  private:
    std::uint32_t state_;
};

void PaintSky(QPainter& p, const QRectF& area, const QColor& top, const QColor& bottom) {
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0, top);
    sky.setColorAt(1, bottom);
    p.fillRect(area, sky);
}

// count stars of random brightness, none inside `clear` (where text goes); the brightest
// get a faint cross of light.
void PaintStars(QPainter& p, const QRectF& area, int count, std::uint32_t seed,
                const QRectF& clear = QRectF()) {
    StarRandom random(seed);
    p.save();
    for (int k = 0; k < count; ++k) {
        const QPointF at(area.left() + random.Unit() * area.width(),
                         area.top() + random.Unit() * area.height());
        const double size = 0.45 + 1.5 * std::pow(random.Unit(), 3.0);
        const int alpha = 90 + static_cast<int>(165 * random.Unit());
        if (clear.contains(at)) continue;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 249, 232, alpha));
        p.drawEllipse(at, size, size);
        if (size > 1.5) {
            p.setPen(QPen(QColor(255, 249, 232, alpha / 3), 0.8));
            p.drawLine(at - QPointF(size * 3, 0), at + QPointF(size * 3, 0));
            p.drawLine(at - QPointF(0, size * 3), at + QPointF(0, size * 3));
        }
    }
    p.restore();
}

void PaintSun(QPainter& p, const QPointF& centre, double radius) {
    p.save();
    p.setPen(Qt::NoPen);
    QRadialGradient glow(centre, radius * 2.7);
    glow.setColorAt(0, QColor(255, 226, 130, 210));
    glow.setColorAt(0.4, QColor(255, 176, 64, 90));
    glow.setColorAt(1, QColor(255, 140, 40, 0));
    p.setBrush(glow);
    p.drawEllipse(centre, radius * 2.7, radius * 2.7);

    p.translate(centre);
    p.setBrush(QColor(255, 206, 92, 170));
    for (int ray = 0; ray < 16; ++ray) {
        const double length = radius * (ray % 2 ? 1.55 : 1.9);
        QPainterPath beam;
        beam.moveTo(radius * 0.9, -radius * 0.12);
        beam.lineTo(length, 0);
        beam.lineTo(radius * 0.9, radius * 0.12);
        beam.closeSubpath();
        p.drawPath(beam);
        p.rotate(22.5);
    }
    QRadialGradient disk(QPointF(-radius * 0.3, -radius * 0.3), radius * 1.4);
    disk.setColorAt(0, QColor(255, 250, 214));
    disk.setColorAt(0.45, QColor(255, 214, 84));
    disk.setColorAt(1, QColor(240, 142, 28));
    p.setBrush(disk);
    p.drawEllipse(QPointF(0, 0), radius, radius);
    p.restore();
}

// A lit sphere of the given colour, lit from the upper left.
void PaintPlanet(QPainter& p, const QPointF& centre, double radius, const QColor& colour) {
    p.save();
    p.setPen(Qt::NoPen);
    QRadialGradient shade(centre - QPointF(radius * 0.35, radius * 0.35), radius * 1.5);
    shade.setColorAt(0, colour.lighter(160));
    shade.setColorAt(0.55, colour);
    shade.setColorAt(1, colour.darker(280));
    p.setBrush(shade);
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

// Jupiter: a planet with its cloud belts.
void PaintJupiter(QPainter& p, const QPointF& centre, double radius) {
    PaintPlanet(p, centre, radius, QColor(219, 184, 138));
    p.save();
    QPainterPath disk;
    disk.addEllipse(centre, radius, radius);
    p.setClipPath(disk);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 96, 58, 120));
    for (double band : {-0.45, -0.12, 0.3})
        p.drawRect(
            QRectF(centre.x() - radius, centre.y() + band * radius, 2 * radius, radius * 0.16));
    p.restore();
}

// Saturn: the back half of the ring, the globe, then the front half over it.
void PaintSaturn(QPainter& p, const QPointF& centre, double radius) {
    p.save();
    p.translate(centre);
    p.rotate(-16);
    const QRectF ring(-radius * 2.2, -radius * 0.62, radius * 4.4, radius * 1.24);
    const QPen ringPen(QColor(226, 204, 150, 230), radius * 0.3);
    p.setBrush(Qt::NoBrush);
    p.setPen(ringPen);
    p.drawArc(ring, 0, 180 * 16);
    PaintPlanet(p, QPointF(0, 0), radius, QColor(214, 182, 112));
    p.setPen(ringPen);
    p.setBrush(Qt::NoBrush);
    p.drawArc(ring, 180 * 16, 180 * 16);
    p.restore();
}

// A crescent Moon with its dark part faintly lit by the Earth; the lit side faces the Sun
// (towards `sunward`, a unit direction).
void PaintCrescent(QPainter& p, const QPointF& centre, double radius, const QPointF& sunward) {
    p.save();
    p.setPen(Qt::NoPen);
    QPainterPath disk;
    disk.addEllipse(centre, radius, radius);
    p.setBrush(QColor(190, 204, 228, 45));
    p.drawPath(disk);
    QPainterPath shadow;
    shadow.addEllipse(centre - sunward * (radius * 0.42), radius * 0.96, radius * 0.96);
    QRadialGradient light(centre + sunward * radius * 0.6, radius * 1.6);
    light.setColorAt(0, QColor(255, 253, 236));
    light.setColorAt(1, QColor(214, 214, 196));
    p.setBrush(light);
    p.drawPath(disk.subtracted(shadow));
    p.restore();
}

void PaintOrbit(QPainter& p, const QPointF& centre, double radius) {
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(170, 196, 232, 70), 1.2, Qt::DashLine));
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

// A point at angle (degrees, counter-clockwise from the right) on a circle.
QPointF OnCircle(const QPointF& centre, double radius, double degrees) {
    const double a = degrees * M_PI / 180.0;
    return centre + QPointF(radius * std::cos(a), -radius * std::sin(a));
}

// The astrolabe ring: a band with a tick every 5 degrees, longer every 30.
void PaintAstrolabeRing(QPainter& p, const QPointF& centre, double radius) {
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(222, 190, 120, 200), 2.2));
    p.drawEllipse(centre, radius, radius);
    p.drawEllipse(centre, radius - 22, radius - 22);
    for (int degree = 0; degree < 360; degree += 5) {
        const double inner = radius - (degree % 30 == 0 ? 22 : 9);
        p.setPen(QPen(QColor(222, 190, 120, degree % 30 == 0 ? 220 : 150),
                      degree % 30 == 0 ? 2.0 : 1.0));
        p.drawLine(OnCircle(centre, inner, degree), OnCircle(centre, radius, degree));
    }
    p.setPen(QPen(QColor(222, 190, 120, 40), 1.0));
    for (int degree = 0; degree < 360; degree += 30)
        p.drawLine(OnCircle(centre, 50, degree), OnCircle(centre, radius - 22, degree));
    p.restore();
}

void PaintTitleText(QPainter& p, const QRectF& nameArea, const QRectF& lineArea) {
    p.save();
    p.setLayoutDirection(Qt::RightToLeft);
    QFont name = PartFont(QStringLiteral("Andalus"), 40);
    name.setPixelSize(68);
    p.setFont(name);
    p.setPen(QColor(80, 40, 0, 160));
    p.drawText(nameArea.translated(2, 3), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("زيرين"));
    p.setPen(QColor(255, 236, 178));
    p.drawText(nameArea, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("زيرين"));
    QFont line = PartFont(QStringLiteral("Simplified Arabic"), 14, true);
    line.setPixelSize(19);
    p.setFont(line);
    p.setPen(QColor(226, 232, 246));
    p.drawText(lineArea, Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("تقويم الشمس و القمر و الكواكب خطوة بخطوة"));
    p.restore();
}

QImage NewCanvas(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

}  // namespace

QImage TitleArtwork() {
    QImage image = NewCanvas(kTitleArtworkSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF all(QPointF(0, 0), QSizeF(kTitleArtworkSize));
    PaintSky(p, all, QColor(6, 18, 46), QColor(30, 62, 104));
    const QRectF nameArea(640, 16, 236, 110), lineArea(440, 138, 436, 40);
    PaintStars(p, all, 170, 1957, lineArea.adjusted(0, 6, 0, -6));

    // The ecliptic: a gentle arc from the Sun across the band.
    QPainterPath ecliptic;
    ecliptic.moveTo(60, 150);
    ecliptic.cubicTo(260, 60, 470, 150, 640, 78);
    p.setPen(QPen(QColor(170, 196, 232, 90), 1.3, Qt::DashLine));
    p.drawPath(ecliptic);

    PaintSun(p, QPointF(92, 118), 36);
    struct Body {
        double along, radius;
        QColor colour;
    };
    const Body planets[] = {
        {0.22, 4.5, QColor(170, 162, 150)}, {0.31, 7.5, QColor(240, 222, 170)},
        {0.40, 6.5, QColor(214, 96, 56)},   {0.66, 8.5, QColor(160, 214, 226)},
        {0.76, 7.5, QColor(92, 128, 222)},  {0.85, 3.2, QColor(190, 170, 150)},
    };
    for (const Body& planet : planets)
        PaintPlanet(p, ecliptic.pointAtPercent(planet.along), planet.radius, planet.colour);
    PaintJupiter(p, ecliptic.pointAtPercent(0.50), 15);
    PaintSaturn(p, ecliptic.pointAtPercent(0.58), 10);
    PaintCrescent(p, QPointF(612, 48), 21, QPointF(-0.8, 0.6));

    PaintTitleText(p, nameArea, lineArea);
    return image;
}

QImage LogoArtwork() {
    QImage image = NewCanvas(kLogoSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF all(QPointF(0, 0), QSizeF(kLogoSize));
    const QPointF centre(all.center());
    QRadialGradient night(centre, all.width() * 0.7);
    night.setColorAt(0, QColor(28, 58, 102));
    night.setColorAt(1, QColor(5, 14, 36));
    p.fillRect(all, night);
    PaintStars(p, all, 280, 1582);

    PaintAstrolabeRing(p, centre, 268);
    PaintSun(p, centre, 40);
    const struct {
        double radius, degrees, size;
        QColor colour;
    } planets[] = {
        {70, 130, 6, QColor(170, 162, 150)},  {96, 35, 9.5, QColor(240, 222, 170)},
        {124, 250, 8, QColor(214, 96, 56)},   {212, 320, 12, QColor(160, 214, 226)},
        {236, 205, 11, QColor(92, 128, 222)},
    };
    for (const auto& planet : planets) {
        PaintOrbit(p, centre, planet.radius);
        PaintPlanet(p, OnCircle(centre, planet.radius, planet.degrees), planet.size, planet.colour);
    }
    PaintOrbit(p, centre, 154);
    PaintJupiter(p, OnCircle(centre, 154, 100), 18);
    PaintOrbit(p, centre, 186);
    PaintSaturn(p, OnCircle(centre, 186, 152), 13);
    PaintCrescent(p, QPointF(660, 92), 40, QPointF(-0.75, 0.66));
    return image;
}

}  // namespace zerin::ui
