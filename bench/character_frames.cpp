// Cost of drawing one character frame as the window does (SVG to pixmap, mask to window shape),
// for the costliest kinds of frame a file may hold (the sizes are the largest the checks accept,
// found by bench/character_budget.py), and how drawing time grows with a path's length.

#include "agent/character/SvgFrameCheck.h"
#include "qt/agent/DrawnFrames.h"

#include <QApplication>
#include <QBitmap>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <benchmark/benchmark.h>

namespace {

constexpr int kSide = 512;
const char* kHead = R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" )"
                    R"(width="512" height="512">)";

QByteArray longPath(int points, bool stroked = true) {
    QByteArray d = "M0 0";
    for (int k = 0; k < points; ++k)
        d += "L" + QByteArray::number(k * 37 % kSide) + " " + QByteArray::number(k * 91 % kSide);
    return kHead + QByteArray(R"(<path d=")") + d +
           (stroked ? R"(" fill="#3a3" stroke="#000" stroke-width="9" fill-rule="evenodd"/></svg>)"
                    : R"(" fill="#3a3" fill-rule="evenodd"/></svg>)");
}

QByteArray usedRect(int uses) {
    QByteArray body =
        R"(<defs><rect id="r" width="512" height="512" fill="#c33" fill-opacity="0.3"/></defs>)";
    for (int k = 0; k < uses; ++k)
        body += R"x(<use xlink:href="#r" transform="rotate()x" + QByteArray::number(k % 360) +
                R"x( 256 256)"/>)x";
    return kHead + body + "</svg>";
}

QByteArray checkerboard() {
    QByteArray body;
    for (int y = 0; y < kSide; y += 4)
        body += R"(<path d="M0 )" + QByteArray::number(y) + " h512 v1 h-512z" + R"(" fill="#000"/>)";
    for (int x = 0; x < kSide; x += 4)
        body += R"(<rect x=")" + QByteArray::number(x) + R"(" width="1" height="512" fill="#000"/>)";
    return kHead + body + "</svg>";
}

void drawFrame(benchmark::State& state, const QByteArray& svg) {
    agent::character::checkSvgFrame(svg);  // only frames the loader accepts
    for (auto _ : state) {
        agent::DrawnFrames frames({{QStringLiteral("f"), svg}}, QSize(kSide, kSide), 1.0);
        benchmark::DoNotOptimize(frames.get(QStringLiteral("f")).shape.rectCount());
    }
}

void renderOnly(benchmark::State& state, const QByteArray& svg) {
    for (auto _ : state) {
        QImage image(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QSvgRenderer renderer(svg);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        benchmark::DoNotOptimize(image.bits());
    }
}

void BM_RenderStrokedPath(benchmark::State& s) {
    renderOnly(s, longPath(static_cast<int>(s.range(0))));
}
void BM_RenderFilledPath(benchmark::State& s) {
    renderOnly(s, longPath(static_cast<int>(s.range(0)), false));
}
BENCHMARK(BM_RenderStrokedPath)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Arg(250)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000);
BENCHMARK(BM_RenderFilledPath)->Unit(benchmark::kMillisecond)->Iterations(1)->Arg(500)->Arg(2000)->Arg(9000);
void BM_DrawPathAtCostLimit(benchmark::State& s) {
    drawFrame(s, longPath(362));
}
void BM_RenderPathAtCostLimit(benchmark::State& s) {
    renderOnly(s, longPath(362));
}
void BM_DrawRectUsedAtCostLimit(benchmark::State& s) {
    drawFrame(s, usedRect(749));
}
void BM_RenderRectUsedAtCostLimit(benchmark::State& s) {
    renderOnly(s, usedRect(749));
}
void BM_DrawCheckerboard(benchmark::State& s) {
    drawFrame(s, checkerboard());
}
BENCHMARK(BM_DrawPathAtCostLimit)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RenderPathAtCostLimit)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DrawRectUsedAtCostLimit)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RenderRectUsedAtCostLimit)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DrawCheckerboard)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
