// The canvas against raw Qt doing the same work: N rectangles (80x40, a text
// label each) on a grid with 20 unit gaps, and N/2 lines between consecutive
// rectangles. Each figure has a ZEPH and a Qt benchmark with the same name
// otherwise, so their ratio reads off the table.
#include "bench/BenchApplication.hpp"
#include "platform/zeph/LineNode.hpp"
#include "platform/zeph/RectNode.hpp"
#include "platform/zeph/Scene.hpp"
#include "platform/zeph/TextNode.hpp"

#include <QGraphicsLineItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsView>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

int columns(int n) {
    int c = 1;
    while (c * c < n)
        ++c;
    return c;
}

QPointF gridPosition(int i, int n) {
    const int c = columns(n);
    return {(i % c) * 100.0, (i / c) * 60.0};
}

struct ZephDiagram {
    TAVI::Holder<ZEPH::Scene> scene = ZEPH::Scene::createScene();
    std::vector<ZEPH::RectNode> boxes;
    std::vector<ZEPH::LineNode> lines; // lines[k] joins boxes[2k] and boxes[2k + 1]

    explicit ZephDiagram(int n) {
        boxes.reserve(n);
        for (int i = 0; i < n; ++i) {
            ZEPH::RectNode box = ZEPH::RectNode::create({0, 0, 80, 40});
            const QPointF p = gridPosition(i, n);
            box.setPosition({p.x(), p.y()});
            scene->addNode(box);
            ZEPH::TextNode label = ZEPH::TextNode::create("Block " + std::to_string(i));
            label.setPosition({4, 4});
            label.setParent(box);
            boxes.push_back(box);
        }
        for (int k = 0; 2 * k + 1 < n; ++k) {
            ZEPH::LineNode line = ZEPH::LineNode::create();
            scene->addNode(line);
            lines.push_back(line);
            updateLine(k);
        }
    }
    void updateLine(int k) {
        const TAVI::GLPoint<double> a = boxes[2 * k].getPosition();
        const TAVI::GLPoint<double> b = boxes[2 * k + 1].getPosition();
        lines[k].setLine({a.x + 80, a.y + 20}, {b.x, b.y + 20});
    }
    void moveBoxes(int first, int count, double d) {
        for (int i = first; i < first + count && i < int(boxes.size()); ++i)
            boxes[i].setPosition(boxes[i].getPosition() + TAVI::GLPoint<double>(d, d));
        for (int i = first; i < first + count && i < int(boxes.size()); ++i)
            if (i / 2 < int(lines.size()))
                updateLine(i / 2);
    }
};

struct QtDiagram {
    QGraphicsScene scene;
    std::vector<QGraphicsRectItem*> boxes;
    std::vector<QGraphicsLineItem*> lines;

    explicit QtDiagram(int n) {
        boxes.reserve(n);
        for (int i = 0; i < n; ++i) {
            auto* box = new QGraphicsRectItem(0, 0, 80, 40);
            box->setPos(gridPosition(i, n));
            scene.addItem(box);
            auto* label = new QGraphicsSimpleTextItem(QString("Block %1").arg(i), box);
            label->setPos(4, 4);
            boxes.push_back(box);
        }
        for (int k = 0; 2 * k + 1 < n; ++k) {
            auto* line = new QGraphicsLineItem;
            scene.addItem(line);
            lines.push_back(line);
            updateLine(k);
        }
    }
    void updateLine(int k) {
        const QPointF a = boxes[2 * k]->pos();
        const QPointF b = boxes[2 * k + 1]->pos();
        lines[k]->setLine(a.x() + 80, a.y() + 20, b.x(), b.y() + 20);
    }
    void moveBoxes(int first, int count, double d) {
        for (int i = first; i < first + count && i < int(boxes.size()); ++i)
            boxes[i]->setPos(boxes[i]->pos() + QPointF(d, d));
        for (int i = first; i < first + count && i < int(boxes.size()); ++i)
            if (i / 2 < int(lines.size()))
                updateLine(i / 2);
    }
};

template <class Diagram> Diagram& cached(int n) {
    static std::map<int, std::unique_ptr<Diagram>> diagrams;
    auto& slot = diagrams[n];
    if (!slot)
        slot = std::make_unique<Diagram>(n);
    return *slot;
}

QGraphicsScene* qtSceneOf(ZephDiagram& d) {
    return d.scene->qtScene();
}
QGraphicsScene* qtSceneOf(QtDiagram& d) {
    return &d.scene;
}

