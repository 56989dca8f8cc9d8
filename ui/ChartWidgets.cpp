#include "ChartWidgets.h"

#include <QLabel>
#include <QPainter>

#include "ChartPictures.h"

namespace zerin::ui {

namespace {

// An empty chart until one is set: the widget takes focus so that a screen reader reaches it.
void ReadyChart(QWidget& chart, const char* name) {
    chart.setObjectName(QLatin1String(name));
    chart.setFocusPolicy(Qt::StrongFocus);
    chart.setMinimumSize(420, 300);
    chart.setLayoutDirection(Qt::RightToLeft);
}

void Name(QWidget& chart, const std::string& name, const std::string& description) {
    chart.setAccessibleName(QString::fromStdString(name));
    chart.setAccessibleDescription(QString::fromStdString(description));
    chart.setToolTip(QString::fromStdString(description));
}

}  // namespace

SunDayChart::SunDayChart(QWidget* parent) : QWidget(parent) {
    ReadyChart(*this, "ChtSunDay");
}

void SunDayChart::SetChart(const services::DayChart& chart) {
    chart_ = chart;
    Name(*this, chart.name, chart.description);
    update();
}

void SunDayChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!chart_.curve.empty()) PaintDayChart(p, chart_, size());
}

SkyChart::SkyChart(QWidget* parent) : QWidget(parent) {
    ReadyChart(*this, "ChtSky");
}

void SkyChart::SetChart(const services::SkyChart& chart) {
    chart_ = chart;
    Name(*this, chart.name, chart.description);
    update();
}

void SkyChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!chart_.bodies.empty()) PaintSkyChart(p, chart_, size());
}

QWidget* NewReportChart(const Observer& observer, Body body, QWidget* parent) {
    services::ReportChart chart = services::ChartOfReport(observer, body);
    if (chart.day) {
        auto* day = new SunDayChart(parent);
        day->SetChart(*chart.day);
        return day;
    }
    if (chart.sky) {
        auto* sky = new SkyChart(parent);
        sky->SetChart(*chart.sky);
        return sky;
    }
    auto* why =
        new QLabel(QStringLiteral("تعذّر الرسم: ") + QString::fromStdString(chart.problem), parent);
    why->setObjectName(QStringLiteral("LblNoChart"));
    why->setWordWrap(true);
    return why;
}

}  // namespace zerin::ui
