#include "gui/HexDumpWindow.hpp"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>

#include "gui/Twips.hpp"

namespace krv::gui {
namespace {

// A fixed window with title, minimise button and close box.
constexpr Qt::WindowFlags kFensterArt = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                        Qt::WindowCloseButtonHint;

QString qt(const std::string& text) { return QString::fromStdString(text); }

void setzeText(QTableWidgetItem* item, const QString& text) {
    if (item != nullptr && item->text() != text) item->setText(text);
}

}  // namespace

HexDumpWindow::HexDumpWindow(hexdump::HexDumpFenster& fenster, QWidget* parent)
    : QWidget(parent, kFensterArt), fenster_(fenster) {
    hexdump::HexDumpFensterState& c = fenster_.controls();
    setObjectName(qt(c.frmHexDump.name()));

    // The small font the design places were made for, as in the main window.
    QFont klein = font();
    klein.setPointSize(8);
    setFont(klein);

    const Twips twips(*this);
    setFixedSize(twips.size(hexdump::kHexDumpClient));

    grid_ = new QTableWidget(this);
    grid_->setObjectName(qt(c.Grid1.name()));
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->setCornerButtonEnabled(false);
    grid_->setWordWrap(false);
    for (QHeaderView* kopf : {grid_->horizontalHeader(), grid_->verticalHeader()}) {
        kopf->setSectionResizeMode(QHeaderView::Fixed);
        kopf->setMinimumSectionSize(0);
        kopf->setHighlightSections(false);
        kopf->setSectionsClickable(false);
    }
    grid_->move(twips.rect(hexdump::kGrid1Rect).topLeft());
    connect(grid_, &QTableWidget::currentCellChanged, this, [this](int zeile, int spalte, int, int) {
        if (imAbgleich_ || zeile < 0 || spalte < 0 || !fenster_.geladen()) return;
        fenster_.Grid1_SelChange(zeile + 1, spalte + 1);
        abgleichen();
    });

    optionen_ = new QButtonGroup(this);
    const app::TwipRect optPlaetze[2] = {hexdump::kOptAsciiRect, hexdump::kOptHexRect};
    for (int i = 0; i < 2; ++i) {
        opt_[i] = new QRadioButton(this);
        opt_[i]->setObjectName(qt(c.optHexDumpDisplay[static_cast<std::size_t>(i)].name()));
        opt_[i]->setGeometry(twips.rect(optPlaetze[i]));
        optionen_->addButton(opt_[i], i);
    }
    connect(optionen_, &QButtonGroup::idClicked, this, [this](int index) {
        if (imAbgleich_ || !fenster_.geladen()) return;
        fenster_.optHexDumpDisplay_Click(index);
        abgleichen();
    });

    cmdHexDumpDrucken_ = new QPushButton(this);
    cmdHexDumpDrucken_->setObjectName(qt(c.cmdHexDumpDrucken.name()));
    cmdHexDumpDrucken_->setGeometry(twips.rect(hexdump::kCmdHexDumpDruckenRect));
    connect(cmdHexDumpDrucken_, &QPushButton::clicked, this, [this] {
        if (fenster_.geladen()) fenster_.cmdHexDumpDrucken_Click();
    });

    lblZellenInhalt_ = new QLabel(this);
    lblZellenInhalt_->setObjectName(qt(c.lblZellenInhalt.name()));
    lblZellenInhalt_->setTextFormat(Qt::PlainText);
    lblZellenInhalt_->setGeometry(twips.rect(hexdump::kLblZellenInhaltRect));

    c.setListener([this](const app::Control& control) {
        const hexdump::GridControl& grid = fenster_.controls().Grid1;
        if (&control == &grid && grid.layoutVersion() != aufgebauteVersion_) gridVeraltet_ = true;
        abgleichVormerken();
    });
    // Writing a cell repaints that cell at once; while a rebuild is due, the rebuild takes it.
    c.Grid1.setZellenListener([this](int row, int col) {
        if (!gridVeraltet_) zelleZeigen(row, col);
    });
    abgleichen();
}

HexDumpWindow::~HexDumpWindow() {
    hexdump::HexDumpFensterState& c = fenster_.controls();
    c.setListener({});
    c.Grid1.setZellenListener({});
}

QRadioButton* HexDumpWindow::option(int index) const { return index == 0 || index == 1 ? opt_[index] : nullptr; }

QString HexDumpWindow::angezeigterText(int row, int col) const {
    const QTableWidgetItem* item = nullptr;
    if (row == 0 && col >= 1) {
        item = grid_->horizontalHeaderItem(col - 1);
    } else if (col == 0 && row >= 1) {
        item = grid_->verticalHeaderItem(row - 1);
    } else if (row >= 1 && col >= 1) {
        item = grid_->item(row - 1, col - 1);
    }
    return item != nullptr ? item->text() : QString();
}

void HexDumpWindow::abgleichVormerken() {
    if (abgleichVorgemerkt_) return;
    abgleichVorgemerkt_ = true;
    QTimer::singleShot(0, this, [this] {
        if (abgleichVorgemerkt_) abgleichen();
    });
}

void HexDumpWindow::abgleichen() {
    abgleichVorgemerkt_ = false;
    const hexdump::HexDumpFensterState& c = fenster_.controls();
    imAbgleich_ = true;
    setWindowTitle(qt(c.frmHexDump.caption()));
    // Both options are unchecked while the window is unloaded: the group must allow that.
    optionen_->setExclusive(false);
    for (int i = 0; i < 2; ++i) {
        const app::Control& opt = c.optHexDumpDisplay[static_cast<std::size_t>(i)];
        opt_[i]->setText(qt(opt.caption()));
        opt_[i]->setChecked(opt.checked());
    }
    optionen_->setExclusive(true);
    cmdHexDumpDrucken_->setText(qt(c.cmdHexDumpDrucken.caption()));
    lblZellenInhalt_->setText(qt(c.lblZellenInhalt.caption()));
    if (gridVeraltet_) gridAufbauen();
    auswahlZeigen();
    fensterZeigen();
    imAbgleich_ = false;
}

void HexDumpWindow::gridAufbauen() {
    const hexdump::GridControl& g = fenster_.controls().Grid1;
    const Twips twips(*this);
    const int datenZeilen = std::max(0, g.rows() - 1);
    const int datenSpalten = std::max(0, g.cols() - 1);
    const Qt::Alignment ausrichtung = g.zentriert() ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter;
    const int zeilenHoehe = twips.y(g.rowHeight());

    grid_->clear();
    grid_->setRowCount(datenZeilen);
    grid_->setColumnCount(datenSpalten);
    grid_->horizontalHeader()->setDefaultAlignment(ausrichtung);
    grid_->verticalHeader()->setDefaultAlignment(ausrichtung);
    grid_->horizontalHeader()->setFixedHeight(zeilenHoehe);
    grid_->verticalHeader()->setFixedWidth(twips.x(g.colWidth(0)));
    grid_->verticalHeader()->setDefaultSectionSize(zeilenHoehe);

    int breite = grid_->verticalHeader()->width();
    for (int spalte = 1; spalte <= datenSpalten; ++spalte) {
        const int px = twips.x(g.colWidth(spalte));
        grid_->setColumnWidth(spalte - 1, px);
        breite += px;
        grid_->setHorizontalHeaderItem(spalte - 1, new QTableWidgetItem(qt(g.textMatrix(0, spalte))));
    }
    for (int zeile = 1; zeile <= datenZeilen; ++zeile) {
        grid_->setVerticalHeaderItem(zeile - 1, new QTableWidgetItem(qt(g.textMatrix(zeile, 0))));
        for (int spalte = 1; spalte <= datenSpalten; ++spalte) {
            auto* item = new QTableWidgetItem(qt(g.textMatrix(zeile, spalte)));
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            item->setTextAlignment(ausrichtung);
            grid_->setItem(zeile - 1, spalte - 1, item);
        }
    }
    // Every row and column visible, as the core sizes its grid.
    const int rahmen = 2 * grid_->frameWidth();
    grid_->setFixedSize(breite + rahmen, zeilenHoehe * (datenZeilen + 1) + rahmen);
    aufgebauteVersion_ = g.layoutVersion();
    gridVeraltet_ = false;
}

void HexDumpWindow::zelleZeigen(int row, int col) {
    const QString text = qt(fenster_.controls().Grid1.textMatrix(row, col));
    if (row == 0 && col >= 1) {
        setzeText(grid_->horizontalHeaderItem(col - 1), text);
    } else if (col == 0 && row >= 1) {
        setzeText(grid_->verticalHeaderItem(row - 1), text);
    } else if (row >= 1 && col >= 1) {
        setzeText(grid_->item(row - 1, col - 1), text);
    }
}

void HexDumpWindow::auswahlZeigen() {
    const hexdump::GridControl& g = fenster_.controls().Grid1;
    const int zeile = g.row() - 1;
    const int spalte = g.col() - 1;
    if (zeile >= 0 && spalte >= 0 && zeile < grid_->rowCount() && spalte < grid_->columnCount()) {
        if (grid_->currentRow() != zeile || grid_->currentColumn() != spalte) grid_->setCurrentCell(zeile, spalte);
    } else {
        grid_->setCurrentCell(-1, -1);
    }
}

void HexDumpWindow::fensterZeigen() {
    const bool zeigen = fenster_.sichtbar();
    Qt::WindowFlags art = kFensterArt;
    if (zeigen && fenster_.imVordergrund()) art |= Qt::WindowStaysOnTopHint;
    if (art != windowFlags()) setWindowFlags(art);  // this hides the window; shown again below
    if (zeigen && !isVisible()) {
        show();
    } else if (!zeigen && isVisible()) {
        hide();
    }
}

bool HexDumpWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && fenster_.sichtbar()) {
        fenster_.Form_Activate();
        abgleichVormerken();
    }
    return QWidget::event(event);
}

void HexDumpWindow::closeEvent(QCloseEvent* event) {
    // The close box: the display mode becomes 0 and is stored, and the window is unloaded.
    if (fenster_.geladen()) fenster_.Schliessfeld();
    event->accept();
}

}  // namespace krv::gui
