#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

#include <cstdint>
#include <initializer_list>

namespace testing_support {

// Builds byte vectors by hand, independently of the program's own record writers.
class Bytes {
public:
    Bytes& i16(int v);
    Bytes& u8(int v);
    Bytes& f64(double v);
    Bytes& raw(const QByteArray& bytes);
    Bytes& zeros(int n);
    Bytes& repeat(const QByteArray& bytes, int times);
    operator QByteArray() const { return m_bytes; }
    const QByteArray& data() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// "01 ff 20" -> three bytes.
QByteArray hex(const char* spaced);

void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);
// Every file below `folder`, by its path relative to the folder, with its bytes: compare two
// to prove that nothing on disk changed.
QMap<QString, QByteArray> folderContents(const QString& folder);

// A 52-byte history record: kind, level, mode, day number, ten kanji, ten correct flags,
// counted flag.
QByteArray historyBytes(int kind, int level, int mode, double when, std::initializer_list<int> kanji,
                        std::initializer_list<int> correct, bool counted);
// Ten kanji starting at `first`, the first `correctCount` of them correct.
QByteArray historyRun(int kind, int level, int mode, int first, int correctCount, bool counted);

} // namespace testing_support

#include <ostream>
#include <QStringList>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '{';
    for (const QString& s : list)
        *os << ' ' << '"' << s.toStdString() << '"';
    *os << " }";
}
