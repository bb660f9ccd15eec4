#pragma once
// A widget that shows one metafile fitted into its rectangle, for the picture areas. The
// drawing is kept in a pixmap at the screen's pixel ratio and redone when the size, the
// ratio or the picture changes.
#include <QPixmap>
#include <QWidget>
#include <memory>

#include "core/device/wmf/Metafile.hpp"

namespace krv::wmf {

class MetafileView : public QWidget {
public:
    explicit MetafileView(QWidget* parent = nullptr);

    // Empty pointer: the view shows nothing (its parent's background).
    void setMetafile(std::shared_ptr<const Metafile> mf);
    const std::shared_ptr<const Metafile>& metafile() const { return metafile_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::shared_ptr<const Metafile> metafile_;
    QPixmap cache_;
};

}  // namespace krv::wmf
