#include "gui/TimingView.hpp"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>

#include "gui/QtColour.hpp"
#include "gui/TimingSpurWidget.hpp"
#include "gui/Twips.hpp"

namespace krv::gui {
namespace {

// The frame's design place in the picture container (twips). It shares its left and top edge
// with the status window and ends just above the upper row of terminal LEDs (top 3420).
constexpr int kLinks = 2880;
constexpr int kOben = 120;
constexpr int kMindestBreite = 5150;
constexpr int kHoehe = 3240;
constexpr int kRandRechts = 120;

constexpr int kKnopfBreite = 1500;  // twips
constexpr int kKnopfHoehe = 330;
constexpr int kAbstand = 3;       // pixels between the frame's elements
constexpr int kSpurLuecke = 1;    // pixels between two strips
constexpr int kMindestSpurHoehe = 16;  // the levels and their edges reach from y = 4 to y = 15

// The widest value the playback information shows: a date and time.
const QString kMusterZeit = QStringLiteral("00.00.0000 00:00:00");

// The width a selector needs for its longest entry, as the style draws a combo box. Computed
// here: a combo box that sized itself would undo the layout whenever its entries change.
int selektorBreite(const QComboBox& cbo, const std::vector<std::string>& eintraege) {
    const QFontMetrics fm = cbo.fontMetrics();
    int text = fm.horizontalAdvance(QStringLiteral("00"));
    for (const std::string& e : eintraege) text = std::max(text, fm.horizontalAdvance(QString::fromStdString(e)));
    QStyleOptionComboBox opt;
    opt.initFrom(&cbo);
    opt.frame = true;
    return cbo.style()->sizeFromContents(QStyle::CT_ComboBox, &opt, QSize(text, fm.height()), &cbo).width();
}

}  // namespace

TimingView::TimingView(app::MainForm& form, QWidget* parent)
    : QFrame(parent), form_(form), c_(form.timingControls()) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    c_.setListener([this](const app::Control& control) { bindings_.changed(control); });

    baueSpuren();
    startStop_ = new QPushButton(this);
    recorder_ = new QPushButton(this);
    wiedergabeStart_ = new QPushButton(this);
    wiedergabeStop_ = new QPushButton(this);
    hsb_ = new QScrollBar(Qt::Horizontal, this);
    hsb_->setFocusPolicy(Qt::StrongFocus);  // playback moves through the records with the keys
    baueStatus();
    baueSelektoren();

    form_.timing().onScrollFokus = [this] { hsb_->setFocus(Qt::OtherFocusReason); };
    anordnen();
}

TimingView::~TimingView() {
    // The diagram outlives the window: it goes back to its own strips and forgets the view.
    form_.timing().setzeSpuren({});
    form_.timing().onScrollFokus = {};
    c_.setListener({});
}

app::TwipRect TimingView::platz(int containerBreite) {
    return {kLinks, kOben, std::max(kMindestBreite, containerBreite - kLinks - kRandRechts), kHoehe};
}

void TimingView::anmelden(QWidget* widget, const app::Control& control) {
    widget->setObjectName(QString::fromStdString(control.name()));
    widgets_[&control] = widget;
}

void TimingView::baueSpuren() {
    std::array<timing::Spur*, timing::kAnzahlKanaele> zeiger{};
    for (int i = 0; i < timing::kAnzahlKanaele; ++i) {
        const auto k = static_cast<std::size_t>(i);
        auto* spur = new TimingSpurWidget(this);
        spur->setObjectName(QStringLiteral("picTimingSpur(%1)").arg(i));
        spur->setLinien(&c_.Line1[k], &c_.LineTrigger[k]);
        spur->onMausGedrueckt = [this, i](int knopf, int shift, double x, double y) {
            form_.timing().picTimingSpur_MouseDown(i, knopf, shift, x, y);
        };
        bindings_.bind(c_.Line1[k], [spur] { spur->update(); });
        bindings_.bind(c_.LineTrigger[k], [spur] { spur->update(); });
        spuren_[k] = spur;
        zeiger[k] = &spur->spur();
    }
    form_.timing().setzeSpuren(zeiger);
}

