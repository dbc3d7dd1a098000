#include "inifile.h"

#include "filestore.h"
#include "textcodec.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <limits>

namespace moji {

namespace {

const QByteArray ByteOrderMark("\xEF\xBB\xBF");

std::optional<QByteArray> sectionName(const QByteArray& line)
{
    const QByteArray t = line.trimmed();
    if (!t.startsWith('['))
        return std::nullopt;
    const qsizetype close = t.indexOf(']');
    return (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
}

bool isComment(const QByteArray& line)
{
    const QByteArray t = line.trimmed();
    return t.startsWith(';') || t.startsWith('#');
}

// Key and value of a "key=value" line.
std::optional<std::pair<QByteArray, QByteArray>> keyValue(const QByteArray& line)
{
    if (isComment(line) || sectionName(line))
        return std::nullopt;
    const qsizetype eq = line.indexOf('=');
    if (eq < 0)
        return std::nullopt;
    return std::pair{line.left(eq).trimmed(), line.mid(eq + 1).trimmed()};
}

bool sameName(const QByteArray& stored, const QString& wanted)
{
    return QString::compare(cp932::decodeLossy(stored), wanted.trimmed(), Qt::CaseInsensitive) == 0;
}

QByteArray unquoted(QByteArray value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

IniFile::IniFile(QString path, QString displayName)
    : m_path(std::move(path)), m_displayName(std::move(displayName))
{
}

void IniFile::load()
{
    m_lines.clear();
    m_newline = "\n";
    m_byteOrderMark.clear();
    if (!filestore::exists(m_path))
        return;
    QByteArray bytes = filestore::readAll(m_path, m_displayName);
    if (bytes.startsWith(ByteOrderMark)) {
        m_byteOrderMark = ByteOrderMark;
        bytes.remove(0, m_byteOrderMark.size());
    }
    if (bytes.contains("\r\n"))
        m_newline = "\r\n";
    m_lines = bytes.split('\n');
    if (!m_lines.isEmpty() && m_lines.back().isEmpty())
        m_lines.removeLast(); // the final line ending, not an empty line
    for (QByteArray& line : m_lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
}

void IniFile::save() const
{
    // The settings folder may not exist yet on a fresh account.
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QByteArray bytes = m_byteOrderMark;
    for (const QByteArray& line : m_lines)
        bytes += line + m_newline;
    filestore::writeAtomically(m_path, m_displayName, bytes);
}

int IniFile::findSection(const QString& section) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionName(m_lines[i]);
        if (name && sameName(*name, section))
            return i;
    }
    return -1;
}

int IniFile::sectionEnd(int sectionLine) const
{
    int i = sectionLine + 1;
    while (i < m_lines.size() && !sectionName(m_lines[i]))
        ++i;
    return i;
}

int IniFile::findKey(int sectionLine, const QString& key) const
{
    const int end = sectionEnd(sectionLine);
    for (int i = sectionLine + 1; i < end; ++i) {
        const auto kv = keyValue(m_lines[i]);
        if (kv && sameName(kv->first, key))
            return i;
    }
    return -1;
}

std::optional<QByteArray> IniFile::readBytes(const QString& section, const QString& key) const
{
    const int s = findSection(section);
    if (s < 0)
        return std::nullopt;
    const int k = findKey(s, key);
    if (k < 0)
        return std::nullopt;
    return unquoted(keyValue(m_lines[k])->second);
}

std::optional<QString> IniFile::readString(const QString& section, const QString& key) const
{
    const auto bytes = readBytes(section, key);
    if (!bytes)
        return std::nullopt;
    return cp932::decodeLossy(*bytes);
}

qint64 IniFile::readInteger(const QString& section, const QString& key, qint64 fallback) const
{
    const auto text = readString(section, key);
    if (!text)
        return fallback;
    const QString number = text->trimmed();
    bool ok = false;
    const qint64 value = number.toLongLong(&ok, 10);
    if (ok)
        return value;
    static const QRegularExpression wholeNumber(QStringLiteral("^[+-]?[0-9]+$"));
    if (!wholeNumber.match(number).hasMatch())
        return fallback;
    return number.startsWith(QLatin1Char('-')) ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    writeBytes(section, key, cp932::encodeLossy(value));
}

void IniFile::writeBytes(const QString& section, const QString& key, const QByteArray& value)
{
    const QByteArray line = cp932::encodeLossy(key) + '=' + value;
    int s = findSection(section);
    if (s < 0) {
        m_lines.append('[' + cp932::encodeLossy(section) + ']');
        m_lines.append(line);
        return;
    }
    const int k = findKey(s, key);
    if (k >= 0) {
        // Keep the key as it was spelled in the file.
        m_lines[k] = keyValue(m_lines[k])->first + '=' + value;
        return;
    }
    // After the section's last non-blank line, so blank separators stay between sections.
    int insertAt = sectionEnd(s);
    while (insertAt > s + 1 && m_lines[insertAt - 1].trimmed().isEmpty())
        --insertAt;
    m_lines.insert(insertAt, line);
}

} // namespace moji
