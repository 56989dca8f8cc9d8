#include "FrmMain.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "Artwork.h"
#include "ChartWidgets.h"
#include "FrmApropos.h"
#include "FrmCarte.h"
#include "FrmTimetable.h"
#include "HijriBox.h"
#include "Look.h"
#include "Output.h"
#include "PickList.h"
#include "PlaceFields.h"
#include "PlaceInput.h"
#include "PlaceReading.h"
#include "PlaceSearch.h"
#include "ReadAloud.h"
#include "ReportSidePanel.h"
#include "TimesTable.h"
#include "TimetableSheet.h"
#include "WindowDrag.h"
#include "crescent/CrescentMap.h"
#include "crescent/CrescentReport.h"
#include "math/Angles.h"
#include "qibla/QiblaReport.h"
#include "report/NumText.h"
#include "report/Preface.h"

namespace zerin::ui {

namespace {

// The conventions of the place's signs, said to a screen reader and in the tooltips.
const char* const kLongitudeSigns = "خط الطول غرب غرينتش موجب، وشرقه سالب: اختر غرب أو شرق";
const char* const kLatitudeSigns = "خط العرض شمال خط الاستواء موجب، وجنوبه سالب: اختر شمال أو جنوب";

constexpr int kShownArtworkHeight = 176;

const char* const kBodyCaptions[9] = {"القمر", "عطارد",   "الزهرة", "المريخ", "المشتري",
                                      "زحل",   "أورانوس", "نبتون",  "بلوطون"};

// The Moon for index 0, then Mercury to Pluto.
Body BodyOfButton(int index) {
    return static_cast<Body>(static_cast<int>(Body::Moon) + index);
}

// A number as a field shows it: the report's conversion with a period, the only decimal
// separator the fields read.
QString FieldNumber(double x) {
    return QString::fromStdString(NumText(x, "."));
}

double FieldValue(const QLineEdit* edit) {
    return ReadNumber(edit->text().toStdString());
}

QFrame* NewFrame(QWidget* parent, const char* name) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(name));
    frame->setProperty("skin", QStringLiteral("frame"));
    return frame;
}

// The grid of captions and fields inside a frame.
QGridLayout* FieldGrid(QFrame* frame) {
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(14, 8, 14, 10);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    return grid;
}

// Tab stops at the chosen option of a group only (the arrow keys choose another), as in
// the usual desktop dialogs.
void TabStopAtChosen(QButtonGroup* group) {
    const auto update = [group] {
        for (QAbstractButton* button : group->buttons())
            button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    };
    QObject::connect(group, &QButtonGroup::buttonToggled, group, update);
    update();
}

// A field marked (or no longer) as holding text that is not wholly a number.
void MarkProblem(QWidget* widget, bool problem, const QString& why) {
    if (widget->property("problem").toBool() == problem) return;
    widget->setProperty("problem", problem);
    widget->setAccessibleDescription(problem ? why : QString());
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
}

// The place's fields and the zone: what makes the place a picked one.
bool IsPlaceField(std::string FieldTexts::*text) {
    for (const auto field : {&FieldTexts::TxtDegLon, &FieldTexts::TxtMinLon, &FieldTexts::TxtSecLon,
                             &FieldTexts::TxtDegLat, &FieldTexts::TxtMinLat, &FieldTexts::TxtSecLat,
                             &FieldTexts::TxtZone})
        if (text == field) return true;
    return false;
}

void ShowText(QLineEdit* edit, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    auto* list = qobject_cast<QComboBox*>(edit->parentWidget());
    const int entry = list ? list->findText(shown) : -1;
    if (entry >= 0)
        list->setCurrentIndex(entry);
    else
        edit->setText(shown);
}

}  // namespace

