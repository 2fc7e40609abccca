#pragma once
// TColorSwatch: a filled rectangle showing one colour of the options dialog,
// framed in black. Releasing a mouse button over it, or pressing Space or
// Enter while it has the focus, fires OnMouseUp: the dialog then asks for a
// new colour. The focus shows as a dotted rectangle inside the frame.

#include "Ovsynlangstyle.h"

#include <QWidget>

#include <functional>

namespace ov {

class TColorSwatch : public QWidget {
public:
    explicit TColorSwatch(QWidget* parent = nullptr);

    TColor Color() const { return FColor; }
    void SetColor(TColor color);

    std::function<void(TColorSwatch* sender)> OnMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TColor FColor = 0;
};

} // namespace ov
