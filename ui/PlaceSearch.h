// The main window's place search: a field where a town's name is typed in Arabic or Latin
// letters, a drop-down of the matches (Return takes the first), and a button that saves the
// window's place under the typed name among the user's own places.
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "Gazetteer.h"
#include "math/Errors.h"

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
    QPushButton* SaveButton() const { return save_; }
    QLabel* Status() const { return status_; }
    // The matches the drop-down shows, as it shows them.
    QStringList Shown() const;
    bool Loaded() const { return loaded_; }

    // Takes the first match of the field's text, as Return does.
    void PickFirst();
    // The window's place is no longer the one picked: its name leaves the status.
    void ForgetPick();

  signals:
    void picked(const zerin::places::GazetteerPlace& place);

  private:
    void Refresh(const QString& text);
    void Pick(std::size_t row);
    void Save();
    void ShowStatus(const QString& text, bool problem);

    Messenger& messenger_;
    places::Gazetteer gazetteer_;
    bool loaded_ = false;
    std::vector<places::GazetteerPlace> matches_;
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

// A match as the drop-down shows it: "الرباط — Rabat، المغرب".
QString MatchLabel(const places::GazetteerPlace& place);

}  // namespace zerin::ui
