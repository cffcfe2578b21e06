// The object-text assistant: analysing an object of the size the tables allow, and a
// keystroke into a 10,000-line text in the object text box, from the key to the repainted
// text and gutter (Qt's offscreen platform); the same keystroke in an object window with and
// without its recovery copy, and one recovery write of an object of the largest size.
#include "core/documents/recoveryfolder.h"
#include "core/engine/objecttextanalysis.h"
#include "desktop/documents/objecttextedit.h"
#include "desktop/documents/objectwindow.h"
#include "desktop/documents/recoverykeeper.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace wirevane;

// 100 points, the separator, 100 connections; a few lines carry findings.
std::string fullObject() {
    std::string text = "' a ring of 100 points\r\n";
    for (int i = 1; i <= 100; ++i)
        text += std::to_string(i % 7) + "/" + (i % 25 == 0 ? "1,5" : std::to_string(i)) + "/" +
                std::to_string(-i) + ".25\r\n";
    text += "\r\n";
    for (int i = 1; i <= 100; ++i)
        text += std::to_string(i) + "-" + std::to_string(i % 100 + 1) +
                (i % 30 == 0 ? " ' a remark" : "") + (i < 100 ? "\r\n" : "");
    return text;
}

void BM_AnalyseFullObject(benchmark::State& state) {
    const std::string text = fullObject();
    for (auto _ : state)
        benchmark::DoNotOptimize(analyzeObjectText(text));
    const TextAnalysis analysis = analyzeObjectText(text);
    if (analysis.pointCount != 100 || analysis.connectionCount != 101 || analysis.stopLine != 0)
        state.SkipWithError("the object does not fill the tables");
}
BENCHMARK(BM_AnalyseFullObject)->Unit(benchmark::kMicrosecond);

QString longText(int lines) {
    QString text;
    for (int i = 0; i < lines; ++i)
        text += QString::number(i % 13) + "/" + QString::number(i % 5) + "/" + QString::number(i) +
                "\n";
    return text;
}

void BM_AnalyseTenThousandLines(benchmark::State& state) {
    const std::string text = longText(10000).replace("\n", "\r\n").toStdString();
    for (auto _ : state)
        benchmark::DoNotOptimize(analyzeObjectText(text));
}
BENCHMARK(BM_AnalyseTenThousandLines)->Unit(benchmark::kMillisecond);

void sendKey(QWidget* widget, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

// Types a digit into the middle of a 10,000-line text and takes it out again, alternately; each
// iteration is one keystroke until the gutter and the text are painted.
void typeInTheMiddle(benchmark::State& state, ObjectTextEdit& edit) {
    QTextCursor cursor = edit.textCursor();
    cursor.setPosition(edit.document()->findBlockByNumber(5000).position());
    edit.setTextCursor(cursor);
    edit.centerCursor();
    QApplication::processEvents();
    bool typed = false;
    for (auto _ : state) {
        if (typed)
            sendKey(&edit, Qt::Key_Backspace, QString());
        else
            sendKey(&edit, Qt::Key_1, QStringLiteral("1"));
        typed = !typed;
        benchmark::DoNotOptimize(edit.analysis());
        edit.viewport()->repaint();
        edit.gutter()->repaint();
    }
    if (edit.analysis().pointCount != 10000)
        state.SkipWithError("the text did not stay 10,000 points long");
}

void BM_KeystrokeTenThousandLines(benchmark::State& state) {
    ObjectTextEdit edit;
    edit.resize(600, 400);
    edit.setPlainText(longText(10000));
    edit.show();
    typeInTheMiddle(state, edit);
}
BENCHMARK(BM_KeystrokeTenThousandLines)->Unit(benchmark::kMillisecond);

// A folder of its own for the recovery copies, gone afterwards.
struct BenchFolder {
    BenchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "wirevane-bench-XXXXXX");
        path = ::mkdtemp(pattern.data());
    }
    ~BenchFolder() { std::filesystem::remove_all(path); }
    std::filesystem::path path;
};

// Argument 1: the window keeps a recovery copy (its timers restart on every keystroke).
void BM_KeystrokeObjectWindow(benchmark::State& state) {
    BenchFolder folder;
    ObjectWindow window;
    window.resize(600, 500);
    window.Text1->setPlainText(longText(10000));
    window.markSaved();
    if (state.range(0) == 1)
        new WindowRecovery(window, std::make_shared<RecoveryFolder>(folder.path / "recovery"), 1);
    window.show();
    typeInTheMiddle(state, *window.Text1);
}
BENCHMARK(BM_KeystrokeObjectWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One recovery copy of an object whose text fills its record, written and forced to the disk.
void BM_RecoveryWriteFullObject(benchmark::State& state) {
    BenchFolder folder;
    RecoveryFolder recovery(folder.path / "recovery");
    RecoveryCopy copy;
    copy.name = "full.kfm";
    copy.path = "/home/someone/objects/full.kfm";
    copy.values.text = std::string(kMaxObjectTextBytes, '7');
    for (auto _ : state) {
        if (!recovery.write(1, copy).empty())
            state.SkipWithError("the copy was not written");
    }
}
BENCHMARK(BM_RecoveryWriteFullObject)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
