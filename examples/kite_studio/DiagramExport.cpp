#include "examples/kite_studio/DiagramExport.hpp"

#include "platform/zeph/Scene.hpp"
#include "utils/DiagramRendering.hpp"

#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <cmath>
#include <functional>

namespace KiteStudio {

namespace {

// Draws the diagram's picture with paint (given the picture's size and the scene rectangle
// shown), into a file written whole or not at all.
bool write(const KITE::ImmutableDiagram& diagram, const std::string& file, std::string& error,
           const std::function<bool(QIODevice&, QGraphicsScene&, const QRectF&)>& paint) {
    if (!diagram.isValid()) {
        error = "no diagram to export";
        return false;
    }
    // The model's own state, as saved: an editor may be showing a preview of a gesture.
    const VELD::ImmutableModel root(diagram.getRootModel());
    const TAVI::Holder<ZEPH::Scene> scene =
        KITE::Util::diagram2Scene(KITE::Diagram(diagram.asDeviant(root)));
    QGraphicsScene* qtScene = scene ? scene->qtScene() : nullptr;
    if (!qtScene) {
        error = "the diagram cannot be drawn";
        return false;
    }
    QRectF bounds = qtScene->itemsBoundingRect();
    if (bounds.isEmpty())
        bounds = QRectF(0, 0, 1, 1);
    bounds.adjust(-DiagramExport::margin, -DiagramExport::margin, DiagramExport::margin,
                  DiagramExport::margin);
    QSaveFile out(QString::fromStdString(file));
    if (!out.open(QIODevice::WriteOnly)) {
        error = file + ": " + out.errorString().toStdString();
        return false;
    }
    if (!paint(out, *qtScene, bounds)) {
        out.cancelWriting();
        error = file + ": the picture could not be written";
        return false;
    }
    if (!out.commit()) {
        error = file + ": " + out.errorString().toStdString();
        return false;
    }
    return true;
}

QSize pictureSize(const QRectF& bounds) {
    return {static_cast<int>(std::ceil(bounds.width())),
            static_cast<int>(std::ceil(bounds.height()))};
}

} // namespace

bool DiagramExport::toPng(const KITE::ImmutableDiagram& diagram, const std::string& file,
                          std::string& error) {
    return write(diagram, file, error,
                 [](QIODevice& out, QGraphicsScene& scene, const QRectF& bounds) {
                     QImage image(pictureSize(bounds), QImage::Format_ARGB32_Premultiplied);
                     if (image.isNull())
                         return false;
                     image.fill(Qt::white);
                     QPainter painter(&image);
                     painter.setRenderHint(QPainter::Antialiasing);
                     painter.setRenderHint(QPainter::TextAntialiasing);
                     scene.render(&painter, QRectF(QPointF(0, 0), image.size()), bounds);
                     painter.end();
                     return image.save(&out, "PNG");
                 });
}

bool DiagramExport::toSvg(const KITE::ImmutableDiagram& diagram, const std::string& file,
                          std::string& error) {
    const std::string title = diagram.isValid() ? diagram.getName() : std::string();
    return write(diagram, file, error,
                 [&title](QIODevice& out, QGraphicsScene& scene, const QRectF& bounds) {
                     const QSize size = pictureSize(bounds);
                     QSvgGenerator svg;
                     svg.setOutputDevice(&out);
                     svg.setSize(size);
                     svg.setViewBox(QRect(QPoint(0, 0), size));
                     svg.setTitle(QString::fromStdString(title));
                     QPainter painter;
                     if (!painter.begin(&svg))
                         return false;
                     painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
                     scene.render(&painter, QRectF(QPointF(0, 0), size), bounds);
                     return painter.end();
                 });
}

} // namespace KiteStudio
