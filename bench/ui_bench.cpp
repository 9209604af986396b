// A scroll view of 1,000 rows (a label and two dots each) in a 400×350 surface: built, laid out
// and painted from scratch, and again after one row's state changed, each against a hand-written
// QPainter loop that paints the same visible rows in the same run.
#include "RatioReporter.h"

#include "ui/Circle.h"
#include "ui/ForEach.h"
#include "ui/LazyStack.h"
#include "ui/Renderer.h"
#include "ui/ScrollView.h"
#include "ui/Spacer.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <map>
#include <memory>
#include <string>

namespace {

constexpr int rowCount = 1000;
constexpr QSize surface(400, 350);

// The hand-written loop's font: 13 pixels, as the layer's 13-point text draws at one pixel a point.
const QFont& labelFont() {
    static const QFont font = [] {
        QFont f("DejaVu Sans");
        f.setPixelSize(13);
        return f;
    }();
    return font;
}

struct Handles {
    std::map<int, ui::State<bool>> rows;
};

struct Row {
    int index;
    std::shared_ptr<Handles> handles;
    bool operator==(const Row& other) const { return index == other.index; }
    ui::View body(ui::ViewContext& ctx) const {
        auto on = ctx.state<bool>("on", false);
        handles->rows.insert_or_assign(index, on);
        const ui::Color accent = on.value() ? ui::Color(0, 1, 0) : ui::Color(0.5, 0.5, 0.5);
        return ui::HStack({ui::View(ui::Text::verbatim("Row " + std::to_string(index))), ui::Spacer(),
                           ui::Circle().fill(accent).frame(16, 16),
                           ui::Circle().fill(ui::Color(0, 0, 1)).frame(16, 16)})
            .padding(4);
    }
};

ui::View list(const std::shared_ptr<Handles>& handles) {
    return ui::View(ui::ScrollView(ui::LazyVStack(ui::HorizontalAlignment::center, 0,
                                                  {ui::ForEach(0, rowCount,
                                                               [handles](int i) {
                                                                   return ui::View(Row{i, handles});
                                                               })})))
        .font(ui::Font::custom("DejaVu Sans", 13))
        .foregroundColor(ui::Color::black);
}

void paintFrame(ui::TestHost& host, QImage& image) {
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    ui::render(host.graph().displayList(), painter);
}

void fromScratch(benchmark::State& state) {
    QImage image(surface, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        auto handles = std::make_shared<Handles>();
        ui::TestHost host(list(handles), {double(surface.width()), double(surface.height())});
        paintFrame(host, image);
        benchmark::DoNotOptimize(image.bits());
    }
}

void oneRowChanged(benchmark::State& state) {
    QImage image(surface, QImage::Format_ARGB32_Premultiplied);
    auto handles = std::make_shared<Handles>();
    ui::TestHost host(list(handles), {double(surface.width()), double(surface.height())});
    auto* changed = host.findType<Row>();
    int before = changed->evaluationCount();
    std::int64_t frames = 0;
    bool on = false;
    for (auto _ : state) {
        on = !on;
        handles->rows.at(0).set(on);
        host.update();
        paintFrame(host, image);
        benchmark::DoNotOptimize(image.bits());
        ++frames;
    }
    int others = 0;
    for (auto* row : host.findAllType<Row>()) {
        if (row != changed) others += row->evaluationCount() - 1;
    }
    state.counters["changed_row_evaluations_per_frame"] =
        double(changed->evaluationCount() - before) / double(frames);
    state.counters["other_row_evaluations"] = others;
}

// What a hand-written painter does for the same visible rows.
void handPainted(benchmark::State& state) {
    QImage image(surface, QImage::Format_ARGB32_Premultiplied);
    QFontMetricsF metrics(labelFont());
    const qreal rowHeight = std::max<qreal>(metrics.height(), 16) + 8;
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setFont(labelFont());
        for (int i = 0; i * rowHeight < surface.height() && i < rowCount; ++i) {
            const qreal y = i * rowHeight;
            painter.setPen(Qt::black);
            painter.drawText(QRectF(4, y + 4, 200, rowHeight - 8), Qt::AlignLeft | Qt::AlignVCenter,
                             QString("Row %1").arg(i));
            painter.setPen(Qt::NoPen);
            painter.setBrush(i == 0 ? Qt::green : Qt::gray);
            painter.drawEllipse(QRectF(surface.width() - 4 - 40, y + (rowHeight - 16) / 2, 16, 16));
            painter.setBrush(Qt::blue);
            painter.drawEllipse(QRectF(surface.width() - 4 - 16, y + (rowHeight - 16) / 2, 16, 16));
        }
        benchmark::DoNotOptimize(image.bits());
    }
}

BENCHMARK(fromScratch)->Unit(benchmark::kMicrosecond);
BENCHMARK(oneRowChanged)->Unit(benchmark::kMicrosecond);
BENCHMARK(handPainted)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char name[] = "ui_bench";
    char* qtArgv[] = {name, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    return runWithRatios(argc, argv, {{"fromScratch", "handPainted"}, {"oneRowChanged", "handPainted"}});
}
