#include "FrmTimetable.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>

#include "ChartWidgets.h"
#include "DayChart.h"
#include "DlgCalendar.h"
#include "Gazetteer.h"
#include "Look.h"
#include "PrayerCalendar.h"
#include "PrayerMethods.h"
#include "ReadAloud.h"
#include "TimesTable.h"
#include "TimetablePrint.h"
#include "ZoneNames.h"
#include "hijri/Hijri.h"
#include "report/Fields.h"
#include "time/Civil.h"

namespace zerin::ui {

namespace {

constexpr int kFirstYear = 1583, kLastYear = 9999;
// The options' width, and the grid's rows: a month shows most of its days on a laptop's screen.
constexpr int kOptionsWidth = 380, kRowHeight = 26, kRowsShown = 12;
// The zone's name with blanks for underscores, in lower case: what a search matches.
constexpr int kSearchKey = Qt::UserRole + 1;
constexpr int kZoneId = FrmTimetable::kZoneIdRole;

// Why a place or a clock makes no table, in Arabic (the calculation's own reason is English).
QString WhyNoTable(const services::TimetablePlace& place) {
    services::Place checked;
    std::string error;
    if (!services::CheckPlace(place.options.place, checked, error))
        return QStringLiteral("خط العرض بين ") + Isolated(QStringLiteral("-90")) +
               QStringLiteral(" و90 درجة، وخط الطول بين ") + Isolated(QStringLiteral("-180")) +
               QStringLiteral(" و180 درجة.");
    return QStringLiteral("الساعة بين ") + UtcText(-12 * services::kHour) + QStringLiteral(" و") +
           UtcText(14 * services::kHour) + QStringLiteral("، معروفة في الأيام المطلوبة.");
}

struct RuleChoice {
    services::HighLatRule rule;
    const char* option;  // --high-lat
    const char* caption;
};
const RuleChoice kRuleChoices[] = {
    {services::HighLatRule::None, "none", "بدون تقدير"},
    {services::HighLatRule::Middle, "middle", "منتصف الليل"},
    {services::HighLatRule::Seventh, "seventh", "سُبع الليل"},
    {services::HighLatRule::Angle, "angle", "نسبة الزاوية"},
};

struct AsrChoice {
    services::AsrShown asr;
    const char* caption;
};
const AsrChoice kAsrChoices[] = {
    {services::AsrShown::Both, "العصر الأول والثاني"},
    {services::AsrShown::First, "العصر الأول (الجمهور)"},
    {services::AsrShown::Second, "العصر الثاني (الحنفي)"},
};

// The Hijri date column: none, or one of the rules (Umm al-Qura, the program's default).
const std::optional<HijriRule> kHijriChoices[] = {
    HijriRule::UmmAlQura, HijriRule::Civil,    HijriRule::Astronomical,
    HijriRule::Computed,  HijriRule::Sighting, std::nullopt,
};

QString SearchKey(const QString& text) {
    QString key = text.toLower();
    key.replace(QLatin1Char('_'), QLatin1Char(' '));
    return key.trimmed();
}

// A whole number of hours read from a field as the report reads it; none when it is not one.
std::optional<int> WholeHours(const std::string& text) {
    const double value = ReadNumber(text);
    if (!std::isfinite(value) || value != std::floor(value) || std::fabs(value) > 1000)
        return std::nullopt;
    return static_cast<int>(value);
}

std::string Std(const QString& text) {
    return text.toStdString();
}

// A path kept left to right inside a right-to-left message.
std::string IsolatedPath(const QString& path) {
    return Std(Isolated(QDir::toNativeSeparators(path)));
}

// The table of the job's place, as `zerin times` takes it.
services::TimesRequest RequestOf(const services::TimetableJob& job) {
    services::TimesRequest r;
    r.table = job.places.front().options;
    r.from = job.from;
    r.days = job.days;
    r.settings = job.settings;
    r.method = job.method;
    r.seconds = job.seconds;
    r.hijri = job.hijri;
    return r;
}

// What `zerin times --csv` writes for the job, or why it wrote nothing.
bool TimesCsv(const services::TimetableJob& job, QByteArray& csv, std::string& why) {
    services::TimesRequest r = RequestOf(job);
    r.table.format = services::Format::Csv;
    std::string text;
    const int status = services::TimesTableText(r, text, why);
    csv = QByteArray(text.data(), static_cast<qsizetype>(text.size()));
    return status != 2 && !(status == 1 && csv.isEmpty());
}

}  // namespace

FrmTimetable::FrmTimetable(Messenger& messenger, const services::FieldOptions& place,
                           QWidget* parent)
    : QDialog(parent),
      messenger_(messenger),
      place_(place),
      showModal_([](QDialog& dialog) { dialog.exec(); }),
      choosePath_([this](const QString& suggested, const QString& filter) {
          return QFileDialog::getSaveFileName(this, windowTitle(), suggested, filter);
      }) {
    setObjectName(QStringLiteral("FrmTimetable"));
    setWindowTitle(QStringLiteral("جدول المواقيت"));
    setLayoutDirection(Qt::RightToLeft);
    BuildControls();
    FillZones();
    ReadyToReadAloud(*this);
    ApplySkin(*this);
    Recompute();
    FitScreen();
}

// As large as the table wants, within the screen's free area: every command stays on the screen.
void FrmTimetable::FitScreen() {
    const QRect free = screen()->availableGeometry();
    const QSize wanted(1240, 700), frame(16, 40);  // the window manager's border and title
    resize(std::min(wanted.width(), free.width() - frame.width()),
           std::min(wanted.height(), free.height() - frame.height()));
}

void FrmTimetable::BuildControls() {
    // Right to left: the options at the right, the table at their left, the commands below; all
    // of it within a laptop's screen (1280x720), the grid showing most of a month.
    auto* body = new QHBoxLayout;
    body->addWidget(BuildOptions());
    body->addLayout(BuildTable(), 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(body, 1);
    layout->addLayout(BuildCommands());

    const auto recompute = [this] { Recompute(); };
    // The name is only printed: the times stay as they are while it is typed.
    connect(TxtPlaceName, &QLineEdit::textChanged, this, [this](const QString& name) {
        if (job_) job_->places.front().name = Std(name.trimmed());
    });
    connect(OptMonth, &QRadioButton::toggled, this, recompute);
    connect(CboMonth, &QComboBox::currentIndexChanged, this, [this] {
        if (!OptMonth->isChecked())
            OptMonth->setChecked(true);  // toggles: recomputes
        else
            Recompute();
    });
    connect(SpnYear, &QSpinBox::valueChanged, this, recompute);
    connect(CboHighLat, &QComboBox::currentIndexChanged, this, recompute);
    connect(CboAsr, &QComboBox::currentIndexChanged, this, recompute);
    connect(CboHijri, &QComboBox::currentIndexChanged, this, recompute);
    connect(CboMethod, &QComboBox::activated, this, [this] {
        methodChosen_ = true;
        Recompute();
    });
}

// The place's name, the period, the clock and the rules, one under the other.
QWidget* FrmTimetable::BuildOptions() {
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("PnlOptions"));
    panel->setFixedWidth(kOptionsWidth);
    auto* form = new QGridLayout(panel);
    form->setContentsMargins(0, 0, 0, 0);
    form->setVerticalSpacing(5);
    int row = 0;
    const auto add = [this, form, &row](const char* caption, QWidget* control) {
        auto* label = new QLabel(QString::fromUtf8(caption), this);
        label->setFont(PartFont(QStringLiteral("Tahoma"), 10, true));
        label->setBuddy(control);
        form->addWidget(label, row, 0);
        form->addWidget(control, row++, 1);
    };
    const auto rowOf = [this](std::initializer_list<QWidget*> widgets) {
        auto* box = new QWidget(this);
        auto* line = new QHBoxLayout(box);
        line->setContentsMargins(0, 0, 0, 0);
        for (QWidget* w : widgets) line->addWidget(w);
        line->addStretch();
        return box;
    };

    TxtPlaceName = new QLineEdit(this);
    TxtPlaceName->setObjectName(QStringLiteral("TxtPlaceName"));
    TxtPlaceName->setPlaceholderText(QStringLiteral("اسم المدينة أو المسجد، يُطبع في رأس الصفحة"));
    add("اسم المكان", TxtPlaceName);
    LblPlace = new QLabel(this);
    LblPlace->setObjectName(QStringLiteral("LblPlace"));
    LblPlace->setWordWrap(true);
    form->addWidget(LblPlace, row++, 0, 1, 2);

    OptMonth = new QRadioButton(QStringLiteral("شهر"), this);
    OptMonth->setObjectName(QStringLiteral("OptMonth"));
    OptYear = new QRadioButton(QStringLiteral("السنة كاملة"), this);
    OptYear->setObjectName(QStringLiteral("OptYear"));
    auto* period = new QButtonGroup(this);
    period->addButton(OptMonth);
    period->addButton(OptYear);
    OptMonth->setChecked(true);
    CboMonth = new QComboBox(this);
    CboMonth->setObjectName(QStringLiteral("CboMonth"));
    for (int m = 1; m <= 12; ++m) CboMonth->addItem(QString::fromUtf8(GregorianMonthName(m)));
    NameControl(CboMonth, QStringLiteral("الشهر"));
    SpnYear = new QSpinBox(this);
    SpnYear->setObjectName(QStringLiteral("SpnYear"));
    SpnYear->setRange(kFirstYear, kLastYear);
    SpnYear->setLayoutDirection(Qt::LeftToRight);
    NameControl(SpnYear, QStringLiteral("السنة"));
    // The month and year of the main window's date, else today's.
    const QDate today = QDate::currentDate();
    const double year = ReadNumber(place_.fields.TxtYear),
                 month = ReadNumber(place_.fields.TxtMonth);
    SpnYear->setValue(year >= kFirstYear && year <= kLastYear ? static_cast<int>(year)
                                                              : today.year());
    CboMonth->setCurrentIndex(month >= 1 && month <= 12 ? static_cast<int>(month) - 1
                                                        : today.month() - 1);
    add("الفترة", rowOf({OptMonth, CboMonth, OptYear}));
    add("السنة", rowOf({SpnYear}));
    add("الساعة", BuildZoneChoice());

    CboHighLat = new QComboBox(this);
    CboHighLat->setObjectName(QStringLiteral("CboHighLat"));
    for (const RuleChoice& choice : kRuleChoices)
        CboHighLat->addItem(QString::fromUtf8(choice.caption));
    CboAsr = new QComboBox(this);
    CboAsr->setObjectName(QStringLiteral("CboAsr"));
    for (const AsrChoice& choice : kAsrChoices) CboAsr->addItem(QString::fromUtf8(choice.caption));
    CboHijri = new QComboBox(this);
    CboHijri->setObjectName(QStringLiteral("CboHijri"));
    for (const std::optional<HijriRule>& rule : kHijriChoices)
        CboHijri->addItem(rule ? QString::fromUtf8(HijriRuleArabic(*rule))
                               : QStringLiteral("بدون تاريخ هجري"));
    CboMethod = new QComboBox(this);
    CboMethod->setObjectName(QStringLiteral("CboMethod"));
    CboMethod->setAccessibleName(QStringLiteral("طريقة الحساب"));
    // The authorities by their Arabic names; the command line's name of each in its tooltip.
    for (const services::PrayerMethod& m : services::PrayerMethods()) {
        CboMethod->addItem(QString::fromUtf8(m.arabic), QString::fromUtf8(m.name));
        CboMethod->setItemData(CboMethod->count() - 1,
                               QStringLiteral("zerin times --method ") + QString::fromUtf8(m.name),
                               Qt::ToolTipRole);
    }
    add("الطريقة", CboMethod);
    add("خطوط العرض العليا", CboHighLat);
    add("العصر", CboAsr);
    add("التاريخ الهجري", CboHijri);
    form->setColumnStretch(1, 1);
    form->setRowStretch(row, 1);
    return panel;
}

// The settings in one line (whole under a button), the grid and its notes.
QLayout* FrmTimetable::BuildTable() {
    auto* column = new QVBoxLayout;
    LblSummary = new ElidedLabel(this);
    LblSummary->setObjectName(QStringLiteral("LblSummary"));
    LblSummary->setMinimumWidth(200);
    LblSummary->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    CmdSettings = PartButton(this, "CmdSettings", QStringLiteral("الإعدادات كاملة"), 9);
    CmdSettings->setCheckable(true);
    CmdSettings->setAutoDefault(false);
    CmdSettings->setToolTip(
        QStringLiteral("إظهار كل ما حُسب به الجدول: الساعة والقبلة والزوايا والقواعد، كما تُطبع"));
    auto* summary = new QHBoxLayout;
    summary->addWidget(LblSummary, 1);
    summary->addWidget(CmdSettings);
    column->addLayout(summary);

    LblHeader = new QLabel(this);
    LblHeader->setObjectName(QStringLiteral("LblHeader"));
    LblHeader->setWordWrap(true);
    LblHeader->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LblHeader->setVisible(false);
    column->addWidget(LblHeader);
    connect(CmdSettings, &QPushButton::toggled, LblHeader, &QWidget::setVisible);

    GrdTimes = new QTableWidget(this);
    GrdTimes->setObjectName(QStringLiteral("GrdTimes"));
    // The day at the right: the first column stands at the right edge of a right-to-left view.
    GrdTimes->setLayoutDirection(Qt::RightToLeft);
    GrdTimes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GrdTimes->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Tab goes on to the commands; the arrows move in the grid.
    GrdTimes->setTabKeyNavigation(false);
    GrdTimes->verticalHeader()->setVisible(false);
    GrdTimes->verticalHeader()->setDefaultSectionSize(kRowHeight);
    GrdTimes->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    GrdTimes->setMinimumHeight(kRowHeight * (kRowsShown + 1));
    NameControl(GrdTimes, QStringLiteral("جدول المواقيت"));
    column->addWidget(GrdTimes, 1);

    LblNotes = new QLabel(this);
    LblNotes->setObjectName(QStringLiteral("LblNotes"));
    LblNotes->setWordWrap(true);
    LblNotes->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(LblNotes);
    return column;
}

QLayout* FrmTimetable::BuildCommands() {
    auto* commands = new QHBoxLayout;
    CmdPrint = PartButton(this, "CmdPrint", QStringLiteral("طباعة"), 10);
    CmdPdf = PartButton(this, "CmdPdf", QStringLiteral("حفظ PDF"), 10);
    CmdCsv = PartButton(this, "CmdCsv", QStringLiteral("حفظ CSV"), 10);
    CmdIcs = PartButton(this, "CmdIcs", QStringLiteral("حفظ للتقويم"), 10);
    CmdChart = PartButton(this, "CmdChart", QStringLiteral("رسم اليوم"), 10);
    CmdClose = PartButton(this, "CmdClose", QStringLiteral("إغلاق"), 10);
    for (QPushButton* button : {CmdPrint, CmdPdf, CmdCsv, CmdIcs, CmdChart, CmdClose}) {
        button->setMinimumSize(100, 32);
        button->setAutoDefault(false);
        commands->addWidget(button);
    }
    commands->insertStretch(commands->count() - 1);
    SetCommandKey(CmdPrint, QKeySequence(Qt::CTRL | Qt::Key_P), QStringLiteral("طباعة الجدول"));
    SetCommandKey(CmdPdf, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                  QStringLiteral("حفظ الجدول صفحاتٍ PDF"));
    SetCommandKey(CmdCsv, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
                  QStringLiteral("حفظ الجدول ملفَّ CSV، سطره الأول رؤوس الأعمدة"));
    SetCommandKey(CmdIcs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I),
                  QStringLiteral("ملف تقويم (ICS): حدث لكل وقت، مع تذكير ورمضان"));
    SetCommandKey(
        CmdChart, QKeySequence(Qt::CTRL | Qt::Key_D),
        QStringLiteral("ارتفاع الشمس خلال اليوم المختار من الجدول، بخطوط زوايا المواقيت"));
    CmdClose->setToolTip(TipWithKey(QStringLiteral("إغلاق النافذة"), QKeySequence(Qt::Key_Escape)));
    connect(CmdPrint, &QPushButton::clicked, this, &FrmTimetable::Print);
    connect(CmdPdf, &QPushButton::clicked, this, &FrmTimetable::SavePdf);
    connect(CmdCsv, &QPushButton::clicked, this, &FrmTimetable::SaveCsv);
    connect(CmdIcs, &QPushButton::clicked, this, &FrmTimetable::SaveCalendar);
    connect(CmdChart, &QPushButton::clicked, this, &FrmTimetable::ShowDayChart);
    connect(CmdClose, &QPushButton::clicked, this, &QDialog::reject);
    return commands;
}

