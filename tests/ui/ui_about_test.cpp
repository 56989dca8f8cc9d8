// The About window and the drawn pictures: a click on the logo closes it, a press that
// leaves the logo does not, Escape closes it, a press elsewhere moves it.
#include <QLabel>
#include <QtTest>

#include "Artwork.h"
#include "FrmApropos.h"
#include "UiSupport.h"

namespace zerin::test {

class AboutWindowTest : public QObject {
    Q_OBJECT

    struct Shown {
        ui::FrmApropos about;
        QWidget* logo = about.findChild<QWidget*>("ImgLogo");
        Shown() {
            about.move(200, 200);
            about.show();
        }
    };

    // How many different colours a picture has (a drawing, not a blank).
    static int Colours(const QImage& image) {
        QSet<QRgb> seen;
        for (int y = 0; y < image.height(); y += 7)
            for (int x = 0; x < image.width(); x += 7) seen.insert(image.pixel(x, y));
        return int(seen.size());
    }

  private slots:
    void initTestCase() { SetUpLook(); }

    void theLabelsAndTheLogo() {
        Shown w;
        QVERIFY(QTest::qWaitForWindowExposed(&w.about));
        QVERIFY(w.logo);
        QCOMPARE(w.logo->size(), QSize(540, 440));
        const std::pair<const char*, const char*> labels[] = {{"Label1_0", "برنامج زيرين"},
                                                              {"Label1_1", "هدية من فريق البورفان"},
                                                              {"Label1_2", "الإصدار  المجاني"},
                                                              {"Label2", "نسخة كاملة"}};
        for (const auto& [name, text] : labels) {
            auto* label = w.about.findChild<QLabel*>(name);
            QVERIFY2(label, name);
            QCOMPARE(label->text(), QString::fromUtf8(text));
            // Nothing clipped: the text fits its place.
            QVERIFY2(label->sizeHint().width() <= label->width(), name);
            QVERIFY2(label->sizeHint().height() <= label->height(), name);
        }
    }

    void aClickOnTheLogoOrEscapeClosesIt() {
        Shown clicked, escaped;
        QTest::mouseClick(clicked.logo, Qt::LeftButton);
        QVERIFY(!clicked.about.isVisible());
        QCOMPARE(clicked.about.result(), int(QDialog::Accepted));
        QTest::keyClick(&escaped.about, Qt::Key_Escape);
        QVERIFY(!escaped.about.isVisible());
    }

    // A right-button press on the panel's caption and a motion move the window; a press on
    // the logo released outside it neither closes nor moves it.
    void aPressOnThePanelMovesItOneOnTheLogoDoesNot() {
        Shown w;
        QVERIFY(QTest::qWaitForWindowExposed(&w.about));
        auto* caption = w.about.findChild<QLabel*>("Label1_1");
        const QPoint start = w.about.pos();
        QTest::mousePress(caption, Qt::RightButton, {}, QPoint(4, 4));
        QTest::mouseMove(caption, QPoint(34, 24));
        QTest::mouseRelease(caption, Qt::RightButton, {}, QPoint(34, 24));
        QCOMPARE(w.about.pos(), start + QPoint(30, 20));
        QTest::mousePress(w.logo, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseMove(w.logo, QPoint(-40, 600));
        QTest::mouseRelease(w.logo, Qt::LeftButton, {}, QPoint(-40, 600));
        QVERIFY(w.about.isVisible());
        QCOMPARE(w.about.pos(), start + QPoint(30, 20));
    }

    void thePicturesAreDrawnAtTheirSizes() {
        const QImage logo = ui::LogoArtwork();
        const QImage title = ui::TitleArtwork();
        QCOMPARE(logo.size(), QSize(762, 594));
        QCOMPARE(title.size(), QSize(898, 212));
        QVERIFY(Colours(logo) > 200);
        QVERIFY(Colours(title) > 200);
        QCOMPARE(ui::LogoArtwork(), logo);  // the same stars on every run
    }
};

}  // namespace zerin::test

QTEST_MAIN(zerin::test::AboutWindowTest)
#include "ui_about_test.moc"
