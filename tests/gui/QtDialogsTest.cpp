// The Qt message boxes and file dialog filters behind the program's dialog port.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "gui/QtDialogs.hpp"

namespace krv::gui {
namespace {

TEST(QtDialogsTest, PipeFiltersBecomeQtNameFilters) {
    EXPECT_EQ(qtDateiFilter("Text (*.LOG)|*.log"), QStringLiteral("Text (*.log)"));
    EXPECT_EQ(qtDateiFilter("Protokolldatei (*.LOG)|*.log|Alle Dateien (*.*)|*.*"),
              QStringLiteral("Protokolldatei (*.log);;Alle Dateien (*.*)"));
    EXPECT_EQ(qtDateiFilter("Daten|*.bin;*.dat"), QStringLiteral("Daten (*.bin *.dat)"));
    EXPECT_EQ(qtDateiFilter(""), QString());
}

TEST(QtDialogsTest, BoxCarriesIconButtonsTextAndTheApplicationTitleWhenItHasNone) {
    const auto box = baueMeldung({"Text", {}, ports::MsgIcon::Exclamation, ports::MsgButtons::OkCancel},
                                 QStringLiteral("KRV Diagnoseprogramm"), nullptr);
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box->text(), QStringLiteral("Text"));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("KRV Diagnoseprogramm"));

    const auto eigene = baueMeldung({"x", "Titel", ports::MsgIcon::None, ports::MsgButtons::YesNoCancel},
                                    QStringLiteral("App"), nullptr);
    EXPECT_EQ(eigene->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(eigene->windowTitle(), QStringLiteral("Titel"));
    EXPECT_EQ(eigene->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

    EXPECT_EQ(baueMeldung({"x", {}, ports::MsgIcon::Critical, ports::MsgButtons::RetryCancel}, {}, nullptr)->icon(),
              QMessageBox::Critical);
}

TEST(QtDialogsTest, ShownBoxReturnsTheButtonTheUserPressed) {
    QtDialogs dialoge([] { return 10000; });
    QString titel;
    // Answer the box as a user would, once it is up.
    QTimer klicker;
    QObject::connect(&klicker, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            titel = box->windowTitle();
            box->button(QMessageBox::Cancel)->click();
        }
    });
    klicker.start(10);
    const ports::MsgResult r =
        dialoge.messageBox({"Weiter?", {}, ports::MsgIcon::Question, ports::MsgButtons::OkCancel});
    klicker.stop();
    EXPECT_EQ(r, ports::MsgResult::Cancel);
    EXPECT_EQ(titel, QStringLiteral("KRV Diagnosis Software"));  // English application title

    EXPECT_EQ(meldungsErgebnis(QMessageBox::Yes), ports::MsgResult::Yes);
    EXPECT_EQ(meldungsErgebnis(QMessageBox::No), ports::MsgResult::No);
    EXPECT_EQ(meldungsErgebnis(QMessageBox::Retry), ports::MsgResult::Retry);
    EXPECT_EQ(meldungsErgebnis(QMessageBox::Ok), ports::MsgResult::Ok);
}

}  // namespace
}  // namespace krv::gui
