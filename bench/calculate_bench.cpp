// One press of 計算 in the real calculator window: the application shell and
// the window as the program builds them, on Qt's offscreen platform so that no
// display is needed.
#include "TApplication.h"
#include "TForm1.h"

#include <QApplication>
#include <QTimer>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

// A game whose payments stay small enough that no notice box opens.
void EnterGame()
{
    Form1->Edit1->setText(QStringLiteral("45000"));
    Form1->Edit2->setText(QStringLiteral("35000"));
    Form1->Edit3->setText(QStringLiteral("15000"));
    Form1->Edit4->setText(QStringLiteral("5000"));
    Form1->Edit5->setText(QStringLiteral("300"));
    Form1->Edit6->setText(QStringLiteral("500"));
    Form1->Edit9->setText(QStringLiteral("1000"));
}

// Presses 計算 once outside the measurement. A box that opens instead (a
// notice or the error box) is closed and reported, as the measurement would
// otherwise wait on it.
bool CalculatesQuietly()
{
    bool boxOpened = false;
    QTimer::singleShot(0, [&boxOpened] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            boxOpened = true;
            box->close();
        }
    });
    Form1->Edit7->clear();
    Form1->Edit8->clear();
    Form1->Button1->click();
    QCoreApplication::processEvents();
    return !boxOpened && !Form1->Edit7->text().isEmpty() && !Form1->Edit8->text().isEmpty();
}

// Times the click alone; the payment fields are emptied before each one, so
// that every click writes both texts anew. With redraw, the two payment fields
// are also painted, as the user would see them.
template <bool redraw> void Calculate(benchmark::State &state)
{
    EnterGame();
    if (!CalculatesQuietly()) {
        state.SkipWithError("計算 did not write both payments without a box");
        return;
    }
    for (auto _ : state) {
        Form1->Edit7->clear();
        Form1->Edit8->clear();
        const auto start = std::chrono::steady_clock::now();
        Form1->Button1->click();
        if constexpr (redraw) {
            Form1->Edit7->repaint();
            Form1->Edit8->repaint();
        }
        const auto stop = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    }
    // Let the window catch up on what the clears and clicks asked of it.
    QCoreApplication::processEvents();
}

void BM_Calculate(benchmark::State &state)
{
    Calculate<false>(state);
}
BENCHMARK(BM_Calculate)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_CalculateAndRedraw(benchmark::State &state)
{
    Calculate<true>(state);
}
BENCHMARK(BM_CalculateAndRedraw)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char *argv[])
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication Application(argc, argv);
    Application.Initialize();
    Application.CreateForm(Form1);
    Form1->show();
    for (int i = 0; i < 100 && !(Form1->windowHandle() && Form1->windowHandle()->isExposed()); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