FrmMain::FrmMain(Messenger& messenger, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      messenger_(messenger),
      showModal_([](QDialog& dialog) { dialog.exec(); }) {
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(AppTitle());
    setAttribute(Qt::WA_StyledBackground);
    reportText_.SetDecimalSeparator(services::RegionalDecimalSeparator());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);
    layout->addWidget(BuildTitle(), 0, Qt::AlignHCenter);
    search_ = new PlaceSearch(messenger_, DataFolders(), this);
    layout->addWidget(search_);
    layout->addWidget(BuildPlace());
    reading_ = new PlaceReading(this);
    layout->addWidget(reading_);
    layout->addWidget(BuildTime());
    layout->addWidget(BuildHijri());
    layout->addWidget(BuildCommands());
    layout->setSizeConstraint(QLayout::SetFixedSize);

    ShowStartTexts();
    SetReadingOrder();
    setTabOrder(search_->SaveButton(), TxtDegLon);
    setTabOrder(search_->Field(), search_->SaveButton());
    ReadyToReadAloud(*this);
    connect(search_, &PlaceSearch::picked, this, &FrmMain::OnPlacePicked);
    search_->SetCurrentPlace(
        [this](places::GazetteerPlace& place, QString& why) { return CurrentPlace(place, why); });
    for (const Field& field : fields_) {
        connect(field.edit, &QLineEdit::textChanged, this, &FrmMain::RefreshReading);
        if (!IsPlaceField(field.text) && field.text != &FieldTexts::TxtEteRegl)
            connect(field.edit, &QLineEdit::textChanged, this, &FrmMain::FollowClock);
    }
    for (QLineEdit* edit : {TxtDegLon->lineEdit(), TxtMinLon->lineEdit(), TxtSecLon->lineEdit()})
        connect(edit, &QLineEdit::textEdited, this, [this, edit] { TakeSide(edit, true); });
    for (QLineEdit* edit : {TxtDegLat->lineEdit(), TxtMinLat->lineEdit(), TxtSecLat->lineEdit()})
        connect(edit, &QLineEdit::textEdited, this, [this, edit] { TakeSide(edit, false); });
    for (QRadioButton* option : {OptE, OptW, OptN, OptS})
        connect(option, &QRadioButton::clicked, this, &FrmMain::RefreshReading);
    RefreshReading();
    ApplySkin(*this);
    new WindowDrag(*this);
}

QWidget* FrmMain::BuildTitle() {
    auto* pic = new QFrame(this);
    pic->setObjectName(QStringLiteral("Pic"));
    auto* img = new QLabel(pic);
    img->setObjectName(QStringLiteral("Img"));
    // The bitmap shown smaller than it is drawn, so that the window with its lines fits a
    // laptop's screen (1366x720 free under its panel).
    const QImage artwork =
        TitleArtwork().scaledToHeight(kShownArtworkHeight, Qt::SmoothTransformation);
    img->setPixmap(QPixmap::fromImage(artwork));
    img->setFixedSize(artwork.size());
    auto* layout = new QVBoxLayout(pic);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(img);
    return pic;
}

QLabel* FrmMain::SkinLabel(const QString& text, bool heading) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("SkinLabel%1").arg(skinLabels_++));
    label->setProperty("skin", heading ? QStringLiteral("heading") : QStringLiteral("caption"));
    label->setFont(heading ? PartFont(QStringLiteral("Simplified Arabic"), 12, true)
                           : PartFont(QStringLiteral("MS Sans Serif"), 9));
    label->setAlignment(heading ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    return label;
}

PickList* FrmMain::NumberList(const char* name, int last, const char* font) {
    auto* list = new PickList(this);
    list->setObjectName(QLatin1String(name));
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setMaxVisibleItems(12);
    list->setFont(PartFont(QLatin1String(font), 10));
    list->setFixedWidth(74);
    QStringList entries;
    entries.reserve(last + 1);
    for (int n = 0; n <= last; ++n) entries << QString::number(n);
    list->addItems(entries);
    list->lineEdit()->setObjectName(QLatin1String(name) + QStringLiteral("_edit"));
    return list;
}

QLineEdit* FrmMain::TextField(const char* name, const char* font, int width) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setFont(PartFont(QLatin1String(font), 10));
    edit->setFixedWidth(width);
    edit->setAlignment(Qt::AlignCenter);
    // A number reads left to right: "-1", not "1-".
    edit->setLayoutDirection(Qt::LeftToRight);
    return edit;
}

QPushButton* FrmMain::Command(const char* name, const QString& caption) {
    QPushButton* button = PartButton(this, name, caption, 10);
    button->setMinimumHeight(34);
    button->setAutoDefault(true);  // Return on a focused button presses it
    return button;
}

