// The picture container's contents: the four picture areas, the LED shapes, and the three views
// that share the place beside the module pictures (status window, timing diagram, model list).
#include <algorithm>

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include "gui/DesignLayout.hpp"
#include "gui/MainWindow.hpp"
#include "gui/PictureArea.hpp"
#include "gui/QtColour.hpp"
#include "gui/ShapeWidget.hpp"
#include "gui/TimingView.hpp"

namespace krv::gui {
namespace {

void setzeHintergrund(QWidget* widget, app::Colour farbe) {
    widget->setAutoFillBackground(true);
    // A new palette is costly (resolved, sent to every child, repainted): only for a new colour.
    const QColor neu = qtFarbe(farbe);
    if (widget->testAttribute(Qt::WA_SetPalette) && widget->palette().color(QPalette::Window) == neu) return;
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, neu);
    widget->setPalette(pal);
}

}  // namespace

void MainWindow::baueBild(QWidget* container) {
    const std::pair<const app::Control*, app::TwipRect> bilder[] = {
        {&c_.Image1, design::Image1},
        {&c_.Image2, design::Image2},
        {&c_.Image3, design::Image3},
        {&c_.imgStrom, design::imgStrom},
    };
    std::size_t i = 0;
    for (const auto& [control, platz] : bilder) {
        auto* bild = new PictureArea(container);
        bildBereiche_[i++] = bild;
        anmelden(bild, *control);
        platziere(bild, platz);
        bindeSichtbar(bild, *control);
        bindings_.bind(*control, [bild, control = control] { bild->setBildDatei(QString::fromStdString(control->caption())); });
    }
}

ShapeWidget* MainWindow::baueForm(QWidget* parent, const app::Control& control, ShapeWidget::Form form,
                                  const app::TwipRect& platz) {
    auto* shape = new ShapeWidget(form, parent);
    anmelden(shape, control);
    platziere(shape, platz);
    bindeSichtbar(shape, control);
    bindings_.bind(control, [shape, &control] { shape->setFuellFarbe(qtFarbe(control.colour())); });
    return shape;
}

void MainWindow::baueLeds(QWidget* container) {
    const std::pair<const app::Control*, design::Platz> modulLeds[] = {
        {&c_.shpOutputFault, design::shpOutputFault}, {&c_.shpOutputLocked, design::shpOutputLocked},
        {&c_.shpOutputState, design::shpOutputState}, {&c_.shpOutputWarn, design::shpOutputWarn},
        {&c_.shpCpuFault, design::shpCpuFault},       {&c_.shpCpuS1S2, design::shpCpuS1S2},
        {&c_.shpCpuS3S4, design::shpCpuS3S4},         {&c_.shpErwFault, design::shpErwFault},
        {&c_.shpErwIndicat, design::shpErwIndicat},   {&c_.shpErwSwitch2, design::shpErwSwitch2},
        {&c_.shpErwSwitch1, design::shpErwSwitch1},
    };
    for (const auto& [control, platz] : modulLeds) {
        baueForm(container, *control, ShapeWidget::Form::Kreis,
                 {platz.left, platz.top, design::kModulLedGroesse, design::kModulLedGroesse});
    }
    for (std::size_t i = 0; i < c_.shpLed.size(); ++i) {
        const auto form = i == design::kAktivitaetsLed ? ShapeWidget::Form::Kreis : ShapeWidget::Form::Rechteck;
        const design::Platz platz = design::shpLed[i];
        baueForm(container, c_.shpLed[i], form,
                 {platz.left, platz.top, design::kKlemmenLedBreite, design::kKlemmenLedHoehe});
    }
}

void MainWindow::baueStatusFenster(QWidget* container) {
    auto* frame = new QFrame(container);
    anmelden(frame, c_.fraStatus);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    setzeHintergrund(frame, design::kStatusHintergrund);
    platziere(frame, design::fraStatus);
    bindeSichtbar(frame, c_.fraStatus);
    // The design widths were made for a narrower font than the ones Linux desktops have.
    QFont schrift = frame->font();
    schrift.setPointSizeF(7);
    frame->setFont(schrift);

    for (int i = 0; i < static_cast<int>(c_.lblDiagStatusText.size()); ++i) {
        const auto zeile = design::statusZeile(i);
        if (!zeile) continue;
        const auto idx = static_cast<std::size_t>(i);
        const app::Control& textControl = c_.lblDiagStatusText[idx];
        const app::Control& wertControl = c_.lblDiagStatusWert[idx];

        // Caption labels always show their background; value labels only while opaque (the
        // red of an input type "n.c.").
        auto* text = new QLabel(frame);
        anmelden(text, textControl);
        text->setTextFormat(Qt::PlainText);
        platziere(text, zeile->text);
        bindings_.bind(textControl, [text, &textControl] {
            text->setText(QString::fromStdString(textControl.caption()));
            text->setToolTip(text->text());  // the whole caption, should the label cut it
            text->setVisible(textControl.visible());
            setzeHintergrund(text, textControl.colour());
        });

        auto* wert = new QLabel(frame);
        anmelden(wert, wertControl);
        wert->setTextFormat(Qt::PlainText);
        platziere(wert, zeile->wert);
        bindings_.bind(wertControl, [wert, &wertControl] {
            wert->setText(QString::fromStdString(wertControl.caption()));
            wert->setVisible(wertControl.visible());
            setzeHintergrund(wert, wertControl.colour());
            wert->setAutoFillBackground(wertControl.opaque());
        });
    }
}

