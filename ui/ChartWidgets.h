// The two charts as widgets: the Sun's day (SunDayChart) and the sky of an instant (SkyChart),
// each drawn from the services' data it is given, named and described for a screen reader.
#pragma once

#include <QWidget>

#include "SkyChart.h"

namespace zerin::ui {

class SunDayChart : public QWidget {
    Q_OBJECT

  public:
    explicit SunDayChart(QWidget* parent = nullptr);
    // Shows the chart; its name and description become the widget's accessible ones.
    void SetChart(const services::DayChart& chart);
    const services::DayChart& Chart() const { return chart_; }
    QSize sizeHint() const override { return {780, 520}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    services::DayChart chart_;
};

class SkyChart : public QWidget {
    Q_OBJECT

  public:
    explicit SkyChart(QWidget* parent = nullptr);
    void SetChart(const services::SkyChart& chart);
    const services::SkyChart& Chart() const { return chart_; }
    QSize sizeHint() const override { return {760, 560}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    services::SkyChart chart_;
};

// The chart beside a body's report (the Sun's day for the Sun, the sky with the body
// highlighted for the Moon and a planet), or a line that says why there is none.
QWidget* NewReportChart(const Observer& observer, Body body, QWidget* parent = nullptr);

}  // namespace zerin::ui
