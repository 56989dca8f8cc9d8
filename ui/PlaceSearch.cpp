#include "PlaceSearch.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringListModel>
#include <algorithm>
#include <cmath>

#include "Look.h"
#include "OwnPlaces.h"
#include "PlaceFields.h"
#include "RecentPlaces.h"
#include "SkyChart.h"
#include "TimetableSheet.h"
#include "qibla/Qibla.h"

namespace zerin::ui {

namespace {

constexpr std::size_t kShownMatches = 12;
constexpr int kStatusWidth = 320;

// Return in the field picks a place and goes no further: the window's Return runs the Sun. A
// click in the empty field, or the Down arrow, offers the places picked last. A click that
// brings the focus selects the name shown, so that typing starts a new search.
class SearchEdit : public QLineEdit {
  public:
    SearchEdit(PlaceSearch* search, QWidget* parent) : QLineEdit(parent), search_(search) {}

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Down && text().isEmpty()) return search_->OfferRecent();
        QLineEdit::keyPressEvent(event);
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) event->accept();
    }
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        selectOnRelease_ = event->reason() == Qt::MouseFocusReason;
    }
    void mousePressEvent(QMouseEvent* event) override {
        QLineEdit::mousePressEvent(event);
        if (text().isEmpty()) search_->OfferRecent();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLineEdit::mouseReleaseEvent(event);
        if (selectOnRelease_ && !hasSelectedText()) selectAll();
        selectOnRelease_ = false;
    }

  private:
    PlaceSearch* search_;
    bool selectOnRelease_ = false;
};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// A name that holds no Arabic letter reads left to right in the Arabic line.
QString NameInLine(const std::string& name) {
    const QString text = Q(name);
    for (const QChar c : text)
        if (c.direction() == QChar::DirAL || c.direction() == QChar::DirR) return text;
    return Isolated(text);
}

bool HasLatinLetter(const QString& text) {
    for (const QChar c : text)
        if (c.isLetter() && c.script() == QChar::Script_Latin) return true;
    return false;
}

// "12 كم إلى الشمال الشرقي من فاس": where the place lies from the nearest town larger than it.
QString FromLargerTown(const places::GazetteerPlace& place, const places::Gazetteer& gazetteer) {
    for (const auto& [town, km] : gazetteer.Nearest(place.latitude, place.longitude, 40)) {
        if (town.population <= place.population || km < 0.5) continue;
        const double course =
            GreatCircleCourse(town.latitude, place.latitude, place.longitude - town.longitude);
        return Isolated(QString::number(std::lround(km))) + QStringLiteral(" كم إلى ") +
               QString::fromUtf8(services::DirectionArabic(course)) + QStringLiteral(" من ") +
               NameInLine(town.name);
    }
    return {};
}

}  // namespace

QString MatchLabel(const places::GazetteerPlace& place, bool latin, const QString& beside) {
    if (place.own) return NameInLine(place.name) + QStringLiteral(" — مكان محفوظ");
    QString label = NameInLine(place.name);
    if (latin && place.name != place.latinName)
        label += QStringLiteral(" — ") + NameInLine(place.latinName);
    if (!beside.isEmpty()) label += QStringLiteral("، ") + beside;
    return label + QStringLiteral("، ") + Q(places::CountryNameArabic(place.country));
}

QStringList MatchLabels(const std::vector<places::GazetteerPlace>& matches,
                        const places::Gazetteer& gazetteer, bool latin) {
    const auto alike = [](const places::GazetteerPlace& a, const places::GazetteerPlace& b) {
        return !a.own && !b.own && a.name == b.name && a.country == b.country;
    };
    QStringList labels;
    for (const places::GazetteerPlace& p : matches) {
        bool namesake = false, regionShared = false;
        for (const places::GazetteerPlace& other : matches) {
            if (&other == &p || !alike(p, other)) continue;
            namesake = true;
            regionShared = regionShared || other.regionName == p.regionName;
        }
        QString beside;
        if (namesake)
            beside = !p.regionName.empty() && !regionShared ? NameInLine(p.regionName)
                                                            : FromLargerTown(p, gazetteer);
        labels << MatchLabel(p, latin, beside);
    }
    return labels;
}

QString StoredClock(const std::string& zone) {
    if (places::IsZoneName(zone)) return QStringLiteral("بتوقيت ") + Isolated(Q(zone));
    const services::Seconds east = -std::stoll(zone.empty() ? "0" : zone) * services::kHour;
    return QStringLiteral("بتوقيت ") + UtcText(east) + QStringLiteral(" الثابت");
}

