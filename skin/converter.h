#pragma once
// Running the multi-bitmap converter `bmconv` from the program folder.
//
// The converter is a separate process. We pass its arguments as a list (no
// shell, so folders with blanks or Cyrillic names need no quoting) and wait
// for it to finish, with a generous limit, instead of guessing how long it
// takes. A step fails when the converter is missing, cannot start, runs out
// of time, exits with a non-zero status or leaves no output file; the result
// then carries one Russian message that names the file and quotes the
// converter's own words.

#include <QString>
#include <QStringList>

namespace zelkor {

constexpr int kConverterTimeoutMs = 30000;

struct ConverterJob {
    QStringList arguments;
    QString workingFolder;  // empty: inherit ours
    QString output;         // absolute path of the file the converter must leave
    QString subject;        // the skin file the step is about, named in messages
};

struct ConverterResult {
    bool ok = false;
    QString message;  // empty on success
    explicit operator bool() const { return ok; }
};

// `<programFolder>/bmconv`.
QString converterPath(const QString &programFolder);

// bmconv /u <skin.mbm> <out.bmp>
QStringList unpackArguments(const QString &skinFile, const QString &bitmapFile);
// bmconv <out.mbm> <depthOption>local.bmp -- the depth option stands glued to
// the bitmap's name; an empty option leaves the converter's default depth.
QStringList packArguments(const QString &outputName, const QString &depthOption);

// Runs the converter and waits for it. An existing output file is not
// removed first: callers that reuse a transient name clear it themselves.
ConverterResult runConverter(const QString &programFolder, const ConverterJob &job,
                             int timeoutMs = kConverterTimeoutMs);

} // namespace zelkor
