#pragma once
// The outcome of one document or file step: success, a failure with one
// Russian message that names the file and the cause (and, where a program or
// the system gave its own words, those words as details), or the user's
// cancellation, which is not reported.

#include <QDir>
#include <QString>

namespace zelkor {

// A path as the messages name it.
inline QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

struct Status {
    enum Code { Ok, Failed, Cancelled };
    Code code = Ok;
    QString message;
    QString details;

    static Status success() { return {}; }
    static Status failure(const QString &message, const QString &details = {}) { return {Failed, message, details}; }
    static Status cancelled() { return {Cancelled, {}, {}}; }

    bool ok() const { return code == Ok; }
    bool isCancelled() const { return code == Cancelled; }
    explicit operator bool() const { return ok(); }
};

// The system's words for an errno value in Russian (the common ones), else
// the system's own text.
QString describeSystemError(int errnum);
// The same for a message that quotes the system's English words (as Qt's
// file errors do); other words come back as they are.
QString describeSystemWords(const QString &words);

} // namespace zelkor