QFrame* FrmMain::BuildPlace() {
    QFrame* frame = NewFrame(this, "Frame");
    QGridLayout* grid = FieldGrid(frame);
    QLabel* const headings[2] = {SkinLabel(QStringLiteral("خط الطول"), true),
                                 SkinLabel(QStringLiteral("خط العرض"), true)};
    QLabel* const captions[3] = {SkinLabel(QStringLiteral("الدرج"), false),
                                 SkinLabel(QStringLiteral("الدقيقة"), false),
                                 SkinLabel(QStringLiteral("الثواني"), false)};
    for (int k = 0; k < 2; ++k) grid->addWidget(headings[k], 1 + k, 0);
    for (int k = 0; k < 3; ++k) grid->addWidget(captions[k], 0, 1 + k);

    TxtDegLon = NumberList("TxtDegLon", 180, "MS Sans Serif");
    TxtDegLat = NumberList("TxtDegLat", 90, "MS Sans Serif");
    TxtMinLon = NumberList("TxtMinLon", 59, "MS Sans Serif");
    TxtSecLon = NumberList("TxtSecLon", 59, "MS Sans Serif");
    TxtMinLat = NumberList("TxtMinLat", 59, "MS Sans Serif");
    TxtSecLat = NumberList("TxtSecLat", 59, "MS Sans Serif");
    QComboBox* const rows[2][3] = {{TxtDegLon, TxtMinLon, TxtSecLon},
                                   {TxtDegLat, TxtMinLat, TxtSecLat}};
    const char* const signs[2] = {kLongitudeSigns, kLatitudeSigns};
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column) {
            grid->addWidget(rows[row][column], row + 1, column + 1);
            // Each field is read with its row and its column: "خط الطول، الدرج".
            NameControl(rows[row][column],
                        headings[row]->text() + QStringLiteral("، ") + captions[column]->text(),
                        QString::fromUtf8(signs[row]));
        }

    OptE = new QRadioButton(QStringLiteral("شرق -"), this);
    OptW = new QRadioButton(QStringLiteral("غرب +"), this);
    OptN = new QRadioButton(QStringLiteral("شمال +"), this);
    OptS = new QRadioButton(QStringLiteral("جنوب -"), this);
    const char* const names[] = {"OptE", "OptW", "OptN", "OptS"};
    QRadioButton* const options[] = {OptE, OptW, OptN, OptS};
    for (int k = 0; k < 4; ++k) {
        options[k]->setObjectName(QLatin1String(names[k]));
        options[k]->setFont(PartFont(QStringLiteral("Tahoma"), 10));
        grid->addWidget(options[k], 1 + k / 2, 4 + k % 2);
        Describe(options[k], QString::fromUtf8(signs[k / 2]));
    }
    auto* eastWest = new QButtonGroup(frame);
    eastWest->addButton(OptE);
    eastWest->addButton(OptW);
    auto* northSouth = new QButtonGroup(frame);
    northSouth->addButton(OptN);
    northSouth->addButton(OptS);
    OptW->setChecked(true);
    OptN->setChecked(true);
    TabStopAtChosen(eastWest);
    TabStopAtChosen(northSouth);
    IsNorth = true;
    IsEast = false;
    connect(OptE, &QRadioButton::clicked, this, &FrmMain::OnEast);
    connect(OptW, &QRadioButton::clicked, this, &FrmMain::OnWest);
    connect(OptN, &QRadioButton::clicked, this, [this] { IsNorth = true; });
    connect(OptS, &QRadioButton::clicked, this, [this] { IsNorth = false; });
    // Only an entry picked from the list proposes a zone; typed degrees never do.
    connect(TxtDegLon, &PickList::picked, this, &FrmMain::ProposeZone);

    grid->setColumnMinimumWidth(6, 24);
    grid->setColumnStretch(6, 1);
    QLabel* const zoneHeading = SkinLabel(QStringLiteral("المنطقة الزمنية"), true);
    QLabel* const summerHeading = SkinLabel(QStringLiteral("تعديل التوقيت الصيفي"), true);
    grid->addWidget(zoneHeading, 1, 7);
    grid->addWidget(summerHeading, 2, 7);
    TxtZone = TextField("TxtZone", "Tahoma", 74);
    TxtEteRegl = NumberList("TxtEteRegl", 2, "Tahoma");
    zoneHeading->setBuddy(TxtZone);
    summerHeading->setBuddy(TxtEteRegl);
    Describe(TxtZone,
             QStringLiteral(
                 "المنطقة الزمنية بالساعات، بإشارة خط الطول: شرق غرينتش سالبة (مكة المكرمة ") +
                 Isolated(QStringLiteral("-3")) + QStringLiteral(")، وغربه موجبة"));
    Describe(TxtEteRegl,
             QStringLiteral("الساعات التي تُقدَّم بها الساعة صيفاً: 1 لساعة واحدة، و0 بلا توقيت صيفي"));
    grid->addWidget(TxtZone, 1, 8);
    grid->addWidget(TxtEteRegl, 2, 8);

    fields_.insert(fields_.end(), {{&FieldTexts::TxtDegLon, TxtDegLon->lineEdit()},
                                   {&FieldTexts::TxtMinLon, TxtMinLon->lineEdit()},
                                   {&FieldTexts::TxtSecLon, TxtSecLon->lineEdit()},
                                   {&FieldTexts::TxtDegLat, TxtDegLat->lineEdit()},
                                   {&FieldTexts::TxtMinLat, TxtMinLat->lineEdit()},
                                   {&FieldTexts::TxtSecLat, TxtSecLat->lineEdit()},
                                   {&FieldTexts::TxtZone, TxtZone},
                                   {&FieldTexts::TxtEteRegl, TxtEteRegl->lineEdit()}});
    return frame;
}

