#include "FrmCalc.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextLayout>
#include <QUrl>
#include <QVBoxLayout>

#include "Look.h"
#include "ReadAloud.h"
#include "ReportBox.h"
#include "ReportFile.h"
#include "ReportSidePanel.h"

namespace zerin::ui {

namespace {

// Twips of the window's design (15 to a pixel at 96 dpi) as pixels.
constexpr int Px(int twips) {
    return twips / 15;
}

// A paragraph reads right to left when it holds a right-to-left letter (Arabic).
bool ReadsRightToLeft(const QString& paragraph) {
    for (const QChar c : paragraph) {
        const QChar::Direction d = c.direction();
        if (d == QChar::DirR || d == QChar::DirAL) return true;
    }
    return false;
}

bool OpenWithDesktop(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace

FrmCalc::FrmCalc(Messenger& messenger, QWidget* parent)
    : QDialog(parent),
      messenger_(messenger),
      saveFolders_(DefaultSaveFolders()),
      opener_(OpenWithDesktop) {
    setObjectName(QStringLiteral("FrmCalc"));
    setWindowTitle(QStringLiteral("التقرير"));
    setAttribute(Qt::WA_StyledBackground);
    BuildControls();
    ReadyToReadAloud(*this);
    ApplySkin(*this);
}

void FrmCalc::BuildControls() {
    TxtOut = new ReportBox(this);
    TxtOut->setObjectName(QStringLiteral("TxtOut"));
    TxtOut->setAccessibleName(QStringLiteral("التقرير"));
    TxtOut->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TxtOut->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TxtOut->setTabChangesFocus(true);
    TxtOut->setLayoutDirection(Qt::RightToLeft);
    TxtOut->setFont(PartFont(QStringLiteral("Arabic Transparent"), 14.25, true));
    // The box's own colours, whatever the skin says.
    TxtOut->setStyleSheet(QStringLiteral(
        "QTextEdit#TxtOut { background-color: rgb(94, 131, 162); color: rgb(252, 255, 217);"
        " selection-background-color: rgb(252, 255, 217); selection-color: rgb(94, 131, 162);"
        " border: 1px solid rgb(62, 92, 118); }"));
    TxtOut->setMinimumSize(Px(10500), Px(6690));
    connect(TxtOut->horizontalScrollBar(), &QScrollBar::rangeChanged, this,
            [this] { KeepStartInView(edge_); });
    connect(TxtOut->horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this] { keepStart_ = false; });

    CmdCopy = PartButton(this, "CmdCopy", QStringLiteral("نسخ"), 9.75);
    CmdCopy->setMinimumSize(Px(1275), Px(555));
    connect(CmdCopy, &QPushButton::clicked, this, &FrmCalc::SaveAndOpen);
    CmdExit = PartButton(this, "CmdExit", QStringLiteral("إنهاء"), 8.25);
    CmdExit->setMinimumSize(Px(1320), Px(510));
    connect(CmdExit, &QPushButton::clicked, this, &QDialog::reject);
    const QKeySequence copyKey(Qt::CTRL | Qt::Key_C);
    SetCommandKey(CmdCopy, QKeySequence(Qt::CTRL | Qt::Key_S),
                  QStringLiteral("حفظ التقرير في SysReg.txt وفتحه في المحرر"));
    CmdCopy->setToolTip(
        CmdCopy->toolTip() + QLatin1Char('\n') +
        TipWithKey(QStringLiteral("نسخ المحدد من التقرير، أو التقرير كله، إلى الحافظة"), copyKey));
    CmdExit->setToolTip(TipWithKey(QStringLiteral("إغلاق النافذة"), QKeySequence(Qt::Key_Escape)));
    // Ctrl+C copies from the report wherever the focus is in the window.
    connect(new QShortcut(copyKey, this), &QShortcut::activated, TxtOut, &ReportBox::CopyReport);

    LblClockNote = new QLabel(this);
    LblClockNote->setObjectName(QStringLiteral("LblClockNote"));
    LblClockNote->setProperty("skin", QStringLiteral("heading"));
    LblClockNote->setWordWrap(true);
    LblClockNote->hide();
    side_ = new ReportSidePanel(this);
    side_->hide();
    CmdSide = PartButton(this, "CmdSide", QStringLiteral("الرسم والأوقات"), 8.25);
    CmdSide->setCheckable(true);
    CmdSide->setChecked(true);
    CmdSide->setToolTip(QStringLiteral(
        "إظهار الرسم بجانب التقرير، وأوقات اليوم بساعة المكان بجانب تقرير الشمس، أو إخفاؤهما"));
    connect(CmdSide, &QPushButton::toggled, this, &FrmCalc::ShowSidePanel);
    connect(side_, &ReportSidePanel::contentChanged, this, &FrmCalc::ShowSidePanel);
    ShowSidePanel();

    // Right to left: the exit command at the right, the save command at the left; the report,
    // then its side panel at its left.
    auto* commands = new QHBoxLayout;
    commands->addWidget(CmdExit);
    commands->addStretch();
    commands->addWidget(CmdSide);
    commands->addWidget(CmdCopy);
    auto* report = new QHBoxLayout;
    report->addWidget(TxtOut, 1);
    report->addWidget(side_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Px(45), Px(45), Px(45), Px(45));
    layout->setSpacing(Px(60));
    layout->addWidget(LblClockNote);
    layout->addLayout(report, 1);
    layout->addLayout(commands);
    setTabOrder(TxtOut, CmdExit);
    setTabOrder(CmdExit, CmdSide);
    setTabOrder(CmdSide, CmdCopy);
}

void FrmCalc::ShowSidePanel() {
    CmdSide->setVisible(side_->HasContent());
    side_->setVisible(side_->HasContent() && CmdSide->isChecked());
}

void FrmCalc::SetClockNote(const QString& note) {
    LblClockNote->setText(note);
    LblClockNote->setAccessibleName(note);
    LblClockNote->setVisible(!note.isEmpty());
}

void FrmCalc::Prepare() {
    ensurePolished();
    for (QWidget* child : findChildren<QWidget*>()) child->ensurePolished();
    QTextLayout sample(QStringLiteral("حساب التقويم Lon = 5.66666666666667"), TxtOut->font());
    sample.beginLayout();
    sample.createLine();
    sample.endLayout();
    winId();
}

void FrmCalc::SetReportName(const QString& name) {
    TxtOut->setAccessibleName(name);
}

void FrmCalc::SetReport(const QString& text, Edge edge) {
    TxtOut->setPlainText(text);
    FormatParagraphs(edge);
    edge_ = edge;
    keepStart_ = true;
    KeepStartInView(edge);
    TxtOut->verticalScrollBar()->setValue(0);
}

void FrmCalc::FormatParagraphs(Edge edge) {
    QTextDocument* document = TxtOut->document();
    const Qt::Alignment alignment =
        Qt::AlignAbsolute | (edge == Edge::Left ? Qt::AlignLeft : Qt::AlignRight);
    // Formats are display only: they are not the user's edits, nor undoable.
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const bool rightToLeft = ReadsRightToLeft(block.text());
        QTextBlockFormat format;
        format.setAlignment(alignment);
        format.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
        if (rightToLeft) TxtOut->IsolateNumbers(block);
    }
    cursor.endEditBlock();
    document->setUndoRedoEnabled(true);
    document->setModified(false);
    cursor.setPosition(0);
    TxtOut->setTextCursor(cursor);
}

void FrmCalc::KeepStartInView(Edge edge) {
    if (!keepStart_) return;
    // In a right-to-left box the scroll bar's maximum shows the left edge.
    QScrollBar* bar = TxtOut->horizontalScrollBar();
    bar->setValue(edge == Edge::Left ? bar->maximum() : bar->minimum());
}

QString FrmCalc::Text() const {
    return TxtOut->Text();
}

void FrmCalc::SaveAndOpen() {
    const SaveOutcome outcome = SaveReportFile(Text(), saveFolders_);
    if (!outcome.Saved()) {
        messenger_.critical(SaveFailedMessage(outcome));
        return;
    }
    if (!opener_(outcome.savedPath)) messenger_.critical(OpenFailedMessage(outcome.savedPath));
}

}  // namespace zerin::ui
