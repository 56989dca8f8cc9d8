#include "ReportSidePanel.h"

#include <QDate>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "Look.h"
#include "PrayerMethods.h"
#include "TimetableSheet.h"

namespace zerin::ui {

namespace {

struct Shown {
    services::TimeCell cell;
    const char* name;
};
const Shown kShown[] = {
    {services::kFajr, "الفجر"},        {services::kSunrise, "الشروق"},
    {services::kTransit, "الزوال"},    {services::kAsr1, "العصر الأول"},
    {services::kAsr2, "العصر الثاني"}, {services::kSunset, "الغروب"},
    {services::kMaghrib, "المغرب"},    {services::kIsha, "العشاء"},
};
// Wide enough for a chart beside the report, within a laptop's screen.
constexpr int kWidth = 440;

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

ReportSidePanel::ReportSidePanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PnlReportSide"));
    setProperty("skin", QStringLiteral("frame"));
    setFixedWidth(kWidth);
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(10, 10, 10, 10);
    timesBox_ = new QWidget(this);
    auto* column = new QVBoxLayout(timesBox_);
    column->setContentsMargins(0, 0, 0, 0);
    title_ = new QLabel(QStringLiteral("أوقات اليوم بساعة المكان"), timesBox_);
    title_->setObjectName(QStringLiteral("LblLocalTimesTitle"));
    title_->setProperty("skin", QStringLiteral("heading"));
    clock_ = new QLabel(timesBox_);
    clock_->setObjectName(QStringLiteral("LblLocalClock"));
    clock_->setWordWrap(true);
    // Two times a row, each name at the right of its time.
    auto* grid = new QWidget(timesBox_);
    auto* times = new QGridLayout(grid);
    times->setContentsMargins(0, 4, 0, 4);
    for (int k = 0; k < static_cast<int>(std::size(kShown)); ++k) {
        auto* name = new QLabel(QString::fromUtf8(kShown[k].name), grid);
        auto* time = new QLabel(grid);
        time->setObjectName(QStringLiteral("LblLocal%1").arg(k));
        time->setAccessibleName(name->text());
        times->addWidget(name, k / 2, k % 2 * 2);
        times->addWidget(time, k / 2, k % 2 * 2 + 1, Qt::AlignLeft);
        names_.push_back(name);
        times_.push_back(time);
    }
    note_ = new QLabel(timesBox_);
    note_->setObjectName(QStringLiteral("LblLocalNote"));
    note_->setWordWrap(true);
    note_->setProperty("skin", QStringLiteral("caption"));
    for (QWidget* w : std::initializer_list<QWidget*>{title_, clock_, grid, note_})
        column->addWidget(w);
    layout_->addWidget(timesBox_);
    layout_->addStretch(1);
    timesBox_->hide();
}

void ReportSidePanel::ShowChart(QWidget* chart) {
    delete chart_;
    chart_ = chart;
    chart_->setParent(this);
    layout_->insertWidget(1, chart_, 1);
    emit contentChanged();
}

QString ReportSidePanel::TimeOf(const QString& name) const {
    if (!timesShown_) return {};
    for (std::size_t k = 0; k < names_.size(); ++k)
        if (names_[k]->text() == name && !names_[k]->isHidden())
            return times_[k]->property("time").toString();
    return {};
}

void ReportSidePanel::Clear() {
    timesShown_ = false;
    timesBox_->hide();
    delete chart_;
    chart_ = nullptr;
    emit contentChanged();
}

void ReportSidePanel::ShowDay(const services::TimesRequest& request) {
    const services::Civil& date = request.from;
    services::TimesDay day;
    std::string error;
    const bool dated = QDate(date.year, date.month, date.day).isValid() &&
                       QDate(date.year, date.month, date.day) >= QDate(1582, 10, 15);
    const bool computed = dated && services::FirstDayOf(request, day, error);
    // Maghrib has a row of its own when the method puts it apart from the setting.
    const bool maghrib = services::MaghribApart(request.settings);
    for (std::size_t k = 0; k < std::size(kShown); ++k) {
        const services::TimeCell cell = kShown[k].cell;
        QString text;
        if (computed) {
            const double hours = day.clock[cell];
            text = std::isnan(hours) ? QStringLiteral("—")
                                     : Utf8(services::ClockText(hours, false)) +
                                           (day.adjusted[cell] ? QStringLiteral("*") : QString());
        }
        times_[k]->setProperty("time", text);
        times_[k]->setText(text);
        names_[k]->setVisible(cell != services::kMaghrib || maghrib);
        times_[k]->setVisible(cell != services::kMaghrib || maghrib);
    }
    timesShown_ = true;
    timesBox_->show();
    if (!computed) {
        clock_->setText(dated ? QStringLiteral("لا يمكن حساب أوقات هذا اليوم: ") + Utf8(error)
                              : QStringLiteral("جدول المواقيت يبدأ من 15 أكتوبر 1582 بالتقويم "
                                               "الغريغوري."));
        note_->clear();
        emit contentChanged();
        return;
    }
    QString clock = QStringLiteral("الساعة ") + UtcText(day.offset.Total());
    if (request.table.tz) clock += QLatin1Char(' ') + Isolated(Utf8(*request.table.tz));
    clock_->setText(Isolated(Utf8(services::DateText(day.date))) + QStringLiteral("، ") + clock);
    // The report's own angles are the default method's; the timetable window may choose another
    // method for the zone's country, so the note names the one these times follow.
    const services::PrayerMethod* method = services::PrayerMethodNamed(request.settings.method);
    note_->setText(
        QStringLiteral("كما يعطيها جدول المواقيت بطريقة ") +
        QString::fromUtf8(method ? method->arabic : request.settings.method.c_str()) +
        QStringLiteral(": بالتوقيت الصيفي، مقرّبة إلى الدقيقة، والشروق والغروب بانكسار "
                       "الضوء، فتختلف عن التقرير قليلاً.") +
        (day.held || day.adjusted[services::kFajr] ? QStringLiteral(" * وقت مقدّر.") : QString()));
    emit contentChanged();
}

}  // namespace zerin::ui
