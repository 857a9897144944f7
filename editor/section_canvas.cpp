#include "editor/section_canvas.hpp"

#include <QCursor>
#include <QMouseEvent>
#include <QPixmap>
#include <QPainter>
#include <QResizeEvent>
#include <cmath>

#include "platform/qt/screen_qt.hpp"

namespace kova {

int ButtonCode(Qt::MouseButtons b) {
    int code = 0;
    if (b & Qt::LeftButton) code |= 1;
    if (b & Qt::RightButton) code |= 2;
    if (b & Qt::MiddleButton) code |= 4;
    return code;
}

int ShiftCode(Qt::KeyboardModifiers m) {
    int code = 0;
    if (m & Qt::ShiftModifier) code |= 1;
    if (m & Qt::ControlModifier) code |= 2;
    if (m & Qt::AltModifier) code |= 4;
    return code;
}

namespace {

// A magnifier with its hot spot in the middle of the lens.
QCursor MakeZoomCursor() {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    for (auto [colour, width] : {std::pair{QColor(Qt::white), 5}, std::pair{QColor(Qt::black), 2}}) {
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(12, 12), 8, 8);
        p.drawLine(QPointF(18, 18), QPointF(28, 28));
    }
    return QCursor(pm, 12, 12);
}

}  // namespace

SectionCanvas::SectionCanvas(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    painter_.SetScale(ScreenTwips(this));
}

void SectionCanvas::SetCanvasCursor(CanvasCursor c) {
    if (c == CanvasCursor::Zoom)
        setCursor(MakeZoomCursor());
    else
        setCursor(Qt::ArrowCursor);
}

void SectionCanvas::Bind(const Model* m, EditorState* ed) {
    model_ = m;
    ed_ = ed;
}

int SectionCanvas::WidthTwips() const {
    return static_cast<int>(std::lround(width() * painter_.Scale().perPixelX));
}

int SectionCanvas::HeightTwips() const {
    return static_cast<int>(std::lround(height() * painter_.Scale().perPixelY));
}

void SectionCanvas::Render() {
    const QSize size(std::max(1, width()), std::max(1, height()));
    if (picture_.size() != size) {
        picture_ = QImage(size, QImage::Format_RGB32);
        picture_.fill(Qt::black);
    }
    painter_.SetScale(ScreenTwips(this));
}

void SectionCanvas::pic_gm_Paint() {
    Render();
    if (model_ && ed_) painter_.Paint(picture_, *model_, *ed_, options_);
    update();
}

void SectionCanvas::DrawSegment(int x1, int y1, int x2, int y2, int colour) {
    Render();
    painter_.DrawSegment(picture_, x1, y1, x2, y2, colour);
    update();
}

void SectionCanvas::FillPolygon(const ScreenPoint* pts, int n, int colour) {
    Render();
    painter_.FillPolygon(picture_, pts, n, colour);
    update();
}

void SectionCanvas::paintEvent(QPaintEvent*) {
    // An expose only shows what was drawn: the picture and the band.
    // The band is put on a copy of the picture: exclusive-or on the window's
    // own surface would also flip its alpha where that has one.
    QPainter p(this);
    p.drawImage(0, 0, painter_.Band().shown ? painter_.Shown(picture_) : picture_);
    if (picture_.width() < width() || picture_.height() < height()) {
        p.fillRect(picture_.width(), 0, width() - picture_.width(), height(), Qt::black);
        p.fillRect(0, picture_.height(), width(), height() - picture_.height(), Qt::black);
    }
}

void SectionCanvas::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    const QSize before = picture_.size();
    Render();
    // A new size needs a new picture; the band waits for the next move.
    if (picture_.size() != before && model_ && ed_) painter_.FullRepaint(picture_, *model_, *ed_, options_);
    update();
}

void SectionCanvas::mousePressEvent(QMouseEvent* e) {
    const TwipsScale s = painter_.Scale();
    const QPointF p = e->position();
    emit mouseDown(ButtonCode(e->button()), ShiftCode(e->modifiers()), p.x() * s.perPixelX, p.y() * s.perPixelY);
}

void SectionCanvas::mouseDoubleClickEvent(QMouseEvent* e) { e->accept(); }

void SectionCanvas::mouseMoveEvent(QMouseEvent* e) {
    const TwipsScale s = painter_.Scale();
    const QPointF p = e->position();
    emit mouseMove(ButtonCode(e->buttons()), ShiftCode(e->modifiers()), p.x() * s.perPixelX, p.y() * s.perPixelY);
}

}  // namespace kova
