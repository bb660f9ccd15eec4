// The timing diagram in the real window: the view with its strips, selectors and buttons, live
// telegrams on the test's own serial line drawing traces pixel for pixel, the 5-pixel scroll
// at the right edge, the selectors' settings, and sharp traces at a device pixel ratio of 2.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <array>
#include <sstream>
#include <vector>

#include "GuiTestSupport.hpp"
#include "core/link/TelegramBuilder.hpp"
#include "core/timing/RasterSpur.hpp"
#include "core/timing/SpurGeometrie.hpp"
#include "gui/MainWindow.hpp"
#include "gui/QtColour.hpp"
#include "gui/TimingSpurWidget.hpp"
#include "gui/TimingView.hpp"
#include "gui/Twips.hpp"

namespace krv::gui::test {
namespace {

using timing::RasterSpur;

std::string portsAbschnitt(const std::string& com1) { return "[Ports]\nCOM1=" + com1 + "\n"; }

// A session whose COM1 is the test's pseudo-terminal, the data transfer running, the timing
// diagram shown.
struct LeitungsSitzung {
    Geraet geraet;
    TestSitzung t;
    int angezeigt = 0;

    explicit LeitungsSitzung(const std::string& ini = {}) : t(portsAbschnitt(geraet.pfad()) + ini) {
        EXPECT_TRUE(t.start());
        t.form().onAnzeige = [this](const link::ReceiveState&) { ++angezeigt; };
        t.window().action(t.c().mnuDatenuebertragungStart)->trigger();
        EXPECT_TRUE(t.session().serial().isOpen());
        t.window().action(t.c().mnuTimingDiagramm)->trigger();
    }

    TimingView& view() { return *t.window().timingView(); }
    QtSpur& spur(int kanal) { return view().spur(kanal)->spur(); }

    void sende(const link::StatusBlock& block) {
        const int vorher = angezeigt;
        geraet.sende(link::kurzTelegramm(block));
        ASSERT_TRUE(warteBis([&] { return angezeigt > vorher; }));
    }