QFrame* FrmMain::BuildTime() {
    QFrame* frame = NewFrame(this, "Frame1");
    QGridLayout* grid = FieldGrid(frame);
    struct Group {
        const char* heading;
        const char* captions[3];
        const char* names[3];
        QLineEdit** edits[3];
        std::string FieldTexts::*texts[3];
    };
    const Group groups[] = {
        {"التاريخ",
         {"السنة", "الشهر", "اليوم"},
         {"TxtYear", "TxtMonth", "TxtDay"},
         {&TxtYear, &TxtMonth, &TxtDay},
         {&FieldTexts::TxtYear, &FieldTexts::TxtMonth, &FieldTexts::TxtDay}},
        {"الوقت",
         {"الساعة", "الدقيقة", "الثانية"},
         {"TxtHour", "TxtMin", "TxtSec"},
         {&TxtHour, &TxtMin, &TxtSec},
         {&FieldTexts::TxtHour, &FieldTexts::TxtMin, &FieldTexts::TxtSec}},
    };
    int column = 0;
    for (const Group& group : groups) {
        grid->addWidget(SkinLabel(QString::fromUtf8(group.heading), true), 1, column++);
        for (int k = 0; k < 3; ++k, ++column) {
            QLabel* caption = SkinLabel(QString::fromUtf8(group.captions[k]), false);
            grid->addWidget(caption, 0, column);
            QLineEdit* edit = TextField(group.names[k], "MS Sans Serif", k == 0 ? 74 : 60);
            caption->setBuddy(edit);
            *group.edits[k] = edit;
            grid->addWidget(edit, 1, column);
            fields_.push_back({group.texts[k], edit});
        }
        grid->setColumnMinimumWidth(column, 30);
        grid->setColumnStretch(column++, 1);
    }
    return frame;
}

QFrame* FrmMain::BuildCommands() {
    QFrame* frame = NewFrame(this, "Frame2");
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(8);

    auto* bodies = new QHBoxLayout;
    bodies->setSpacing(6);
    CmdSun = Command("CmdSun", QStringLiteral("الشمس"));
    CmdSun->setMinimumWidth(110);
    CmdSun->setDefault(true);
    connect(CmdSun, &QPushButton::clicked, this, &FrmMain::OnSun);
    bodies->addWidget(CmdSun);
    for (int k = 0; k < 9; ++k) {
        const QByteArray name = "CmdPln" + QByteArray::number(k);
        CmdPln[k] = Command(name.constData(), QString::fromUtf8(kBodyCaptions[k]));
        CmdPln[k]->setEnabled(false);
        connect(CmdPln[k], &QPushButton::clicked, this, [this, k] { OnBody(k); });
        bodies->addWidget(CmdPln[k], 1);
    }
    layout->addLayout(bodies);
    layout->addLayout(BuildCrescent());

    auto* others = new QHBoxLayout;
    CmdQibla = Command("CmdQibla", QStringLiteral("القبلة"));
    CmdQibla->setMinimumWidth(110);
    connect(CmdQibla, &QPushButton::clicked, this, &FrmMain::OnQibla);
    others->addWidget(CmdQibla);
    CmdInfo = Command("CmdInfo", QStringLiteral("تنبيه هام"));
    CmdApropos = Command("CmdApropos", QStringLiteral("حول البرنامج"));
    CmdTimetable = Command("CmdTimetable", QStringLiteral("جدول المواقيت"));
    CmdTimetable->setMinimumWidth(130);
    connect(CmdTimetable, &QPushButton::clicked, this, &FrmMain::OnTimetable);
    CmdExit = Command("CmdExit", QStringLiteral("خروج"));
    for (QPushButton* button : {CmdInfo, CmdApropos, CmdExit}) button->setMinimumWidth(130);
    connect(CmdInfo, &QPushButton::clicked, this, &FrmMain::OnInfo);
    SetCommandKey(CmdInfo, QKeySequence(Qt::Key_F1),
                  QStringLiteral("مقدمة البرنامج: أعرافه في الإشارات والتقويم"));
    connect(CmdApropos, &QPushButton::clicked, this, &FrmMain::OnApropos);
    connect(CmdExit, &QPushButton::clicked, this, &QWidget::close);
    others->addWidget(CmdInfo);
    others->addWidget(CmdApropos);
    others->addWidget(CmdTimetable);
    others->addStretch();
    others->addWidget(CmdExit);
    layout->addLayout(others);
    return frame;
}