PlaceSearch::PlaceSearch(Messenger& messenger, const QStringList& folders, QWidget* parent)
    : QWidget(parent), messenger_(messenger) {
    setObjectName(QStringLiteral("PlaceSearch"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(QStringLiteral("ابحث عن مكان:"), this);
    caption->setObjectName(QStringLiteral("LblPlaceSearch"));
    caption->setProperty("skin", QStringLiteral("heading"));
    edit_ = new SearchEdit(this, this);
    edit_->setObjectName(QStringLiteral("TxtPlaceSearch"));
    edit_->setPlaceholderText(QStringLiteral("اسم المدينة بالعربية أو باللاتينية: الرباط، Fès"));
    edit_->setAccessibleName(QStringLiteral("البحث عن مكان باسمه"));
    edit_->setClearButtonEnabled(true);
    edit_->setMinimumWidth(300);
    caption->setBuddy(edit_);
    save_ = new QPushButton(QStringLiteral("احفظ المكان بهذا الاسم"), this);
    save_->setObjectName(QStringLiteral("CmdSavePlace"));
    save_->setAccessibleName(
        QStringLiteral("حفظ خطي الطول والعرض والمنطقة مكاناً خاصاً بالاسم المكتوب"));
    save_->setAutoDefault(false);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("LblPlaceStatus"));
    status_->setAccessibleName(QStringLiteral("حالة البحث عن الأماكن"));
    status_->setFixedWidth(kStatusWidth);
    layout->addWidget(caption);
    layout->addWidget(edit_, 1);
    layout->addWidget(save_);
    layout->addWidget(status_);

    model_ = new QStringListModel(this);
    completer_ = new QCompleter(model_, this);
    completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer_->setMaxVisibleItems(static_cast<int>(kShownMatches));
    completer_->popup()->setObjectName(QStringLiteral("LstPlaceMatches"));
    completer_->popup()->setAccessibleName(QStringLiteral("الأماكن الموافقة للبحث"));
    // The highlight follows the pointer as well as the arrows: Return takes what it shows.
    completer_->popup()->setMouseTracking(true);
    connect(completer_->popup(), &QAbstractItemView::entered, completer_->popup(),
            &QAbstractItemView::setCurrentIndex);
    // The completer serves the field without being its own: the line edit would complete on
    // every key (losing the highlight) and write a match's whole label into the field.
    completer_->setWidget(edit_);

    connect(edit_, &QLineEdit::textEdited, this, &PlaceSearch::Refresh);
    connect(completer_, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            [this](const QModelIndex& index) {
                if (index.isValid()) Pick(static_cast<std::size_t>(index.row()));
            });
    connect(edit_, &QLineEdit::returnPressed, this, [this] {
        if (justPicked_)
            justPicked_ = false;
        else
            PickHighlighted();
    });
    connect(save_, &QPushButton::clicked, this, &PlaceSearch::Save);

    std::vector<std::string> where;
    for (const QString& folder : folders) where.push_back(folder.toStdString());
    recent_ = places::LoadRecentPlaces(places::RecentPlacesPath());
    std::string error, ownError, alike;
    loaded_ = places::LoadPlaces(gazetteer_, where, error, ownError, &alike);
    // Said in Arabic with the file's name: `zerin places` gives the reason in detail.
    if (!ownError.empty())
        ShowStatus(QStringLiteral("البحث عن الأماكن ناقص: تعذّرت قراءة ملف أماكنك ") +
                       Isolated(Q(places::OwnPlacesPath())),
                   true);
    else if (!error.empty())
        ShowStatus(QStringLiteral("البحث عن الأماكن ناقص: ملف الأماكن gazetteer.txt مفقود أو تالف"),
                   true);
    // Two own places that look alike: both are kept, and the user is told which lines.
    if (error.empty() && ownError.empty() && !alike.empty())
        ShowStatus(QStringLiteral("في أماكنك اسمان متشابهان (احفظ المكان من جديد لتبقى واحدا): ") +
                       Q(alike),
                   true);
}

QAbstractItemView* PlaceSearch::Popup() const {
    return completer_->popup();
}

QStringList PlaceSearch::Shown() const {
    return model_->stringList();
}

void PlaceSearch::Refresh(const QString& text) {
    justPicked_ = false;
    latinQuery_ = HasLatinLetter(text);
    const std::string query = text.toStdString();
    const std::string key = places::NormaliseName(query);
    // The places picked last that the text names come first, then the gazetteer's.
    matches_.clear();
    for (const places::GazetteerPlace& p : recent_)
        if (!key.empty() && (places::NormaliseName(p.name).starts_with(key) ||
                             places::NormaliseName(p.latinName).starts_with(key)))
            matches_.push_back(p);
    const std::size_t recent = matches_.size();
    for (places::GazetteerPlace& p : gazetteer_.Search(query, "", kShownMatches)) {
        const auto same = [&p](const places::GazetteerPlace& r) { return places::SamePick(r, p); };
        if (matches_.size() < kShownMatches &&
            std::none_of(matches_.begin(), matches_.begin() + recent, same))
            matches_.push_back(std::move(p));
    }
    if (matches_.empty() && !text.trimmed().isEmpty()) {
        model_->setStringList({});
        completer_->popup()->hide();
        ShowStatus(QStringLiteral("لا مكان بهذا الاسم"), false);
        return;
    }
    ShowStatus(QString(), false);
    ShowMatches();
}

void PlaceSearch::OfferRecent() {
    justPicked_ = false;
    latinQuery_ = false;
    matches_ = recent_;
    ShowMatches();
}

// The drop-down with the matches, the first highlighted.
void PlaceSearch::ShowMatches() {
    model_->setStringList(MatchLabels(matches_, gazetteer_, latinQuery_));
    if (matches_.empty()) return completer_->popup()->hide();
    completer_->complete();
    completer_->popup()->setCurrentIndex(completer_->completionModel()->index(0, 0));
}

void PlaceSearch::PickFirst() {
    if (matches_.empty()) Refresh(edit_->text());
    if (matches_.empty()) return;
    completer_->popup()->hide();
    Pick(0);
}

void PlaceSearch::PickHighlighted() {
    const QModelIndex highlighted = completer_->popup()->currentIndex();
    if (!completer_->popup()->isVisible() || !highlighted.isValid()) return PickFirst();
    completer_->popup()->hide();
    Pick(static_cast<std::size_t>(highlighted.row()));
}

void PlaceSearch::Pick(std::size_t row) {
    if (row >= matches_.size()) return;
    const places::GazetteerPlace place = matches_[row];
    justPicked_ = true;
    edit_->setText(Q(place.name));
    edit_->selectAll();  // typing starts a new search
    ShowStatus(MatchLabel(place, false, NameInLine(place.regionName)), false);
    pickShown_ = true;
    // Picked again, it comes first next time; a file that cannot be written only loses that.
    std::string error;
    places::SaveRecentPlace(places::RecentPlacesPath(), place, error);
    recent_ = places::LoadRecentPlaces(places::RecentPlacesPath());
    emit picked(place);
}

void PlaceSearch::ForgetPick() {
    if (pickShown_) ShowStatus(QString(), false);
}

void PlaceSearch::Save() {
    places::GazetteerPlace place;
    QString why;
    if (!current_ || !current_(place, why)) {
        messenger_.critical({("لا يمكن حفظ المكان: " + why).toStdString(),
                             "the place cannot be saved: the fields cannot be read"});
        return;
    }
    place.name = place.latinName = edit_->text().trimmed().toStdString();
    if (place.name.empty()) {
        messenger_.critical({"اكتب في حقل البحث اسماً للمكان (مثل «مسجد الحي») ثم احفظه.",
                             "type a name for the place in the search field, then save it"});
        return;
    }
    std::string error;
    if (!places::SaveOwnPlace(places::OwnPlacesPath(), place, error)) {
        messenger_.critical({"لم يُحفظ المكان «" + place.name + "»:\r\n" + error,
                             "the place was not saved: " + error});
        return;
    }
    std::vector<places::GazetteerPlace> own;
    places::LoadOwnPlaces(places::OwnPlacesPath(), own, error);
    gazetteer_.SetOwnPlaces(std::move(own));
    ShowStatus(QStringLiteral("حُفظ «%1» ").arg(Q(place.name)) + StoredClock(place.zone), false);
}

// The status keeps the window's width: a long text is cut short, whole in its tooltip.
void PlaceSearch::ShowStatus(const QString& text, bool problem) {
    pickShown_ = false;
    status_->setText(status_->fontMetrics().elidedText(text, Qt::ElideRight, kStatusWidth));
    status_->setToolTip(text);
    status_->setAccessibleDescription(text);
    status_->setProperty("problem", problem);
}

}  // namespace zerin::ui
