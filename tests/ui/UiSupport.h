// Helpers shared by the window tests: the program's look, fields set by their control
// names, and the command line's report for the same fields.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QWidget>
#include <QtTest>
#include <clocale>
#include <map>
#include <string>
#include <vector>

#include "FieldNames.h"
#include "FrmCalc.h"
#include "FrmMain.h"
#include "Look.h"
#include "TestSupport.h"

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

// A data-driven test's rows from a table of cases, each named by its `name`: the test
// takes its case with TableRow.
template <class Case, std::size_t N>
void TableRows(const Case (&cases)[N]) {
    QTest::addColumn<int>("row");
    for (std::size_t k = 0; k < N; ++k) QTest::newRow(cases[k].name) << int(k);
}

template <class Case, std::size_t N>
const Case& TableRow(const Case (&cases)[N]) {
    QFETCH(int, row);
    return cases[row];
}

inline void SetUpLook() {
    std::setlocale(LC_NUMERIC, "C");
    ui::SetUpArabicLook(*qobject_cast<QApplication*>(QCoreApplication::instance()));
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

inline QString FieldText(QWidget& window, const std::string& name) {
    return ui::FieldTextByName(window, QString::fromStdString(name));
}

inline void SetField(QWidget& window, const std::string& name, const std::string& text) {
    QVERIFY2(ui::SetFieldByName(window, QString::fromStdString(name), QString::fromStdString(text)),
             name.c_str());
}

inline QPushButton* Button(QWidget& window, const char* name) {
    return window.findChild<QPushButton*>(QLatin1String(name));
}

// `zerin report BODY` with every field as the window holds it now.
inline std::vector<std::string> ReportArgsOf(QWidget& window, const std::string& body, bool east,
                                             bool north) {
    std::vector<std::string> args{"report", body, east ? "--east" : "--west",
                                  north ? "--north" : "--south"};
    for (const auto& [field, option] : FieldOptionNames()) {
        args.push_back(option);
        args.push_back(FieldText(window, field).toStdString());
    }
    return args;
}

// Stands in for the modal display: records each dialog, and the report window's text
// at the moment it is shown.
struct ShownDialogs {
    std::vector<QString> kinds;  // object names
    std::vector<QString> texts;  // the report window's text, "" for other dialogs
    void operator()(QDialog& dialog) {
        kinds.push_back(dialog.objectName());
        auto* report = qobject_cast<ui::FrmCalc*>(&dialog);
        texts.push_back(report ? report->Text() : QString());
    }
};

// The main window on the reference instant, its messages and the dialogs it showed recorded;
// the window tests add what they need to it.
struct MainWindowUnderTest {
    RecordingMessenger messages;
    ShownDialogs shown;
    ui::FrmMain main{messages};
    MainWindowUnderTest() {
        main.SetModalRunner([this](QDialog& dialog) { shown(dialog); });
        ui::ShowReferenceInstant(main);
    }
    QString Field(const char* name) { return FieldText(main, name); }
    void Set(const char* name, const char* text) { SetField(main, name, text); }
    void Press(const char* name) { QTest::mouseClick(Button(main, name), Qt::LeftButton); }
    // The command line's report for the window's fields as they are now.
    CliResult Cli(const std::string& body) {
        const bool east = main.findChild<QRadioButton*>("OptE")->isChecked();
        const bool north = main.findChild<QRadioButton*>("OptN")->isChecked();
        return RunCli(ReportArgsOf(main, body, east, north));
    }
};

}  // namespace zerin::test
