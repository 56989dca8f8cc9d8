#include "PlaceSearch.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringListModel>

#include "Look.h"
#include "OwnPlaces.h"
#include "PlaceFields.h"

namespace zerin::ui {

namespace {

constexpr std::size_t kShownMatches = 12;
constexpr int kStatusWidth = 320;

// Return in the field picks a place and goes no further: the window's Return runs the Sun.
class SearchEdit : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        QLineEdit::keyPressEvent(event);
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) event->accept();
    }
};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

QString MatchLabel(const places::GazetteerPlace& place) {
    if (place.own) return Q(place.name) + QStringLiteral(" — مكان محفوظ");
    QString label = Q(place.name);
    if (place.name != place.latinName) label += QStringLiteral(" — ") + Q(place.latinName);
    label += QStringLiteral("، ") + Q(places::CountryNameArabic(place.country));
    return label;
}

QString StoredClock(const std::string& zone) {
    if (places::IsZoneName(zone)) return QStringLiteral("بتوقيت ") + Q(zone);
    const services::Seconds east = -std::stoll(zone.empty() ? "0" : zone) * services::kHour;
    return QStringLiteral("بتوقيت ") + QStringLiteral("UTC") + Q(services::OffsetText(east)) +
           QStringLiteral(" الثابت");
}

PlaceSearch::PlaceSearch(Messenger& messenger, const QStringList& folders, QWidget* parent)
    : QWidget(parent), messenger_(messenger) {
    setObjectName(QStringLiteral("PlaceSearch"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(QStringLiteral("ابحث عن مكان:"), this);
    caption->setObjectName(QStringLiteral("LblPlaceSearch"));
    caption->setProperty("skin", QStringLiteral("heading"));
    edit_ = new SearchEdit(this);
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
    edit_->setCompleter(completer_);

    connect(edit_, &QLineEdit::textEdited, this, &PlaceSearch::Refresh);
    connect(completer_, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            [this](const QModelIndex& index) {
                if (index.isValid()) Pick(static_cast<std::size_t>(index.row()));
            });
    connect(edit_, &QLineEdit::returnPressed, this, [this] {
        if (justPicked_)
            justPicked_ = false;
        else
            PickFirst();
    });
    connect(save_, &QPushButton::clicked, this, &PlaceSearch::Save);

    std::vector<std::string> where;
    for (const QString& folder : folders) where.push_back(folder.toStdString());
    std::string error, ownError, alike;
    loaded_ = places::LoadPlaces(gazetteer_, where, error, ownError, &alike);
    if (!ownError.empty()) error = ownError;
    if (!error.empty()) ShowStatus(QStringLiteral("البحث عن الأماكن ناقص: ") + Q(error), true);
    // Two own places that look alike: both are kept, and the user is told which lines.
    if (error.empty() && !alike.empty())
        ShowStatus(QStringLiteral("في أماكنك اسمان متشابهان (احفظ المكان من جديد لتبقى واحدا): ") +
                       Q(alike),
                   true);
}

QStringList PlaceSearch::Shown() const {
    return model_->stringList();
}

void PlaceSearch::Refresh(const QString& text) {
    justPicked_ = false;
    matches_ = gazetteer_.Search(text.toStdString(), "", kShownMatches);
    QStringList labels;
    for (const places::GazetteerPlace& p : matches_) labels << MatchLabel(p);
    model_->setStringList(labels);
    if (labels.isEmpty()) {
        completer_->popup()->hide();
        if (!text.trimmed().isEmpty()) ShowStatus(QStringLiteral("لا مكان بهذا الاسم"), false);
        return;
    }
    ShowStatus(QString(), false);
    completer_->complete();
}

void PlaceSearch::PickFirst() {
    if (matches_.empty()) Refresh(edit_->text());
    if (matches_.empty()) return;
    completer_->popup()->hide();
    Pick(0);
}

void PlaceSearch::Pick(std::size_t row) {
    if (row >= matches_.size()) return;
    const places::GazetteerPlace place = matches_[row];
    justPicked_ = true;
    edit_->setText(Q(place.name));
    ShowStatus(MatchLabel(place), false);
    pickShown_ = true;
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
