#pragma once

#include <QMap>
#include <QString>

#include <memory>

class QTextBrowser;
class QWidget;

namespace moji {

// Shows a numbered topic of the program's help file.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void showTopic(int topic) = 0;
};

// One topic of the help file: its title and its lines.
struct HelpTopic {
    QString title;
    QStringList lines;
};

// Reads the help file: "@ <number> <title>" starts a topic, the following lines are its text,
// '#' lines are comments. A file that cannot be read gives no topics.
QMap<int, HelpTopic> readHelpFile(const QString& path);

// The topic as HTML: paragraphs, "・" list items, and on the contents page links to the
// topics it names.
QString helpTopicHtml(const QMap<int, HelpTopic>& topics, int topic);

// A window beside the program showing one topic at a time, with links between topics.
class HelpWindow final : public HelpViewer {
public:
    explicit HelpWindow(QString helpFile);
    ~HelpWindow() override;
    void showTopic(int topic) override;
    int shownTopic() const { return m_shown; }
    QWidget* window() const;

private:
    QString m_file;
    QMap<int, HelpTopic> m_topics;
    bool m_loaded = false;
    int m_shown = 0;
    std::unique_ptr<QWidget> m_window;
    QTextBrowser* m_browser = nullptr;
};

} // namespace moji
