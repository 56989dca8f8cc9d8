// The program's Arabic look: the fonts the windows name mapped to installed families, the
// right-to-left layout, the title of the windows and message boxes, and the skin (a Qt
// style sheet read from Paper.skn beside the program).
#pragma once

#include <QFont>
#include <QLabel>
#include <QString>
#include <QStringList>
#include <memory>

class QApplication;
class QPushButton;
class QWidget;

namespace zerin::ui {

// Text that reads left to right inside a right-to-left line ("-1", "UTC+01:00", a path, a Latin
// name): services::Isolated for the windows' texts.
QString Isolated(const QString& text);

// A label of one line: the text cut short with an ellipsis at the label's width (as it is
// resized), whole in its tooltip and for a screen reader.
class ElidedLabel : public QLabel {
  public:
    using QLabel::QLabel;
    void SetLine(const QString& line);
    QString Line() const { return line_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QString line_;
};

// The name shown in window titles and message boxes.
QString AppTitle();

// Maps the windows' font names to installed Arabic families, lays every window out right
// to left, gives Qt's own texts (OK, Copy, Select All...) in Arabic and names the
// application. Call once, after the QApplication exists.
void SetUpArabicLook(QApplication& app);

// Installs Qt's Arabic translations (qtbase_ar.qm of the Qt installation); false when
// they cannot be read, and Qt's texts stay in English.
bool LoadQtArabicTexts(QApplication& app);

// A font by the name the windows use for it ("Tahoma", "Arabic Transparent"...), in points.
QFont PartFont(const QString& family, double points, bool bold = false);

// A command button named name, with its caption in bold "Tahoma" of the given size; it
// never takes Return for itself.
QPushButton* PartButton(QWidget* parent, const char* name, const QString& caption, double points);

inline constexpr const char* kSkinFileName = "Paper.skn";

// The style sheet of the first Paper.skn of folders that can be read, or the built-in
// copy of the same sheet when each is missing, unreadable, empty or not UTF-8 text.
QString SkinSheet(const QStringList& folders);

// Where the program's data (the skin, the coastlines) is looked for: beside the program, then in
// the data folder of an installed program (bin/../share/zerin).
QStringList DataFolders();

// Gives window the skin.
void ApplySkin(QWidget& window);

// An application of the module's own, on Qt's offscreen platform with the Arabic look, for a
// picture drawn without a display (the command line's); null when an application runs already.
// Qt's warnings go to standard error, its notes on the desktop session it lacks do not.
std::unique_ptr<QApplication> OffscreenApplication();

}  // namespace zerin::ui
