#include "helpviewer.h"

#include "windowfront.h"

#include <QFile>
#include <QPushButton>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWidget>

namespace moji {

QMap<int, HelpTopic> readHelpFile(const QString& path)
{
    QMap<int, HelpTopic> topics;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return topics;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(file.readAll());
    HelpTopic* current = nullptr;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('@'))) {
            const QString head = line.mid(1).trimmed();
            bool ok = false;
            const int number = head.section(QLatin1Char(' '), 0, 0).toInt(&ok);
            current = ok ? &topics[number] : nullptr;
            if (current)
                current->title = head.section(QLatin1Char(' '), 1).trimmed();
            continue;
        }
        if (current)
            current->lines << line;
    }
    for (HelpTopic& t : topics) {
        while (!t.lines.isEmpty() && t.lines.back().trimmed().isEmpty())
            t.lines.removeLast();
    }
    return topics;
}

QString helpTopicHtml(const QMap<int, HelpTopic>& topics, int topic)
{
    if (!topics.contains(topic))
        return QStringLiteral("<p>この　ヘルプは　まだ　ありません。（%1）</p>").arg(topic);
    const HelpTopic& t = topics[topic];
    QString html = QStringLiteral("<h2>%1</h2>").arg(t.title.toHtmlEscaped());
    bool inList = false;
    bool inParagraph = false;
    auto close = [&] {
        if (inList)
            html += QStringLiteral("</ul>");
        if (inParagraph)
            html += QStringLiteral("</p>");
        inList = inParagraph = false;
    };
    for (const QString& raw : t.lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty()) {
            close();
            continue;
        }
        QString escaped = line.toHtmlEscaped();
        // On any page, a line that names another topic's title links to it.
        for (auto it = topics.cbegin(); it != topics.cend(); ++it) {
            if (it.key() != topic && !it->title.isEmpty() && line.contains(it->title))
                escaped.replace(it->title.toHtmlEscaped(), QStringLiteral("<a href=\"topic:%1\">%2</a>").arg(it.key()).arg(it->title.toHtmlEscaped()));
        }
        if (line.startsWith(QChar(u'・'))) {
            if (inParagraph) {
                html += QStringLiteral("</p>");
                inParagraph = false;
            }
            if (!inList)
                html += QStringLiteral("<ul>");
            inList = true;
            html += QStringLiteral("<li>%1</li>").arg(escaped.mid(1));
        } else {
            if (inList) {
                html += QStringLiteral("</ul>");
                inList = false;
            }
            html += inParagraph ? QStringLiteral("<br>") : QStringLiteral("<p>");
            inParagraph = true;
            html += escaped;
        }
    }
    close();
    return html;
}

HelpWindow::HelpWindow(QString helpFile) : m_file(std::move(helpFile)) {}

HelpWindow::~HelpWindow() = default;

QWidget* HelpWindow::window() const
{
    return m_window.get();
}

void HelpWindow::showTopic(int topic)
{
    if (!m_loaded) {
        m_topics = readHelpFile(m_file);
        m_loaded = true;
    }
    if (!m_window) {
        m_window = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::WindowStaysOnTopHint);
        m_window->setObjectName(QStringLiteral("HelpWindow"));
        m_window->setWindowTitle(QStringLiteral("もじまる　ヘルプ"));
        m_window->resize(560, 420);
        auto* layout = new QVBoxLayout(m_window.get());
        m_browser = new QTextBrowser(m_window.get());
        m_browser->setOpenLinks(false);
        QFont f = m_browser->font();
        f.setPixelSize(16);
        m_browser->setFont(f);
        layout->addWidget(m_browser);
        auto* buttons = new QHBoxLayout;
        auto* contents = new QPushButton(QStringLiteral("もくじ"), m_window.get());
        auto* close = new QPushButton(QStringLiteral("とじる"), m_window.get());
        buttons->addWidget(contents);
        buttons->addStretch();
        buttons->addWidget(close);
        layout->addLayout(buttons);
        QObject::connect(contents, &QPushButton::clicked, m_window.get(), [this] { showTopic(1); });
        QObject::connect(close, &QPushButton::clicked, m_window.get(), &QWidget::close);
        QObject::connect(m_browser, &QTextBrowser::anchorClicked, m_window.get(), [this](const QUrl& url) {
            if (url.scheme() == QLatin1String("topic"))
                showTopic(url.path().toInt());
        });
    }
    m_shown = topic;
    m_browser->setHtml(helpTopicHtml(m_topics, topic));
    showInFront(m_window.get(), false);
}

} // namespace moji
