#include "CrescentMapImage.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <memory>

#include "FileDevice.h"
#include "Look.h"
#include "crescent/CrescentReport.h"
#include "hijri/Hijri.h"

namespace zerin::ui {

namespace {

QString Arabic(const std::string& text) {
    return QString::fromStdString(text);
}

// The letters of a criterion's legend, the zones first.
QString LegendLetters(Criterion criterion) {
    return criterion == Criterion::Yallop ? QStringLiteral("ABCDEF012") : QStringLiteral("ABCD012");
}

QString LegendText(Criterion criterion, char letter, bool morning) {
    switch (letter) {
        case kCellNoSunset:
            return morning ? QStringLiteral("لا تشرق الشمس أو لا يشرق القمر في ذلك اليوم")
                           : QStringLiteral("لا تغرب الشمس أو لا يغرب القمر في ذلك اليوم");
        case kCellConjunctionAfter:
            return morning ? QStringLiteral("الاجتماع قبل شروق الشمس")
                           : QStringLiteral("الاجتماع بعد غروب الشمس");
        case kCellMoonFirst:
            return morning ? QStringLiteral("يشرق القمر بعد الشمس")
                           : QStringLiteral("يغرب القمر قبل الشمس");
        default:
            return QString(QChar(letter)) + QStringLiteral(" : ") +
                   Arabic(ZoneMeaning(criterion, letter));
    }
}

void DrawCells(QPainter& p, const CrescentMapGrid& g, Criterion criterion, const QRect& map) {
    QImage cells(g.columns, g.rows, QImage::Format_RGB32);
    for (int row = 0; row < g.rows; ++row) {
        auto* line = reinterpret_cast<QRgb*>(cells.scanLine(row));
        for (int column = 0; column < g.columns; ++column)
            line[column] = CellColour(criterion, g.At(criterion, row, column)).rgb();
    }
    p.drawImage(map, cells);
}

QPointF ToMap(const QRect& map, double eastLongitude, double latitude, double scale) {
    return {map.left() + (eastLongitude + 180) * scale, map.top() + (60 - latitude) * scale};
}

void DrawGraticule(QPainter& p, const QRect& map, double scale) {
    p.setPen(QPen(QColor(255, 255, 255, 110), 1, Qt::DashLine));
    for (int lon = -150; lon <= 150; lon += 30)
        p.drawLine(ToMap(map, lon, 60, scale), ToMap(map, lon, -60, scale));
    for (int lat = -30; lat <= 30; lat += 30)
        p.drawLine(ToMap(map, -180, lat, scale), ToMap(map, 180, lat, scale));
}

void DrawCoastlines(QPainter& p, const QRect& map, const Coastlines& coast, double scale) {
    QPainterPath path;
    for (const std::vector<QPointF>& ring : coast.rings) {
        for (std::size_t k = 0; k < ring.size(); ++k) {
            const QPointF at = ToMap(map, ring[k].x(), ring[k].y(), scale);
            // A step across the antimeridian starts a new line instead of crossing the map.
            if (k == 0 || std::fabs(ring[k].x() - ring[k - 1].x()) > 180)
                path.moveTo(at);
            else
                path.lineTo(at);
        }
    }
    p.save();
    p.setClipRect(map);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(25, 25, 25), 1.3));
    p.drawPath(path);
    p.restore();
}

// "60° ش", "180° غ": degrees read left to right, the side's initial (North, South, East, West).
QString ScaleText(int degrees, const char* positive, const char* negative) {
    const QString side = QString::fromUtf8(degrees > 0 ? positive : degrees < 0 ? negative : "");
    const QString text = Isolated(QString::number(std::abs(degrees)) + QStringLiteral("°"));
    return side.isEmpty() ? text : text + QLatin1Char(' ') + side;
}

void DrawScale(QPainter& p, const QRect& map, double scale) {
    p.setPen(QColor(60, 60, 60));
    p.setFont(PartFont(QStringLiteral("Tahoma"), 8));
    for (int lat = -60; lat <= 60; lat += 30) {
        const QPointF at = ToMap(map, -180, lat, scale);
        p.drawText(QRectF(at.x() - 52, at.y() - 8, 48, 16),
                   Qt::AlignAbsolute | Qt::AlignRight | Qt::AlignVCenter, ScaleText(lat, "ش", "ج"));
    }
    for (int lon = -180; lon <= 180; lon += 30) {
        const QPointF at = ToMap(map, lon, -60, scale);
        p.drawText(QRectF(at.x() - 30, at.y() + 2, 60, 16), Qt::AlignCenter,
                   ScaleText(lon, "ق", "غ"));
    }
}