// The scene's deferred work (index and update passes) counts in a step.
void settle(QGraphicsScene* scene) {
    scene->items(QPointF(-1e9, -1e9));
    QCoreApplication::processEvents();
}

template <class Diagram> void Populate(benchmark::State& state) {
    ensureBenchApplication("zeph_bench", true);
    const int n = int(state.range(0));
    for (auto _ : state) {
        Diagram diagram(n);
        settle(qtSceneOf(diagram));
        benchmark::DoNotOptimize(&diagram);
    }
}

void hitZeph(ZephDiagram& d, const QPointF& p, int& found) {
    found += d.scene->getNodeAt({p.x(), p.y()}).isValid();
}
void hitQt(QtDiagram& d, const QPointF& p, int& found) {
    const QList<QGraphicsItem*> items =
        d.scene.items(p, Qt::IntersectsItemShape, Qt::DescendingOrder);
    found += !items.isEmpty();
}

template <class Diagram, void (*Hit)(Diagram&, const QPointF&, int&)>
void HitTests(benchmark::State& state) {
    ensureBenchApplication("zeph_bench", true);
    const int n = int(state.range(0));
    Diagram& diagram = cached<Diagram>(n);
    settle(qtSceneOf(diagram));
    for (auto _ : state) {
        int found = 0;
        for (int i = 0; i < 10000; ++i)
            Hit(diagram, gridPosition((i * 7919) % n, n) + QPointF(30, 10), found);
        benchmark::DoNotOptimize(found);
    }
}

template <class Diagram> void DragStep(benchmark::State& state) {
    ensureBenchApplication("zeph_bench", true);
    const int n = int(state.range(0));
    const int moved = int(state.range(1));
    Diagram& diagram = cached<Diagram>(n);
    QGraphicsView view(qtSceneOf(diagram));
    view.resize(1000, 800);
    settle(qtSceneOf(diagram));
    double d = 5;
    for (auto _ : state) {
        diagram.moveBoxes(n / 2, moved, d);
        settle(qtSceneOf(diagram));
        d = -d;
    }
}

template <class Diagram> void Render(benchmark::State& state) {
    ensureBenchApplication("zeph_bench", true);
    const int n = int(state.range(0));
    Diagram& diagram = cached<Diagram>(n);
    QImage image(1000, 800, QImage::Format_ARGB32_Premultiplied);
    settle(qtSceneOf(diagram));
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        qtSceneOf(diagram)->render(&painter, QRectF(0, 0, 1000, 800), QRectF(0, 0, 1000, 800));
    }
}

// Every figure is repeated three times and read as its median: on a shared
// machine single runs of these millisecond figures vary by a fifth.
#define STEADY ->Repetitions(3)->DisplayAggregatesOnly(true)
#define SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond) STEADY
// Fixed iteration counts: a populate makes and tears down a whole scene, and
// small scenes need more rounds to be measured steadily.
#define POPULATE(Diagram, n, rounds)                                                               \
    BENCHMARK(Populate<Diagram>)->Arg(n)->Iterations(rounds)->Unit(benchmark::kMillisecond) STEADY
POPULATE(ZephDiagram, 1000, 30);
POPULATE(ZephDiagram, 10000, 10);
POPULATE(ZephDiagram, 100000, 3);
POPULATE(QtDiagram, 1000, 30);
POPULATE(QtDiagram, 10000, 10);
POPULATE(QtDiagram, 100000, 3);
BENCHMARK(HitTests<ZephDiagram, hitZeph>) SIZES;
BENCHMARK(HitTests<QtDiagram, hitQt>) SIZES;
BENCHMARK(DragStep<ZephDiagram>)
    ->Args({1000, 10})
    ->Args({10000, 10})
    ->Args({100000, 10})
    ->Args({1000, 1000})
    ->Args({10000, 1000})
    ->Args({100000, 1000})
    ->Unit(benchmark::kMillisecond) STEADY;
BENCHMARK(DragStep<QtDiagram>)
    ->Args({1000, 10})
    ->Args({10000, 10})
    ->Args({100000, 10})
    ->Args({1000, 1000})
    ->Args({10000, 1000})
    ->Args({100000, 1000})
    ->Unit(benchmark::kMillisecond) STEADY;
BENCHMARK(Render<ZephDiagram>) SIZES;
BENCHMARK(Render<QtDiagram>) SIZES;

} // namespace