// The Hijri row, kept up to date by every field and option of the place and the date.
QWidget* FrmMain::BuildHijri() {
    hijri_ = new HijriBox(this, [this] { return WindowFields{ReadFields(), IsEast, IsNorth}; });
    for (const Field& field : fields_)
        connect(field.edit, &QLineEdit::textChanged, hijri_, &HijriBox::Refresh);
    for (QRadioButton* option : {OptE, OptW, OptN, OptS})
        connect(option, &QRadioButton::clicked, hijri_, &HijriBox::Refresh);
    connect(hijri_, &HijriBox::monthReportAsked, this, &FrmMain::OnMonth);
    return hijri_;
}

// The crescent: its report, the evening or the morning, and the map of that evening.
QLayout* FrmMain::BuildCrescent() {
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    CmdHilal = Command("CmdHilal", QStringLiteral("الهلال"));
    CmdHilal->setMinimumWidth(110);
    connect(CmdHilal, &QPushButton::clicked, this, &FrmMain::OnCrescent);
    OptSoir = new QRadioButton(QStringLiteral("مساءً"), this);
    OptSoir->setObjectName(QStringLiteral("OptSoir"));
    OptMatin = new QRadioButton(QStringLiteral("صباحاً"), this);
    OptMatin->setObjectName(QStringLiteral("OptMatin"));
    auto* when = new QButtonGroup(this);
    for (QRadioButton* option : {OptSoir, OptMatin}) {
        option->setFont(PartFont(QStringLiteral("Tahoma"), 10));
        when->addButton(option);
    }
    OptSoir->setChecked(true);
    TabStopAtChosen(when);
    CmdCarte = Command("CmdCarte", QStringLiteral("خريطة الهلال"));
    CmdCarte->setMinimumWidth(130);
    connect(CmdCarte, &QPushButton::clicked, this, &FrmMain::OnCrescentMap);
    row->addWidget(CmdHilal);
    row->addWidget(OptSoir);
    row->addWidget(OptMatin);
    row->addWidget(CmdCarte);
    row->addStretch();
    return row;
}

// The place defaults and today's date and time, as the window starts.
void FrmMain::ShowStartTexts() {
    FieldTexts start;
    services::FillFromClock(start);
    for (const Field& field : fields_) ShowText(field.edit, start.*field.text);
}

// Tab follows the reading order of this right-to-left window: each row from its right
// end, the place, then the zone and summer time, the date, the time, the commands.
void FrmMain::SetReadingOrder() {
    std::vector<QWidget*> chain{TxtDegLon, TxtMinLon,  TxtSecLon, OptE,     OptW,
                                TxtDegLat, TxtMinLat,  TxtSecLat, OptN,     OptS,
                                TxtZone,   TxtEteRegl, TxtYear,   TxtMonth, TxtDay,
                                TxtHour,   TxtMin,     TxtSec,    CmdSun};
    // The Hijri row reads after the time.
    chain.insert(chain.end() - 1, {hijri_->RuleList(), hijri_->MonthCommand()});
    chain.insert(chain.end(), CmdPln.begin(), CmdPln.end());
    chain.insert(chain.end(), {CmdHilal, OptSoir, OptMatin, CmdCarte});
    chain.insert(chain.end(), {CmdQibla, CmdInfo, CmdApropos, CmdTimetable, CmdExit});
    for (std::size_t k = 1; k < chain.size(); ++k) setTabOrder(chain[k - 1], chain[k]);
}

// The fields as the window reads them: a comma between digits is a decimal separator, as ٫ is.
FieldTexts FrmMain::ReadFields() const {
    FieldTexts texts;
    for (const Field& field : fields_)
        texts.*field.text = CommaAsDecimalPoint(field.edit->text().toStdString());
    return texts;
}

void FrmMain::TakeSide(QLineEdit* edit, bool longitude) {
    QString text = edit->text();
    const qsizetype first = text.indexOf(QRegularExpression(QStringLiteral("\\S")));
    const qsizetype last = text.lastIndexOf(QRegularExpression(QStringLiteral("\\S")));
    if (first < 0) return;
    // The options' own signs ("شرق -", "غرب +", "شمال +", "جنوب -"), or the letter that --lon
    // and --lat write after the number ("6.8326W").
    const QString signs = QStringLiteral("-+\u2212"), letters = longitude ? "EeWw" : "SsNn";
    qsizetype at = -1;
    bool negative = false;
    if (signs.contains(text[first])) {
        at = first;
        negative = text[first] != QLatin1Char('+');
    } else if (last > first && letters.contains(text[last])) {
        at = last;
        negative = letters.indexOf(text[last]) < 2;
    }
    if (at < 0) return;
    const int cursor = edit->cursorPosition();
    text.remove(at, 1);
    edit->setText(text);
    edit->setCursorPosition(std::max(0, cursor - (cursor > at ? 1 : 0)));
    QRadioButton* side = longitude ? (negative ? OptE : OptW) : (negative ? OptS : OptN);
    if (!side->isChecked()) side->click();
}

