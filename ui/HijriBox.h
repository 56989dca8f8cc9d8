// The main window's Hijri row: the Hijri date of the date in the window's fields by the
// rule the user chooses (Umm al-Qura by default), kept up to date as the fields change,
// and the command that reports the start of that Hijri month.
#pragma once

#include <QFrame>
#include <functional>
#include <memory>
#include <optional>

#include "hijri/HijriRules.h"
#include "math/Errors.h"
#include "report/Fields.h"
#include "report/Report.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace zerin::ui {

// The window's fields and hemisphere options as they are now.
struct WindowFields {
    FieldTexts texts;
    bool east = false, north = true;
};

class HijriBox : public QFrame {
    Q_OBJECT

  public:
    HijriBox(QWidget* parent, std::function<WindowFields()> read);

    // Shows the Hijri date of the fields' date again.
    void Refresh();
    // Appends the report of the start of the Hijri month shown (the sighting at the
    // fields' place); false, with the message sent, when there is none or it faulted.
    bool WriteMonthReport(Report& report, Messenger& messenger);

    QComboBox* RuleList() const { return CboHijriRule; }
    QPushButton* MonthCommand() const { return CmdMonth; }

  signals:
    void monthReportAsked();

  private:
    struct Choice {
        HijriRule rule;
        SightingCriterion criterion;
    };
    Choice Chosen() const;
    // The place of the fields; false with a message in Arabic when it cannot be read.
    bool ReadPlace(const WindowFields& fields, HijriPlace& place, Message& refused) const;
    HijriCalendar& CalendarFor(const Choice& choice, const HijriPlace& place);

    std::function<WindowFields()> read_;
    QLabel* LblHijri = nullptr;
    QComboBox* CboHijriRule = nullptr;
    QPushButton* CmdMonth = nullptr;
    std::unique_ptr<HijriCalendar> calendar_;  // of the last choice and place, kept for its cache
    std::optional<HijriDate> shown_;           // the Hijri date shown, if any
    Choice shownChoice_{HijriRule::UmmAlQura, SightingCriterion::Odeh};
};

}  // namespace zerin::ui
