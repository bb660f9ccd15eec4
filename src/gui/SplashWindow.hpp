#pragma once
// The splash window frmSplash: program name, version and copyright line, centred on the screen
// without a frame. A click anywhere closes it; closing deletes it.
#include <QWidget>

class QLabel;

namespace krv::gui {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(int sprachOffset, QWidget* parent = nullptr);

    QLabel* lblAppName() const { return lblAppName_; }
    QLabel* lblVersion() const { return lblVersion_; }
    QLabel* lblCopyright() const { return lblCopyright_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLabel* lblAppName_;
    QLabel* lblVersion_;
    QLabel* lblCopyright_;
};

}  // namespace krv::gui
