// Helpers shared by the window tests: the tables of tests/data/ui, the program's look, fields set
// by their control names, typing, the command line's report for the same fields, and what a
// window shows as text.
#pragma once

#include <sys/stat.h>

#include <QtTest>
#include <QtWidgets>
#include <clocale>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "FieldNames.h"
#include "FrmCalc.h"
#include "FrmMain.h"
#include "Look.h"
#include "PlaceSearch.h"
#include "TestSupport.h"
#include "report/Fields.h"

namespace zerin::test {

inline QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// A command line written with blanks between its words.
inline std::vector<std::string> Words(const QString& line) {
    std::vector<std::string> words;
    for (const QString& word : line.split(' ', Qt::SkipEmptyParts))
        words.push_back(word.toStdString());
    return words;
}

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}
inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The rows of a file of tests/data/ui, its header first: cells cut at a bar with a blank before
// it (a bar in a pattern has none) and trimmed, "\uXXXX" standing for that character (the
// isolates cannot be seen); blank lines and # comments skipped.
inline std::vector<QStringList> DataFile(const char* name) {
    QFile file(QStringLiteral(ZERIN_TEST_DATA "/ui/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly)) qFatal("no data file %s", name);
    static const QRegularExpression bar(QStringLiteral(R"(\s\|(?=\s|$))")),
        escape(QStringLiteral(R"(\\u([0-9A-Fa-f]{4}))"));
    std::vector<QStringList> rows;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line.trimmed().isEmpty() || line.startsWith('#')) continue;
        QStringList cells = line.split(bar);
        for (QString& cell : cells) {
            cell = cell.trimmed();
            for (QRegularExpressionMatch m; (m = escape.match(cell)).hasMatch();)
                cell.replace(m.capturedStart(), m.capturedLength(),
                             QChar(m.captured(1).toUShort(nullptr, 16)));
        }
        rows.push_back(cells);
    }
    return rows;
}
// A data-driven test's rows from such a file, each named by its first cell; the test reads its
// row with DataRow().
inline void DataFileRows(const char* name) {
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QStringList>("cells");
    const std::vector<QStringList> rows = DataFile(name);
    for (std::size_t k = 1; k < rows.size(); ++k)
        QTest::newRow(qPrintable(rows[k][0])) << rows[0] << rows[k];
}
// A row of a DataFileRows test: its cells by the columns' names, "" for a cell left empty.
struct DataFileRow {
    QStringList columns, cells;
    QString operator[](const char* column) const {
        return cells.value(columns.indexOf(QLatin1String(column)));
    }
};
inline DataFileRow DataRow() {
    QFETCH(QStringList, columns);
    QFETCH(QStringList, cells);
    return {columns, cells};
}

// Shows a window and makes it the active one, as a user's click would.
inline bool ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

inline void SetUpLook() {
    std::setlocale(LC_NUMERIC, "C");
    ui::SetUpArabicLook(*qobject_cast<QApplication*>(QCoreApplication::instance()));
}

// Types text key by key, as a keyboard of any script does (QTest::keyClicks takes ASCII only).
inline void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c),
                            Qt::NoModifier);
}

// The control of each field and the command line's option for it.
inline const std::map<std::string, std::string>& FieldOptionNames() {
    static const std::map<std::string, std::string> names{
        {"TxtDegLon", "--lon-deg"}, {"TxtMinLon", "--lon-min"}, {"TxtSecLon", "--lon-sec"},
        {"TxtDegLat", "--lat-deg"}, {"TxtMinLat", "--lat-min"}, {"TxtSecLat", "--lat-sec"},
        {"TxtZone", "--zone"},      {"TxtEteRegl", "--summer"}, {"TxtYear", "--year"},
        {"TxtMonth", "--month"},    {"TxtDay", "--day"},        {"TxtHour", "--hour"},
        {"TxtMin", "--minute"},     {"TxtSec", "--second"}};
    return names;
}

inline void SetField(QWidget& window, const QString& name, const QString& text) {
    QVERIFY2(ui::SetFieldByName(window, name, text), qPrintable(name));
}

inline QPushButton* Button(QWidget& window, const QString& name) {
    return window.findChild<QPushButton*>(name);
}
// A window's control by its name; a name that is not there ends the test program, named.
template <class T>
T* Get(const QWidget& window, const QString& name) {
    T* child = window.findChild<T*>(name);
    if (!child) qFatal("no control %s", qPrintable(name));
    return child;
}
// The widget that takes typing for a field: a list's text, or the field itself.
inline QWidget* TypingField(const QWidget& window, const QString& name) {
    if (auto* list = window.findChild<QComboBox*>(name)) return list->lineEdit();
    return Get<QWidget>(window, name);
}

using FieldTexts = std::vector<std::pair<const char*, const char*>>;
// The texts of the fields named "TxtDegLon TxtZone", a blank between them: "5 0".
inline QString Texts(QWidget& window, const char* names) {
    QStringList texts;
    for (const QString& name : QString::fromUtf8(names).split(' ', Qt::SkipEmptyParts))
        texts << ui::FieldTextByName(window, name);
    return texts.join(' ');
}
// Fields written "TxtDegLon=39 TxtZone=-3" (texts without blanks).
inline void SetFields(QWidget& window, const QString& fields) {
    for (const QString& f : fields.split(' ', Qt::SkipEmptyParts))
        SetField(window, f.section('=', 0, 0), f.section('=', 1));
}

