// A side panel of the report window, which the user may hide: beside the Sun's report the day's
// times on the local clock (summer time added), as the timetable gives them, and the chart of
// the Sun's day; beside the Moon's and a planet's, the chart of the sky with the body in it.
#pragma once

#include <QFrame>
#include <QString>
#include <vector>

#include "TimesTable.h"

class QGridLayout;
class QLabel;
class QVBoxLayout;

namespace zerin::ui {

class ReportSidePanel : public QFrame {
    Q_OBJECT

  public:
    explicit ReportSidePanel(QWidget* parent = nullptr);

    // The first day of the request as `zerin times` computes it, each time "HH:MM" on its clock,
    // or why there is none.
    void ShowDay(const services::TimesRequest& request);
    // Nothing to show (the preface, a report without a chart): the times and the chart go.
    void Clear();
    bool HasContent() const { return timesShown_ || chart_; }
    // Shows a chart below the times (alone when there are none); the panel takes it.
    void ShowChart(QWidget* chart);
    QWidget* Chart() const { return chart_; }
    // A time as it is shown, by its name ("الفجر"); empty when the panel has none.
    QString TimeOf(const QString& name) const;

  signals:
    void contentChanged();

  private:
    QWidget* timesBox_ = nullptr;  // the title, the clock, the times and the note
    QWidget* chart_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* clock_ = nullptr;
    std::vector<QLabel*> names_, times_;  // each time's name and its text
    QLabel* note_ = nullptr;
    QVBoxLayout* layout_ = nullptr;
    bool timesShown_ = false;
};

}  // namespace zerin::ui