QWidget* FrmTimetable::BuildZoneChoice() {
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);
    const auto shown = [](const std::string& text) {
        return Isolated(QString::fromStdString(text));
    };
    OptZoneFields = new QRadioButton(
        QStringLiteral("النافذة الرئيسية: المنطقة ") + shown(place_.fields.TxtZone) +
            QStringLiteral("، الصيفي ") + shown(place_.fields.TxtEteRegl),
        box);
    OptZoneFields->setObjectName(QStringLiteral("OptZoneFields"));
    OptZoneList = new QRadioButton(QStringLiteral("منطقة زمنية من قاعدة النظام:"), box);
    OptZoneList->setObjectName(QStringLiteral("OptZoneList"));
    auto* group = new QButtonGroup(box);
    group->addButton(OptZoneFields);
    group->addButton(OptZoneList);
    OptZoneFields->setChecked(true);

    TxtZoneSearch = new QLineEdit(box);
    TxtZoneSearch->setObjectName(QStringLiteral("TxtZoneSearch"));
    TxtZoneSearch->setPlaceholderText(QStringLiteral("ابحث باسم المدينة: الدار البيضاء، Riyadh…"));
    TxtZoneSearch->setClearButtonEnabled(true);
    NameControl(TxtZoneSearch, QStringLiteral("البحث عن منطقة زمنية باسم مدينتها"));
    zones_ = new QStandardItemModel(box);
    shownZones_ = new QSortFilterProxyModel(box);
    shownZones_->setSourceModel(zones_);
    shownZones_->setFilterRole(kSearchKey);
    shownZones_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    LstZones = new QListView(box);
    LstZones->setObjectName(QStringLiteral("LstZones"));
    LstZones->setModel(shownZones_);
    LstZones->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LstZones->setFixedHeight(96);
    NameControl(LstZones, QStringLiteral("المناطق الزمنية للنظام"));
    for (QWidget* w :
         std::initializer_list<QWidget*>{OptZoneFields, OptZoneList, TxtZoneSearch, LstZones})
        column->addWidget(w);

    connect(OptZoneFields, &QRadioButton::toggled, this, [this] { Recompute(); });
    connect(TxtZoneSearch, &QLineEdit::textChanged, this, &FrmTimetable::FilterZones);
    connect(TxtZoneSearch, &QLineEdit::returnPressed, this, &FrmTimetable::PickFirstZone);
    connect(LstZones->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!current.isValid()) return;
                if (!OptZoneList->isChecked())
                    OptZoneList->setChecked(true);  // toggles: recomputes
                else
                    Recompute();
            });
    return box;
}

