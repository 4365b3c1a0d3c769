#pragma once
// A UDP endpoint on one local port: datagrams go out from it to any host and
// port, and every datagram that reaches it is handed to OnRead on the
// endpoint's own listener thread (never the main thread), so a worker can talk
// to a device while the windows keep running.

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

class TUdpEndpoint {
public:
    // Data, sender's address (dotted for IPv4) and sender's port.
    using TReadEvent = std::function<void(const QByteArray& data, const QString& peerAddress, quint16 peerPort)>;

    TUdpEndpoint();
    // Stops the listener; must not run on the listener thread itself.
    ~TUdpEndpoint();
    TUdpEndpoint(const TUdpEndpoint&) = delete;
    TUdpEndpoint& operator=(const TUdpEndpoint&) = delete;

    // Local address to bind; empty or "0.0.0.0" is every IPv4 interface.
    void SetBindAddress(const QString& address) { FBindAddress = address; }
    const QString& BindAddress() const { return FBindAddress; }
    // 0 takes an ephemeral port.
    void SetBindPort(quint16 port) { FBindPort = port; }

    // Called on the listener thread for every datagram; set it before Start.
    // An exception thrown from it is dropped with that datagram.
    TReadEvent OnRead;

    // Binds and starts the listener thread; false with the reason when the
    // address is bad or taken. Starting an active endpoint does nothing.
    bool Start(QString* error = nullptr);
    // Closes the port and ends the listener. Safe to call at any time; from
    // inside OnRead it closes the port and the thread ends after the call.
    void Stop();
    bool Active() const;
    // The bound port while active, else 0.
    quint16 LocalPort() const;

    // Sends one datagram from the endpoint's port; callable from any thread.
    // Host is an address or a name to look up.
    bool Send(const QString& host, quint16 port, const QByteArray& data, QString* error = nullptr);
    // Text is sent one byte per character (Latin-1), as the device reads it.
    bool SendText(const QString& host, quint16 port, const QString& text, QString* error = nullptr);

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
    QString FBindAddress;
    quint16 FBindPort = 0;
};
