#pragma once
// One of the four picture areas of the device picture. Until the pictures are drawn, it shows
// the name of the picture file that is loaded into it, or nothing when it is empty.
#include <QFrame>
#include <QString>

class QLabel;

namespace krv::gui {

class PictureArea : public QFrame {
    Q_OBJECT
public:
    explicit PictureArea(QWidget* parent);

    // Path of the loaded picture file; empty: no picture.
    void setBildDatei(const QString& pfad);
    const QString& bildDatei() const { return bildDatei_; }
    QString angezeigterName() const;

private:
    QString bildDatei_;
    QLabel* name_;
};

}  // namespace krv::gui
