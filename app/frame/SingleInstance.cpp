#include "app/frame/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

SingleInstance::SingleInstance(const QString& configDir, QObject* parent)
    : QObject(parent), m_lock(configDir + "/Tvane.lock") {
    const QByteArray hash =
        QCryptographicHash::hash(configDir.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    m_serverName = "tvane-" + QString::fromLatin1(hash);
    m_lock.setStaleLockTime(0); // a crashed instance's lock is taken over by its pid
}

SingleInstance::~SingleInstance() {
    if (m_server)
        m_server->close();
}

bool SingleInstance::Acquire() {
    if (!m_lock.tryLock(0)) {
        QLocalSocket socket;
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(2000)) {
            socket.write("raise\n");
            socket.waitForBytesWritten(2000);
            socket.disconnectFromServer();
        }
        return false;
    }
    // A socket left by a crashed instance would refuse the new server.
    QLocalServer::removeServer(m_serverName);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_server->listen(m_serverName);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = m_server->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            Raise();
        }
    });
    return true;
}

void SingleInstance::Raise() {
    if (m_window) {
        if (m_window->isMinimized())
            m_window->showNormal();
        m_window->raise();
        m_window->activateWindow();
    }
    emit raiseRequested();
}
