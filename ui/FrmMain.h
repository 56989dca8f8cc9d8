// The main window: the observer's place, the time zone, the summer-time correction, the
// date and the time, and the commands: the Sun, the Moon and the eight planets (enabled
// by the first Sun computation), the preface, the About window and the exit.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "FrmCalc.h"
#include "Gazetteer.h"
#include "report/Commands.h"

class QComboBox;
class QDialog;
class QKeyEvent;
class QLayout;
class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zerin::ui {

class HijriBox;
class PickList;
class PlaceReading;
class PlaceSearch;

class FrmMain : public QWidget {
    Q_OBJECT

  public:
    // Shows a dialog modally and returns when it is closed.
    using ModalRunner = std::function<void(QDialog&)>;

    explicit FrmMain(Messenger& messenger, QWidget* parent = nullptr);

    void SetModalRunner(ModalRunner runner) { showModal_ = std::move(runner); }
    // The report window, created on first use and kept (hidden) between commands.
    FrmCalc& ReportWindow();
    PlaceSearch& Search() const { return *search_; }
    // The name of the place picked in the search while the place's fields still hold it.
    QString PlaceName() const;
    // The zone of the database of the place picked while the zone field still holds what the
    // pick (or the date since) put in it, whatever the coordinates; empty otherwise.
    std::string ZoneName() const;

  protected:
    bool event(QEvent* event) override;
    // Return or Enter that no field takes runs the Sun.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // A field of the window and the module's text it fills.
    struct Field {
        std::string FieldTexts::*text;
        QLineEdit* edit;
    };

    QWidget* BuildTitle();
    QFrame* BuildPlace();
    QFrame* BuildTime();
    QFrame* BuildCommands();
    QWidget* BuildHijri();
    QLayout* BuildCrescent();
    QLabel* SkinLabel(const QString& text, bool heading);
    PickList* NumberList(const char* name, int last, const char* font);
    QLineEdit* TextField(const char* name, const char* font, int width);
    QPushButton* Command(const char* name, const QString& caption);
    void ShowStartTexts();
    void SetReadingOrder();

    FieldTexts ReadFields() const;
    Outcome Compute(Body body, FieldTexts& entered);
    void ShowAdjustedDay(const FieldTexts& entered);
    QString ReportName(const QString& subject) const;
    // Shows the report of a subject (a command's caption), or the preface at the right edge;
    // beside a body's report (computed from `fields`) its chart, and beside the Sun's the day's
    // times on the local clock.
    void ShowReport(FrmCalc::Edge edge, const QString& subject, const FieldTexts* fields = nullptr,
                    std::optional<Body> body = std::nullopt);

    void OnSun();
    void OnBody(int index);
    void OnQibla();
    void OnCrescent();
    void OnCrescentMap();
    void OnInfo();
    void OnApropos();
    void OnTimetable();
    void OnMonth();
    void OnEast();
    void OnWest();
    void ProposeZone();
    void OnPlacePicked(const places::GazetteerPlace& place);
    bool CurrentPlace(places::GazetteerPlace& place, QString& why) const;
    // A sign typed in a field of the place (or a letter after its number) chooses the side.
    void TakeSide(QLineEdit* edit, bool longitude);
    // The line under the place and the marks of the fields that are not wholly a number.
    void RefreshReading();
    // The zone and summer time of the picked place's zone on the fields' date and time.
    void FollowClock();
    void ShowLocalTimes(FrmCalc& window, const FieldTexts& entered);

    Messenger& messenger_;
    Report reportText_;  // the latest command's report
    // The East and North options as chosen.
    bool IsEast = false, IsNorth = true;
    ModalRunner showModal_;
    FrmCalc* report_ = nullptr;
    std::vector<Field> fields_;
    int skinLabels_ = 0;
    bool painted_ = false;

    PickList *TxtDegLon = nullptr, *TxtMinLon = nullptr, *TxtSecLon = nullptr;
    PickList *TxtDegLat = nullptr, *TxtMinLat = nullptr, *TxtSecLat = nullptr;
    QRadioButton *OptE = nullptr, *OptW = nullptr, *OptN = nullptr, *OptS = nullptr;
    QLineEdit* TxtZone = nullptr;
    PickList* TxtEteRegl = nullptr;
    QLineEdit *TxtYear = nullptr, *TxtMonth = nullptr, *TxtDay = nullptr;
    QLineEdit *TxtHour = nullptr, *TxtMin = nullptr, *TxtSec = nullptr;
    QPushButton* CmdSun = nullptr;
    std::array<QPushButton*, 9> CmdPln{};
    QPushButton* CmdQibla = nullptr;
    QPushButton *CmdHilal = nullptr, *CmdCarte = nullptr;
    QRadioButton *OptSoir = nullptr, *OptMatin = nullptr;  // the crescent's evening or morning
    QPushButton *CmdInfo = nullptr, *CmdApropos = nullptr, *CmdExit = nullptr;
    QPushButton* CmdTimetable = nullptr;
    HijriBox* hijri_ = nullptr;  // the Hijri date of the fields' date, and its month's report
    PlaceSearch* search_ = nullptr;
    PlaceReading* reading_ = nullptr;
    std::optional<places::GazetteerPlace> place_;  // the place picked, and the fields it filled
    FieldTexts placeFields_;
    // The zone and summer time the place's zone put in their fields (at the pick, or as the date
    // moved since).
    QString zoneText_, summerText_;
    bool filling_ = false;  // a picked place fills the fields: the line waits for all of them
    bool placeEast_ = false, placeNorth_ = true;
};

}  // namespace zerin::ui