void TimingView::baueSelektoren() {
    for (int i = 0; i < timing::kAnzahlSelektoren; ++i) {
        auto* cbo = new QComboBox(this);
        anmelden(cbo, c_.cboKlemmen[static_cast<std::size_t>(i)]);
        cbo->setMaxVisibleItems(20);
        selektoren_[static_cast<std::size_t>(i)] = cbo;
        // Only a pick by the user reaches the diagram; the diagram's own selections are applied
        // with the signals blocked.
        connect(cbo, &QComboBox::activated, this, [this, i](int index) { form_.timing().cboKlemmenAuswahl(i, index); });
        bindings_.bind(c_.cboKlemmen[static_cast<std::size_t>(i)], [this, i] { selektorUebernehmen(i); });
    }
}

QLabel* TimingView::baueLabel(QWidget* parent, const app::Control& control) {
    auto* label = new QLabel(parent);
    anmelden(label, control);
    label->setTextFormat(Qt::PlainText);
    bindings_.bind(control, [label, &control] {
        label->setText(QString::fromStdString(control.caption()));
        label->setVisible(control.visible());
    });
    return label;
}

void TimingView::baueStatus() {
    statusRahmen_ = new QFrame(this);
    anmelden(statusRahmen_, c_.fraTimingStatus);
    statusRahmen_->setFrameStyle(QFrame::Box | QFrame::Plain);
    bindings_.bind(c_.fraTimingStatus, [this] { statusRahmen_->setVisible(c_.fraTimingStatus.visible()); });
    baueLabel(statusRahmen_, c_.lblTimingStatusStart);
    baueLabel(statusRahmen_, c_.lblTimingStatusStop);
    baueLabel(statusRahmen_, c_.lblTimingStatusAktuell);
    // The values belong to the diagram frame itself; they lie over the status frame's area.
    baueLabel(this, c_.lblStartDatum);
    baueLabel(this, c_.lblEndeDatum);
    baueLabel(this, c_.lblAktuelleZeit);
    baueLabel(this, c_.lblDateiname);
}

void TimingView::selektorUebernehmen(int index) {
    QComboBox* cbo = selektoren_[static_cast<std::size_t>(index)];
    const app::ListControl& control = c_.cboKlemmen[static_cast<std::size_t>(index)];
    const QSignalBlocker sperre(cbo);

    const std::vector<std::string>& eintraege = control.items();
    bool gleich = cbo->count() == static_cast<int>(eintraege.size());
    for (int i = 0; gleich && i < cbo->count(); ++i) {
        gleich = cbo->itemText(i) == QString::fromStdString(eintraege[static_cast<std::size_t>(i)]);
    }
    if (!gleich) {
        cbo->clear();
        for (const std::string& e : eintraege) cbo->addItem(QString::fromStdString(e));
    }
    const int wahl = control.listIndex();
    cbo->setCurrentIndex(wahl >= 0 && wahl < cbo->count() ? wahl : -1);
    cbo->setEnabled(control.enabled());
    cbo->setVisible(control.visible());

    // The back colour: the recorder shows the armed and the fired trigger in it.
    QPalette pal = cbo->palette();
    pal.setColor(QPalette::Button, qtFarbe(control.colour()));
    pal.setColor(QPalette::Base, qtFarbe(control.colour()));
    cbo->setPalette(pal);

    // New entries can change the selectors' width, and with it the strips'.
    if (!gleich && hsb_ != nullptr) anordnen();
}

void TimingView::platzieren(const QRect& geometrie) {
    setGeometry(geometrie);
    anordnen();
}

void TimingView::anordnen() {
    if (selektoren_.back() == nullptr) return;  // still being built
    const QRect innen = contentsRect().adjusted(kAbstand, kAbstand, -kAbstand, -kAbstand);
    anordnenLinks(innen, anordnenRechts(innen));
}