void FrmMain::RefreshReading() {
    if (filling_) return;
    const FieldTexts now = ReadFields();
    const std::vector<FieldText> unread =
        reading_->Show(services::FieldOptions{now, IsEast, IsNorth}, ZoneName());
    for (const Field& field : fields_) {
        const bool problem = std::find(unread.begin(), unread.end(), field.text) != unread.end();
        const QString why = FieldCaption(field.text) + QStringLiteral(": نص لا يُقرأ كله عدداً");
        MarkProblem(field.edit, problem, why);
        if (auto* list = qobject_cast<QComboBox*>(field.edit->parentWidget()))
            MarkProblem(list, problem, why);
    }
    reading_->style()->unpolish(reading_);
    reading_->style()->polish(reading_);
    if (PlaceName().isEmpty()) search_->ForgetPick();
}

void FrmMain::FollowClock() {
    const std::string zone = ZoneName();
    if (zone.empty() || TxtEteRegl->currentText() != summerText_) return;
    places::PlaceFields fields;
    std::string error;
    if (!places::FieldsOfPlace(*place_, places::FieldsReading(ReadFields()), fields, error)) return;
    zoneText_ = QString::fromStdString(fields.place.fields.TxtZone);
    summerText_ = QString::fromStdString(fields.place.fields.TxtEteRegl);
    placeFields_.TxtZone = fields.place.fields.TxtZone;
    ShowText(TxtZone, placeFields_.TxtZone);
    ShowText(TxtEteRegl->lineEdit(), fields.place.fields.TxtEteRegl);
}

bool FrmMain::event(QEvent* event) {
    // Once the window has been painted, the report window is made ready while the user
    // fills the fields, so that the first report shows without delay.
    if (event->type() == QEvent::Paint && !painted_) {
        painted_ = true;
        QMetaObject::invokeMethod(
            this, [this] { ReportWindow().Prepare(); }, Qt::QueuedConnection);
    }
    return QWidget::event(event);
}

