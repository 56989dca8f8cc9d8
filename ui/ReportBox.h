// The report window's text box: the report as its text, each signed number shown with
// its sign before its digits inside the right-to-left lines, long lines wrapped at the
// box's width (or not, from the box's menu).
#pragma once

#include <QTextEdit>

namespace zerin::ui {

class ReportBox : public QTextEdit {
    Q_OBJECT

  public:
    explicit ReportBox(QWidget* parent = nullptr);

    // Marks off, for display only, each signed number of the paragraph (and each number
    // with an exponent) with a left-to-right isolate, so that a right-to-left line shows
    // "Lon = -5.66666666666667" rather than "Lon = 5.66666666666667-". The marks never
    // reach Text(), the clipboard or a saved file.
    void IsolateNumbers(const QTextBlock& block);

    // The text from position from to position to as the report holds it: without the
    // display marks, with CR LF between paragraphs.
    QString PlainText(int from, int to) const;
    // The whole text, with the user's edits.
    QString Text() const;

    // Puts the selected text on the clipboard, or the whole text when none is selected.
    void CopyReport();

    bool Wrapping() const;
    void SetWrapping(bool wrap);

  protected:
    // What a copy or a drag carries: the selected text without the display marks.
    QMimeData* createMimeDataFromSelection() const override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace zerin::ui
