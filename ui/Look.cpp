#include "Look.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QPushButton>
#include <QStringConverter>
#include <QTranslator>
#include <QWidget>
#include <clocale>
#include <cstdio>

#include "FileDevice.h"
#include "Utf8.h"

namespace zerin::ui {

namespace {

// The families the windows were drawn with, and the nearest faces Debian installs:
// a sans for the interface, a naskh for the report and the headings, a display face for
// the About window's title.
void MapPartFonts() {
    const QStringList sans{"Noto Sans Arabic", "KacstOne"};
    const QStringList naskh{"Noto Naskh Arabic", "Amiri"};
    const QStringList display{"KacstDecorative", "Amiri"};
    QFont::insertSubstitutions("Tahoma", sans);
    QFont::insertSubstitutions("MS Sans Serif", sans);
    QFont::insertSubstitutions("Arabic Transparent", naskh);
    QFont::insertSubstitutions("Simplified Arabic", naskh);
    QFont::insertSubstitutions("Andalus", display);
}

QString ReadSheet(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    auto decode = QStringDecoder(QStringDecoder::Utf8);
    const QString sheet = decode(bytes);
    if (decode.hasError() || file.error() != QFileDevice::NoError) return {};
    return sheet.trimmed().isEmpty() ? QString() : sheet;
}

}  // namespace

QString Isolated(const QString& text) {
    return QString::fromStdString(services::Isolated(text.toStdString()));
}

void ElidedLabel::SetLine(const QString& line) {
    line_ = line;
    setToolTip(line);
    setAccessibleDescription(line);
    setText(fontMetrics().elidedText(line_, Qt::ElideRight, std::max(width(), 40)));
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    setText(fontMetrics().elidedText(line_, Qt::ElideRight, width()));
}

QString AppTitle() {
    return QStringLiteral("زيرين");
}

bool LoadQtArabicTexts(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ar"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

void SetUpArabicLook(QApplication& app) {
    MapPartFonts();
    LoadQtArabicTexts(app);
    app.setLayoutDirection(Qt::RightToLeft);
    app.setApplicationName(QStringLiteral("zerin"));
    app.setApplicationDisplayName(AppTitle());
    app.setFont(PartFont(QStringLiteral("Tahoma"), 10));
}

QFont PartFont(const QString& family, double points, bool bold) {
    // Latin letters and digits (the formulas, the fields) from a clean sans, like the
    // Latin of the faces the windows name; Arabic from the named face or its substitute.
    QFont font;
    font.setFamilies(QStringList{QStringLiteral("Noto Sans"), family} + QFont::substitutes(family) +
                     QStringList{QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QPushButton* PartButton(QWidget* parent, const char* name, const QString& caption, double points) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setFont(PartFont(QStringLiteral("Tahoma"), points, true));
    button->setAutoDefault(false);
    return button;
}

QString SkinSheet(const QStringList& folders) {
    for (const QString& folder : folders) {
        const QString sheet = ReadSheet(QDir(folder).filePath(QLatin1String(kSkinFileName)));
        if (!sheet.isEmpty()) return sheet;
    }
    return ReadSheet(QStringLiteral(":/zerin/") + QLatin1String(kSkinFileName));
}

QStringList DataFolders() {
    const QString program = QCoreApplication::applicationDirPath();
    return {program, QDir::cleanPath(program + QStringLiteral("/../share/zerin"))};
}

void ApplySkin(QWidget& window) {
    window.setStyleSheet(SkinSheet(DataFolders()));
}

std::unique_ptr<QApplication> OffscreenApplication() {
    if (QCoreApplication::instance()) return nullptr;
    MakeOutputReproducible();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtDebugMsg && type != QtInfoMsg && !text.startsWith("QStandardPaths:"))
            std::fprintf(stderr, "zerin: %s\n", qPrintable(text));
    });
    static int argc = 1;
    static char name[] = "zerin";
    static char* argv[] = {name, nullptr};
    auto app = std::make_unique<QApplication>(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    SetUpArabicLook(*app);
    return app;
}

}  // namespace zerin::ui