void FrmMain::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (enter && modifiers == Qt::NoModifier && CmdSun->isEnabled()) {
        CmdSun->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

FrmCalc& FrmMain::ReportWindow() {
    if (!report_) report_ = new FrmCalc(messenger_, this);
    return *report_;
}

// Runs a body's command on the window's fields (`entered`: as it took them); the Sun's day limit
// shows in TxtDay.
Outcome FrmMain::Compute(Body body, FieldTexts& entered) {
    entered = ReadFields();
    const Outcome outcome = RunBody(reportText_, messenger_, entered, IsEast, IsNorth, body);
    ShowAdjustedDay(entered);
    return outcome;
}

void FrmMain::ShowAdjustedDay(const FieldTexts& entered) {
    if (entered.TxtDay != ReadFields().TxtDay)
        TxtDay->setText(QString::fromStdString(entered.TxtDay));
}

// The report's name for a screen reader: what it reports, and the fields' date and time.
QString FrmMain::ReportName(const QString& subject) const {
    const FieldTexts f = ReadFields();
    const auto joined = [](const std::string& a, const std::string& b, const std::string& c,
                           QChar between) {
        return QString::fromStdString(a).trimmed() + between + QString::fromStdString(b).trimmed() +
               between + QString::fromStdString(c).trimmed();
    };
    return QStringLiteral("تقرير ") + subject + QStringLiteral("، التاريخ ") +
           joined(f.TxtDay, f.TxtMonth, f.TxtYear, QLatin1Char('/')) + QStringLiteral("، الوقت ") +
           joined(f.TxtHour, f.TxtMin, f.TxtSec, QLatin1Char(':'));
}

void FrmMain::ShowReport(FrmCalc::Edge edge, const QString& subject, const FieldTexts* fields,
                         std::optional<Body> body) {
    // The preface is the program's own; a report is of the fields' place and date. The title
    // names the subject (and the place picked), the window system adds the program's name.
    const bool preface = edge == FrmCalc::Edge::Right;
    const QString name =
        preface ? QStringLiteral("مقدمة البرنامج: ") + subject : ReportName(subject);
    const QString place = preface ? QString() : PlaceName();
    const QString title =
        preface ? QStringLiteral("مقدمة البرنامج") : QStringLiteral("تقرير ") + subject;
    FrmCalc& window = ReportWindow();
    window.SidePanel().Clear();
    window.SetClockNote(QString());
    if (fields && body == Body::Sun) ShowLocalTimes(window, *fields);
    if (fields && body) {
        // The chart of the report's own instant: the Sun's day, or the sky with the body in it.
        const Reading<Observer> observer = ReadObserver(*fields, IsEast, IsNorth);
        if (observer) window.SidePanel().ShowChart(NewReportChart(*observer, *body));
    }
    window.SetReportName(name);
    window.setWindowTitle(place.isEmpty() ? title : title + QStringLiteral(" — ") + place);
    window.SetReport(QString::fromStdString(reportText_.Str()), edge);
    showModal_(window);
}

void FrmMain::OnSun() {
    FieldTexts entered;
    const Outcome outcome = Compute(Body::Sun, entered);
    if (outcome == Outcome::Refused) return;
    if (outcome == Outcome::Written)
        for (QPushButton* button : CmdPln) button->setEnabled(true);
    ShowReport(FrmCalc::Edge::Left, CmdSun->text(), &entered, Body::Sun);
}

void FrmMain::OnBody(int index) {
    FieldTexts entered;
    if (Compute(BodyOfButton(index), entered) == Outcome::Refused) return;
    ShowReport(FrmCalc::Edge::Left, CmdPln[index]->text(), &entered, BodyOfButton(index));
}

// Beside the Sun's report, the day's times on the local clock as the timetable gives them; above
// it, the clock its own times are on when that is not the local clock.
void FrmMain::ShowLocalTimes(FrmCalc& window, const FieldTexts& entered) {
    services::TimesRequest request;
    request.table.place = services::FieldOptions{entered, IsEast, IsNorth};
    const std::string zone = ZoneName();
    const double zoneHours = std::nearbyint(ReadNumber(entered.TxtZone)),
                 summerHours = std::nearbyint(ReadNumber(entered.TxtEteRegl));
    if (!zone.empty()) {
        request.table.tz = zone;
    } else if (std::fabs(zoneHours) <= 1000 && std::fabs(summerHours) <= 1000) {
        request.table.zone = static_cast<int>(zoneHours);
        request.table.summer = static_cast<int>(summerHours);
    }
    request.from = places::FieldsReading(entered);
    request.days = 1;
    window.SidePanel().ShowDay(request);
    const auto utc = [](double hoursEast) {
        return UtcText(static_cast<services::Seconds>(hoursEast) * services::kHour);
    };
    window.SetClockNote(
        summerHours == 0 || !(std::fabs(summerHours - zoneHours) <= 24)
            ? QString()
            : QStringLiteral("أوقات هذا التقرير بالتوقيت الرسمي للمنطقة، ") + utc(-zoneHours) +
                  QStringLiteral("، دون التوقيت الصيفي؛ وساعة المكان ") +
                  utc(summerHours - zoneHours) + QStringLiteral(": أوقاتها بجانب التقرير."));
}

// The direction of the Kaaba from the place of the fields, and the Sun over the Kaaba in the
// year of the date fields.
void FrmMain::OnQibla() {
    if (RunQibla(reportText_, messenger_, ReadFields(), IsEast, IsNorth) == Outcome::Refused)
        return;
    ShowReport(FrmCalc::Edge::Left, CmdQibla->text());
}

void FrmMain::OnCrescent() {
    FieldTexts entered = ReadFields();
    const Outcome outcome =
        RunCrescent(reportText_, messenger_, entered, IsEast, IsNorth, OptMatin->isChecked());
    ShowAdjustedDay(entered);
    if (outcome == Outcome::Refused) return;
    const QRadioButton* when = OptMatin->isChecked() ? OptMatin : OptSoir;
    ShowReport(FrmCalc::Edge::Left, CmdHilal->text() + QLatin1Char(' ') + when->text());
}

void FrmMain::OnCrescentMap() {
    int year = 0, month = 0, day = 0;
    Message refused;
    if (!MapDateOf(ReadFields(), year, month, day, refused)) {
        messenger_.critical(refused);
        return;
    }
    // The first evening (the last morning) at the place after (before) the conjunction
    // nearest the date, the place marked.
    services::Place place;
    std::string unusable;
    const bool placed = services::CheckPlace(services::FieldOptions{ReadFields(), IsEast, IsNorth},
                                             place, unusable);
    const bool morning = OptMatin->isChecked();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const MapDate evening =
        FirstEveningAfterConjunction(year, month, day, placed ? -place.Lon : 0, morning);
    CrescentMapGrid grid = CrescentMapOf(evening.year, evening.month, evening.day, morning);
    QApplication::restoreOverrideCursor();
    FrmCarte map(messenger_, std::move(grid), this);
    if (placed) map.SetPlace(-place.Lon, place.Lat, PlaceName());
    showModal_(map);
}

void FrmMain::OnInfo() {
    reportText_.Clear();
    reportText_.Raw({PrefaceText()});
    ShowReport(FrmCalc::Edge::Right, CmdInfo->text());
}

void FrmMain::OnMonth() {
    reportText_.Clear();
    if (hijri_->WriteMonthReport(reportText_, messenger_))
        ShowReport(FrmCalc::Edge::Left, hijri_->MonthCommand()->text());
}

void FrmMain::OnApropos() {
    FrmApropos about(this);
    showModal_(about);
}

// The timetable of the place the fields hold now.
void FrmMain::OnTimetable() {
    FrmTimetable window(messenger_, services::FieldOptions{ReadFields(), IsEast, IsNorth}, this);
    if (!PlaceName().isEmpty() || !ZoneName().empty())
        window.SetPlace(PlaceName(), QString::fromStdString(ZoneName()));
    showModal_(window);
}

// West: the zone text becomes non-negative; East: non-positive (0 stays "0").
void FrmMain::OnWest() {
    const double zone = FieldValue(TxtZone);
    if (std::isfinite(zone)) TxtZone->setText(FieldNumber(zone < 0 ? -zone : zone));
    IsEast = false;
}

void FrmMain::OnEast() {
    const double zone = FieldValue(TxtZone);
    if (std::isfinite(zone)) TxtZone->setText(FieldNumber(zone < 0 ? zone : -zone));
    IsEast = true;
}

// The zone of the picked longitude: the two rules are not mirror images (15 degrees
// East proposes -1, 15 degrees West proposes 0).
void FrmMain::ProposeZone() {
    const double L = (FieldValue(TxtDegLon->lineEdit()) + FieldValue(TxtMinLon->lineEdit()) / 60) +
                     FieldValue(TxtSecLon->lineEdit()) / 3600;
    if (!std::isfinite(L)) return;
    const double zone = IsEast ? -Fix((L + 7.5) / 15) : std::fabs(Fix((L - 7.5) / 15));
    TxtZone->setText(FieldNumber(zone));
}

// A place picked in the search fills the place's fields, its standard time as the zone and
// the summer time of the window's date and time.
void FrmMain::OnPlacePicked(const places::GazetteerPlace& place) {
    const FieldTexts now = ReadFields();
    const services::Civil local = places::FieldsReading(now);
    places::PlaceFields fields;
    fields.place.fields = now;
    std::string error;
    if (!places::FieldsOfPlace(place, local, fields, error)) {
        messenger_.critical({"لا تُعرف المنطقة الزمنية للمكان «" + place.name + "»: " + error,
                             "the zone of " + place.latinName + " is not known: " + error});
        return;
    }
    filling_ = true;
    for (const Field& field : fields_) ShowText(field.edit, fields.place.fields.*field.text);
    filling_ = false;
    (fields.place.east ? OptE : OptW)->setChecked(true);
    (fields.place.north ? OptN : OptS)->setChecked(true);
    IsEast = fields.place.east;
    IsNorth = fields.place.north;
    place_ = place;
    placeFields_ = ReadFields();
    placeEast_ = IsEast;
    placeNorth_ = IsNorth;
    zoneText_ = TxtZone->text();
    summerText_ = TxtEteRegl->currentText();
    RefreshReading();
}

QString FrmMain::PlaceName() const {
    if (!place_ || IsEast != placeEast_ || IsNorth != placeNorth_) return QString();
    const FieldTexts now = ReadFields();
    for (const Field& field : fields_)
        if (IsPlaceField(field.text) && now.*field.text != placeFields_.*field.text)
            return QString();
    return QString::fromStdString(place_->name);
}

std::string FrmMain::ZoneName() const {
    if (!place_ || !places::IsZoneName(place_->zone) || TxtZone->text() != zoneText_) return {};
    return place_->zone;
}

// The place of the fields as an own place: the zone by its name where the zone field is still the
// picked town's (its coordinates changed or not), else the zone field's whole hours.
bool FrmMain::CurrentPlace(places::GazetteerPlace& place, QString& why) const {
    const FieldTexts f = ReadFields();
    services::Place checked;
    std::string error;
    if (!services::CheckPlace(services::FieldOptions{f, IsEast, IsNorth}, checked, error)) {
        why = QString::fromStdString(error);
        return false;
    }
    place.latitude = checked.Lat;
    place.longitude = -checked.Lon;  // the calculation's longitude is West positive
    if (!ZoneName().empty()) {
        place.zone = ZoneName();
        return true;
    }
    const double zone = ReadNumber(f.TxtZone);
    if (!std::isfinite(zone) || zone != std::round(zone)) {
        why = QStringLiteral("المنطقة الزمنية ساعات كاملة فقط في ملف الأماكن");
        return false;
    }
    place.zone = std::to_string(static_cast<int>(zone));
    return true;
}

}  // namespace zerin::ui