void MainWindow::baueZeitdiagramm(QWidget* container) {
    // The view renders the diagram's own controls; the buttons and the scroll bar in it are the
    // window's controls and are bound here like the others.
    timingView_ = new TimingView(form_, container);
    anmelden(timingView_, c_.fraTimingDiagram);
    bindeSichtbar(timingView_, c_.fraTimingDiagram);

    const std::pair<app::Control*, QPushButton*> knoepfe[] = {
        {&c_.cmdTimingDiagrammStartStop, timingView_->cmdTimingDiagrammStartStop()},
        {&c_.cmdRecorderStartStop, timingView_->cmdRecorderStartStop()},
        {&c_.cmdWiedergabeStart, timingView_->cmdWiedergabeStart()},
        {&c_.cmdWiedergabeStop, timingView_->cmdWiedergabeStop()},
    };
    for (const auto& [ziel, knopf] : knoepfe) {
        app::Control* control = ziel;
        anmelden(knopf, *control);
        bindings_.bind(*control, [knopf = knopf, control] {
            knopf->setText(QString::fromStdString(control->caption()));
            knopf->setVisible(control->visible());
            knopf->setEnabled(control->enabled());
        });
        connect(knopf, &QPushButton::clicked, this, [this, control] { aktionGewaehlt(*control); });
    }

    QScrollBar* hsb = timingView_->hsbTimingDiagram();
    anmelden(hsb, c_.hsbTimingDiagram);
    app::ScrollBarControl& model = c_.hsbTimingDiagram;
    bindings_.bind(model, [hsb, &model] {
        const QSignalBlocker sperre(hsb);
        hsb->setVisible(model.visible());
        hsb->setEnabled(model.enabled());
        hsb->setRange(model.min(), std::max(model.min(), model.max()));
        hsb->setSingleStep(model.smallChange());
        hsb->setPageStep(model.largeChange());
        hsb->setValue(model.value());
    });
    // The position is taken when the box is let go; dragging only reports that it moves.
    hsb->setTracking(false);
    connect(hsb, &QScrollBar::sliderMoved, this, [&model] { model.ziehen(); });
    connect(hsb, &QScrollBar::valueChanged, this, [&model](int wert) { model.setValue(wert); });
    model.onFocus = [hsb] { hsb->setFocus(Qt::OtherFocusReason); };
}

void MainWindow::baueModellListe(QWidget* container) {
    list1_ = new QListWidget(container);
    anmelden(list1_, c_.List1);
    list1_->setSelectionMode(QAbstractItemView::SingleSelection);
    platziere(list1_, design::List1);
    bindeSichtbar(list1_, c_.List1);
    bindings_.bind(c_.List1, [this] {
        list1_->setEnabled(c_.List1.enabled());
        listeUebernehmen();
    });
    // A selection the user makes becomes ListIndex and raises the click handling; a selection
    // the form sets does not (the form calls its click handling itself where it should).
    connect(list1_, &QListWidget::currentRowChanged, this, [this](int zeile) {
        if (listeWirdGesetzt_) return;
        c_.List1.setListIndex(zeile);
        form_.List1_Click();
    });
    list1_->installEventFilter(this);
}

void MainWindow::listeUebernehmen() {
    listeWirdGesetzt_ = true;
    const std::vector<std::string>& eintraege = c_.List1.items();
    bool gleich = list1_->count() == static_cast<int>(eintraege.size());
    for (int i = 0; gleich && i < list1_->count(); ++i) {
        gleich = list1_->item(i)->text() == QString::fromStdString(eintraege[static_cast<std::size_t>(i)]);
    }
    if (!gleich) {
        list1_->clear();
        for (const std::string& e : eintraege) list1_->addItem(QString::fromStdString(e));
    }
    const int index = c_.List1.listIndex();
    if (index < 0 || index >= list1_->count()) {
        list1_->clearSelection();
        list1_->setCurrentRow(-1);
    } else if (list1_->currentRow() != index || !list1_->item(index)->isSelected()) {
        list1_->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    }
    listeWirdGesetzt_ = false;
}

}  // namespace krv::gui
