// The two charts drawn with QPainter from the services' data: the Sun's day and the sky of an
// instant. The same drawing serves the widgets, the PNG and the SVG files.
#pragma once

#include <QByteArray>
#include <QSizeF>
#include <string>

#include "SkyChart.h"

class QPainter;

namespace zerin::ui {

// Draws the chart over a surface of the given size, its background included.
void PaintDayChart(QPainter& painter, const services::DayChart& chart, const QSizeF& size);
void PaintSkyChart(QPainter& painter, const services::SkyChart& chart, const QSizeF& size);

// The bytes of the drawing's file: a PNG (no date in it) or an SVG whose texts stay text, its
// title and description the chart's accessible name and description.
QByteArray ChartFileBytes(const services::ChartDrawing& drawing);

// The windows' module's entry: the bytes of the drawing's file, drawn offscreen; 0, or 1 with
// the reason in message.
int DrawChart(const services::ChartDrawing& drawing, std::string& bytes, std::string& message);

}  // namespace zerin::ui
