#include "platform/image_panel.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace quarvel {

ImagePanel::ImagePanel(const QString& objectName, int width, int height, QWidget* parent)
    : QWidget(parent) {
    setObjectName(objectName);
    setFixedSize(std::max(0, width), std::max(0, height));
    setMouseTracking(true);
}

void ImagePanel::setPanelHeight(int height) {
    setFixedSize(width(), std::max(0, height));
}

void ImagePanel::setPanelSize(int width, int height) {
    setFixedSize(std::max(0, width), std::max(0, height));
}

void ImagePanel::setPicture(const QImage& image) {
    picture_.emplace(image);
    update();
}

void ImagePanel::clearPicture() {
    picture_.reset();
    update();
}

Canvas& ImagePanel::picture() {
    return picture_.value();
}

const Canvas& ImagePanel::picture() const {
    return picture_.value();
}

void ImagePanel::paintEvent(QPaintEvent* /*event*/) {
    if (!picture_) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), picture_->image());
}

void ImagePanel::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit mouseMoved(p.x(), p.y());
}

void ImagePanel::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit mousePressed(p.x(), p.y(), event->button(), false);
    if (event->modifiers().testFlag(Qt::ShiftModifier)) {
        emit shiftPressed(p.x(), p.y());
    }
}

void ImagePanel::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit mouseReleased(p.x(), p.y(), event->button());
}

// Qt turns the second press of a double click into this event alone; it is
// still a press, so those who watch presses see it as one.
void ImagePanel::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit mousePressed(p.x(), p.y(), event->button(), true);
    emit doubleClicked(p.x(), p.y());
}

} // namespace quarvel