int TimingView::anordnenRechts(const QRect& innen) {
    const Twips twips(*this);
    const QFontMetrics fm(font());
    const int rahmen = statusRahmen_->frameWidth() + 2;
    const int rechtsBreite = std::max(twips.x(kKnopfBreite), fm.horizontalAdvance(kMusterZeit) + 2 * rahmen);
    const int rechtsX = innen.right() + 1 - rechtsBreite;
    const int knopfHoehe = twips.y(kKnopfHoehe);
    int y = innen.top();
    startStop_->setGeometry(rechtsX, y, rechtsBreite, knopfHoehe);
    y += knopfHoehe + kAbstand;
    recorder_->setGeometry(rechtsX, y, rechtsBreite, knopfHoehe);
    y += knopfHoehe + kAbstand;
    // Playback start and stop share a place; they are never shown together.
    wiedergabeStart_->setGeometry(rechtsX, y, rechtsBreite, knopfHoehe);
    wiedergabeStop_->setGeometry(rechtsX, y, rechtsBreite, knopfHoehe);
    y += knopfHoehe + kAbstand;
    QComboBox* trigger = selektoren_[timing::kTriggerSelektor];
    const int triggerHoehe = trigger->sizeHint().height();
    trigger->setGeometry(rechtsX, y, rechtsBreite, triggerHoehe);
    y += triggerHoehe + kAbstand;

    statusRahmen_->setGeometry(rechtsX, y, rechtsBreite, std::max(innen.bottom() + 1 - y, 0));
    const int zeile = fm.height();
    const int textBreite = rechtsBreite - 2 * rahmen;
    int zy = rahmen;  // inside the status frame
    const std::pair<const app::Control*, const app::Control*> paare[] = {
        {&c_.lblTimingStatusStart, &c_.lblStartDatum},
        {&c_.lblTimingStatusStop, &c_.lblEndeDatum},
        {&c_.lblTimingStatusAktuell, &c_.lblAktuelleZeit},
    };
    for (const auto& [titel, wert] : paare) {
        widget(*titel)->setGeometry(rahmen, zy, textBreite, zeile);
        widget(*wert)->setGeometry(rechtsX + rahmen, y + zy + zeile, textBreite, zeile);
        zy += 2 * zeile + 1;
    }
    widget(c_.lblDateiname)->setGeometry(rechtsX + rahmen, y + zy, textBreite, zeile);
    return rechtsX;
}

void TimingView::anordnenLinks(const QRect& innen, int rechtsX) {
    int selektorenBreite = 0;
    for (int i = 0; i < timing::kAnzahlKanaele; ++i) {
        const auto k = static_cast<std::size_t>(i);
        selektorenBreite = std::max(selektorenBreite, selektorBreite(*selektoren_[k], c_.cboKlemmen[k].items()));
    }
    const int spurLinks = innen.left() + selektorenBreite + kAbstand;
    const int spurBreite = std::max(rechtsX - kAbstand - spurLinks, 1);
    const int hsbHoehe = hsb_->sizeHint().height();
    const int teilung =
        std::max((innen.height() - hsbHoehe - kAbstand) / timing::kAnzahlKanaele, kMindestSpurHoehe + kSpurLuecke);
    bool groesseGeaendert = false;
    for (int i = 0; i < timing::kAnzahlKanaele; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const int zy0 = innen.top() + i * teilung;
        groesseGeaendert |= spuren_[k]->platzieren(QRect(spurLinks, zy0, spurBreite, teilung - kSpurLuecke));
        selektoren_[k]->setGeometry(innen.left(), zy0, selektorenBreite, teilung - kSpurLuecke);
    }
    hsb_->setGeometry(spurLinks, innen.top() + timing::kAnzahlKanaele * teilung - kSpurLuecke + kAbstand, spurBreite,
                      hsbHoehe);

    if (groesseGeaendert) form_.timing().SpurGroesseGeaendert();
}

TimingSpurWidget* TimingView::spur(int kanal) const {
    return kanal >= 0 && kanal < timing::kAnzahlKanaele ? spuren_[static_cast<std::size_t>(kanal)] : nullptr;
}

QComboBox* TimingView::selektor(int index) const {
    return index >= 0 && index < timing::kAnzahlSelektoren ? selektoren_[static_cast<std::size_t>(index)] : nullptr;
}

QWidget* TimingView::widget(const app::Control& control) const {
    const auto it = widgets_.find(&control);
    return it == widgets_.end() ? nullptr : it->second;
}

}  // namespace krv::gui
