// New, Load and Save of the largest template (416 x 352) as the user runs
// them: dialogs answered at once, the real converter started and waited for,
// the sheet adopted and the preview rendered.
#include "app/seams.h"
#include "tform1testaccess.h"
#include "skin/converter.h"
#include "skin/skindocument.h"
#include "app/tform2.h"
#include "app/tform5.h"
#include "app/radiogroup.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace zelkor;

namespace {

const QString kTemplate = QStringLiteral("skn/416x352.mbm");

// A program folder with blanks in its name, holding the built converter and data.
struct Setup {
    QTemporaryDir tmp;
    QString folder;
    QString scratch;
    QStringList errors;
    QString answer;  // what the file dialogs return
    std::unique_ptr<TForm1> form;

    Setup()
    {
        QDir root(tmp.path());
        root.mkpath(QStringLiteral("программа zelkor/temp"));
        root.mkpath(QStringLiteral("Мои скины"));
        folder = root.filePath(QStringLiteral("программа zelkor"));
        scratch = root.filePath(QStringLiteral("Мои скины"));
        const QDir built(QString::fromUtf8(ZELKOR_BENCH_PROGRAM_DIR));
        for (const char *name : {"bmconv", "skn", "devices", "icons.bmp", "icons32.bmp"})
            QFile::link(built.filePath(QString::fromLatin1(name)), QDir(folder).filePath(QString::fromLatin1(name)));

        resetSeams();
        UiSeams &s = seams();
        s.critical = [this](QWidget *, const QString &text, const QString &) { errors << text; };
        s.execDialog = [](QDialog *d) {
            if (auto *f2 = qobject_cast<TForm2 *>(d))
                f2->RadioGroup1->setItemIndex(5);
            if (auto *f5 = qobject_cast<TForm5 *>(d))
                f5->colorgl->setItemIndex(4);
            return int(QDialog::Accepted);
        };
        s.openFile = [this](QWidget *, const QString &, const QString &, const QString &) { return answer; };
        s.saveFile = [this](QWidget *, const QString &, const QString &, const QString &) { return answer; };
        form = std::make_unique<TForm1>(programFilesIn(folder), root.filePath(QStringLiteral("work")));
        errors.clear();
    }
    ~Setup() { resetSeams(); }

    bool failed(benchmark::State &state)
    {
        if (errors.isEmpty())
            return false;
        state.SkipWithError(errors.first().toStdString().c_str());
        return true;
    }
};

void BM_New(benchmark::State &state)
{
    Setup s;
    for (auto _ : state) {
        ui(*s.form).N2Click();
        if (s.failed(state))
            break;
    }
    benchmark::DoNotOptimize(s.form->document().sheet().constBits());
}

void BM_Load(benchmark::State &state)
{
    Setup s;
    s.answer = QDir(s.folder).filePath(kTemplate);
    for (auto _ : state) {
        ui(*s.form).N3Click();
        if (s.failed(state))
            break;
    }
    benchmark::DoNotOptimize(s.form->document().sheet().constBits());
}

void BM_Save(benchmark::State &state)
{
    Setup s;
    ui(*s.form).N2Click();
    s.answer = QDir(s.scratch).filePath(QStringLiteral("new skin"));
    const QString saved = QDir(s.scratch).filePath(QStringLiteral("extskin_416x352_new skin.mbm"));
    for (auto _ : state) {
        ui(*s.form).N6Click();
        if (s.failed(state))
            break;
        state.PauseTiming();
        QFile::remove(saved);  // saving never replaces a file
        state.ResumeTiming();
    }
}

// The converter process alone, for comparison with the whole commands.
void BM_UnpackProcess(benchmark::State &state)
{
    Setup s;
    const QString out = QDir(s.folder).filePath(QStringLiteral("temp.bmp"));
    for (auto _ : state) {
        const Status r = runConverter(converterPath(s.folder),
                                      {unpackArguments(QDir(s.folder).filePath(kTemplate), out, maxSheetPixels()),
                                       QString(), out, QString()});
        if (!r) {
            state.SkipWithError(r.message.toStdString().c_str());
            break;
        }
    }
}

} // namespace

BENCHMARK(BM_UnpackProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);
BENCHMARK(BM_New)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
