// The crescent's map window: the map of one evening (or morning), its own date with the
// previous and next evenings, Yallop's or Odeh's criterion by choice, the main window's
// place marked, a command that saves the picture as a PNG file and one that closes the
// window.
#pragma once

#include <QDialog>
#include <QImage>
#include <functional>
#include <optional>

#include "CrescentMapImage.h"
#include "Look.h"
#include "crescent/CrescentMap.h"
#include "math/Errors.h"
#include "report/Fields.h"

class QDateEdit;
class QLabel;
class QPushButton;
class QRadioButton;

namespace zerin::ui {

// The date of the main window's fields as the map takes it (the day limited to the
// month's length first): false, with the message, when it is not a day of the calendar
// between the years 1 and 9999, or falls in the days the Gregorian reform dropped.
bool MapDateOf(FieldTexts fields, int& year, int& month, int& day, Message& refused);

class FrmCarte : public QDialog {
    Q_OBJECT

  public:
    // Chooses the file a map is saved to, from the path proposed; empty when cancelled.
    using PathChooser = std::function<QString(QWidget* parent, const QString& proposed)>;

    // The coastlines are read from coastFolders when the window opens; a message says so
    // when they cannot be.
    FrmCarte(Messenger& messenger, CrescentMapGrid grid, QWidget* parent = nullptr,
             const QStringList& coastFolders = DataFolders());

    void SetPathChooser(PathChooser chooser) { choosePath_ = std::move(chooser); }
    Criterion CurrentCriterion() const;
    const QImage& Picture() const { return picture_; }
    const CrescentMapGrid& Grid() const { return grid_; }

    // Marks a place on the map; a name, when given, is shown beside the mark and in the
    // window's title.
    void SetPlace(double eastLongitude, double latitude, const QString& name);

    // The map of another evening (morning): the date control and its two buttons.
    void ShowDate(int year, int month, int day);

  private:
    void Redraw();
    void SavePicture();
    void StepEvening(int days);

    Messenger& messenger_;
    CrescentMapGrid grid_;
    Coastlines coast_;
    QImage picture_;
    PathChooser choosePath_;
    QLabel* ImgCarte = nullptr;
    QRadioButton *OptYallop = nullptr, *OptOdeh = nullptr;
    QPushButton *CmdSave = nullptr, *CmdExit = nullptr;
    QDateEdit* DteEvening = nullptr;
    QPushButton *CmdPrevEvening = nullptr, *CmdNextEvening = nullptr;
    ElidedLabel* LblSaved = nullptr;  // where the picture went
    std::optional<MapMark> mark_;
};

}  // namespace zerin::ui
