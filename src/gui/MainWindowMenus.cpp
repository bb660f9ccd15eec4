// The main window's menu bar, built from the menu controls in menu order.
#include <QMenu>
#include <QMenuBar>

#include "gui/MainWindow.hpp"

namespace krv::gui {
namespace {

// Items that carry a check mark: a choice among siblings.
bool waehlbar(const app::MainFormState& c, const app::Control& control) {
    auto in = [&control](const auto& array) {
        for (const app::Control& e : array) {
            if (&e == &control) return true;
        }
        return false;
    };
    return in(c.mnuSprache) || in(c.mnuCom) || in(c.mnuHexDumpAuswahl) || &control == &c.mnuStatusFenster ||
           &control == &c.mnuTimingDiagramm || &control == &c.mnuHardwareAuswahl;
}

}  // namespace

void MainWindow::baueMenues() {
    QMenuBar* bar = menuBar();

    QMenu* m = baueMenue(bar, c_.mnuFile);
    for (app::Control* c : {&c_.mnuOpenLog, &c_.mnuCloseLog, &c_.mnuOpenCpuDatenAbspeichern,
                            &c_.mnuCloseCpuDatenAbspeichern, &c_.M11, &c_.mnuStartSimulation, &c_.mnuEndSimulation,
                            &c_.mnuStartCpuDatenWiedergabe, &c_.mnuStopCpuDatenWiedergabe, &c_.M12,
                            &c_.mnuExportieren, &c_.mnuBildSpeichern, &c_.mnuPrint,
                            &c_.M13, &c_.mnuFileExit}) {
        baueAktion(m, *c);
    }

    m = baueMenue(bar, c_.mnuDatenuebertragung);
    baueAktion(m, c_.mnuDatenuebertragungStart);
    baueAktion(m, c_.mnuDatenuebertragungStop);

    m = baueMenue(bar, c_.mnuExtras);
    QMenu* sub = baueMenue(m, c_.mnuSprachen);
    for (app::Control& c : c_.mnuSprache) baueAktion(sub, c);
    sub = baueMenue(m, c_.mnuComAnschluss);
    for (std::size_t i = 1; i < c_.mnuCom.size(); ++i) baueAktion(sub, c_.mnuCom[i]);  // element 0 is not shown
    // The items' device hints are worked out as the menu opens: adapters come and go.
    sub->setToolTipsVisible(true);
    connect(sub, &QMenu::aboutToShow, this, [this] { aktionGewaehlt(c_.mnuComAnschluss); });
    sub = baueMenue(m, c_.mnuHexDump);
    for (app::Control& c : c_.mnuHexDumpAuswahl) baueAktion(sub, c);

    m = baueMenue(bar, c_.mnuAnsicht);
    for (app::Control* c : {&c_.mnuStatusFenster, &c_.mnuTimingDiagramm, &c_.mnuHardwareAuswahl}) baueAktion(m, *c);

    m = baueMenue(bar, c_.mnuFragezeichen);
    baueAktion(m, c_.mnuHilfe);
    baueAktion(m, c_.mnuInfo);
}

QMenu* MainWindow::baueMenue(QWidget* parent, app::Control& control) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QString::fromStdString(control.name()));
    if (auto* bar = qobject_cast<QMenuBar*>(parent)) {
        bar->addMenu(menu);
    } else {
        static_cast<QMenu*>(parent)->addMenu(menu);
    }
    QAction* a = menu->menuAction();
    a->setObjectName(QString::fromStdString(control.name()));
    menus_[&control] = menu;
    actions_[&control] = a;
    bindings_.bind(control, [menu, a, &control] {
        menu->setTitle(QString::fromStdString(control.caption()));
        a->setEnabled(control.enabled());
        a->setVisible(control.visible());
    });
    return menu;
}

void MainWindow::baueAktion(QMenu* menu, app::Control& control) {
    QAction* a = menu->addAction(QString());
    a->setObjectName(QString::fromStdString(control.name()));
    const bool trenner = control.caption() == "-";
    a->setSeparator(trenner);
    a->setCheckable(!trenner && waehlbar(c_, control));
    actions_[&control] = a;
    bindings_.bind(control, [a, trenner, &control] {
        if (!trenner) a->setText(QString::fromStdString(control.caption()));
        a->setEnabled(control.enabled());
        a->setVisible(control.visible());
        if (control.checked()) a->setCheckable(true);
        if (a->isCheckable()) a->setChecked(control.checked());
    });
    connect(a, &QAction::triggered, this, [this, &control] { aktionGewaehlt(control); });

    // A control's status tip goes to the window's own status line (it has no QStatusBar) while
    // the pointer is on the item, and is its tool tip too.
    bindings_.bind(control, [a, &control] {
        const QString tip = QString::fromStdString(control.statusTip());
        a->setStatusTip(tip);
        a->setToolTip(tip);
    });
    connect(a, &QAction::hovered, this, [this, &control] {
        if (!control.statusTip().empty()) form_.zeigeStatuszeile(control.statusTip());
    });
}

}  // namespace krv::gui