void FrmTimetable::FillZones() {
    const QStringList names = ZoneNames();
    for (const QString& name : names) {
        const QString arabic = QString::fromStdString(places::ZoneCityCountryArabic(Std(name)));
        // The city and country in Arabic first, the database's name for those who know it.
        auto* item = new QStandardItem(
            arabic.isEmpty() ? Isolated(name) : arabic + QStringLiteral(" — ") + Isolated(name));
        item->setToolTip(item->text());
        item->setData(name, kZoneId);
        item->setData(SearchKey(name) + QLatin1Char(' ') + SearchKey(arabic), kSearchKey);
        zones_->appendRow(item);
    }
    if (names.isEmpty()) {
        OptZoneList->setEnabled(false);
        TxtZoneSearch->setEnabled(false);
        OptZoneList->setToolTip(
            QStringLiteral("لا توجد قاعدة مناطق زمنية في النظام (الحزمة tzdata)"));
        return;
    }
    // Show the system's own zone without choosing it: the main window's zone stays in use.
    const QModelIndexList own =
        zones_->match(zones_->index(0, 0), kZoneId, SystemZoneName(), 1, Qt::MatchExactly);
    if (!own.isEmpty()) {
        const QSignalBlocker quiet(LstZones->selectionModel());
        LstZones->scrollTo(shownZones_->mapFromSource(own.front()));
    }
}

