#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <algorithm>
#include <optional>

namespace moji {

// Code page 932 (Shift-JIS as Windows writes it). Every text in the data files and in the
// study state is kept as these bytes; Unicode is used only at the widget edge.
namespace cp932 {

// A first byte that starts a two-byte character.
constexpr bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// A byte that can follow a lead byte.
constexpr bool isTrailByte(unsigned char b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// nullopt when the bytes are not valid CP932 (a lone lead byte, an unmapped code).
std::optional<QString> decode(QByteArrayView bytes);
// Lenient form for display: invalid bytes become U+FFFD.
QString decodeLossy(QByteArrayView bytes);
// nullopt when a character has no CP932 form.
std::optional<QByteArray> encode(const QString& text);
// Lenient form: a character without a CP932 form becomes "?".
QByteArray encodeLossy(const QString& text);

// The longest prefix of at most maxBytes bytes that does not split a two-byte character.
// A lead byte without its trail byte at the end of the input is dropped as well.
QByteArray cutToBytes(QByteArrayView bytes, int maxBytes);

// Removes leading and trailing blanks and control bytes (every byte up to 0x20), as the
// classic trim does; safe on CP932 because no trail byte is that low.
QByteArray trim(QByteArrayView bytes);

// Number of characters (one- or two-byte) in valid CP932 text.
int characterCount(QByteArrayView bytes);

// The text with its last character removed (empty stays empty).
QByteArray withoutLastCharacter(QByteArrayView bytes);

} // namespace cp932

// A whole number in full-width digits, as the kana texts write numbers: 12 -> "１２".
QString fullWidthNumber(int n);

// A length-prefixed CP932 string with a declared maximum number of bytes. Assignment never
// stores more than the maximum and never keeps half of a two-byte character; only a string
// read back from a file keeps its bytes as they stand, valid or not, so that a name the
// program did not change is written back byte for byte.
template <int Max>
class SjisString {
public:
    static constexpr int MaxBytes = Max;

    SjisString() = default;

    static SjisString fromBytes(QByteArrayView bytes)
    {
        SjisString s;
        s.m_bytes = cp932::cutToBytes(bytes, Max);
        return s;
    }

    // The bytes of a stored string exactly as the file holds them, cut only to the maximum.
    static SjisString asStored(QByteArrayView bytes)
    {
        SjisString s;
        s.m_bytes = bytes.first(std::min<qsizetype>(bytes.size(), Max)).toByteArray();
        return s;
    }

    // Characters without a CP932 form are replaced by "?".
    static SjisString fromUnicode(const QString& text) { return fromBytes(cp932::encodeLossy(text)); }

    const QByteArray& bytes() const { return m_bytes; }
    QString toUnicode() const { return cp932::decodeLossy(m_bytes); }
    int size() const { return int(m_bytes.size()); }
    bool isEmpty() const { return m_bytes.isEmpty(); }

    friend bool operator==(const SjisString& a, const SjisString& b) { return a.m_bytes == b.m_bytes; }

private:
    QByteArray m_bytes;
};

} // namespace moji
