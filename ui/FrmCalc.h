// The report window: the calculation report in the text box TxtOut, with a command that
// saves it as SysReg.txt and opens it in the desktop's editor, and one that hides the
// window. Hiding keeps the window and its text.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

#include "math/Errors.h"

class QLabel;
class QPushButton;

namespace zerin::ui {

class ReportBox;
class ReportSidePanel;

class FrmCalc : public QDialog {
    Q_OBJECT

  public:
    // Opens a saved file with the desktop's default application; false when it cannot.
    using Opener = std::function<bool(const QString& path)>;
    // Where a report text starts: a computation's report at the left edge (its formulas
    // read from there), the preface at the right edge.
    enum class Edge { Left, Right };

    explicit FrmCalc(Messenger& messenger, QWidget* parent = nullptr);

    // Puts text in TxtOut. Each paragraph reads in its own direction, for display only:
    // right to left when it holds Arabic letters, left to right when it is a formula; in
    // the right-to-left ones each signed number shows its sign before its digits.
    void SetReport(const QString& text, Edge edge);
    // Names TxtOut for a screen reader: what the report is of, and for when.
    void SetReportName(const QString& name);
    // TxtOut's text as the box holds it (the user may have edited it), with CR LF line ends.
    QString Text() const;

    // Loads what the first report needs (style, fonts), so that it shows at once.
    void Prepare();

    // The panel beside the report (the day's times on the local clock), shown when it has
    // something and the user has not hidden it.
    ReportSidePanel& SidePanel() const { return *side_; }
    // A line above the report saying which clock its times are on; empty: none.
    void SetClockNote(const QString& note);

    void SetSaveFolders(QStringList folders) { saveFolders_ = std::move(folders); }
    void SetOpener(Opener opener) { opener_ = std::move(opener); }

  private:
    void BuildControls();
    void FormatParagraphs(Edge edge);
    void KeepStartInView(Edge edge);
    void SaveAndOpen();
    void ShowSidePanel();

    Messenger& messenger_;
    ReportBox* TxtOut = nullptr;
    QLabel* LblClockNote = nullptr;
    ReportSidePanel* side_ = nullptr;
    QPushButton* CmdSide = nullptr;  // hides or shows the side panel
    QPushButton* CmdCopy = nullptr;
    QPushButton* CmdExit = nullptr;
    QStringList saveFolders_;
    Opener opener_;
    // The horizontal scroll keeps the report's starting edge in view until the user
    // scrolls sideways (the layout of a long report grows after it is shown).
    bool keepStart_ = false;
    Edge edge_ = Edge::Right;
};

}  // namespace zerin::ui
