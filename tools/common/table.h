#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace moji::content {

// One line of a UTF-8 source table: its fields and where it came from, for messages.
struct Row {
    QString file;
    int line = 0;
    QStringList fields;

    QString field(int i) const { return i < fields.size() ? fields[i] : QString(); }
    QString where() const { return QStringLiteral("%1:%2").arg(file).arg(line); }
};

// Reads a tab-separated UTF-8 table. Blank lines and lines starting with '#' are skipped;
// with `hasHeader` the first remaining line is the header and is not returned.
// Raises moji::FileError when the file cannot be read or is not valid UTF-8.
std::vector<Row> readTable(const QString& path, bool hasHeader);

// Collects problems found in the sources so that a build reports all of them at once.
class Problems {
public:
    void add(const QString& where, const QString& what) { m_list << where + QStringLiteral(": ") + what; }
    bool empty() const { return m_list.isEmpty(); }
    const QStringList& list() const { return m_list; }

private:
    QStringList m_list;
};

} // namespace moji::content