QString TitleText(const CrescentMapGrid& g, Criterion criterion) {
    return QStringLiteral("إمكانية رؤية الهلال ") +
           (g.morning ? QStringLiteral("صباح ") : QStringLiteral("مساء ")) +
           QString::number(g.day) + ' ' + Arabic(GregorianMonthName(g.month)) + ' ' +
           QString::number(g.year) + QStringLiteral(" : ") +
           (criterion == Criterion::Yallop ? QStringLiteral("معيار يالوب ( 1997 )")
                                           : QStringLiteral("معيار عودة ( 2004 )"));
}

QString SubtitleText(const CrescentMapGrid& g) {
    const CalendarDate d = CalendarDateOf(g.conjunction.JJ);
    const double day = std::floor(d.day);
    const int minutes = static_cast<int>(std::lround((d.day - day) * 1440));
    const QString time = QStringLiteral("%1:%2")
                             .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                             .arg(minutes % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("الاجتماع ") + QString::number(day) + ' ' +
           Arabic(GregorianMonthName(static_cast<int>(d.month))) + ' ' + QString::number(d.year) +
           ' ' + QStringLiteral("الساعة ") + time +
           QStringLiteral(" بالزمن العالمي ، و في كل مكان ") +
           (g.morning ? QStringLiteral("شروق الشمس بتوقيته المحلي")
                      : QStringLiteral("غروب الشمس بتوقيته المحلي")) +
           QStringLiteral(" ، خلايا من درجة في درجة بين العرضين 60 جنوباً و 60 شمالاً");
}

void DrawLegend(QPainter& p, const CrescentMapGrid& g, Criterion criterion, const QRect& area) {
    const QString letters = LegendLetters(criterion);
    const int columns = 3;
    const int rowsOfItems = (letters.size() + columns - 1) / columns;
    const int width = area.width() / columns, height = area.height() / rowsOfItems;
    p.setFont(PartFont(QStringLiteral("Tahoma"), 10));
    for (int k = 0; k < letters.size(); ++k) {
        const char letter = static_cast<char>(letters[k].unicode());
        // Right to left: the first item at the right.
        const int x = area.right() - (k % columns + 1) * width,
                  y = area.top() + (k / columns) * height;
        const QRect swatch(x + width - 34, y + (height - 20) / 2, 26, 20);
        p.fillRect(swatch, CellColour(criterion, letter));
        p.setPen(QColor(40, 40, 40));
        p.drawRect(swatch);
        p.drawText(QRect(x + 4, y, width - 46, height),
                   Qt::AlignAbsolute | Qt::AlignRight | Qt::AlignVCenter,
                   LegendText(criterion, letter, g.morning));
    }
}

}  // namespace

bool LoadCoastlines(const QStringList& folders, Coastlines& coast, QString& error) {
    coast.rings.clear();
    for (const QString& folder : folders) {
        QFile file(QDir(folder).filePath(QLatin1String(kCoastlineFileName)));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) continue;
        QTextStream in(&file);
        while (!in.atEnd()) {
            const QString line = in.readLine().trimmed();
            if (line.isEmpty() || line.startsWith('#')) continue;
            std::vector<QPointF> ring;
            for (const QStringView pair : QStringView(line).split(' ', Qt::SkipEmptyParts)) {
                const qsizetype comma = pair.indexOf(',');
                bool lonOk = false, latOk = false;
                const double lon = pair.left(comma).toDouble(&lonOk);
                const double lat = pair.mid(comma + 1).toDouble(&latOk);
                if (comma > 0 && lonOk && latOk && std::fabs(lon) <= 180 && std::fabs(lat) <= 90)
                    ring.emplace_back(lon, lat);
            }
            if (ring.size() >= 2) coast.rings.push_back(std::move(ring));
        }
        if (!coast.rings.empty()) return true;
    }
    error = QStringLiteral(
                "the coastlines (%1) could not be read in %2; the map is drawn "
                "without them")
                .arg(QLatin1String(kCoastlineFileName), folders.join(QStringLiteral(", ")));
    return false;
}

