#include "ReportBox.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>

namespace zerin::ui {

namespace {

constexpr QChar kLeftToRightIsolate(0x2066);
constexpr QChar kPopIsolate(0x2069);
// The character property of the marks the box inserts for display.
constexpr int kDisplayMark = QTextFormat::UserProperty + 1;

// A number with its sign or its exponent (NumText's forms: "-5.66666666666667",
// "1.5E-05"); a sign after a letter, a digit or a closing bracket is an operator.
const QRegularExpression& NumberToIsolate() {
    static const QRegularExpression number(QStringLiteral(
        R"((?<![\w.)])[-+](?:\d+\.?\d*|\.\d+)(?:E[-+]?\d+)?|(?<![\w.])(?:\d+\.?\d*|\.\d+)E[-+]?\d+)"));
    return number;
}

bool IsDisplayMark(QChar c) {
    return c == kLeftToRightIsolate || c == kPopIsolate;
}

// The text of one piece of a paragraph, without the marks the box inserted there.
QString WithoutDisplayMarks(const QString& text, const QTextCharFormat& format) {
    if (!format.boolProperty(kDisplayMark)) return text;
    QString kept = text;
    kept.removeIf(IsDisplayMark);
    return kept;
}

}  // namespace

ReportBox::ReportBox(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(false);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    SetWrapping(true);
}

void ReportBox::IsolateNumbers(const QTextBlock& block) {
    const QString text = block.text();
    QList<QRegularExpressionMatch> matches;
    for (const QRegularExpressionMatch& match : NumberToIsolate().globalMatch(text))
        matches.prepend(match);  // from the end, so that earlier positions hold
    QTextCursor cursor(document());
    for (const QRegularExpressionMatch& match : matches) {
        cursor.setPosition(block.position() + int(match.capturedEnd()));
        QTextCharFormat mark = cursor.charFormat();
        mark.setProperty(kDisplayMark, true);
        cursor.insertText(QString(kPopIsolate), mark);
        cursor.setPosition(block.position() + int(match.capturedStart()));
        cursor.insertText(QString(kLeftToRightIsolate), mark);
    }
}

QString ReportBox::PlainText(int from, int to) const {
    QString text;
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        for (auto piece = block.begin(); !piece.atEnd(); ++piece) {
            const QTextFragment fragment = piece.fragment();
            const int start = std::max(from, fragment.position());
            const int end = std::min(to, fragment.position() + fragment.length());
            if (start >= end) continue;
            text +=
                WithoutDisplayMarks(fragment.text().mid(start - fragment.position(), end - start),
                                    fragment.charFormat());
        }
        const int separator = block.position() + block.length() - 1;
        if (block.next().isValid() && separator >= from && separator < to)
            text += QLatin1String("\r\n");
    }
    return text;
}

QString ReportBox::Text() const {
    return PlainText(0, document()->characterCount() - 1);
}

void ReportBox::CopyReport() {
    const QTextCursor selection = textCursor();
    QApplication::clipboard()->setText(
        selection.hasSelection() ? PlainText(selection.selectionStart(), selection.selectionEnd())
                                 : Text());
}

void ReportBox::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        CopyReport();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

bool ReportBox::Wrapping() const {
    return lineWrapMode() != QTextEdit::NoWrap;
}

void ReportBox::SetWrapping(bool wrap) {
    setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
}

QMimeData* ReportBox::createMimeDataFromSelection() const {
    const QTextCursor selection = textCursor();
    auto* data = new QMimeData;
    data->setText(PlainText(selection.selectionStart(), selection.selectionEnd()));
    return data;
}

void ReportBox::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu(event->pos());
    menu->addSeparator();
    QAction* wrap = menu->addAction(QStringLiteral("التفاف الأسطر الطويلة"));
    wrap->setObjectName(QStringLiteral("ActWrap"));
    wrap->setCheckable(true);
    wrap->setChecked(Wrapping());
    connect(wrap, &QAction::toggled, this, &ReportBox::SetWrapping);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

}  // namespace zerin::ui
