#pragma once
// One of the four picture areas of the device picture: the metafile loaded into it, drawn to
// fill the area; the file's name stands in while no drawing is there.
#include <QFrame>
#include <QString>

class QLabel;

namespace krv::wmf {
class MetafileView;
}

namespace krv::gui {

class PictureArea : public QFrame {
    Q_OBJECT
public:
    explicit PictureArea(QWidget* parent);

    // Path of the loaded picture file; empty: no picture.
    void setBildDatei(const QString& pfad);
    const QString& bildDatei() const { return bildDatei_; }
    QString angezeigterName() const;
    wmf::MetafileView* view() const { return view_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QString bildDatei_;
    QLabel* name_;
    wmf::MetafileView* view_;
};

}  // namespace krv::gui
