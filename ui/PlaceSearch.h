// The main window's place search: a field where a town's name is typed in Arabic or Latin
// letters, a drop-down of the matches (the places picked last first, offered before anything is
// typed; Return takes the highlighted match), and a button that saves the window's place under
// the typed name among the user's own places.
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "Gazetteer.h"
#include "math/Errors.h"

class QAbstractItemView;
class QCompleter;
class QLabel;
class QLineEdit;
class QPushButton;
class QStringListModel;

namespace zerin::ui {

class PlaceSearch : public QWidget {
    Q_OBJECT

  public:
    // The gazetteer is read from the first of the folders that holds it, the own places
    // from the user's data folder; a problem shows beside the field (the search still takes
    // what could be read).
    PlaceSearch(Messenger& messenger, const QStringList& folders, QWidget* parent = nullptr);

    // The window's place as it stands, to be saved under a name.
    using CurrentPlace = std::function<bool(places::GazetteerPlace& place, QString& why)>;
    void SetCurrentPlace(CurrentPlace current) { current_ = std::move(current); }

    QLineEdit* Field() const { return edit_; }
    QAbstractItemView* Popup() const;
    QPushButton* SaveButton() const { return save_; }
    QLabel* Status() const { return status_; }
    // The matches the drop-down shows, as it shows them.
    QStringList Shown() const;
    bool Loaded() const { return loaded_; }

    // Takes the first match of the field's text, as Return does when no match is highlighted.
    void PickFirst();
    // Takes the match the drop-down highlights (the first, until the arrows or the pointer
    // move the highlight), as Return does.
    void PickHighlighted();
    // Shows the places picked last, as a click in the empty field does.
    void OfferRecent();
    // The window's place is no longer the one picked: its name leaves the status.
    void ForgetPick();

  signals:
    void picked(const zerin::places::GazetteerPlace& place);

  private:
    void Refresh(const QString& text);
    void ShowMatches();
    void Pick(std::size_t row);
    void Save();
    void ShowStatus(const QString& text, bool problem);

    Messenger& messenger_;
    places::Gazetteer gazetteer_;
    bool loaded_ = false;
    std::vector<places::GazetteerPlace> matches_;
    std::vector<places::GazetteerPlace> recent_;  // the places picked last, the latest first
    bool latinQuery_ = false;                     // the text typed is in Latin letters
    CurrentPlace current_;
    QLineEdit* edit_ = nullptr;
    QCompleter* completer_ = nullptr;
    QStringListModel* model_ = nullptr;
    QPushButton* save_ = nullptr;
    QLabel* status_ = nullptr;
    bool justPicked_ = false;
    bool pickShown_ = false;  // the status names the place picked
};

// The clock an own place keeps, as the save says it: "بتوقيت Africa/Casablanca", or a fixed
// offset "بتوقيت UTC+01:00 الثابت" for whole hours (the program's sign, East negative).
QString StoredClock(const std::string& zone);

// A place as the status shows it: "الرباط، المغرب" (with its Latin name, "الرباط — Rabat،
// المغرب", when latin); its region (or, without one, distance and direction from the nearest
// larger town, `beside`) before the country when given.
QString MatchLabel(const places::GazetteerPlace& place, bool latin = false,
                   const QString& beside = {});

// The matches as the drop-down shows them: towns of one name in one country told apart by
// their regions, or where the regions do not tell them apart by the distance and direction
// from the nearest larger town.
QStringList MatchLabels(const std::vector<places::GazetteerPlace>& matches,
                        const places::Gazetteer& gazetteer, bool latin);

}  // namespace zerin::ui
