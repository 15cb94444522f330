#pragma once
// Running the multi-bitmap converter `bmconv`.
//
// The converter is a separate process. We pass its arguments as a list (no
// shell, so folders with blanks or Cyrillic names need no quoting) and wait
// for it to finish, with a generous limit, instead of guessing how long it
// takes. The wait runs an event loop, so the window keeps painting; when the
// converter takes longer than a moment the caller may show progress and let
// the user cancel, which ends the process. A step fails when the converter is
// missing, cannot start, runs out of time, exits with a non-zero status or
// leaves no output file; the status then carries one Russian message that
// names the file, with the converter's own words as details.

#include "imaging/status.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace zelkor {

constexpr int kConverterTimeoutMs = 30000;
// How long the converter may run before progress is shown.
constexpr int kConverterProgressDelayMs = 500;

struct ConverterJob {
    QStringList arguments;
    QString workingFolder;  // empty: inherit ours
    QString output;         // absolute path of the file the converter must leave
    QString subject;        // the skin file the step is about, named in messages
};

// What the front end shows while a slow converter runs. `show` is called once
// after kConverterProgressDelayMs; `cancelled` is polled while it runs;
// `hide` is called when it has ended, if `show` was.
class ConverterProgress {
public:
    virtual ~ConverterProgress() = default;
    virtual void show(const QString &subject) = 0;
    virtual bool cancelled() const = 0;
    virtual void hide() = 0;
};

// `<folder>/bmconv`.
QString converterPath(const QString &folder);

// bmconv --max-pixels=N /u <skin.mbm> <out.bmp>: a bitmap larger than
// `maxPixels` is refused by the converter before anything large is written.
QStringList unpackArguments(const QString &skinFile, const QString &bitmapFile, std::int64_t maxPixels);
// bmconv <out.mbm> <depthOption><bitmap> -- the depth option stands glued to
// the bitmap's name; an empty option leaves the converter's default depth.
QStringList packArguments(const QString &outputName, const QString &depthOption,
                          const QString &bitmapName = QStringLiteral("local.bmp"));

// Runs `converter` and waits for it. An existing output file is not removed
// first: callers that reuse a transient name clear it themselves.
Status runConverter(const QString &converter, const ConverterJob &job, ConverterProgress *progress = nullptr,
                    int timeoutMs = kConverterTimeoutMs);

// For a program ending on a signal, from any thread: from here on no
// converter starts and no scratch folder is made, and every converter running
// now is killed. When it returns, nothing more can be started or made.
void stopConverterWork();

// Held while a converter is started or a scratch folder made, so that
// stopConverterWork() waits for that step to end; allowed() is false once
// work has been stopped, and the step must then not be taken.
class ConverterWorkGuard {
public:
    ConverterWorkGuard();
    ~ConverterWorkGuard();
    ConverterWorkGuard(const ConverterWorkGuard &) = delete;
    ConverterWorkGuard &operator=(const ConverterWorkGuard &) = delete;
    bool allowed() const;
};

} // namespace zelkor