void FrmTimetable::FilterZones(const QString& text) {
    shownZones_->setFilterFixedString(SearchKey(text));
}

// Return in the search field takes the first zone shown.
void FrmTimetable::PickFirstZone() {
    if (shownZones_->rowCount() == 0) return;
    LstZones->setCurrentIndex(shownZones_->index(0, 0));
}

QString FrmTimetable::ChosenZone() const {
    const QModelIndex current = LstZones->currentIndex();
    return current.isValid() ? current.data(kZoneId).toString() : QString();
}

void FrmTimetable::SetPlace(const QString& name, const QString& zone) {
    TxtPlaceName->setText(name);
    if (zone.isEmpty()) return;
    const QModelIndexList found =
        zones_->match(zones_->index(0, 0), kZoneId, zone, 1, Qt::MatchExactly);
    if (found.isEmpty()) return;
    TxtZoneSearch->clear();
    LstZones->setCurrentIndex(shownZones_->mapFromSource(found.front()));
    LstZones->scrollTo(LstZones->currentIndex());
}

bool FrmTimetable::MakeOptions(std::vector<std::string>& args, services::TimetableJob& job,
                               QString& why) const {
    // The place of the main window's fields, and the same as options of `zerin times`.
    services::TableOptions options;
    std::vector<std::string> place;
    for (std::size_t k = 0; k < services::kPlaceFieldOptions; ++k) {
        const services::FieldTextOption& field = services::kFieldTextOptions[k];
        options.place.fields.*field.field = place_.fields.*field.field;
        place.insert(place.end(), {field.option, place_.fields.*field.field});
        if (k + 1 == services::kPlaceFieldOptions / 2)
            place.push_back(place_.east ? "--east" : "--west");
    }
    place.push_back(place_.north ? "--north" : "--south");
    options.place.east = place_.east;
    options.place.north = place_.north;
    if (OptZoneList->isChecked()) {
        const QString zone = ChosenZone();
        if (zone.isEmpty()) {
            why = QStringLiteral("اختر منطقة زمنية من القائمة (ابحث عنها باسم مدينتها).");
            return false;
        }
        options.tz = Std(zone);
        place.insert(place.end(), {"--tz", *options.tz});
    } else {
        const std::optional<int> zone = WholeHours(place_.fields.TxtZone),
                                 summer = WholeHours(place_.fields.TxtEteRegl);
        if (!zone || !summer || !IsZoneHours(*zone) || *summer < -24 || *summer > 24) {
            why = QStringLiteral("المنطقة الزمنية في النافذة الرئيسية تُقبل ساعاتٍ كاملة من ") +
                  Isolated(QStringLiteral("-14")) + QStringLiteral(" إلى 12، والتوقيت الصيفي من ") +
                  Isolated(QStringLiteral("-24")) + QStringLiteral(" إلى 24. لمنطقة مثل ") +
                  Isolated(QStringLiteral("+05:30")) +
                  QStringLiteral(" اختر اسمها من قاعدة المناطق الزمنية.");
            return false;
        }
        options.zone = *zone;
        options.summer = *summer;
        place.insert(place.end(),
                     {"--zone", std::to_string(*zone), "--summer", std::to_string(*summer)});
    }

    const int year = SpnYear->value();
    const int firstMonth = OptMonth->isChecked() ? CboMonth->currentIndex() + 1 : 1;
    const int lastMonth = OptMonth->isChecked() ? firstMonth : 12;
    const QDate from(year, firstMonth, 1);
    const QDate to = QDate(year, lastMonth, 1).addMonths(1).addDays(-1);
    job = services::TimetableJob{};
    job.places = {{Std(TxtPlaceName->text().trimmed()), options}};
    job.from = services::Civil{year, firstMonth, 1};
    job.days = static_cast<std::size_t>(from.daysTo(to) + 1);
    const services::PrayerMethod* method =
        services::PrayerMethodNamed(Std(CboMethod->currentData().toString()));
    job.settings = services::SettingsOfMethod(
        method ? *method : *services::PrayerMethodNamed(services::kDefaultMethod));
    job.settings.rule = kRuleChoices[CboHighLat->currentIndex()].rule;
    job.settings.asr = kAsrChoices[CboAsr->currentIndex()].asr;
    job.hijri = kHijriChoices[CboHijri->currentIndex()];

    args = {"times"};
    args.insert(args.end(), place.begin(), place.end());
    args.insert(args.end(),
                {"--from", Std(from.toString(Qt::ISODate)), "--to", Std(to.toString(Qt::ISODate)),
                 "--high-lat", kRuleChoices[CboHighLat->currentIndex()].option});
    if (job.hijri) args.insert(args.end(), {"--hijri-rule", HijriRuleKey(*job.hijri)});
    return true;
}