QColor CellColour(Criterion criterion, char letter) {
    switch (letter) {
        case kCellNoSunset:
            return {206, 212, 218};
        case kCellConjunctionAfter:
            return {73, 80, 87};
        case kCellMoonFirst:
            return {134, 142, 150};
        default:
            break;
    }
    // From easily seen (green) to never seen (pale, the rest of the world).
    static const QColor kYallop[6] = {{47, 158, 68},  {148, 216, 45}, {255, 212, 59},
                                      {255, 146, 43}, {240, 82, 82},  {246, 222, 226}};
    static const QColor kOdeh[4] = {{47, 158, 68}, {148, 216, 45}, {255, 146, 43}, {246, 222, 226}};
    const int k = letter - 'A';
    if (criterion == Criterion::Yallop && k >= 0 && k < 6) return kYallop[k];
    if (criterion == Criterion::Odeh && k >= 0 && k < 4) return kOdeh[k];
    return Qt::white;
}

// A ring with a dot and the place's name beside it, dark on a light halo so that it reads
// on every zone's colour; a place beyond 60 degrees is marked at the map's edge.
void DrawMark(QPainter& p, const QRect& map, double scale, const MapMark& mark) {
    const double latitude = std::clamp(mark.latitude, -60.0, 60.0);
    const QPointF at = ToMap(map, mark.eastLongitude, latitude, scale);
    p.save();  // the legend after it keeps its own pen and brush
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::white, 4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(at, 7, 7);
    p.setPen(QPen(QColor(180, 20, 20), 2));
    p.drawEllipse(at, 7, 7);
    p.setBrush(QColor(180, 20, 20));
    p.drawEllipse(at, 2, 2);
    if (!mark.name.isEmpty()) {
        p.setFont(PartFont(QStringLiteral("Tahoma"), 10, true));
        const QRectF box(at.x() - 160, at.y() + 9, 320, 20);
        p.setPen(QPen(Qt::white, 1));
        for (const QPointF shift : {QPointF(-1, 0), QPointF(1, 0), QPointF(0, -1), QPointF(0, 1)})
            p.drawText(box.translated(shift), Qt::AlignHCenter | Qt::AlignTop, mark.name);
        p.setPen(QColor(120, 10, 10));
        p.drawText(box, Qt::AlignHCenter | Qt::AlignTop, mark.name);
    }
    p.restore();
}

QImage CrescentMapImage(const CrescentMapGrid& g, Criterion criterion, const Coastlines& coast,
                        int scale, const MapMark* mark) {
    // Room at the left for the latitudes' labels, at the right for half of 180° East's.
    const int margin = 12 * scale / 4 + 48;
    const QRect map(margin, 96, 360 * scale, 120 * scale);
    const int legendHeight = 132;
    QImage image(map.right() + 1 + 32, map.bottom() + 1 + 28 + legendHeight, QImage::Format_RGB32);
    image.fill(QColor(253, 251, 245));
    QPainter p(&image);
    p.setLayoutDirection(Qt::RightToLeft);
    DrawCells(p, g, criterion, map);
    DrawGraticule(p, map, scale);
    DrawCoastlines(p, map, coast, scale);
    p.setPen(QColor(40, 40, 40));
    p.setBrush(Qt::NoBrush);
    p.drawRect(map.adjusted(0, 0, -1, -1));
    DrawScale(p, map, scale);
    if (mark) DrawMark(p, map, scale, *mark);
    p.setPen(QColor(30, 30, 30));
    p.setFont(PartFont(QStringLiteral("Simplified Arabic"), 18, true));
    p.drawText(QRect(map.left(), 8, map.width(), 46),
               Qt::AlignAbsolute | Qt::AlignRight | Qt::AlignVCenter, TitleText(g, criterion));
    p.setFont(PartFont(QStringLiteral("Tahoma"), 10));
    p.drawText(QRect(map.left(), 54, map.width(), 34),
               Qt::AlignAbsolute | Qt::AlignRight | Qt::AlignVCenter, SubtitleText(g));
    DrawLegend(p, g, criterion,
               QRect(map.left(), map.bottom() + 28, map.width(), legendHeight - 8));
    return image;
}

int WriteCrescentMap(const CrescentMapRequest& request, std::string& message) {
    // The picture needs Qt's fonts, never a display.
    const std::unique_ptr<QApplication> own = OffscreenApplication();
    const CrescentMapGrid grid =
        CrescentMapOf(request.year, request.month, request.day, request.morning, 1);
    Coastlines coast;
    QString error;
    if (!LoadCoastlines(DataFolders(), coast, error)) message = error.toStdString();
    const QImage image = CrescentMapImage(grid, request.criterion, coast);
    FileError failure;
    if (!WritePng(image, request.png, failure)) {
        message = failure.Message();
        return 1;
    }
    return 0;
}

}  // namespace zerin::ui