    // Stop and start again: cleared strips, every channel back at x = 0.
    void neuStarten() {
        auto* knopf = view().cmdTimingDiagrammStartStop();
        knopf->click();
        knopf->click();
        ASSERT_EQ(t.form().timing().TimingAktiv, 1);
    }
};

// Model 13 (KRV-cbx/Rx): terminal 1 is bit 0 (byte 2, 0x80); terminal 13 is bit 12 (byte 3,
// 0x08), high impedance (yellow) with byte 6 bit 0x08.
link::StatusBlock modell13(bool klemme1, bool klemme13, bool klemme13Hochohmig) {
    link::StatusBlock s{};
    s[0] = 0x0D;
    s[2] = klemme1 ? 0x80 : 0x00;
    s[3] = klemme13 ? 0x08 : 0x00;
    s[6] = klemme13Hochohmig ? 0x08 : 0x00;
    return s;
}

// Rows 0..height-1 of a strip as text, '#' for a trace pixel; the device pixel at the top
// left of each pixel stands for it (solid blocks are the strip's own test).
std::vector<std::string> zeilen(const QtSpur& spur) {
    const QImage bild = spur.pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    const int f = spur.faktor();
    std::vector<std::string> z;
    for (int y = 0; y < spur.scaleHeight(); ++y) {
        std::string zeile;
        for (int x = 0; x < spur.scaleWidth(); ++x) zeile += bild.pixel(x * f, y * f) == qRgb(0, 0, 0) ? '#' : '.';
        z.push_back(zeile);
    }
    return z;
}

std::vector<std::string> zeilen(const RasterSpur& spur) {
    std::vector<std::string> z;
    for (int y = 0; y < spur.scaleHeight(); ++y) z.push_back(spur.zeile(y));
    return z;
}

// The first differing row, for a readable failure.
std::string ersterUnterschied(const std::vector<std::string>& ist, const std::vector<std::string>& soll) {
    if (ist.size() != soll.size()) return "heights differ";
    for (std::size_t y = 0; y < ist.size(); ++y) {
        if (ist[y] != soll[y]) return "row " + std::to_string(y) + "\n  is " + ist[y] + "\n not " + soll[y];
    }
    return "";
}

// Picks entry `eintrag` of a selector the way a user does with the keyboard.
void waehle(QComboBox* cbo, int eintrag) {
    while (cbo->currentIndex() < eintrag) QTest::keyClick(cbo, Qt::Key_Down);
    while (cbo->currentIndex() > eintrag) QTest::keyClick(cbo, Qt::Key_Up);
}

TEST(TimingViewTest, TheViewMenuShowsStripsSelectorsAndButtonsThatFollowTheWindowsWidth) {
    TestSitzung t;
    ASSERT_TRUE(t.start());
    MainWindow& w = t.window();
    app::MainFormState& c = t.c();
    TimingView* v = w.timingView();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(w.widget(c.fraTimingDiagram), v);
    EXPECT_FALSE(v->isVisible());

    w.action(c.mnuTimingDiagramm)->trigger();
    ASSERT_TRUE(v->isVisible());
    timing::TimingDiagramm& timing = t.form().timing();

    int vorigeUnterkante = -1;
    for (int i = 0; i < 9; ++i) {
        TimingSpurWidget* spur = v->spur(i);
        QComboBox* cbo = v->selektor(i);
        EXPECT_TRUE(spur->isVisible()) << i;
        EXPECT_TRUE(cbo->isVisible()) << i;
        // The picture is the widget's size; the levels and their edges fit; strips do not overlap.
        EXPECT_EQ(spur->spur().groesse(), spur->size()) << i;
        EXPECT_GE(spur->height(), 16) << i;
        EXPECT_GT(spur->y(), vorigeUnterkante) << i;
        vorigeUnterkante = spur->geometry().bottom();
        EXPECT_TRUE(v->contentsRect().contains(spur->geometry())) << i;
        EXPECT_LE(cbo->geometry().right(), spur->x()) << i;  // the selector stands left of its strip
        ASSERT_EQ(cbo->count(), 37) << i;
        EXPECT_EQ(cbo->itemText(0), QStringLiteral("----"));
        EXPECT_EQ(cbo->itemText(36), QStringLiteral("36"));
        EXPECT_EQ(cbo->currentIndex(), 0);
    }
    QComboBox* trigger = v->selektor(9);
    ASSERT_EQ(trigger->count(), 38);
    EXPECT_EQ(trigger->itemText(0), QStringLiteral("--------"));
    EXPECT_EQ(trigger->itemText(1), QStringLiteral("Fehler"));
    EXPECT_EQ(trigger->itemText(37), QStringLiteral("36"));

    // Playback parts hidden; the buttons in German; the strips started at load.
    EXPECT_FALSE(v->hsbTimingDiagram()->isVisible());
    EXPECT_FALSE(v->widget(t.form().timingControls().fraTimingStatus)->isVisible());
    EXPECT_EQ(w.widget(c.hsbTimingDiagram), v->hsbTimingDiagram());
    EXPECT_TRUE(v->cmdRecorderStartStop()->isVisible());
    EXPECT_EQ(v->cmdTimingDiagrammStartStop()->text(), QStringLiteral("Anzeige stop"));
    EXPECT_EQ(timing.TimingAktiv, 1);

    // Start/stop by click: stopping keeps the traces, starting clears them.
    v->spur(3)->spur().pset(0, 5);
    v->cmdTimingDiagrammStartStop()->click();
    EXPECT_EQ(timing.TimingAktiv, 0);
    EXPECT_EQ(v->cmdTimingDiagrammStartStop()->text(), QStringLiteral("Anzeige start"));
    EXPECT_EQ(zeilen(v->spur(3)->spur())[5][0], '#');
    v->cmdTimingDiagrammStartStop()->click();
    EXPECT_EQ(timing.TimingAktiv, 1);
    EXPECT_EQ(zeilen(v->spur(3)->spur())[5][0], '.');

    // The strips take the window's width; SpurMaxX follows.
    const int schmal = v->spur(0)->width();
    EXPECT_EQ(timing.SpurMaxX, schmal - 7);
    w.resize(w.width() + 300, w.height());
    QCoreApplication::processEvents();
    const int breit = v->spur(0)->width();
    EXPECT_EQ(breit, schmal + 300);
    EXPECT_EQ(v->spur(8)->spur().scaleWidth(), breit);
    EXPECT_EQ(timing.SpurMaxX, breit - 7);
    EXPECT_LE(v->geometry().right(), w.widget(c.picContainer)->width());
    // Narrower than designed: the frame keeps its design width.
    w.resize(300, w.height());
    QCoreApplication::processEvents();
    EXPECT_EQ(v->width(), Twips(w).rect(TimingView::platz(0)).width());
    EXPECT_EQ(timing.SpurMaxX, v->spur(0)->width() - 7);
}

TEST(TimingViewTest, LiveTelegramsDrawTheTracesAndTheFullStripMovesLeftByFivePixels) {
    LeitungsSitzung s;
    TimingView& v = s.view();
    timing::TimingDiagramm& timing = s.t.form().timing();

    // Channel 0 shows terminal 1, channel 4 terminal 13; the others show none.
    waehle(v.selektor(0), 1);
    waehle(v.selektor(4), 13);
    ASSERT_EQ(s.t.state().einstellungen.KanalTab[0], 1);
    ASSERT_EQ(s.t.state().einstellungen.KanalTab[4], 13);
    s.neuStarten();

    const int breite = s.spur(0).scaleWidth();
    const int hoehe = s.spur(0).scaleHeight();
    const int maxX = breite - 7;  // the usable width the diagram must derive from the strip
    ASSERT_EQ(timing.SpurMaxX, maxX);

    // The expected strips: the same samples drawn by the trace rules into in-memory strips.
    RasterSpur soll0(breite, hoehe), soll4(breite, hoehe);
    int x = 0, y0 = 0, y4 = 0;
    auto erwarte = [&](int pegel0, int pegel4) {
        y0 = timing::zeichneSample(soll0, x, y0, static_cast<std::uint8_t>(pegel0), 0);
        y4 = timing::zeichneSample(soll4, x, y4, static_cast<std::uint8_t>(pegel4), 0);
        x += 2;
        while (x >= maxX) {
            timing::schiebeLinks(soll0);
            timing::schiebeLinks(soll4);
            x -= 5;
        }
    };
    // Terminal 13 cycles through yellow, green, red with runs of different lengths.
    auto sendeSample = [&](int k) {
        const bool k1 = (k % 3) != 1 && (k % 7) != 5;
        const int phase = (k / 2) % 5;
        const bool hochohmig = phase == 0 || phase == 3;
        const bool k13 = phase == 1 || phase == 4;
        s.sende(modell13(k1, k13, hochohmig));
        erwarte(k1 ? 2 : 0, hochohmig ? 1 : k13 ? 2 : 0);
    };

    // The first four samples by hand: terminal 1 green, red, green, green.
    for (int k = 0; k < 4; ++k) sendeSample(k);
    ASSERT_EQ(timing.SpurX[0], 8);
    const std::vector<std::string> kanal0 = zeilen(s.spur(0));
    EXPECT_EQ(kanal0[4].substr(0, 10), "..........");
    EXPECT_EQ(kanal0[5].substr(0, 10), "###.####..");  // green from x = 0, no edge at x = 0
    EXPECT_EQ(kanal0[9].substr(0, 10), "..#.#.....");  // the two edges pass the yellow row
    EXPECT_EQ(kanal0[14].substr(0, 10), "..###.....");
    EXPECT_EQ(kanal0[15].substr(0, 10), "..........");
    // Terminal 13: yellow, yellow, green, green: level 9, then an edge up to 5 at x = 4.
    const std::vector<std::string> kanal4 = zeilen(s.spur(4));
    EXPECT_EQ(kanal4[9].substr(0, 8), "#####...");
    EXPECT_EQ(kanal4[5].substr(0, 8), "....####");
    EXPECT_EQ(kanal4[14].substr(0, 8), "........");
    EXPECT_EQ(ersterUnterschied(kanal0, zeilen(soll0)), "");
    EXPECT_EQ(ersterUnterschied(kanal4, zeilen(soll4)), "");

    // Up to the right edge: the telegram whose advance reaches SpurMaxX moves the strip left.
    int k = 4;
    while (timing.SpurX[0] + 2 < maxX) sendeSample(k++);
    const int xVorher = timing.SpurX[0];
    const std::vector<std::string> vorher = zeilen(s.spur(0));
    sendeSample(k++);
    EXPECT_EQ(timing.SpurX[0], xVorher + 2 - 5);
    const std::vector<std::string> nachher = zeilen(s.spur(0));
    for (int y = 0; y < hoehe; ++y) {
        const auto yy = static_cast<std::size_t>(y);
        // Everything drawn before moved 5 pixels left; the last 5 columns keep what they had.
        EXPECT_EQ(nachher[yy].substr(0, static_cast<std::size_t>(xVorher - 5)),
                  vorher[yy].substr(5, static_cast<std::size_t>(xVorher - 5)))
            << "row " << y;
        EXPECT_EQ(nachher[yy].substr(static_cast<std::size_t>(breite - 5)), vorher[yy].substr(static_cast<std::size_t>(breite - 5)))
            << "row " << y;
    }

    // Many more: drawing goes on at SpurX - 5, always as the rules say.
    for (int n = 0; n < 40; ++n) sendeSample(k++);
    EXPECT_EQ(timing.SpurX[0], x);
    EXPECT_LT(timing.SpurX[0], maxX);
    EXPECT_EQ(ersterUnterschied(zeilen(s.spur(0)), zeilen(soll0)), "");
    EXPECT_EQ(ersterUnterschied(zeilen(s.spur(4)), zeilen(soll4)), "");
    // A channel showing "----" draws nothing.
    EXPECT_EQ(ersterUnterschied(zeilen(s.spur(7)), zeilen(RasterSpur(breite, hoehe))), "");

    // What the window shows is the strip's picture.
    const QImage fenster = v.spur(0)->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage bild = s.spur(0).pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(fenster, bild);

    if (const QByteArray pfad = qgetenv("KRVDIAG_TIMING_SCREENSHOT"); !pfad.isEmpty()) {
        s.t.window().grab().save(QString::fromLocal8Bit(pfad));
    }
}

TEST(TimingViewTest, APickPersistsAndTheNextStartShowsIt) {
    std::string ini;
    {
        LeitungsSitzung s;
        QComboBox* cbo = s.view().selektor(0);
        waehle(cbo, 5);
        EXPECT_EQ(s.t.state().einstellungen.KanalTab[0], 5);
        waehle(s.view().selektor(9), 1);  // the trigger selector: "Fehler"
        EXPECT_EQ(s.t.state().einstellungen.TriggerModus, 1);
        ini = s.t.settingsText();
        EXPECT_NE(ini.find("TimingKanal0=5"), std::string::npos) << ini;
        EXPECT_NE(ini.find("TimingKanal9=1"), std::string::npos) << ini;

        // A selection the diagram makes itself shows without counting as a pick.
        s.t.form().timingControls().cboKlemmen[2].setListIndex(7);
        EXPECT_EQ(s.view().selektor(2)->currentIndex(), 7);
        EXPECT_EQ(s.t.state().einstellungen.KanalTab[2], 0);
        // So do its colour and state.
        s.t.form().timingControls().cboKlemmen[9].setColour(app::kGelb);
        EXPECT_EQ(s.view().selektor(9)->palette().color(QPalette::Button), QColor(255, 255, 0));
        s.t.form().timingControls().cboKlemmen[9].setEnabled(false);
        EXPECT_FALSE(s.view().selektor(9)->isEnabled());
    }
    TestSitzung wieder(ini);
    ASSERT_TRUE(wieder.start());
    EXPECT_EQ(wieder.window().timingView()->selektor(0)->currentIndex(), 5);
    EXPECT_EQ(wieder.window().timingView()->selektor(9)->currentIndex(), 1);
}

TEST(TimingViewTest, ALanguageSwitchRefillsTheSelectorsAndKeepsChoicesAndTraces) {
    LeitungsSitzung s;
    TimingView& v = s.view();
    waehle(v.selektor(0), 1);
    waehle(v.selektor(9), 3);
    s.neuStarten();
    for (bool an : {true, false, true}) s.sende(modell13(an, false, false));
    const std::vector<std::string> vorher = zeilen(s.spur(0));
    const QRect platz = v.spur(0)->geometry();

    s.t.window().action(s.t.c().mnuSprache[1])->trigger();
    EXPECT_EQ(v.selektor(9)->itemText(1), QStringLiteral("error"));
    EXPECT_EQ(v.selektor(9)->currentIndex(), 3);
    EXPECT_EQ(v.selektor(0)->currentIndex(), 1);
    EXPECT_EQ(v.cmdTimingDiagrammStartStop()->text(), QStringLiteral("Display stop"));
    EXPECT_EQ(v.cmdWiedergabeStart()->text(), QStringLiteral("playback start"));
    EXPECT_EQ(zeilen(s.spur(0)), vorher);
    EXPECT_EQ(v.spur(0)->geometry(), platz);
    EXPECT_EQ(s.t.state().einstellungen.TriggerModus, 3);
}

TEST(TimingViewTest, LinesShowOverTheStripsAndPressesReachTheDiagramInPixels) {
    TestSitzung t;
    ASSERT_TRUE(t.start());
    MainWindow& w = t.window();
    w.action(t.c().mnuTimingDiagramm)->trigger();
    TimingSpurWidget* spur = w.timingView()->spur(2);
    timing::TimingFormState& tc = t.form().timingControls();

    tc.Line1[2].setX(10);
    tc.Line1[2].setVisible(true);
    tc.LineTrigger[2].setX(20);
    tc.LineTrigger[2].setVisible(true);
    QImage bild = spur->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < spur->height(); ++y) {
        EXPECT_EQ(QColor(bild.pixel(10, y)), qtFarbe(timing::kCursorFarbe)) << y;
        EXPECT_EQ(QColor(bild.pixel(20, y)), qtFarbe(timing::kTriggerFarbe)) << y;
        EXPECT_EQ(QColor(bild.pixel(11, y)), QColor(Qt::white)) << y;
    }
    // The lines lie over the strip; the strip's picture stays as it was.
    EXPECT_EQ(zeilen(spur->spur())[5], std::string(static_cast<std::size_t>(spur->width()), '.'));
    tc.Line1[2].setVisible(false);
    bild = spur->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(QColor(bild.pixel(10, 3)), QColor(Qt::white));
    EXPECT_EQ(QColor(bild.pixel(20, 3)), qtFarbe(timing::kTriggerFarbe));