void FrmTimetable::FollowZoneMethod() {
    if (methodChosen_) return;
    const QString zone = OptZoneList->isChecked() ? ChosenZone() : QString();
    const char* name =
        zone.isEmpty() ? services::kDefaultMethod : services::MethodOfZone(Std(zone));
    CboMethod->setCurrentIndex(CboMethod->findData(QString::fromUtf8(name)));
}

void FrmTimetable::Recompute() {
    FollowZoneMethod();
    std::vector<std::string> args;
    services::TimetableJob job;
    QString why;
    args_.clear();
    job_.reset();
    services::Place place;
    std::string error;
    LblPlace->setText(services::CheckPlace(place_, place, error)
                          ? QStringLiteral("المكان من النافذة الرئيسية: ") +
                                AngleText(place.Lat, true) + QStringLiteral("، ") +
                                AngleText(place.Lon, false)
                          : QString());
    if (!MakeOptions(args, job, why)) {
        ShowProblem(why);
        return;
    }
    std::unique_ptr<TimetableSource> source =
        TimetableSource::Make(job.places.front(), job.settings, job.from, LastDayOf(job), error);
    if (!source) {
        ShowProblem(QStringLiteral("لا يمكن حساب الجدول لهذا المكان بهذه الساعة: ") +
                    WhyNoTable(job.places.front()));
        return;
    }
    args_ = std::move(args);
    job_ = job;
    // One sheet over the whole period: the header names every change of the clock in it.
    ShowSheet(SheetOf(*source, TimetablePage{0, job.from, job.days}, job));
}