// `save` to paths that cannot take a file (no such folder, a folder, a FIFO named with its
// reason): each said once, nothing changed; then a link: replaced, its target left as it was.
inline void CheckSavesRefused(const QString& folder, const QString& kind,
                              const RecordingMessenger& said,
                              const std::function<void(const QString&)>& save) {
    const int before = int(said.messages.size());
    const QString dir = folder + "/taken" + kind, fifo = folder + "/fifo" + kind,
                  link = folder + "/link" + kind, victim = folder + "/victim";
    QVERIFY(QDir().mkpath(dir) && ::mkfifo(QFile::encodeName(fifo).constData(), 0644) == 0);
    for (const QString& path : {folder + "/missing/file" + kind, dir, fifo}) save(path);
    QCOMPARE(int(said.messages.size()), before + 3);
    QVERIFY(QFileInfo(dir).isDir());
    QVERIFY(Q(said.messages.back().arabic).contains(fifo));
    QVERIFY(Q(said.messages.back().english).contains(QStringLiteral("it is a FIFO")));
    QVERIFY(WriteBytes(victim, "victim") && QFile::link(victim, link));
    save(link);
    QCOMPARE(int(said.messages.size()), before + 3);
    QVERIFY(!QFileInfo(link).isSymLink() && QFileInfo(link).size() > 6);
    QCOMPARE(ReadBytes(victim), QByteArray("victim"));
}

// `zerin report BODY` with every field as the window reads it now (a comma between digits is
// its decimal point).
inline std::vector<std::string> ReportArgsOf(QWidget& window, const std::string& body, bool east,
                                             bool north) {
    std::vector<std::string> args{"report", body, east ? "--east" : "--west",
                                  north ? "--north" : "--south"};
    for (const auto& [field, option] : FieldOptionNames()) {
        args.push_back(option);
        args.push_back(CommaAsDecimalPoint(ui::FieldTextByName(window, Q(field)).toStdString()));
    }
    return args;
}

// Stands in for the modal display: each dialog's object name, title and (the report window's
// only) text as it is shown.
struct ShownDialogs {
    std::vector<QString> kinds, texts, titles;
    void operator()(QDialog& dialog) {
        kinds.push_back(dialog.objectName());
        auto* report = qobject_cast<ui::FrmCalc*>(&dialog);
        texts.push_back(report ? report->Text() : QString());
        titles.push_back(dialog.windowTitle());
    }
};

// The main window on the reference instant (17 June 2005 at noon), its messages and the dialogs
// it showed recorded; the window tests add what they need to it.
struct MainWindowUnderTest {
    RecordingMessenger messages;
    ShownDialogs shown;
    ui::FrmMain main{messages};
    MainWindowUnderTest() {
        main.SetModalRunner([this](QDialog& dialog) { shown(dialog); });
        ui::ShowReferenceInstant(main);
    }
    QString Field(const QString& name) { return ui::FieldTextByName(main, name); }
    void Set(const QString& name, const QString& text) { SetField(main, name, text); }
    void Press(const QString& name) { QTest::mouseClick(Button(main, name), Qt::LeftButton); }
    QRadioButton* Option(const QString& name) { return Get<QRadioButton>(main, name); }
    bool Checked(const QString& option) { return Option(option)->isChecked(); }
    void Choose(const QString& option) { QTest::mouseClick(Option(option), Qt::LeftButton); }
    CliResult Cli(const std::string& body) {
        return RunCli(ReportArgsOf(main, body, Checked("OptE"), Checked("OptN")));
    }
    void PickPlace(const QString& name) {
        Type(main.Search().Field(), name);
        QTest::keyClick(main.Search().Field(), Qt::Key_Return);
    }
};

// Every text a window shows (its title, labels, captions, placeholders, tooltips, lists' entries,
// grids' headers and cells), each with the control that shows it ("LblNotes: ...").
inline QStringList ShownTexts(QWidget& window) {
    QStringList texts{QStringLiteral("title: ") + window.windowTitle()};
    const auto add = [&texts](const QObject* control, const QString& text) {
        if (!text.isEmpty()) texts << control->objectName() + QStringLiteral(": ") + text;
    };
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window)) continue;
        add(w, w->toolTip());
        if (auto* label = qobject_cast<QLabel*>(w)) add(w, label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(w)) add(w, button->text());
        if (auto* edit = qobject_cast<QLineEdit*>(w)) add(w, edit->placeholderText());
        if (auto* list = qobject_cast<QComboBox*>(w))
            for (int k = 0; k < list->count(); ++k)
                add(w, list->itemText(k)), add(w, list->itemData(k, Qt::ToolTipRole).toString());
        if (auto* view = qobject_cast<QAbstractItemView*>(w); view && view->model())
            for (int r = 0; r < std::min(view->model()->rowCount(), 40); ++r)
                for (int c = 0; c < view->model()->columnCount(); ++c)
                    add(w, view->model()->index(r, c).data().toString());
        if (auto* grid = qobject_cast<QTableWidget*>(w))
            for (int c = 0; c < grid->columnCount(); ++c)
                add(w, grid->horizontalHeaderItem(c)->text());
    }
    return texts;
}

// In a line with Arabic letters, each number with its sign ("-3", "+1", "UTC+03:00", "−19.0°")
// stands inside an isolate (U+2066 LRI, U+2068 FSI ... U+2069 PDI), so that it reads in order;
// a hyphen between digits (a date, a range) is no sign.
inline bool SignsIsolated(const QString& text) {
    bool arabic = false;
    for (const QChar c : text) arabic = arabic || c.script() == QChar::Script_Arabic;
    int depth = 0;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text[k];
        if (c == QChar(0x2066) || c == QChar(0x2067) || c == QChar(0x2068)) ++depth;
        if (c == QChar(0x2069)) --depth;
        const bool sign = c == '-' || c == '+' || c == QChar(0x2212);
        if (arabic && sign && k + 1 < text.size() && text[k + 1].isDigit() &&
            !(k > 0 && text[k - 1].isDigit()) && depth <= 0)
            return false;
    }
    return true;
}

}  // namespace zerin::test
