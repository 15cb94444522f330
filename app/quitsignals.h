#pragma once
// SIGTERM, SIGINT and SIGHUP (a logout, kill, Ctrl+C in the terminal) end
// the editor through its own quit, not at once: the handler only writes the
// signal's number into a socket pair, and the event loop reads it and emits
// `arrived`, where any Qt call is allowed.

#include <QObject>

class QSocketNotifier;

namespace zelkor {

class QuitSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; one object per process.
    explicit QuitSignals(QObject *parent = nullptr);
    ~QuitSignals() override;

    bool isValid() const { return m_notifier != nullptr; }

signals:
    void arrived(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace zelkor