void FrmTimetable::ShowSheet(const TimetableSheet& sheet) {
    LblSummary->SetLine(sheet.summary);
    LblHeader->setText(sheet.header.join(QLatin1Char('\n')));
    notes_ = sheet.notes.join(QLatin1Char('\n'));
    LblNotes->setText(notes_);
    LblNotes->setStyleSheet(QString());
    GrdTimes->clear();
    GrdTimes->setColumnCount(static_cast<int>(sheet.columns.size()));
    GrdTimes->setRowCount(static_cast<int>(sheet.rows.size()));
    QStringList titles;
    for (const SheetColumn column : sheet.columns) titles << ColumnTitle(column);
    GrdTimes->setHorizontalHeaderLabels(titles);
    for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
        for (std::size_t c = 0; c < sheet.columns.size(); ++c) {
            const QString text = sheet.Cell(r, c);
            // Times and dates read left to right ("05:20*", "00:40+1") in the right-to-left grid;
            // the plain text stays in the item's user data.
            auto* item =
                new QTableWidgetItem(ReadsRightToLeft(sheet.columns[c]) ? text : Isolated(text));
            item->setData(Qt::UserRole, text);
            item->setTextAlignment(Qt::AlignCenter);
            GrdTimes->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    // The dates need their whole width; the times share the rest.
    for (std::size_t c = 0; c < sheet.columns.size(); ++c)
        GrdTimes->horizontalHeader()->setSectionResizeMode(
            static_cast<int>(c),
            sheet.columns[c] == SheetColumn::Hijri || sheet.columns[c] == SheetColumn::Date
                ? QHeaderView::ResizeToContents
                : QHeaderView::Stretch);
    rowDates_.clear();
    for (const SheetRow& row : sheet.rows) rowDates_.push_back(row.day.date);
    for (QPushButton* button : {CmdPrint, CmdPdf, CmdCsv, CmdIcs, CmdChart})
        button->setEnabled(true);
}

void FrmTimetable::ShowProblem(const QString& text) {
    LblSummary->SetLine(QString());
    LblHeader->clear();
    GrdTimes->clear();
    GrdTimes->setRowCount(0);
    GrdTimes->setColumnCount(0);
    LblNotes->setText(text);
    LblNotes->setStyleSheet(QStringLiteral("color: #a01010; font-weight: bold;"));
    rowDates_.clear();
    for (QPushButton* button : {CmdPrint, CmdPdf, CmdCsv, CmdIcs, CmdChart})
        button->setEnabled(false);
}

void FrmTimetable::ShowSaved(const QString& path) {
    const QString saved =
        QStringLiteral("حُفظ الجدول في ") + Isolated(QDir::toNativeSeparators(path));
    LblNotes->setText(notes_.isEmpty() ? saved : notes_ + QLatin1Char('\n') + saved);
}

QString FrmTimetable::SuggestedPath(const QString& suffix) const {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    QString name = TxtPlaceName->text().trimmed();
    if (name.isEmpty()) name = QStringLiteral("مواقيت");
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    const QString period = OptMonth->isChecked()
                               ? QStringLiteral("%1-%2")
                                     .arg(SpnYear->value())
                                     .arg(CboMonth->currentIndex() + 1, 2, 10, QLatin1Char('0'))
                               : QString::number(SpnYear->value());
    return QDir(folder).filePath(name + QLatin1Char('-') + period + suffix);
}

void FrmTimetable::Print() {
    if (!job_) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                    QMarginsF(kPageMarginMm, kPageMarginMm, kPageMarginMm, kPageMarginMm),
                    QPageLayout::Millimeter));
    printer.setDocName(windowTitle());
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("DlgPrint"));
    showModal_(dialog);
    if (dialog.result() != QDialog::Accepted) return;
    TimetablePrinter pages(*job_);
    std::string error;
    QString reason;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool printed = pages.Prepare(error) && pages.Paint(printer, {}, reason);
    QApplication::restoreOverrideCursor();
    if (!printed)
        messenger_.critical(
            {"تعذّرت الطباعة: " + Std(Isolated(QString::fromStdString(error) + reason)),
             "could not print: " + error + Std(reason)});
}