    // In playback a press moves the cursor column to x \ 2 and gives the scroll bar the value
    // of that sample's record.
    timing::TimingDiagramm& timing = t.form().timing();
    std::vector<std::int32_t> werte;
    timing.onScrollWertSetzen = [&](std::int32_t wert) { werte.push_back(wert); };
    QTest::mouseClick(spur, Qt::LeftButton, {}, QPoint(31, 4));
    EXPECT_TRUE(werte.empty());  // live: nothing
    t.state().playback.SimulationsStatus = 2;
    QTest::mouseClick(spur, Qt::LeftButton, Qt::ShiftModifier, QPoint(31, 4));
    EXPECT_EQ(timing.CursorSpalte, 15);
    EXPECT_EQ(werte.size(), 1u);
    t.state().playback.SimulationsStatus = 0;
    timing.onScrollWertSetzen = {};

    EXPECT_EQ(TimingSpurWidget::knopfCode(Qt::RightButton), 2);
    EXPECT_EQ(TimingSpurWidget::shiftCode(Qt::ControlModifier | Qt::AltModifier), 6);
}

// The same live traces with every window pixel two device pixels: run in a child process of
// this test program with QT_SCALE_FACTOR=2, since the ratio is fixed when the application starts.
TEST(TimingViewTest, AtScaleFactorTwoTheTracesAreTwoDevicePixelsThickAndSharp) {
    if (qEnvironmentVariableIsEmpty("KRVDIAG_TIMING_KIND")) {
        QProcess kind;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
        env.insert(QStringLiteral("KRVDIAG_TIMING_KIND"), QStringLiteral("1"));
        kind.setProcessEnvironment(env);
        kind.setProcessChannelMode(QProcess::MergedChannels);
        kind.start(QCoreApplication::applicationFilePath(),
                   {QStringLiteral("--gtest_filter=TimingViewTest.AtScaleFactorTwoTheTracesAreTwoDevicePixelsThickAndSharp")});
        ASSERT_TRUE(kind.waitForFinished(60000));
        const QString ausgabe = QString::fromLocal8Bit(kind.readAll());
        EXPECT_EQ(kind.exitCode(), 0) << ausgabe.toStdString();
        EXPECT_TRUE(ausgabe.contains(QStringLiteral("[  PASSED  ] 1 test"))) << ausgabe.toStdString();
        return;
    }

    LeitungsSitzung s;
    TimingView& v = s.view();
    ASSERT_EQ(v.devicePixelRatioF(), 2.0);
    waehle(v.selektor(0), 1);
    s.neuStarten();
    QtSpur& spur = s.spur(0);
    ASSERT_EQ(spur.faktor(), 2);
    ASSERT_EQ(spur.pixmap().devicePixelRatio(), 2.0);
    ASSERT_EQ(spur.pixmap().size(), v.spur(0)->size() * 2);

    // Green, green, red, red: the green level at y = 5 over x = 0..3, the edge at x = 4.
    for (bool gruen : {true, true, false, false}) s.sende(modell13(gruen, false, false));
    const QImage bild = spur.pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb schwarz = qRgb(0, 0, 0), weiss = qRgb(255, 255, 255);
    for (int dx = 0; dx < 8; ++dx) {
        EXPECT_EQ(bild.pixel(dx, 9), weiss) << dx;
        EXPECT_EQ(bild.pixel(dx, 10), schwarz) << dx;
        EXPECT_EQ(bild.pixel(dx, 11), schwarz) << dx;
        EXPECT_EQ(bild.pixel(dx, 12), weiss) << dx;
    }
    for (int dy = 10; dy <= 29; ++dy) {
        EXPECT_EQ(bild.pixel(8, dy), schwarz) << dy;
        EXPECT_EQ(bild.pixel(9, dy), schwarz) << dy;
    }
    // Red level y = 14: device rows 28 and 29 from x = 4 to 7 (device columns 8..15).
    for (int dx = 8; dx < 16; ++dx) {
        EXPECT_EQ(bild.pixel(dx, 27), dx < 10 ? schwarz : weiss) << dx;
        EXPECT_EQ(bild.pixel(dx, 28), schwarz) << dx;
        EXPECT_EQ(bild.pixel(dx, 29), schwarz) << dx;
        EXPECT_EQ(bild.pixel(dx, 30), weiss) << dx;
    }
    // Sharp: nothing but black and white in the picture, and the window shows it unchanged.
    for (int dy = 0; dy < bild.height(); ++dy) {
        for (int dx = 0; dx < bild.width(); ++dx) {
            const QRgb p = bild.pixel(dx, dy);
            ASSERT_TRUE(p == schwarz || p == weiss) << dx << "," << dy;
        }
    }
    const QPixmap fenster = v.spur(0)->grab();
    ASSERT_EQ(fenster.devicePixelRatio(), 2.0);
    EXPECT_EQ(fenster.toImage().convertToFormat(QImage::Format_RGB32), bild);
}

}  // namespace
}  // namespace krv::gui::test
