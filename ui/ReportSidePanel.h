// A side panel of the report window, which the user may hide: beside the Sun's report the day's
// times on the local clock (summer time added), as the timetable gives them; below them, room
// for what else shows the day (a chart of the Sun's course).
#pragma once

#include <QFrame>
#include <QString>

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
    // Nothing to show (a report of another body).
    void Clear();
    bool HasContent() const { return hasContent_; }
    // Puts a widget below the times; the panel takes it.
    void AddBelow(QWidget* widget);
    // A time as it is shown, by its name ("الفجر"); empty when the panel has none.
    QString TimeOf(const QString& name) const;

  signals:
    void contentChanged();

  private:
    void SetContent(bool has);

    QLabel* title_ = nullptr;
    QLabel* clock_ = nullptr;
    QGridLayout* times_ = nullptr;
    QLabel* note_ = nullptr;
    QVBoxLayout* layout_ = nullptr;
    bool hasContent_ = false;
};

}  // namespace zerin::ui
