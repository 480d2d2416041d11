#pragma once

#include <QByteArray>
#include <QStringList>

/// The message a later `orlim LINK...` sends to the running Orlim: a magic
/// line, then one record per link ('U', a 32-bit big-endian length, the UTF-8
/// bytes), then an end record ('E' with length 0). No links means "reopen". The
/// running Orlim answers `ack` once it has routed them.
namespace LinkMessage {

inline constexpr char magic[] = "ORLIM/1\n";
inline constexpr char ack = 'K';
/// A larger message is dropped unread.
inline constexpr qsizetype maxSize = 1 << 20;

QByteArray encode(const QStringList& links);

/// Reads one message from bytes that arrive in pieces.
class Reader
{
public:
    enum class State { Incomplete, Complete, Malformed };

    /// Takes the next bytes; returns what is known of the message so far.
    State feed(const QByteArray& bytes);
    State state() const { return m_state; }
    /// The links, in order, once the message is complete.
    const QStringList& links() const { return m_links; }

private:
    State parse();

    QByteArray m_buffer;
    qsizetype m_total = 0;
    QStringList m_links;
    State m_state = State::Incomplete;
};

} // namespace LinkMessage
