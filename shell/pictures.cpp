#include "shell/pictures.hpp"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace kova {

namespace {

// Soft ground under an embankment, the settled surface dashed below it.
void DrawSection(QPainter& p, double w, double h, double groundY, bool prediction) {
    QLinearGradient sky(0, 0, 0, groundY);
    sky.setColorAt(0, prediction ? QColor(8, 40, 48) : QColor(10, 24, 64));
    sky.setColorAt(1, prediction ? QColor(24, 96, 104) : QColor(36, 72, 140));
    p.fillRect(QRectF(0, 0, w, groundY), sky);

    const QColor layers[] = {QColor(120, 96, 64), QColor(96, 80, 56), QColor(72, 64, 52)};
    double y = groundY;
    double step = (h - groundY) / 3.0;
    for (const QColor& c : layers) {
        p.fillRect(QRectF(0, y, w, step + 1), c);
        y += step;
    }
    if (!prediction) {
        QPolygonF bank;
        bank << QPointF(w * 0.28, groundY) << QPointF(w * 0.40, groundY - h * 0.05)
             << QPointF(w * 0.62, groundY - h * 0.05) << QPointF(w * 0.74, groundY);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(176, 144, 88));
        p.drawPolygon(bank);
        QPainterPath settle;
        settle.moveTo(0, groundY + 2);
        for (int i = 0; i <= 64; ++i) {
            double x = w * i / 64.0;
            double d = std::exp(-std::pow((x - w * 0.51) / (w * 0.16), 2)) * h * 0.07;
            settle.lineTo(x, groundY + 2 + d);
        }
        p.setPen(QPen(QColor(255, 255, 0), 1.5, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawPath(settle);
    } else {
        // A settlement-time curve approaching its final value.
        QPainterPath curve;
        double x0 = w * 0.06, x1 = w * 0.94, top = groundY + step * 0.4, depth = step * 1.9;
        curve.moveTo(x0, top);
        for (int i = 1; i <= 64; ++i) {
            double t = i / 64.0;
            double s = t / (0.15 + t) * 1.15;
            curve.lineTo(x0 + (x1 - x0) * t, top + depth * s);
        }
        p.setPen(QPen(QColor(255, 255, 0), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawPath(curve);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255));
        for (int i = 1; i <= 8; ++i) {
            double t = i / 10.0;
            double s = t / (0.15 + t) * 1.15;
            p.drawEllipse(QPointF(x0 + (x1 - x0) * t, top + depth * s + ((i % 2) ? 1.5 : -1.5)), 1.8, 1.8);
        }
    }
}

}  // namespace

QImage SplashPicture(const ShellApp& app) {
    QImage img(320, 200, QImage::Format_RGB888);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    DrawSection(p, 320, 200, 140, app.prediction);
    p.setPen(QPen(QColor(255, 255, 255, 160), 1));
    p.drawLine(QPointF(40, 84), QPointF(280, 84));
    return img;
}

QImage AppIconImage(const ShellApp& app, int size) {
    QImage section(size, size, QImage::Format_RGB888);
    {
        QPainter p(&section);
        p.setRenderHint(QPainter::Antialiasing);
        // Drawn on the 32-pixel grid and scaled, so every size is the same picture.
        p.scale(size / 32.0, size / 32.0);
        DrawSection(p, 32, 32, 16, app.prediction);
    }
    // The picture as a tile with rounded corners on a transparent ground, its
    // edge smoothed into the ground: on a dark panel or a light one it shows
    // no frame and no specks at the corners.
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QBrush(section));
    // Rounded enough that the outermost corner pixel lies wholly outside.
    const double radius = std::max(size / 8.0, 3.5);
    p.drawRoundedRect(QRectF(0, 0, size, size), radius, radius);
    return img;
}

QPixmap AppIconPixmap(const ShellApp& app) { return QPixmap::fromImage(AppIconImage(app, 32)); }

QIcon AppIcon(const ShellApp& app) { return QIcon(AppIconPixmap(app)); }

}  // namespace kova
