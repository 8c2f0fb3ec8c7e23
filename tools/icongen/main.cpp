// Draws the object icons of the model tree as 16x16 PNG files:
//   BlockIcon.png        a block with an input and an output port (any model object)
//   CorvidModelIcon.png  a sheet with two blocks joined by a line (a diagram)
//   kite/rbBoxZoom.png   a magnifier over a dashed rubber band (the palette's zoom button)
// Usage: kite_icongen <output folder>

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

constexpr int kSize = 16;

QImage canvas() {
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void drawBlock(QPainter& p, const QRectF& body, const QColor& fill, const QColor& edge) {
    p.setPen(QPen(edge, 1.0));
    p.setBrush(fill);
    p.drawRoundedRect(body, 0.5, 0.5);
}

QImage blockIcon() {
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor edge(0x2a, 0x4d, 0x7a);
    // Ports first, so the body covers their inner ends.
    p.setPen(QPen(edge, 2.0));
    p.drawLine(QPointF(0.0, 8.0), QPointF(4.0, 8.0));
    p.drawLine(QPointF(12.0, 8.0), QPointF(16.0, 8.0));
    QLinearGradient shade(0, 3, 0, 13);
    shade.setColorAt(0, QColor(0xd6, 0xe6, 0xfa));
    shade.setColorAt(1, QColor(0x8f, 0xb4, 0xe3));
    p.setPen(QPen(edge, 1.0));
    p.setBrush(shade);
    p.drawRoundedRect(QRectF(3.5, 3.5, 9, 9), 1.5, 1.5);
    return image;
}

QImage modelIcon() {
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A sheet with a folded corner.
    QPainterPath sheet;
    sheet.moveTo(1.5, 0.5);
    sheet.lineTo(11.0, 0.5);
    sheet.lineTo(14.5, 4.0);
    sheet.lineTo(14.5, 15.5);
    sheet.lineTo(1.5, 15.5);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(0x55, 0x5b, 0x66), 1.0));
    p.setBrush(QColor(0xfb, 0xfb, 0xf8));
    p.drawPath(sheet);
    p.drawLine(QPointF(11.0, 0.5), QPointF(11.0, 4.0));
    p.drawLine(QPointF(11.0, 4.0), QPointF(14.5, 4.0));
    // Two blocks joined by a right-angled line, on whole pixels so they stay crisp.
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor edge(0x2a, 0x4d, 0x7a);
    p.setPen(QPen(edge, 1.0));
    p.drawLine(QPoint(8, 6), QPoint(10, 6));
    p.drawLine(QPoint(10, 6), QPoint(10, 10));
    drawBlock(p, QRectF(3, 4, 5, 4), QColor(0xa9, 0xc7, 0xee), edge);
    drawBlock(p, QRectF(8, 10, 5, 3), QColor(0xf2, 0xc1, 0x7e), QColor(0x8a, 0x5a, 0x1c));
    return image;
}

QImage boxZoomIcon() {
    QImage image = canvas();
    QPainter p(&image);
    // The rubber band, on whole pixels so its dashes stay crisp.
    QPen band(QColor(0x2a, 0x4d, 0x7a), 1.0, Qt::CustomDashLine);
    band.setDashPattern({2.0, 1.0});
    p.setPen(band);
    p.setBrush(QColor(0xd6, 0xe6, 0xfa, 0x90));
    p.drawRect(QRect(0, 0, 10, 8));
    // The magnifier: a lens over the band's corner and a handle towards the bottom right.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x55, 0x5b, 0x66), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11.0, 11.0), QPointF(14.5, 14.5));
    p.setPen(QPen(QColor(0x33, 0x36, 0x3d), 1.5));
    p.setBrush(QColor(0xfb, 0xfb, 0xf8, 0xc0));
    p.drawEllipse(QPointF(8.5, 8.5), 3.5, 3.5);
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kite_icongen <output folder>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "kite_icongen: cannot make %s\n", argv[1]);
        return 1;
    }
    const struct {
        const char* file;
        QImage image;
    } icons[] = {{"BlockIcon.png", blockIcon()},
                 {"CorvidModelIcon.png", modelIcon()},
                 {"kite/rbBoxZoom.png", boxZoomIcon()}};
    for (const auto& icon : icons) {
        const QString path = out.filePath(QString::fromLatin1(icon.file));
        if (!QDir().mkpath(QFileInfo(path).path())) {
            std::fprintf(stderr, "kite_icongen: cannot make the folder of %s\n", qPrintable(path));
            return 1;
        }
        if (!icon.image.save(path, "PNG")) {
            std::fprintf(stderr, "kite_icongen: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