void FrmTimetable::SavePdf() {
    if (!job_) return;
    QString path =
        choosePath_(SuggestedPath(QStringLiteral(".pdf")), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    TimetablePrinter pages(*job_);
    std::string refused;
    FileError error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool prepared = pages.Prepare(refused);
    const bool saved = prepared && pages.WritePdf(QFile::encodeName(path).toStdString(), {}, error);
    QApplication::restoreOverrideCursor();
    if (!prepared) return SaveFailed(path, refused, refused);
    if (!saved) return SaveFailed(path, error.ArabicReason(), error.Reason());
    ShowSaved(path);
}

void FrmTimetable::SaveCsv() {
    if (args_.empty()) return;
    QString path =
        choosePath_(SuggestedPath(QStringLiteral(".csv")), QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    QByteArray csv;
    std::string why;
    if (!job_ || !TimesCsv(*job_, csv, why)) {
        const std::string reason = QString::fromStdString(why).trimmed().toStdString();
        return SaveFailed(path, reason, reason);
    }
    FileError error;
    if (!WriteFileAtomically(QFile::encodeName(path).toStdString(),
                             std::string_view(csv.constData(), csv.size()), error))
        return SaveFailed(path, error.ArabicReason(), error.Reason());
    ShowSaved(path);
}

void FrmTimetable::SaveCalendar() {
    if (!job_) return;
    DlgCalendar options(this);
    showModal_(options);
    if (options.result() != QDialog::Accepted) return;
    QString path =
        choosePath_(SuggestedPath(QStringLiteral(".ics")), QStringLiteral("iCalendar (*.ics)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".ics");
    std::string ics, why;
    const int status = services::CalendarText(RequestOf(*job_), options.Options(),
                                              job_->places.front().name, ics, why);
    if (status == 2 || ics.empty()) {
        const std::string reason = QString::fromStdString(why).trimmed().toStdString();
        return SaveFailed(path, reason, reason);
    }
    FileError error;
    if (!WriteFileAtomically(QFile::encodeName(path).toStdString(), ics, error))
        return SaveFailed(path, error.ArabicReason(), error.Reason());
    ShowSaved(path);
}

void FrmTimetable::SaveFailed(const QString& path, const std::string& arabic,
                              const std::string& english) {
    messenger_.critical({"تعذّر حفظ الجدول في الملف\r\n" + IsolatedPath(path) + "\r\n" +
                             Std(Isolated(QString::fromStdString(arabic))),
                         "could not save the timetable to " + Std(path) + ": " + english});
}

void FrmTimetable::ShowDayChart() {
    if (!job_ || rowDates_.empty()) return;
    const int row = GrdTimes->currentRow();
    const services::TimetablePlace& place = job_->places.front();
    services::DayChartRequest request{place.options,
                                      rowDates_[row >= 0 && row < static_cast<int>(rowDates_.size())
                                                    ? static_cast<std::size_t>(row)
                                                    : 0],
                                      job_->settings, place.name};
    services::DayChart chart;
    std::string error;
    if (!services::DayChartOf(request, chart, error))
        return messenger_.critical(
            {"تعذّر رسم اليوم: " + Std(Isolated(QString::fromStdString(error))),
             "could not draw the day: " + error});
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("DlgDayChart"));
    dialog.setWindowTitle(QStringLiteral("ارتفاع الشمس خلال اليوم"));
    dialog.setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(&dialog);
    auto* view = new SunDayChart(&dialog);
    view->SetChart(chart);
    layout->addWidget(view, 1);
    QPushButton* close = PartButton(&dialog, "CmdClose", QStringLiteral("إغلاق"), 10);
    connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignLeft);
    dialog.resize(820, 600);
    showModal_(dialog);
}

}  // namespace zerin::ui
