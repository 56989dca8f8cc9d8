// The line under the main window's place fields: the place, the zone and the summer time as
// the calculation will take them, in words, kept up to date as the user types, and the fields
// whose text is not wholly a number.
#pragma once

#include <QLabel>
#include <memory>
#include <string>
#include <vector>

#include "PlaceInput.h"
#include "ZoneClock.h"

namespace zerin::ui {

// A field of the window, as the line names it.
using FieldText = std::string FieldTexts::*;

class PlaceReading : public QLabel {
    Q_OBJECT

  public:
    explicit PlaceReading(QWidget* parent = nullptr);

    // Reads the fields (as the window reads them: a comma between digits already a period)
    // and shows the line: "٣٤° ٣٠′ شمالاً، ٦° ٥٠′ ٣٠″ غرباً، التوقيت: Africa/Casablanca
    // (UTC+00:00 في هذا التاريخ)"; `zoneName` is the zone of the database the place keeps,
    // empty for the zone field's hours. Returns the fields whose text is not wholly a number.
    std::vector<FieldText> Show(const services::FieldOptions& fields, const std::string& zoneName);

  private:
    QString ClockPart(const services::FieldOptions& fields, const std::string& zoneName);

    std::string clockName_;  // the zone of clock_, read once for all the keystrokes
    std::unique_ptr<services::ZoneClock> clock_;
};

// The digits of a text as Arabic-Indic digits, the period as the Arabic decimal separator.
QString ArabicIndic(const QString& text);

// An angle as the line writes it: "٦° ٥٠′ ٣٠″ غرباً" (the calculation's signs: West and North
// positive), without the seconds when they are 0.
QString AngleInWords(double degrees, bool latitude);

// The field's name for a message: "خط العرض، الدقيقة".
QString FieldCaption(FieldText field);

}  // namespace zerin::ui
