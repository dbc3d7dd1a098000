#include "textcodec.h"

#include <QStringDecoder>
#include <QList>
#include <QStringEncoder>

namespace moji::cp932 {

namespace {
const char* const CodecName = "CP932";
}

std::optional<QString> decode(QByteArrayView bytes)
{
    // Stateless: a lone lead byte at the end is an error, not a character held back.
    QStringDecoder decoder(CodecName, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QString decodeLossy(QByteArrayView bytes)
{
    QStringDecoder decoder(CodecName, QStringDecoder::Flag::Stateless);
    return decoder.decode(bytes);
}

std::optional<QByteArray> encode(const QString& text)
{
    QStringEncoder encoder(CodecName, QStringEncoder::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

QByteArray encodeLossy(const QString& text)
{
    if (auto whole = encode(text))
        return *whole;
    QByteArray out;
    const QList<uint> codePoints = text.toUcs4();
    for (const uint point : codePoints) {
        const char32_t codePoint = point;
        const auto one = encode(QString::fromUcs4(&codePoint, 1));
        out += one ? *one : QByteArray("?");
    }
    return out;
}

QByteArray cutToBytes(QByteArrayView bytes, int maxBytes)
{
    qsizetype end = 0;
    while (end < bytes.size()) {
        const qsizetype width = isLeadByte(static_cast<unsigned char>(bytes[end])) ? 2 : 1;
        if (end + width > maxBytes || end + width > bytes.size())
            break;
        end += width;
    }
    return bytes.first(end).toByteArray();
}

QByteArray trim(QByteArrayView bytes)
{
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && static_cast<unsigned char>(bytes[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(bytes[end - 1]) <= 0x20)
        --end;
    return bytes.sliced(begin, end - begin).toByteArray();
}

int characterCount(QByteArrayView bytes)
{
    int count = 0;
    for (qsizetype i = 0; i < bytes.size(); ++count)
        i += isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    return count;
}

QByteArray withoutLastCharacter(QByteArrayView bytes)
{
    qsizetype last = 0;
    for (qsizetype i = 0; i < bytes.size();) {
        last = i;
        i += isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    }
    return bytes.first(last).toByteArray();
}

} // namespace moji::cp932

namespace moji {

QString fullWidthNumber(int n)
{
    QString text = QString::number(n);
    for (QChar& c : text) {
        if (c.isDigit())
            c = QChar(c.unicode() - u'0' + u'０');
    }
    return text;
}

} // namespace moji
