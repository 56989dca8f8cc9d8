// The timetable window: the prayer times of the main window's place for a month or a whole
// year, on the main window's zone or on a zone of the system's time-zone database, in a
// right-to-left grid with the day at the right; printed, saved as PDF, or saved as the CSV of
// `zerin times --csv` or the calendar of `zerin times --ics`; the Sun's day of a row drawn as a
// chart.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Look.h"
#include "PlaceInput.h"
#include "TimesPdf.h"
#include "TimetableSheet.h"
#include "math/Errors.h"

class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QListView;
class QPushButton;
class QRadioButton;
class QSortFilterProxyModel;
class QSpinBox;
class QStandardItemModel;
class QTableWidget;

namespace zerin::ui {

class FrmTimetable : public QDialog {
    Q_OBJECT

  public:
    // Shows a dialog (the print dialog) modally and returns when it is closed.
    using ModalRunner = std::function<void(QDialog&)>;
    // The file to save to, proposed suggested and filtered by filter; empty when the user gives
    // none.
    using PathChooser = std::function<QString(const QString& suggested, const QString& filter)>;

    FrmTimetable(Messenger& messenger, const services::FieldOptions& place,
                 QWidget* parent = nullptr);

    void SetModalRunner(ModalRunner runner) { showModal_ = std::move(runner); }
    void SetPathChooser(PathChooser chooser) { choosePath_ = std::move(chooser); }
    // The role of the zone list's entries that holds the zone's name in the database; the
    // entries show it with the zone's city and country in Arabic.
    static constexpr int kZoneIdRole = Qt::UserRole + 2;

    // The place picked in the main window's search: its name in the name field, and its zone
    // chosen in the list (none: the main window's zone stays).
    void SetPlace(const QString& name, const QString& zone);

    // The options of the table shown, as `zerin times` takes them (no format), and the job the
    // printing draws; empty and none while the window shows why no table can be made.
    const std::vector<std::string>& TimesArgs() const { return args_; }
    const std::optional<services::TimetableJob>& Job() const { return job_; }

  private:
    void BuildControls();
    void FitScreen();
    QWidget* BuildOptions();
    QWidget* BuildZoneChoice();
    QLayout* BuildTable();
    QLayout* BuildCommands();
    void FillZones();
    void FilterZones(const QString& text);
    void PickFirstZone();
    QString ChosenZone() const;

    void Recompute();
    // The method the zone's country publishes, until the user chooses one.
    void FollowZoneMethod();
    // The job of the widgets and the main window's fields, and the same table as the options of
    // `zerin times` (written for the user, never read back); false with why when none can be made.
    bool MakeOptions(std::vector<std::string>& args, services::TimetableJob& job,
                     QString& why) const;
    void ShowSheet(const TimetableSheet& sheet);
    void ShowProblem(const QString& text);

    QString SuggestedPath(const QString& suffix) const;
    void ShowSaved(const QString& path);
    // Tells that the timetable could not be saved to path, and why.
    void SaveFailed(const QString& path, const std::string& arabic, const std::string& english);
    void Print();
    void SavePdf();
    void SaveCsv();
    // The options asked in DlgCalendar, then the calendar of `zerin times --ics`.
    void SaveCalendar();
    // The Sun's day of the selected row (the first when none is), in a dialog of its own.
    void ShowDayChart();

    Messenger& messenger_;
    const services::FieldOptions place_;
    ModalRunner showModal_;
    PathChooser choosePath_;
    std::vector<std::string> args_;
    std::optional<services::TimetableJob> job_;
    QString notes_;                          // under the grid: why cells are empty or marked
    std::vector<services::Civil> rowDates_;  // the date of each row of the grid

    QLineEdit* TxtPlaceName = nullptr;
    QLabel* LblPlace = nullptr;
    QRadioButton *OptMonth = nullptr, *OptYear = nullptr;
    QComboBox* CboMonth = nullptr;
    QSpinBox* SpnYear = nullptr;
    QRadioButton *OptZoneFields = nullptr, *OptZoneList = nullptr;
    QLineEdit* TxtZoneSearch = nullptr;
    QListView* LstZones = nullptr;
    QStandardItemModel* zones_ = nullptr;
    QSortFilterProxyModel* shownZones_ = nullptr;
    QComboBox *CboHighLat = nullptr, *CboAsr = nullptr, *CboHijri = nullptr;
    QComboBox* CboMethod = nullptr;      // the authorities' methods, by their Arabic names
    bool methodChosen_ = false;          // the user chose the method: the zone no longer does
    ElidedLabel* LblSummary = nullptr;   // the settings in one line
    QPushButton* CmdSettings = nullptr;  // shows them whole
    QLabel* LblHeader = nullptr;
    QTableWidget* GrdTimes = nullptr;
    QLabel* LblNotes = nullptr;
    QPushButton *CmdPrint = nullptr, *CmdPdf = nullptr, *CmdCsv = nullptr, *CmdIcs = nullptr,
                *CmdChart = nullptr, *CmdClose = nullptr;
};

}  // namespace zerin::ui
