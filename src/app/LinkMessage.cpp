#include "app/LinkMessage.h"

#include <QtEndian>
#include <cstring>

namespace LinkMessage {
namespace {

constexpr qsizetype magicSize = sizeof(magic) - 1;
constexpr qsizetype headerSize = 5; // kind + length

void appendRecord(QByteArray& out, char kind, const QByteArray& payload)
{
    out.append(kind);
    char length[4];
    qToBigEndian<quint32>(static_cast<quint32>(payload.size()), length);
    out.append(length, 4);
    out.append(payload);
}

} // namespace

QByteArray encode(const QStringList& links)
{
    QByteArray out(magic, magicSize);
    for (const QString& link : links)
        appendRecord(out, 'U', link.toUtf8());
    appendRecord(out, 'E', {});
    return out;
}

Reader::State Reader::feed(const QByteArray& bytes)
{
    if (m_state != State::Incomplete)
        return m_state;
    m_total += bytes.size();
    if (m_total > maxSize)
        return m_state = State::Malformed;
    m_buffer.append(bytes);
    return m_state = parse();
}

Reader::State Reader::parse()
{
    if (m_total == m_buffer.size()) { // nothing consumed yet: check the magic line
        const qsizetype n = std::min(m_buffer.size(), magicSize);
        if (std::memcmp(m_buffer.constData(), magic, n) != 0)
            return State::Malformed;
        if (m_buffer.size() < magicSize)
            return State::Incomplete;
        m_buffer.remove(0, magicSize);
    }
    while (m_buffer.size() >= headerSize) {
        const char kind = m_buffer.at(0);
        const quint32 length = qFromBigEndian<quint32>(m_buffer.constData() + 1);
        if (kind == 'E')
            return length == 0 && m_buffer.size() == headerSize ? State::Complete
                                                                : State::Malformed;
        if (kind != 'U' || length > quint32(maxSize))
            return State::Malformed;
        if (m_buffer.size() < headerSize + qsizetype(length))
            return State::Incomplete;
        m_links.append(QString::fromUtf8(m_buffer.constData() + headerSize, length));
        m_buffer.remove(0, headerSize + length);
    }
    return State::Incomplete;
}

} // namespace LinkMessage
