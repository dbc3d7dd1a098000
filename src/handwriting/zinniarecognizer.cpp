#include "recognizer.h"

#include <QFile>

#include <zinnia.h>

namespace moji::handwriting {

namespace {

constexpr int Square = 256;
// Zinnia is asked for more than the pad shows: kanji beyond grade 3 are left out afterwards.
constexpr int Asked = 60;

class ZinniaRecognizer final : public Recognizer {
public:
    ZinniaRecognizer(QString modelPath, QSet<QString> allowed) : m_path(std::move(modelPath)), m_allowed(std::move(allowed)) {}

    std::vector<Candidate> recognize(const Strokes& strokes, int count) override
    {
        if (strokes.empty() || count <= 0 || !open())
            return {};
        std::unique_ptr<zinnia::Character> character(zinnia::Character::create());
        character->clear();
        character->set_width(Square);
        character->set_height(Square);
        std::size_t id = 0;
        for (const Stroke& stroke : strokes) {
            if (stroke.empty())
                continue;
            for (const Point& p : resampled(stroke))
                character->add(id, std::clamp(p.x, 0, Square - 1), std::clamp(p.y, 0, Square - 1));
            ++id;
        }
        if (id == 0)
            return {};
        std::unique_ptr<zinnia::Result> result(m_zinnia->classify(*character, Asked));
        std::vector<Candidate> out;
        for (std::size_t i = 0; result && i < result->size() && int(out.size()) < count; ++i) {
            const QString kanji = QString::fromUtf8(result->value(i));
            if (m_allowed.contains(kanji))
                out.push_back({kanji, result->score(i)});
        }
        return out;
    }

    QString error() const override { return m_error; }

private:
    bool open()
    {
        if (m_zinnia)
            return true;
        if (!m_error.isEmpty())
            return false;
        std::unique_ptr<zinnia::Recognizer> zinnia(zinnia::Recognizer::create());
        if (!QFile::exists(m_path) || !zinnia->open(QFile::encodeName(m_path).constData())) {
            m_error = m_path + QStringLiteral(": ") + QString::fromUtf8(zinnia->what());
            return false;
        }
        m_zinnia = std::move(zinnia);
        return true;
    }

    QString m_path;
    QSet<QString> m_allowed;
    std::unique_ptr<zinnia::Recognizer> m_zinnia;
    QString m_error;
};

} // namespace

QString defaultModelPath()
{
    return QStringLiteral("/usr/share/tegaki/models/zinnia/handwriting-ja.model");
}

std::unique_ptr<Recognizer> createZinniaRecognizer(const QString& modelPath, const QSet<QString>& allowed)
{
    return std::make_unique<ZinniaRecognizer>(modelPath, allowed);
}

} // namespace moji::handwriting
