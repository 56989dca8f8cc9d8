#include "ReportSidePanel.h"

#include <QDate>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "Look.h"
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
    {services::kIsha, "العشاء"},
};

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

ReportSidePanel::ReportSidePanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PnlReportSide"));
    setProperty("skin", QStringLiteral("frame"));
    setFixedWidth(230);
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(10, 10, 10, 10);
    title_ = new QLabel(QStringLiteral("أوقات اليوم بساعة المكان"), this);
    title_->setObjectName(QStringLiteral("LblLocalTimesTitle"));
    title_->setProperty("skin", QStringLiteral("heading"));
    title_->setWordWrap(true);
    clock_ = new QLabel(this);
    clock_->setObjectName(QStringLiteral("LblLocalClock"));
    clock_->setWordWrap(true);
    auto* grid = new QWidget(this);
    times_ = new QGridLayout(grid);
    times_->setContentsMargins(0, 4, 0, 4);
    for (int k = 0; k < static_cast<int>(std::size(kShown)); ++k) {
        auto* name = new QLabel(QString::fromUtf8(kShown[k].name), grid);
        auto* time = new QLabel(grid);
        time->setObjectName(QStringLiteral("LblLocal%1").arg(k));
        time->setAccessibleName(name->text());
        times_->addWidget(name, k, 0);
        times_->addWidget(time, k, 1, Qt::AlignLeft);
    }
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("LblLocalNote"));
    note_->setWordWrap(true);
    note_->setProperty("skin", QStringLiteral("caption"));
    layout_->addWidget(title_);
    layout_->addWidget(clock_);
    layout_->addWidget(grid);
    layout_->addWidget(note_);
    layout_->addStretch(1);
}

void ReportSidePanel::AddBelow(QWidget* widget) {
    widget->setParent(this);
    layout_->insertWidget(layout_->count() - 1, widget);
}

QString ReportSidePanel::TimeOf(const QString& name) const {
    for (int k = 0; k < times_->rowCount(); ++k) {
        const auto* label = qobject_cast<QLabel*>(times_->itemAtPosition(k, 0)->widget());
        if (label->text() == name)
            return qobject_cast<QLabel*>(times_->itemAtPosition(k, 1)->widget())
                ->property("time")
                .toString();
    }
    return {};
}

void ReportSidePanel::SetContent(bool has) {
    hasContent_ = has;
    emit contentChanged();
}

void ReportSidePanel::Clear() {
    SetContent(false);
}

void ReportSidePanel::ShowDay(const services::TimesRequest& request) {
    const services::Civil& date = request.from;
    services::TimesDay day;
    std::string error;
    const bool dated = QDate(date.year, date.month, date.day).isValid() &&
                       QDate(date.year, date.month, date.day) >= QDate(1582, 10, 15);
    const bool computed = dated && services::FirstDayOf(request, day, error);
    for (int k = 0; k < static_cast<int>(std::size(kShown)); ++k) {
        auto* time = qobject_cast<QLabel*>(times_->itemAtPosition(k, 1)->widget());
        QString text;
        if (computed) {
            const double hours = day.clock[kShown[k].cell];
            text = std::isnan(hours)
                       ? QStringLiteral("—")
                       : Utf8(services::ClockText(hours, false)) +
                             (day.adjusted[kShown[k].cell] ? QStringLiteral("*") : QString());
        }
        time->setProperty("time", text);
        time->setText(text);
    }
    if (!computed) {
        clock_->setText(dated ? QStringLiteral("لا يمكن حساب أوقات هذا اليوم: ") + Utf8(error)
                              : QStringLiteral("جدول المواقيت يبدأ من 15 أكتوبر 1582 بالتقويم "
                                               "الغريغوري."));
        note_->clear();
        SetContent(true);
        return;
    }
    QString clock = QStringLiteral("الساعة ") + UtcText(day.offset.Total());
    if (request.table.tz) clock += QLatin1Char(' ') + Isolated(Utf8(*request.table.tz));
    clock_->setText(Isolated(Utf8(services::DateText(day.date))) + QLatin1Char('\n') + clock);
    note_->setText(
        QStringLiteral("كما يعطيها جدول المواقيت: بالتوقيت الصيفي، مقرّبة إلى "
                       "الدقيقة، والشروق والغروب بانكسار الضوء، فتختلف عن التقرير "
                       "قليلاً.") +
        (day.held || day.adjusted[services::kFajr] ? QStringLiteral(" * وقت مقدّر.") : QString()));
    SetContent(true);
}

}  // namespace zerin::ui
