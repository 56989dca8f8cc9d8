#include "FrmCarte.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <cmath>

#include "FileDevice.h"
#include "Look.h"
#include "ReadAloud.h"
#include "math/Angles.h"
#include "time/JulianDay.h"

namespace zerin::ui {

namespace {

// The map as the window shows it: three quarters of the picture's size.
constexpr int kShownWidth = 1128;

QString ChooseWithDialog(QWidget* parent, const QString& proposed) {
    return QFileDialog::getSaveFileName(parent, AppTitle(), proposed,
                                        QStringLiteral("PNG (*.png)"));
}

bool IsWhole(double x) {
    return std::isfinite(x) && x == std::floor(x);
}

}  // namespace

bool MapDateOf(FieldTexts fields, int& year, int& month, int& day, Message& refused) {
    AdjustDay(fields);
    const double y = ReadNumber(fields.TxtYear), m = ReadNumber(fields.TxtMonth),
                 d = ReadNumber(fields.TxtDay);
    const bool calendar = IsWhole(y) && IsWhole(m) && IsWhole(d) && y >= 1 && y <= 9999 && m >= 1 &&
                          m <= 12 && d >= 1 && d <= 31;
    if (!calendar || std::isnan(JulianDay(y, m, d))) {
        refused = {
            "لا ترسم الخريطة إلا ليوم من أيام التقويم بين السنة 1 و السنة 9999 ، و ليس من "
            "الأيام العشرة التي حذفها الإصلاح الغريغوري",
            "the map is drawn for a day of the calendar between the years 1 and 9999, "
            "outside the ten days the Gregorian reform dropped"};
        return false;
    }
    year = static_cast<int>(y);
    month = static_cast<int>(m);
    day = static_cast<int>(d);
    return true;
}

FrmCarte::FrmCarte(Messenger& messenger, CrescentMapGrid grid, QWidget* parent,
                   const QStringList& coastFolders)
    : QDialog(parent),
      messenger_(messenger),
      grid_(std::move(grid)),
      choosePath_(ChooseWithDialog) {
    setObjectName(QStringLiteral("FrmCarte"));
    setWindowTitle(QStringLiteral("خريطة الهلال"));
    setAttribute(Qt::WA_StyledBackground);

    ImgCarte = new QLabel(this);
    ImgCarte->setObjectName(QStringLiteral("ImgCarte"));
    ImgCarte->setAlignment(Qt::AlignCenter);

    OptYallop = new QRadioButton(QStringLiteral("معيار يالوب"), this);
    OptYallop->setObjectName(QStringLiteral("OptYallop"));
    OptOdeh = new QRadioButton(QStringLiteral("معيار عودة"), this);
    OptOdeh->setObjectName(QStringLiteral("OptOdeh"));
    for (QRadioButton* option : {OptYallop, OptOdeh})
        option->setFont(PartFont(QStringLiteral("Tahoma"), 10));
    auto* criteria = new QButtonGroup(this);
    criteria->addButton(OptYallop);
    criteria->addButton(OptOdeh);
    OptYallop->setChecked(true);
    connect(criteria, &QButtonGroup::buttonToggled, this, [this](QAbstractButton*, bool on) {
        if (on) Redraw();
    });

    CmdSave = PartButton(this, "CmdSave", QStringLiteral("حفظ الصورة"), 9.75);
    CmdSave->setMinimumSize(110, 34);
    connect(CmdSave, &QPushButton::clicked, this, &FrmCarte::SavePicture);
    CmdExit = PartButton(this, "CmdExit", QStringLiteral("إنهاء"), 8.25);
    CmdExit->setMinimumSize(90, 34);
    connect(CmdExit, &QPushButton::clicked, this, &QDialog::reject);
    SetCommandKey(CmdSave, QKeySequence(Qt::CTRL | Qt::Key_S),
                  QStringLiteral("حفظ الخريطة صورةً PNG"));
    CmdExit->setToolTip(TipWithKey(QStringLiteral("إغلاق النافذة"), QKeySequence(Qt::Key_Escape)));
    NameControl(ImgCarte,
                QStringLiteral("خريطة رؤية الهلال، ") +
                    (grid_.morning ? QStringLiteral("صباح ") : QStringLiteral("مساء ")) +
                    QStringLiteral("%1/%2/%3").arg(grid_.day).arg(grid_.month).arg(grid_.year));

    // The evening's own date, a day back or on.
    DteEvening = new QDateEdit(QDate(grid_.year, grid_.month, grid_.day), this);
    DteEvening->setObjectName(QStringLiteral("DteEvening"));
    DteEvening->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    DteEvening->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    // A date reads left to right: 2025-04-28, not 28-04-2025.
    DteEvening->setLocale(QLocale::c());
    DteEvening->setLayoutDirection(Qt::LeftToRight);
    DteEvening->setAccessibleName(QStringLiteral("تاريخ مساء الخريطة"));
    CmdPrevEvening = PartButton(this, "CmdPrevEvening", QStringLiteral("المساء السابق"), 9);
    CmdNextEvening = PartButton(this, "CmdNextEvening", QStringLiteral("المساء التالي"), 9);
    CmdPrevEvening->setAccessibleName(QStringLiteral("خريطة المساء السابق"));
    CmdNextEvening->setAccessibleName(QStringLiteral("خريطة المساء التالي"));
    if (grid_.morning) {
        CmdPrevEvening->setText(QStringLiteral("الصباح السابق"));
        CmdNextEvening->setText(QStringLiteral("الصباح التالي"));
        CmdPrevEvening->setAccessibleName(QStringLiteral("خريطة الصباح السابق"));
        CmdNextEvening->setAccessibleName(QStringLiteral("خريطة الصباح التالي"));
    }
    connect(CmdPrevEvening, &QPushButton::clicked, this, [this] { StepEvening(-1); });
    connect(CmdNextEvening, &QPushButton::clicked, this, [this] { StepEvening(1); });
    connect(DteEvening, &QDateEdit::editingFinished, this, [this] {
        const QDate d = DteEvening->date();
        if (d != QDate(grid_.year, grid_.month, grid_.day)) ShowDate(d.year(), d.month(), d.day());
    });
    auto* dates = new QHBoxLayout;
    dates->addWidget(CmdPrevEvening);
    dates->addWidget(DteEvening);
    dates->addWidget(CmdNextEvening);
    dates->addStretch();

    // Right to left: the criteria at the right, the exit command at the far left.
    auto* commands = new QHBoxLayout;
    commands->addWidget(OptYallop);
    commands->addWidget(OptOdeh);
    LblSaved = new ElidedLabel(this);
    LblSaved->setObjectName(QStringLiteral("LblSaved"));
    LblSaved->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    commands->addWidget(LblSaved, 1);
    commands->addWidget(CmdSave);
    commands->addWidget(CmdExit);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(dates);
    layout->addWidget(ImgCarte, 1);
    layout->addLayout(commands);
    setTabOrder(CmdPrevEvening, DteEvening);
    setTabOrder(DteEvening, CmdNextEvening);
    setTabOrder(CmdNextEvening, OptYallop);
    setTabOrder(OptYallop, OptOdeh);
    setTabOrder(OptOdeh, CmdSave);
    setTabOrder(CmdSave, CmdExit);
    ReadyToReadAloud(*this);
    ApplySkin(*this);

    QString error;
    if (!LoadCoastlines(coastFolders, coast_, error))
        messenger_.critical(
            {"تعذّرت قراءة خطوط السواحل ، فرُسمت الخريطة بدونها", error.toStdString()});
    Redraw();
}

Criterion FrmCarte::CurrentCriterion() const {
    return OptOdeh->isChecked() ? Criterion::Odeh : Criterion::Yallop;
}

void FrmCarte::SetPlace(double eastLongitude, double latitude, const QString& name) {
    mark_ = MapMark{eastLongitude, latitude, name};
    setWindowTitle(name.isEmpty() ? QStringLiteral("خريطة الهلال")
                                  : QStringLiteral("خريطة الهلال — ") + name);
    Redraw();
}

void FrmCarte::ShowDate(int year, int month, int day) {
    if (std::isnan(JulianDay(year, month, day)) || year < 1 || year > 9999) {
        messenger_.critical(
            {"لا ترسم الخريطة إلا ليوم من أيام التقويم بين السنة 1 و السنة 9999 ، و "
             "ليس من الأيام العشرة التي حذفها الإصلاح الغريغوري",
             "the map is drawn for a day of the calendar between the years 1 and "
             "9999, outside the ten days the Gregorian reform dropped"});
        const QSignalBlocker quiet(DteEvening);
        DteEvening->setDate(QDate(grid_.year, grid_.month, grid_.day));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    grid_ = CrescentMapOf(year, month, day, grid_.morning);
    QApplication::restoreOverrideCursor();
    const QSignalBlocker quiet(DteEvening);
    DteEvening->setDate(QDate(year, month, day));
    Redraw();
}

void FrmCarte::StepEvening(int days) {
    const QDate next = QDate(grid_.year, grid_.month, grid_.day).addDays(days);
    if (next.isValid()) ShowDate(next.year(), next.month(), next.day());
}

void FrmCarte::Redraw() {
    picture_ = CrescentMapImage(grid_, CurrentCriterion(), coast_, 4, mark_ ? &*mark_ : nullptr);
    ImgCarte->setPixmap(
        QPixmap::fromImage(picture_.scaledToWidth(kShownWidth, Qt::SmoothTransformation)));
}

void FrmCarte::SavePicture() {
    const QString name = QStringLiteral("crescent-%1-%2-%3-%4.png")
                             .arg(grid_.year, 4, 10, QLatin1Char('0'))
                             .arg(grid_.month, 2, 10, QLatin1Char('0'))
                             .arg(grid_.day, 2, 10, QLatin1Char('0'))
                             .arg(CurrentCriterion() == Criterion::Odeh ? "odeh" : "yallop");
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = choosePath_(this, QDir(folder).filePath(name));
    if (path.isEmpty()) return;
    FileError error;
    if (!WritePng(picture_, QFile::encodeName(path).toStdString(), error))
        return messenger_.critical(
            {error.ArabicMessage("تعذّر حفظ الخريطة في الملف"),
             "could not save the map as " + path.toStdString() + ": " + error.Reason()});
    LblSaved->SetLine(QStringLiteral("حُفظت الخريطة في ") +
                      Isolated(QDir::toNativeSeparators(path)));
}

}  // namespace zerin::ui
