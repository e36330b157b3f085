#pragma once
#include <memory>

#include <QLockFile>
#include <QObject>
#include <QString>

class QLocalServer;
class QWidget;

// One program per configuration folder: the first instance holds a lock file
// and listens on a local socket; a later one connects, which asks the first to
// bring its main window to the front, and ends.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    // The lock and the socket are named after the configuration folder.
    explicit SingleInstance(const QString& configDir, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the first instance (it then listens). Otherwise the
    // running one has been asked to raise its window.
    bool Acquire();
    // The window the first instance raises when asked.
    void SetWindow(QWidget* window) { m_window = window; }
    const QString& ServerName() const { return m_serverName; }

signals:
    void raiseRequested();

private:
    void Raise();

    QLockFile m_lock;
    QString m_serverName;
    QLocalServer* m_server = nullptr;
    QWidget* m_window = nullptr;
};
