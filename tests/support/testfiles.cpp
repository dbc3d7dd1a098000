#include "testfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <cstring>
#include <stdexcept>

namespace testing_support {

Bytes& Bytes::i16(int v)
{
    const auto u = static_cast<uint16_t>(v);
    m_bytes.append(char(u & 0xFF));
    m_bytes.append(char(u >> 8));
    return *this;
}

Bytes& Bytes::u8(int v)
{
    m_bytes.append(char(v & 0xFF));
    return *this;
}

Bytes& Bytes::f64(double v)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < 8; ++i)
        m_bytes.append(char((bits >> (8 * i)) & 0xFF));
    return *this;
}

Bytes& Bytes::raw(const QByteArray& bytes)
{
    m_bytes += bytes;
    return *this;
}

Bytes& Bytes::zeros(int n)
{
    m_bytes.append(n, '\0');
    return *this;
}

Bytes& Bytes::repeat(const QByteArray& bytes, int times)
{
    for (int i = 0; i < times; ++i)
        m_bytes += bytes;
    return *this;
}

QByteArray hex(const char* spaced)
{
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QByteArray historyBytes(int kind, int level, int mode, double when, std::initializer_list<int> kanji,
                        std::initializer_list<int> correct, bool counted)
{
    Bytes b;
    b.i16(kind).i16(level).i16(mode).zeros(2).f64(when);
    for (int k : kanji)
        b.i16(k);
    for (int c : correct)
        b.u8(c);
    b.i16(0).u8(counted ? 1 : 0).zeros(3);
    if (b.data().size() != 52)
        throw std::logic_error("history record needs ten kanji and ten flags");
    return b;
}

QMap<QString, QByteArray> folderContents(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), readFile(path));
    }
    return files;
}

QByteArray historyRun(int kind, int level, int mode, int first, int correctCount, bool counted)
{
    Bytes b;
    b.i16(kind).i16(level).i16(mode).zeros(2).f64(45000.5);
    for (int i = 0; i < 10; ++i)
        b.i16(first + i);
    for (int i = 0; i < 10; ++i)
        b.u8(i < correctCount ? 1 : 0);
    b.i16(0).u8(counted ? 1 : 0).zeros(3);
    return b;
}

} // namespace testing_support
