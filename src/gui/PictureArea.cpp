#include "gui/PictureArea.hpp"

#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/wmf/MetafileView.hpp"

namespace krv::gui {

PictureArea::PictureArea(QWidget* parent)
    : QFrame(parent), name_(new QLabel(this)), view_(new wmf::MetafileView(this)) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(0xA0, 0xA0, 0xA0));
    setPalette(pal);
    name_->setAlignment(Qt::AlignCenter);
    name_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(name_);
}

void PictureArea::setBildDatei(const QString& pfad) {
    bildDatei_ = pfad;
    name_->setText(pfad.isEmpty() ? QString() : QFileInfo(pfad).fileName());
    // A drawn picture replaces the frame and the name.
    const bool gezeichnet = view_->metafile() != nullptr;
    name_->setVisible(!gezeichnet);
    setFrameStyle(gezeichnet ? QFrame::NoFrame : QFrame::Box | QFrame::Plain);
}

void PictureArea::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    view_->setGeometry(rect());
}

QString PictureArea::angezeigterName() const { return name_->text(); }

}  // namespace krv::gui
